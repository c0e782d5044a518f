#include "device/ParallelStatus.h"

#include <gtest/gtest.h>

namespace zal {
namespace {

TEST(ParallelStatusTest, StatusBits) {
    using S = PortStatus;
    struct Row { uint8_t status; PortStatus expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {0xD8, S::Ready},     // not busy, acknowledge, selected, no error
        /*  1*/ {0x58, S::Busy},
        /*  2*/ {0x48, S::Busy},      // bit 4 does not matter when busy
        /*  3*/ {0xF8, S::NotReady},  // paper out
        /*  4*/ {0xC8, S::NotReady},  // not selected
        /*  5*/ {0x98, S::NotReady},  // no acknowledge
        /*  6*/ {0xD0, S::NotReady},  // error
        /*  7*/ {0x00, S::NotReady},
        /*  8*/ {0xFF, S::NotReady},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(JudgeParallelStatus(rows[i].status), rows[i].expected) << "row " << i;
    }
}

}  // namespace
}  // namespace zal
