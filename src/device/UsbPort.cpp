#include "device/UsbPort.h"

#include <cstring>

#include "common/DllCache.h"
#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "common/Log.h"
#include "common/Seams.h"
#include "zalusbex/ZalUsbEx.h"

namespace zal {
namespace {

constexpr std::size_t kPartLimit = 255;
constexpr std::size_t kErrorTextLimit = 255;
constexpr const char *kCaption = "Quorra Peripheral Engine";
constexpr uint32_t kExceptionBoxStyle =
    platform::kBoxIconStop | platform::kBoxSetForeground | platform::kBoxTopmost;  // 0x50010
// What Windows reports for a C++ exception; the guard sees only those.
constexpr uint32_t kCppExceptionCode = 0xE06D7363u;
constexpr uint32_t kShownCodeMask = 0x3FFFFFFFu;

const char *g_libraryName = kUsbLibraryName;

std::string Cut(std::string text, std::size_t limit) {
    if (text.size() > limit) text.resize(limit);
    return text;
}

std::string DescribeLastErrorText() {
    char description[1024];
    DescribeLastError(description, sizeof description);
    return description;
}

void SetUsbDebug(platform::LibraryHandle library) {
    const _LoggingConfigA *config = log::UsbLoggingConfig();
    auto setDebug = reinterpret_cast<ZalUsbSetDebugAFn>(platform::GetProcAddress(library, ZALUSB_SETUSBDEBUGA));
    if (setDebug == nullptr) {
        log::LogError("Failed to obtain SetUSBDebug function pointer for USB Printing Support library: %s. Library "
                      "debug logging will be disabled.",
                      DescribeLastErrorText().c_str());
        return;
    }
    // The record's folder comes as the host gave it, often without its
    // separator; the library adds one, and so does the line.
    std::string folder(config->LogFolder, TextLength(config->LogFolder, sizeof config->LogFolder));
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    char logFile[2 * sizeof config->LogFolder];
    Format(logFile, sizeof logFile, "%s%.*s", folder.c_str(), static_cast<int>(sizeof config->DebugLogName),
           config->DebugLogName);
    log::LogInfo("Setting USB Printing Support library debug to level '%d' and log file \"%s\".",
                 static_cast<int>(config->Flags), logFile);
    _LoggingConfigA copy = *config;
    if (!GuardUsbCall("SetUSBDebug", [&] { setDebug(copy); })) {
        log::LogInfo("Failed to set SetUSBDebug logging for USB Printing Support library. Library debug logging "
                     "will be disabled.");
    }
}

bool IsOpen(UsbHandle h) { return platform::IsValidHandle(static_cast<platform::Handle>(h)); }

// A printer that another program holds, or that takes no data yet: worth
// waiting for, as a spooler does.
bool IsBusy(const UsbError &error) {
    return error.Code == platform::kErrorSharingViolation || error.Code == platform::kErrorBusy;
}

int32_t OpenThroughLibrary(platform::LibraryHandle library, const JobContext &context, platform::Handle &handle,
                           std::string &errorText) {
    auto openByName =
        reinterpret_cast<ZalUsbOpenDeviceAFn>(platform::GetProcAddress(library, ZALUSB_OPENUSBDEVICEA));
    if (openByName == nullptr) {
        errorText = FormatString("Error loading OpenUSBDeviceA from ZalUsbEx library: %s",
                                 DescribeLastErrorText().c_str());
        return ZALERR_USBLIBFAIL;
    }
    UsbPortName name = SplitUsbPortName(context.PortText);
    log::LogInfo("Opening USB port \"%s\"...", context.PortText);
    UsbError error;
    std::memset(&error, 0, sizeof error);
    UsbHandle opened = 0;
    if (!GuardUsbCall("OpenUSBDeviceA",
                      [&] { opened = openByName(name.model.c_str(), name.serial.c_str(), &error); })) {
        log::LogError("Failed to open USB printing device.");
        opened = 0;
    }
    // The printer named may be found but busy; the lookup by id then
    // finds it again or another printer, and a busy answer of either wins.
    UsbError byName = error;
    if (!IsOpen(opened)) {
        auto openById =
            reinterpret_cast<ZalUsbOpenDeviceIDAFn>(platform::GetProcAddress(library, ZALUSB_OPENUSBDEVICEIDA));
        if (openById == nullptr) {
            errorText = FormatString("Error loading OpenUSBDeviceIDA from ZalUsbEx library: %s",
                                     DescribeLastErrorText().c_str());
            return ZALERR_USBLIBFAIL;
        }
        log::LogInfo("Opening USB port \"%s\" via VID (%#x) / PID (%#x)...", context.PortText,
                     static_cast<unsigned>(context.UsbVendorId), static_cast<unsigned>(context.UsbProductId));
        if (!GuardUsbCall("OpenUSBDeviceIDA",
                          [&] { opened = openById(context.UsbVendorId, context.UsbProductId, &error); })) {
            log::LogError("Failed to open USB printing device.");
            opened = 0;
        }
    }
    if (!IsOpen(opened)) {
        if (!IsBusy(error) && IsBusy(byName)) error = byName;
        if (error.Code != 0) {
            errorText = Cut(std::string(error.Message, TextLength(error.Message, sizeof error.Message)),
                            kErrorTextLimit);
        } else {
            errorText = "An unknown USB communication error has occurred.";
        }
        return IsBusy(error) ? ZALERR_PRINTER_DEVICEBUSY : ZALERR_PRINTER_OPENFAIL;
    }
    handle = static_cast<platform::Handle>(opened);
    return ZALERR_SUCCESS;
}

}  // namespace

UsbPortName SplitUsbPortName(const char *portText) {
    constexpr std::size_t kPrefixLength = 4;  // "USB "
    UsbPortName parts;
    if (portText == nullptr || TextLength(portText, kPrefixLength) < kPrefixLength) return parts;
    std::string rest = portText + kPrefixLength;
    std::size_t dash = rest.find(" - ");
    if (dash == std::string::npos) {
        parts.model = Cut(rest, kPartLimit);
    } else {
        parts.model = Cut(rest.substr(0, dash), kPartLimit);
        parts.serial = Cut(rest.substr(dash + 3), kPartLimit);
    }
    return parts;
}

int32_t OpenUsbPort(const JobContext &context, platform::Handle &handle, std::string &errorText) {
    handle = platform::kInvalidHandle;
    bool loadedNow = false;
    platform::LibraryHandle library = LoadLibraryOnce(g_libraryName, &loadedNow);
    if (library == nullptr) {
        errorText = "Error loading ZalUsbEx library.";
        return ZALERR_USBLIBFAIL;
    }
    if (loadedNow && log::UsbLoggingConfig() != nullptr) SetUsbDebug(library);
    int32_t result = OpenThroughLibrary(library, context, handle, errorText);
    // The handle stays valid without the reference.
    ReleaseLibraryRef(library);
    return result;
}

void ShowUsbExceptionBox(const char *function, const std::exception *error) {
    ExceptionRecord record;
    record.code = kCppExceptionCode;
    char description[1024];
    if (error != nullptr) {
        CppExceptionBody(*error, description, sizeof description);
    } else {
        DescribeException(record, description, sizeof description);
    }
    std::string body = FormatString(
        "An error occurred within the %s function in the USB printing support library.\n\nError %x in %s at %x:\n%s",
        function, record.code & kShownCodeMask, kUsbLibraryName,
        static_cast<unsigned>(reinterpret_cast<uintptr_t>(record.address)), description);
    std::string text = FormatString("%s\n\n%s", "An error has occurred:", body.c_str());
    seams::MessageBox(text.c_str(), kCaption, kExceptionBoxStyle);
}

void SetUsbLibraryNameForTests(const char *name) { g_libraryName = name != nullptr ? name : kUsbLibraryName; }

}  // namespace zal
