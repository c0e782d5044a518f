// The ports' own rules: parallel status bits, USB port names and calls into
// the support library, serial line settings and time-outs.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

#include "device/ParallelStatus.h"
#include "device/SerialPort.h"
#include "device/UsbPort.h"
#include "support/TestSupport.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif

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

TEST(SerialPortTest, WriteTimeoutPerByte) {
    struct Row { uint32_t baud; uint32_t expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {115200, 8},
        /*  1*/ {7200,   8},   // 9600 / 7200 = 1
        /*  2*/ {110,    696},
        /*  3*/ {0,      8},   // no rate: as 9600 rather than a division by zero
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(WriteTimeoutMultiplier(rows[i].baud), rows[i].expected) << "row " << i;
    }
}

#if !defined(_WIN32)

// The slave side of a pseudo terminal, opened through the platform, with a
// win.ini of the given "ports" section.
class SerialLine {
public:
    explicit SerialLine(const std::string &ports) {
        test::WriteFile(_dir.file("win.ini"), "[ports]\n" + ports);
        _master = posix_openpt(O_RDWR | O_NOCTTY);
        if (_master >= 0 && grantpt(_master) == 0 && unlockpt(_master) == 0) {
            handle = platform::CreateFile(ptsname(_master), platform::OpenOptions());
        }
    }
    ~SerialLine() {
        if (platform::IsValidHandle(handle)) platform::CloseHandle(handle);
        if (_master >= 0) close(_master);
    }
    platform::Handle handle = platform::kInvalidHandle;

private:
    test::TempDir _dir;
    test::EnvVar _winIni{"ZAL2443_WIN_INI", _dir.file("win.ini")};
    int _master = -1;
};

std::unique_ptr<JobContext> SerialContext(const char *portText) {
    auto context = std::make_unique<JobContext>();
    std::memset(context.get(), 0, sizeof(JobContext));
    std::strcpy(context->PortText, portText);
    std::strcpy(context->DeviceDescription, "Label - Test");
    return context;
}

TEST(SerialPortTest, LineSettingsFromThePortsSection) {
    struct Row { const char *port; const char *ports; uint32_t baud; uint32_t multiplier; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"COM1",      "COM1:=2400,n,8,1\n",          2400,  32},
        /*  1*/ {"COM2",      "COM1:=1200,n,8,1\nCOM2:=4800,o,8,1\n", 4800, 16},
        /*  2*/ {"COM100000", "COM10000:=2400,n,8,1\nCOM100000:=1200,n,8,1\n", 1200, 64},  // long names are looked up whole
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SerialLine line(rows[i].ports);
        ASSERT_TRUE(platform::IsValidHandle(line.handle)) << "row " << i;
        auto context = SerialContext(rows[i].port);
        ASSERT_TRUE(ConfigureSerialPort(line.handle, *context)) << "row " << i;
        platform::CommState state;
        ASSERT_TRUE(platform::GetCommState(line.handle, state));
        EXPECT_EQ(state.baudRate, rows[i].baud) << "row " << i;
        platform::CommTimeouts timeouts;
        ASSERT_TRUE(platform::GetCommTimeouts(line.handle, timeouts));
        // a write waits the multiplier per byte, a read one second
        EXPECT_EQ(timeouts.writeTotalTimeoutMultiplier, rows[i].multiplier) << "row " << i;
        EXPECT_EQ(timeouts.writeTotalTimeoutConstant + timeouts.readIntervalTimeout + timeouts.readTotalTimeoutMultiplier, 0u);
        EXPECT_EQ(timeouts.readTotalTimeoutConstant, 1000u) << "row " << i;
    }
}

// A plain file instead of a line: see SendToDeviceTest's failed serial setup.
TEST(SerialPortTest, BadModeTextWritesItsLine) {
    test::LogCapture log;
    SerialLine line("COM1:=fast,n,8,1\n");
    EXPECT_FALSE(ConfigureSerialPort(line.handle, *SerialContext("COM1")));
    EXPECT_TRUE(log.HasErrorMessage(
        "ConfigureSerialPort: Error building configuration DCB info for device \"Label - Test\" on port \"COM1\"; "
        "[WIN32 0x00000057/C0087] The parameter is incorrect."));
}

#endif  // !_WIN32

}  // namespace
}  // namespace zal
