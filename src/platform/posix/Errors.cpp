#include <cerrno>
#include <cstring>

#include "platform/Platform.h"
#include "platform/posix/PosixInternal.h"

namespace zal::platform {
namespace {

thread_local uint32_t t_lastError = 0;

struct Win32Text {
    uint32_t code;
    const char *text;
};

// The texts Windows gives for the codes this backend produces.
// clang-format off
const Win32Text kWin32Texts[] = {
    {0, "The operation completed successfully."},
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {5, "Access is denied."},
    {6, "The handle is invalid."},
    {8, "Not enough memory resources are available to process this command."},
    {29, "The system cannot write to the specified device."},
    {31, "A device attached to the system is not functioning."},
    {32, "The process cannot access the file because it is being used by another process."},
    {50, "The request is not supported."},
    {80, "The file exists."},
    {87, "The parameter is incorrect."},
    {112, "There is not enough space on the disk."},
    {123, "The filename, directory name, or volume label syntax is incorrect."},
    {126, "The specified module could not be found."},
    {127, "The specified procedure could not be found."},
    {183, "Cannot create a file when that file already exists."},
    {234, "More data is available."},
    {1117, "The request could not be performed because of an I/O device error."},
    {1460, "This operation returned because the timeout period expired."},
};
// clang-format on

}  // namespace

uint32_t GetLastError() { return t_lastError; }
void SetLastError(uint32_t code) { t_lastError = code; }

bool SystemMessage(uint32_t code, int kind, std::string &text) {
    if (kind == 3) {
        const char *s = std::strerror(static_cast<int>(code));
        if (s == nullptr || std::strncmp(s, "Unknown error", 13) == 0) return false;
        text = s;
        return true;
    }
    if (kind != 0) return false;
    for (const Win32Text &t : kWin32Texts) {
        if (t.code == code) {
            text = t.text;
            return true;
        }
    }
    return false;
}

namespace posix {

uint32_t Win32FromErrno(int err) {
    switch (err) {
        case 0: return 0;
        case ENOENT: return kErrorFileNotFound;
        case ENOTDIR: return kErrorPathNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR: return kErrorAccessDenied;
        case EBADF: return kErrorInvalidHandle;
        case ENOMEM: return kErrorNotEnoughMemory;
        case EBUSY:
        case ETXTBSY: return kErrorSharingViolation;
        case EEXIST: return kErrorFileExists;
        case EINVAL: return kErrorInvalidParameter;
        case ENOSPC:
        case EDQUOT: return kErrorDiskFull;
        case ENAMETOOLONG: return 123;
        case ENOTSUP: return kErrorNotSupported;
        case ETIMEDOUT:
        case EAGAIN: return kErrorTimeout;
        case EIO: return 1117;
        case ENXIO:
        case ENODEV: return kErrorGenFailure;
        case ENOTTY: return kErrorNotSupported;
        default: return kErrorGenFailure;
    }
}

void SetLastErrorFromErrno() { t_lastError = Win32FromErrno(errno); }

}  // namespace posix
}  // namespace zal::platform
