// Log files kept open between lines.  Each line is one write() on a
// descriptor opened with O_APPEND, so lines of several processes sharing a
// log folder never mix.  At most once a second the path is checked again:
// a log that was moved away or deleted is reopened under its name.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/Platform.h"
#include "platform/posix/PosixInternal.h"

namespace zal::platform {
namespace {

struct OpenLog {
    std::string path;  // as the caller names it
    int fd = -1;
    uint64_t checked = 0;  // monotonic milliseconds of the last check
};

constexpr int kKept = 4;
OpenLog g_logs[kKept];
int g_next = 0;

uint64_t NowMs() {
    struct timespec ts;
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
}

void Close(OpenLog &log) {
    if (log.fd >= 0) ::close(log.fd);
    log.fd = -1;
    log.path.clear();
}

bool Open(OpenLog &log, const char *path) {
    Close(log);
    int fd = ::open(NativePath(path).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        posix::SetLastErrorFromErrno();
        return false;
    }
    log.fd = fd;
    log.path = path;
    log.checked = NowMs();
    return true;
}

// Still the file the path names?
bool StillCurrent(const OpenLog &log) {
    struct stat byName, byHandle;
    return ::stat(NativePath(log.path.c_str()).c_str(), &byName) == 0 && ::fstat(log.fd, &byHandle) == 0 &&
           byName.st_dev == byHandle.st_dev && byName.st_ino == byHandle.st_ino;
}

}  // namespace

bool AppendLogLine(const char *path, const char *text, std::size_t length) {
    if (path == nullptr || *path == '\0') return false;
    OpenLog *log = nullptr;
    for (OpenLog &l : g_logs) {
        if (l.fd >= 0 && l.path == path) log = &l;
    }
    if (log != nullptr) {
        uint64_t now = NowMs();
        if (now - log->checked >= 1000) {
            if (!StillCurrent(*log) && !Open(*log, path)) return false;
            log->checked = now;
        }
    } else {
        log = &g_logs[g_next];
        g_next = (g_next + 1) % kKept;
        if (!Open(*log, path)) return false;
    }
    struct iovec parts[2] = {{const_cast<char *>(text), length}, {const_cast<char *>("\n"), 1}};
    ssize_t written = ::writev(log->fd, parts, 2);
    if (written != static_cast<ssize_t>(length + 1)) {
        posix::SetLastErrorFromErrno();
        Close(*log);
        return false;
    }
    return true;
}

}  // namespace zal::platform
