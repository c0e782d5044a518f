// The parallel port status behind "\\.\LPTSTATn".
//
// The status byte is the printer port's status register as the kernel's
// lp driver reads it (LPGETSTATUS on <dev root>/lp{n-1}, opened without
// waiting for the printer): bit 7 not busy, 6 acknowledge, 5 paper out,
// 4 selected, 3 no error, the same bits the Windows status device gives.
// When ZAL2443_LPTSTAT_DIR is set, the first byte of the file
// $ZAL2443_LPTSTAT_DIR/LPTSTATn stands in for the register (tests, and
// machines without a parallel port); a missing file fails the open.
#include <fcntl.h>
#include <linux/lp.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/Platform.h"
#include "platform/posix/PortsInternal.h"
#include "platform/posix/PosixInternal.h"

namespace zal::platform::posix {

int OpenLptStatus(unsigned number, PortKind &kind) {
    const char *folder = std::getenv("ZAL2443_LPTSTAT_DIR");
    bool fromFile = folder != nullptr && *folder != '\0';
    std::string path = fromFile ? std::string(folder) + "/LPTSTAT" + std::to_string(number)
                                : DevRoot() + "/lp" + std::to_string(number - 1);
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0 && fd <= 2) {  // 0 reads as "no handle"
        int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
        ::close(fd);
        fd = moved;
    }
    if (fd < 0) {
        SetLastErrorFromErrno();
        return -1;
    }
    kind = fromFile ? PortKind::LptStatusFile : PortKind::LptStatusDevice;
    // A node that is no parallel printer cannot give a status: fail now, so
    // that the caller's PortCheckSkip setting decides.
    int status = 0;
    if (!fromFile && ::ioctl(fd, LPGETSTATUS, &status) != 0) {
        SetLastErrorFromErrno();
        ::close(fd);
        return -1;
    }
    return fd;
}

bool ReadLptStatus(int fd, PortKind kind, void *data, uint32_t count, uint32_t *read) {
    if (read) *read = 0;
    if (count == 0) return true;
    if (kind == PortKind::LptStatusFile) {
        ssize_t n = ::pread(fd, data, 1, 0);
        if (n < 0) {
            SetLastErrorFromErrno();
            return false;
        }
        if (read) *read = static_cast<uint32_t>(n);
        return true;
    }
    int status = 0;
    if (::ioctl(fd, LPGETSTATUS, &status) != 0) {
        SetLastErrorFromErrno();
        return false;
    }
    *static_cast<unsigned char *>(data) = static_cast<unsigned char>(status);
    if (read) *read = 1;
    return true;
}

}  // namespace zal::platform::posix
