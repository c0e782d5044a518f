// Files and devices on Linux.  (Serial ports and the parallel status
// device come with the device output.)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Platform.h"
#include "platform/posix/PosixInternal.h"

namespace zal::platform {

Handle CreateFile(const char *path, const OpenOptions &o) {
    if (path == nullptr || *path == '\0') {
        SetLastError(kErrorPathNotFound);
        return kInvalidHandle;
    }
    int flags = O_CLOEXEC | (o.read && o.write ? O_RDWR : o.write ? O_WRONLY : O_RDONLY);
    if (o.disposition == Disposition::OpenAlways) flags |= O_CREAT;
    if (o.writeThrough) flags |= O_DSYNC;
    int fd = ::open(NativePath(path).c_str(), flags, 0644);
    if (fd < 0) {
        posix::SetLastErrorFromErrno();
        return kInvalidHandle;
    }
    SetLastError(0);
    return fd;
}

bool SeekToEnd(Handle h) {
    if (::lseek(static_cast<int>(h), 0, SEEK_END) < 0) {
        posix::SetLastErrorFromErrno();
        return false;
    }
    return true;
}

bool WriteFile(Handle h, const void *data, uint32_t count, uint32_t *written) {
    uint32_t done = 0;
    while (done < count) {
        ssize_t n = ::write(static_cast<int>(h), static_cast<const char *>(data) + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            posix::SetLastErrorFromErrno();
            if (written) *written = done;
            return false;
        }
        done += static_cast<uint32_t>(n);
    }
    if (written) *written = done;
    return true;
}

bool ReadFile(Handle h, void *data, uint32_t count, uint32_t *read) {
    ssize_t n;
    do {
        n = ::read(static_cast<int>(h), data, count);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        posix::SetLastErrorFromErrno();
        if (read) *read = 0;
        return false;
    }
    if (read) *read = static_cast<uint32_t>(n);
    return true;
}

bool FlushFileBuffers(Handle h) {
    if (::fsync(static_cast<int>(h)) != 0 && errno != EINVAL && errno != EROFS) {
        posix::SetLastErrorFromErrno();
        return false;
    }
    return true;
}

bool CloseHandle(Handle h) {
    if (::close(static_cast<int>(h)) != 0) {
        posix::SetLastErrorFromErrno();
        return false;
    }
    return true;
}

bool GetCommProperties(Handle, CommProperties &) {
    SetLastError(kErrorNotSupported);
    return false;
}
bool SetupComm(Handle, uint32_t, uint32_t) {
    SetLastError(kErrorNotSupported);
    return false;
}
bool GetCommState(Handle, CommState &) {
    SetLastError(kErrorNotSupported);
    return false;
}
bool BuildCommDCB(const char *, CommState &) {
    SetLastError(kErrorInvalidParameter);
    return false;
}
bool SetCommState(Handle, const CommState &) {
    SetLastError(kErrorNotSupported);
    return false;
}
bool GetCommTimeouts(Handle, CommTimeouts &) {
    SetLastError(kErrorNotSupported);
    return false;
}
bool SetCommTimeouts(Handle, const CommTimeouts &) {
    SetLastError(kErrorNotSupported);
    return false;
}

}  // namespace zal::platform
