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
        /*  1*/ {0xDF, S::Ready},     // bits 0-2 are not looked at
        /*  2*/ {0x58, S::Busy},
        /*  3*/ {0x48, S::Busy},      // bit 4 does not matter when busy
        /*  4*/ {0x4F, S::Busy},
        /*  5*/ {0xF8, S::NotReady},  // paper out
        /*  6*/ {0x78, S::NotReady},  // busy and paper out
        /*  7*/ {0xC8, S::NotReady},  // not selected
        /*  8*/ {0x98, S::NotReady},  // no acknowledge
        /*  9*/ {0xD0, S::NotReady},  // error
        /* 10*/ {0x50, S::NotReady},
        /* 11*/ {0x18, S::NotReady},
        /* 12*/ {0x00, S::NotReady},
        /* 13*/ {0xFF, S::NotReady},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(JudgeParallelStatus(rows[i].status), rows[i].expected) << "row " << i;
    }
}

}  // namespace
}  // namespace zal
