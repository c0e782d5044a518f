#include "device/ParallelStatus.h"

#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "platform/Platform.h"

namespace zal {
namespace {

void Explain(std::string *reason, const char *device, const char *what, bool withSystemText) {
    if (reason == nullptr) return;
    *reason = FormatString("the status device \"%s\" %s", device, what);
    if (!withSystemText) return;
    char description[256];
    DescribeLastError(description, sizeof description);
    *reason += "; ";
    *reason += description;
}

}  // namespace

PortStatus JudgeParallelStatus(uint8_t status) {
    // Bit 7 not busy, bit 6 acknowledge, bit 5 paper out, bit 4 selected,
    // bit 3 no error.
    constexpr uint8_t kBusyMask = 0xE8, kBusy = 0x48;    // bit 4 any
    constexpr uint8_t kReadyMask = 0xF8, kReady = 0xD8;
    if ((status & kBusyMask) == kBusy) return PortStatus::Busy;
    if ((status & kReadyMask) == kReady) return PortStatus::Ready;
    return PortStatus::NotReady;
}

PortStatus ReadParallelStatus(uint32_t portKind, std::string *reason) {
    char name[32];
    Format(name, sizeof name, "\\\\.\\LPTSTAT%u", portKind);
    platform::OpenOptions options;
    options.read = true;
    options.write = false;
    options.shareRead = true;
    options.disposition = platform::Disposition::OpenExisting;
    platform::Handle device = platform::CreateFile(name, options);

    if (!platform::IsValidHandle(device)) {
        uint32_t error = platform::GetLastError();
        char skip[2] = "";
        platform::GetProfileString("Quorra", "PortCheckSkip", "", skip, sizeof skip);
        if (skip[0] == 'Y') return PortStatus::Ready;
        platform::SetLastError(error);
        Explain(reason, name, "could not be opened", true);
        return PortStatus::Unreadable;
    }

    uint8_t status = 0;
    uint32_t count = 0;
    bool read = platform::ReadFile(device, &status, 1, &count);
    uint32_t readError = platform::GetLastError();
    bool closed = platform::CloseHandle(device);
    if (!read) {
        platform::SetLastError(readError);
        Explain(reason, name, "could not be read", true);
        return PortStatus::Unreadable;
    }
    if (count != 1) {
        Explain(reason, name, "gave no status byte", false);
        return PortStatus::Unreadable;
    }
    if (!closed) {
        Explain(reason, name, "could not be closed", true);
        return PortStatus::Unreadable;
    }
    return JudgeParallelStatus(status);
}

}  // namespace zal
