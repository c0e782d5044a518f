// Files and devices on Linux.
//
// Device names.  CreateFile maps the Windows device names (letters in any
// case, with or without a trailing ':' and the "\\.\" prefix) to device
// nodes below the device root, /dev unless ZAL2443_DEV_ROOT names another:
//   LPTn          -> <root>/lp{n-1}     parallel printer (kernel lp driver)
//   COMn          -> <root>/ttyS{n-1}   serial line, see Serial.cpp
//   \\.\LPTSTATn  -> status handle of <root>/lp{n-1}: ReadFile gives the
//                    LPGETSTATUS byte; with ZAL2443_LPTSTAT_DIR set, the first
//                    byte of the file $ZAL2443_LPTSTAT_DIR/LPTSTATn instead
//                    (a missing file fails the open), see Parallel.cpp
//   NUL           -> /dev/null
// Any other name goes through NativePath (Paths.cpp).  Device names are
// never created; other paths are with open-always.
//
// Handles are file descriptors.  A terminal, whatever its name, gets the
// comm calls and its write time-out; a descriptor CreateFile did not give
// out (the USB library's) is written as it is.  "No sharing" is an
// exclusive flock on regular files (a second open fails with 32) and on
// terminals (5, as Windows answers for a port in use); shared reading is
// a shared flock.
//
// Any other device (a usblp printer, a parallel port, a pipe), and a
// terminal without comm write time-outs, may stop taking data for ever.
// Once SetWriteTimeout has given it a time-out, WriteFile writes it
// without blocking and polls for room; after that many ms without a byte
// taken it stops, as a serial line's time-out does.
// A pipe whose reader has gone raises SIGPIPE, which would end the host:
// the signal is held back while such a device is written.
//
// The user's profile.  GetProfileString reads the posix stand-in for
// win.ini, $ZAL2443_HOME/win.ini or the file ZAL2443_WIN_INI names
// (posix::WinIniPath).  The device output reads two sections of it:
//   [ports]
//   COM1:=9600,n,8,1        line settings of a serial port (BuildCommDCB text)
//   [Quorra]
//   PortCheckSkip=Y         print when the parallel status cannot be read
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/Platform.h"
#include "platform/posix/PortsInternal.h"
#include "platform/posix/PosixInternal.h"

namespace zal::platform {

namespace posix {
namespace {

std::mutex g_portsMutex;
std::unordered_map<int, PortState> g_ports;

}  // namespace

std::string DevRoot() {
    const char *root = std::getenv("ZAL2443_DEV_ROOT");
    return root != nullptr && *root != '\0' ? root : "/dev";
}

void RememberPort(int fd, const PortState &state) {
    std::lock_guard<std::mutex> lock(g_portsMutex);
    g_ports[fd] = state;
}

void ForgetPort(int fd) {
    std::lock_guard<std::mutex> lock(g_portsMutex);
    g_ports.erase(fd);
}

PortState FindPort(int fd) {
    std::lock_guard<std::mutex> lock(g_portsMutex);
    auto it = g_ports.find(fd);
    return it == g_ports.end() ? PortState() : it->second;
}

}  // namespace posix

namespace {

enum class DeviceKind { None, Lpt, Com, LptStatus, Nul };
struct DeviceName {
    DeviceKind kind = DeviceKind::None;
    unsigned number = 0;
};

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

// "LPT1", "com10:", "\\.\COM3", "\\.\LPTSTAT1", "NUL"; numbers from 1 to 999.
DeviceName ParseDeviceName(std::string_view name) {
    bool prefixed = name.substr(0, 4) == "\\\\.\\" || name.substr(0, 4) == "//./";
    if (prefixed) name.remove_prefix(4);
    if (!name.empty() && name.back() == ':') name.remove_suffix(1);
    auto numbered = [&](std::string_view prefix, DeviceKind kind) {
        DeviceName d;
        if (!StartsWithNoCase(name, prefix)) return d;
        std::string_view digits = name.substr(prefix.size());
        if (digits.empty() || digits.size() > 3) return d;
        unsigned n = 0;
        for (char c : digits) {
            if (!std::isdigit(static_cast<unsigned char>(c))) return d;
            n = n * 10 + static_cast<unsigned>(c - '0');
        }
        if (n != 0) d = {kind, n};
        return d;
    };
    if (prefixed) {
        if (DeviceName d = numbered("LPTSTAT", DeviceKind::LptStatus); d.kind != DeviceKind::None) return d;
    }
    if (DeviceName d = numbered("LPT", DeviceKind::Lpt); d.kind != DeviceKind::None) return d;
    if (DeviceName d = numbered("COM", DeviceKind::Com); d.kind != DeviceKind::None) return d;
    if (name.size() == 3 && StartsWithNoCase(name, "NUL")) return {DeviceKind::Nul, 0};
    return {};
}

// Keeps descriptors 0 to 2 for what they usually are: a handle of 0 reads
// as "no handle" to the caller.
int AboveStandard(int fd) {
    if (fd > 2) return fd;
    int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
    ::close(fd);
    return moved;
}

Handle Fail(int fd) {
    uint32_t code = posix::Win32FromErrno(errno);
    if (fd >= 0) ::close(fd);
    SetLastError(code);
    return kInvalidHandle;
}

// O_NONBLOCK keeps the open of a serial line from waiting for its carrier;
// only terminals keep it (their writes poll).
Handle Open(const std::string &path, const OpenOptions &o, bool mayCreate) {
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (o.read && o.write ? O_RDWR : o.write ? O_WRONLY : O_RDONLY);
    if (o.writeThrough) flags |= O_DSYNC;
    if (o.append) flags |= O_APPEND;
    bool created = false;
    int fd = ::open(path.c_str(), flags);
    if (fd < 0 && errno == ENOENT && mayCreate && o.disposition == Disposition::OpenAlways) {
        fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0644);
        if (fd < 0 && errno == EEXIST) fd = ::open(path.c_str(), flags);  // lost a race: it exists now
        else created = fd >= 0;
    }
    if (fd < 0) return Fail(-1);
    fd = AboveStandard(fd);
    if (fd < 0) return Fail(-1);

    struct stat st;
    if (::fstat(fd, &st) != 0) return Fail(fd);
    const bool regular = S_ISREG(st.st_mode);
    bool tty = !regular && ::isatty(fd) != 0;
    if (regular || tty) {
        int lock = (o.shareRead && !o.write ? LOCK_SH : LOCK_EX) | LOCK_NB;
        if (::flock(fd, lock) != 0) {
            if (errno != EWOULDBLOCK) return Fail(fd);
            ::close(fd);
            SetLastError(tty ? kErrorAccessDenied : kErrorSharingViolation);
            return kInvalidHandle;
        }
    }
    // (O_NONBLOCK does nothing to a regular file.)
    if (!tty && !regular) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    posix::PortState state;
    state.kind = tty ? posix::PortKind::Tty : posix::PortKind::Plain;
    state.append = o.append;
    posix::RememberPort(fd, state);
    // OPEN_ALWAYS reports an existing file with 183.
    SetLastError(o.disposition == Disposition::OpenAlways && !created && S_ISREG(st.st_mode) ? kErrorAlreadyExists
                                                                                           : kErrorSuccess);
    return fd;
}

// SIGPIPE held back for one write to a device; a SIGPIPE the write raised
// is taken from the thread's pending signals, one that was pending before
// is left for its owner.
class HeldSigpipe {
public:
    HeldSigpipe() {
        sigemptyset(&_pipe);
        sigaddset(&_pipe, SIGPIPE);
        sigset_t pending;
        sigemptyset(&pending);
        _wasPending = ::sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
        ::pthread_sigmask(SIG_BLOCK, &_pipe, &_old);
    }
    ~HeldSigpipe() {
        if (!_wasPending) {
            const timespec now = {0, 0};
            while (::sigtimedwait(&_pipe, nullptr, &now) == SIGPIPE) {
            }
        }
        ::pthread_sigmask(SIG_SETMASK, &_old, nullptr);
    }
    HeldSigpipe(const HeldSigpipe &) = delete;
    HeldSigpipe &operator=(const HeldSigpipe &) = delete;

private:
    sigset_t _pipe, _old;
    bool _wasPending = false;
};

// Writes a device that may stop taking data: see the head of this file.
bool WriteWithin(int fd, uint32_t timeout, const char *data, uint32_t count, uint32_t *written) {
    using Clock = std::chrono::steady_clock;
    HeldSigpipe held;
    uint32_t done = 0;
    Clock::time_point lastProgress = Clock::now();
    // A device without poll support (the lp driver) is always "ready": a
    // write it then refuses is asked again after a tick, not in a spin.
    bool pollSaidReady = false;
    bool ok = posix::EnsureNonBlocking(fd);
    while (ok && done < count) {
        ssize_t n = ::write(fd, data + done, count - done);
        if (n > 0) {
            done += static_cast<uint32_t>(n);
            lastProgress = Clock::now();
            pollSaidReady = false;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) {
            ok = false;
            break;
        }
        int64_t spent =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastProgress).count();
        int64_t left = static_cast<int64_t>(timeout) - spent;
        if (left <= 0) {
            if (written) *written = done;
            SetLastError(kErrorTimeout);
            return true;
        }
        if (pollSaidReady) {
            ::usleep(static_cast<useconds_t>(std::min<int64_t>(left, 10) * 1000));
            pollSaidReady = false;
            continue;
        }
        int r = posix::PollFor(fd, POLLOUT, left);
        if (r < 0) ok = false;
        pollSaidReady = r > 0;
    }
    if (!ok) posix::SetLastErrorFromErrno();
    if (written) *written = done;
    return ok;
}

}  // namespace

Handle CreateFile(const char *path, const OpenOptions &o) {
    if (path == nullptr || *path == '\0') {
        SetLastError(kErrorPathNotFound);
        return kInvalidHandle;
    }
    DeviceName device = ParseDeviceName(path);
    switch (device.kind) {
        case DeviceKind::Lpt: return Open(posix::DevRoot() + "/lp" + std::to_string(device.number - 1), o, false);
        case DeviceKind::Com: return Open(posix::DevRoot() + "/ttyS" + std::to_string(device.number - 1), o, false);
        case DeviceKind::Nul: return Open("/dev/null", o, false);
        case DeviceKind::LptStatus: {
            posix::PortState state;
            int fd = posix::OpenLptStatus(device.number, state.kind);
            if (fd < 0) return kInvalidHandle;
            posix::RememberPort(fd, state);
            SetLastError(kErrorSuccess);
            return fd;
        }
        case DeviceKind::None: break;
    }
    return Open(NativePath(path), o, true);
}

bool SeekToEnd(Handle h) {
    if (posix::FindPort(static_cast<int>(h)).append) return true;
    if (::lseek(static_cast<int>(h), 0, SEEK_END) < 0) {
        posix::SetLastErrorFromErrno();
        return false;
    }
    return true;
}

bool WriteFile(Handle h, const void *data, uint32_t count, uint32_t *written) {
    int fd = static_cast<int>(h);
    posix::PortState port = posix::FindPort(fd);
    if (port.kind == posix::PortKind::Tty) {
        // A line nobody gave write time-outs (one not named COMn) would wait for ever.
        bool untimed = port.timeouts.writeTotalTimeoutMultiplier == 0 && port.timeouts.writeTotalTimeoutConstant == 0;
        if (untimed && port.writeTimeout != 0) {
            return WriteWithin(fd, port.writeTimeout, static_cast<const char *>(data), count, written);
        }
        return posix::WriteTty(fd, port.timeouts, static_cast<const char *>(data), count, written);
    }
    if (port.kind != posix::PortKind::Plain) {
        if (written) *written = 0;
        SetLastError(kErrorAccessDenied);
        return false;
    }
    if (port.writeTimeout != 0) return WriteWithin(fd, port.writeTimeout, static_cast<const char *>(data), count, written);
    uint32_t done = 0;
    while (done < count) {
        ssize_t n = ::write(fd, static_cast<const char *>(data) + done, count - done);
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

bool SetWriteTimeout(Handle h, uint32_t ms) {
    int fd = static_cast<int>(h);
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        posix::SetLastErrorFromErrno();
        return false;
    }
    posix::PortState port = posix::FindPort(fd);
    // A file always takes its bytes; a status handle is not written.
    bool device = port.kind == posix::PortKind::Tty || (port.kind == posix::PortKind::Plain && !S_ISREG(st.st_mode));
    if (!device) return true;
    port.writeTimeout = ms;
    posix::RememberPort(fd, port);
    return true;
}

bool ReadFile(Handle h, void *data, uint32_t count, uint32_t *read) {
    int fd = static_cast<int>(h);
    posix::PortState port = posix::FindPort(fd);
    switch (port.kind) {
        case posix::PortKind::Tty: return posix::ReadTty(fd, port.timeouts, static_cast<char *>(data), count, read);
        case posix::PortKind::LptStatusDevice:
        case posix::PortKind::LptStatusFile: return posix::ReadLptStatus(fd, port.kind, data, count, read);
        case posix::PortKind::Plain: break;
    }
    ssize_t n;
    do {
        n = ::read(fd, data, count);
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
    int fd = static_cast<int>(h);
    // A terminal's buffers are flushed by sending them (tcdrain).
    int rc = posix::FindPort(fd).kind == posix::PortKind::Tty ? ::tcdrain(fd) : ::fsync(fd);
    if (rc != 0 && errno != EINVAL && errno != EROFS) {
        posix::SetLastErrorFromErrno();
        return false;
    }
    return true;
}

bool CloseHandle(Handle h) {
    int fd = static_cast<int>(h);
    posix::ForgetPort(fd);
    if (::close(fd) != 0) {
        posix::SetLastErrorFromErrno();
        return false;
    }
    return true;
}

}  // namespace zal::platform
