#include "device/SerialPort.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "support/TestSupport.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace zal {
namespace {

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
