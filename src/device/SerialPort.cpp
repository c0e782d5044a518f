#include "device/SerialPort.h"

#include <string>

#include "common/ErrorCodes.h"
#include "common/Log.h"

namespace zal {
namespace {

constexpr uint32_t kDefaultInQueue = 3072;
constexpr uint32_t kDefaultOutQueue = 8192;
constexpr uint32_t kReadTotalConstant = 1000;

// The error line of each call: device description, port, last error.
// clang-format off
constexpr const char *kPropertiesFailed = "ConfigureSerialPort: Error getting configuration properties for device \"%s\" on port \"%s\"; %s";
constexpr const char *kSetupFailed      = "ConfigureSerialPort: Error initializing the communications parameters for device \"%s\" on port \"%s\"; %s";
constexpr const char *kGetStateFailed   = "ConfigureSerialPort: Error getting configuration state info for device \"%s\" on port \"%s\"; %s";
constexpr const char *kBuildFailed      = "ConfigureSerialPort: Error building configuration DCB info for device \"%s\" on port \"%s\"; %s";
constexpr const char *kSetStateFailed   = "ConfigureSerialPort: Error setting configuration state info for device \"%s\" on port \"%s\"; %s";
constexpr const char *kGetTimeoutFailed = "ConfigureSerialPort: Error getting timeout info for device \"%s\" on port \"%s\"; %s";
constexpr const char *kSetTimeoutFailed = "ConfigureSerialPort: Error setting timeout info for device \"%s\" on port \"%s\"; %s";
// clang-format on

bool Fail(const char *format, const JobContext &context) {
    char description[1024];
    DescribeLastError(description, sizeof description);
    log::LogError(format, context.DeviceDescription, context.PortText, description);
    return false;
}

}  // namespace

uint32_t WriteTimeoutMultiplier(uint32_t baudRate) {
    constexpr uint32_t kBase = 9600;
    constexpr uint32_t kPerByte = 8;
    if (baudRate == 0 || baudRate >= kBase) return kPerByte;
    return kBase / baudRate * kPerByte;
}

bool ConfigureSerialPort(platform::Handle port, const JobContext &context) {
    // Windows keeps the line settings under "COM1:" and so on.  A longer
    // port name is looked up whole rather than cut into the key of another port.
    std::string key = std::string(context.PortText) + ":";
    char mode[1024] = "";
    platform::GetProfileString("ports", key.c_str(), "", mode, sizeof mode);

    platform::CommProperties properties;
    if (!platform::GetCommProperties(port, properties)) return Fail(kPropertiesFailed, context);
    uint32_t inQueue = properties.maxRxQueue != 0 ? properties.maxRxQueue : kDefaultInQueue;
    uint32_t outQueue = properties.maxTxQueue != 0 ? properties.maxTxQueue : kDefaultOutQueue;
    if (!platform::SetupComm(port, inQueue, outQueue)) return Fail(kSetupFailed, context);

    platform::CommState state;
    if (!platform::GetCommState(port, state)) return Fail(kGetStateFailed, context);
    if (!platform::BuildCommDCB(mode, state)) return Fail(kBuildFailed, context);
    state.eofChar = 0;
    if (!platform::SetCommState(port, state)) return Fail(kSetStateFailed, context);

    platform::CommTimeouts timeouts;
    if (!platform::GetCommTimeouts(port, timeouts)) return Fail(kGetTimeoutFailed, context);
    timeouts.readIntervalTimeout = 0;
    timeouts.readTotalTimeoutMultiplier = 0;
    timeouts.readTotalTimeoutConstant = kReadTotalConstant;
    timeouts.writeTotalTimeoutMultiplier = WriteTimeoutMultiplier(state.baudRate);
    timeouts.writeTotalTimeoutConstant = 0;
    if (!platform::SetCommTimeouts(port, timeouts)) return Fail(kSetTimeoutFailed, context);
    return true;
}

}  // namespace zal
