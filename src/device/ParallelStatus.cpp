#include "device/ParallelStatus.h"

#include "common/Format.h"
#include "platform/Platform.h"

namespace zal {

PortStatus JudgeParallelStatus(uint8_t status) {
    // Bit 7 not busy, bit 6 acknowledge, bit 5 paper out, bit 4 selected,
    // bit 3 no error.
    constexpr uint8_t kBusyMask = 0xE8, kBusy = 0x48;    // bit 4 any
    constexpr uint8_t kReadyMask = 0xF8, kReady = 0xD8;
    if ((status & kBusyMask) == kBusy) return PortStatus::Busy;
    if ((status & kReadyMask) == kReady) return PortStatus::Ready;
    return PortStatus::NotReady;
}

PortStatus ReadParallelStatus(uint32_t portKind) {
    char name[32];
    Format(name, sizeof name, "\\\\.\\LPTSTAT%u", portKind);
    platform::OpenOptions options;
    options.read = true;
    options.write = false;
    options.shareRead = true;
    options.disposition = platform::Disposition::OpenExisting;
    platform::Handle device = platform::CreateFile(name, options);

    char skip[2] = "";
    platform::GetProfileString("Quorra", "PortCheckSkip", "", skip, sizeof skip);
    if (!platform::IsValidHandle(device)) return skip[0] == 'Y' ? PortStatus::Ready : PortStatus::NotReady;

    uint8_t status = 0;
    uint32_t count = 0;
    bool read = platform::ReadFile(device, &status, 1, &count);
    bool closed = platform::CloseHandle(device);
    if (!read || !closed || count != 1) return PortStatus::NotReady;
    return JudgeParallelStatus(status);
}

}  // namespace zal
