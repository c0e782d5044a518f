#include "device/UsbPort.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "support/TestSupport.h"

namespace zal {
namespace {

TEST(UsbPortTest, PortNameParts) {
    const std::string longModel(300, 'm');
    struct Row { const char *portText; std::string model; std::string serial; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"USB Zebra 2844 - 12345",  "Zebra 2844", "12345"},
        /*  1*/ {"USB Zebra 2844",          "Zebra 2844", ""},      // no " - ": all model
        /*  2*/ {"USB Zebra - 1 - 2",       "Zebra",      "1 - 2"},
        /*  3*/ {"USB Zebra 2844 -12345",   "Zebra 2844 -12345", ""},
        /*  4*/ {"USB",                     "",           ""},      // shorter than the prefix
        /*  5*/ {nullptr,                   "",           ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        UsbPortName name = SplitUsbPortName(rows[i].portText);
        EXPECT_EQ(name.model, rows[i].model) << "row " << i;
        EXPECT_EQ(name.serial, rows[i].serial) << "row " << i;
    }
    std::string text = "USB " + longModel + " - " + longModel;
    UsbPortName name = SplitUsbPortName(text.c_str());
    EXPECT_EQ(name.model, longModel.substr(0, 255));
    EXPECT_EQ(name.serial, longModel.substr(0, 255));
}

TEST(UsbPortTest, ExceptionInTheLibraryIsShownAndCountsAsFailure) {
    test::FixedSeams seams;
    bool after = false;
    EXPECT_FALSE(GuardUsbCall("OpenUSBDeviceA", [&] {
        throw std::runtime_error("no device node");
        after = true;
    }));
    EXPECT_FALSE(after);
    EXPECT_TRUE(GuardUsbCall("OpenUSBDeviceIDA", [] {}));
    ASSERT_EQ(test::FixedSeams::Boxes().size(), 1u);
    const test::FixedSeams::Box &box = test::FixedSeams::Boxes()[0];
    EXPECT_EQ(box.caption, "Quorra Peripheral Engine");
    EXPECT_EQ(box.style, 0x50010u);
    const std::string lead =
        "An error has occurred:\n\nAn error occurred within the OpenUSBDeviceA function in the USB printing support "
        "library.\n\nError 206d7363 in ZalUsbEx at 0:\n[";
    EXPECT_EQ(box.text.substr(0, lead.size()), lead);
    EXPECT_NE(box.text.find("runtime_error] no device node"), std::string::npos) << box.text;
}

}  // namespace
}  // namespace zal
