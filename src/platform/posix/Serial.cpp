// Serial lines on Linux: the Win32 comm calls on termios.
//
// SetCommState puts the line in raw mode and sets speed (any rate: the
// standard B-constants where one fits, BOTHER otherwise), data bits,
// parity (mark and space through CMSPAR), stop bits (1.5 only with five
// data bits, 2 only with six or more, as a UART has them), RTS/CTS flow
// (octs=on or RTS handshake) and XON/XOFF in each direction.  DTR and RTS
// on or off are set on the modem lines where the device has them.  DSR
// flow has no termios counterpart and is left out.  Speed 0 (hang up on
// termios) is refused with 87.
//
// Time-outs are kept per handle (GetCommTimeouts/SetCommTimeouts).  A
// write may take multiplier x count + constant ms, none when both are 0;
// past that WriteFile returns true with the bytes the line took so far and
// last error 1460, as Windows does.  Bytes count as written once the
// kernel has taken them.  Reads follow the Win32 read time-outs.
#include <asm/termbits.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>

#include "platform/Platform.h"
#include "platform/posix/PortsInternal.h"
#include "platform/posix/PosixInternal.h"

namespace zal::platform {
namespace {

// clang-format off
struct Speed { uint32_t baud; tcflag_t code; };
constexpr Speed kSpeeds[] = {
    {50, B50}, {75, B75}, {110, B110}, {134, B134}, {150, B150}, {200, B200}, {300, B300}, {600, B600},
    {1200, B1200}, {1800, B1800}, {2400, B2400}, {4800, B4800}, {9600, B9600}, {19200, B19200},
    {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800},
    {500000, B500000}, {576000, B576000}, {921600, B921600}, {1000000, B1000000},
};
constexpr tcflag_t kByteSizes[] = {CS5, CS6, CS7, CS8};  // 5 to 8 data bits
// clang-format on

bool IsTty(int fd) {
    if (::isatty(fd)) return true;
    SetLastError(errno == EBADF ? kErrorInvalidHandle : kErrorNotSupported);
    return false;
}

bool GetTermios(int fd, termios2 &t) {
    if (!IsTty(fd)) return false;
    if (::ioctl(fd, TCGETS2, &t) != 0) {
        posix::SetLastErrorFromErrno();
        return false;
    }
    return true;
}

void SetModemLine(int fd, int line, bool on) {
    // Pseudo-terminals have no modem lines: the call fails there, harmlessly.
    ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

using Clock = std::chrono::steady_clock;

// Milliseconds left of a total time-out; -1 when there is none.
int64_t Remaining(Clock::time_point start, uint64_t total) {
    if (total == 0) return -1;
    int64_t spent = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    return spent >= static_cast<int64_t>(total) ? 0 : static_cast<int64_t>(total) - spent;
}

}  // namespace

namespace posix {

int PollFor(int fd, short events, int64_t ms) {
    pollfd p = {fd, events, 0};
    int r;
    do {
        r = ::poll(&p, 1, ms < 0 ? -1 : static_cast<int>(ms > INT_MAX ? INT_MAX : ms));
    } while (r < 0 && errno == EINTR);
    if (r > 0 && (p.revents & events) == 0) {
        errno = EIO;  // hung up or failed: nothing will ever move
        return -1;
    }
    return r;
}

bool EnsureNonBlocking(int fd) {
    int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ((flags & O_NONBLOCK) != 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0);
}

bool WriteTty(int fd, const CommTimeouts &timeouts, const char *data, uint32_t count, uint32_t *written) {
    uint64_t total = static_cast<uint64_t>(timeouts.writeTotalTimeoutMultiplier) * count +
                     timeouts.writeTotalTimeoutConstant;
    Clock::time_point start = Clock::now();
    uint32_t done = 0;
    bool ok = EnsureNonBlocking(fd);
    while (ok && done < count) {
        ssize_t n = ::write(fd, data + done, count - done);
        if (n > 0) {
            done += static_cast<uint32_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) {
            ok = false;
            break;
        }
        int64_t left = Remaining(start, total);
        if (left == 0) {
            SetLastError(kErrorTimeout);
            if (written) *written = done;
            return true;
        }
        ok = PollFor(fd, POLLOUT, left) >= 0;
    }
    if (!ok) posix::SetLastErrorFromErrno();
    if (written) *written = done;
    return ok;
}

bool ReadTty(int fd, const CommTimeouts &t, char *data, uint32_t count, uint32_t *read) {
    constexpr uint32_t kMax = 0xFFFFFFFFu;
    // Interval "infinite" with no totals: what is there, at once.  With the
    // multiplier infinite too: the first bytes, or the constant.
    bool atOnce = t.readIntervalTimeout == kMax && t.readTotalTimeoutMultiplier == 0 &&
                  t.readTotalTimeoutConstant == 0;
    bool firstBytes = t.readIntervalTimeout == kMax && t.readTotalTimeoutMultiplier == kMax;
    uint64_t total = firstBytes ? t.readTotalTimeoutConstant
                                : static_cast<uint64_t>(t.readTotalTimeoutMultiplier) * count + t.readTotalTimeoutConstant;
    bool interval = t.readIntervalTimeout != 0 && t.readIntervalTimeout != kMax;
    Clock::time_point start = Clock::now();
    uint32_t done = 0;
    bool ok = EnsureNonBlocking(fd);
    while (ok && done < count) {
        ssize_t n = ::read(fd, data + done, count - done);
        if (n > 0) {
            done += static_cast<uint32_t>(n);
            if (firstBytes) break;
            continue;
        }
        if (n == 0) break;
        if (errno == EINTR) continue;
        if (errno != EAGAIN) {
            ok = false;
            break;
        }
        if (atOnce) break;
        int64_t left = Remaining(start, total);
        if (left == 0) break;
        if (interval && done > 0 && (left < 0 || left > t.readIntervalTimeout)) left = t.readIntervalTimeout;
        int r = PollFor(fd, POLLIN, left);
        if (r < 0) ok = false;
        else if (r == 0 && interval && done > 0) break;
    }
    if (!ok) posix::SetLastErrorFromErrno();
    if (read) *read = done;
    return ok;
}

}  // namespace posix

bool GetCommProperties(Handle h, CommProperties &properties) {
    if (!IsTty(static_cast<int>(h))) return false;
    properties = CommProperties();  // the kernel's queues have no size to report
    return true;
}

bool SetupComm(Handle h, uint32_t, uint32_t) { return IsTty(static_cast<int>(h)); }

namespace posix {

bool ToLine(const CommState &s, LineSettings &l) {
    bool fits = s.baudRate != 0 && s.byteSize >= 5 && s.byteSize <= 8 && s.parity <= 4 && s.stopBits <= 2 &&
                (s.stopBits != 1 || s.byteSize == 5) && (s.stopBits != 2 || s.byteSize != 5);
    if (!fits) {
        SetLastError(kErrorInvalidParameter);
        return false;
    }
    // Raw: no line editing, echo, signals or character translation.
    l.iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF |
                                      IXANY | INPCK);
    l.oflag &= ~static_cast<tcflag_t>(OPOST);
    l.lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    l.cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CBAUD | (CBAUD << IBSHIFT));
    l.cflag |= CREAD | CLOCAL | kByteSizes[s.byteSize - 5];
    if (s.parity != 0) l.cflag |= PARENB;
    if (s.parity == 1 || s.parity == 3) l.cflag |= PARODD;
    if (s.parity >= 3) l.cflag |= CMSPAR;
    if (s.stopBits != 0) l.cflag |= CSTOPB;
    if (s.outxCtsFlow || s.rtsControl == 2) l.cflag |= CRTSCTS;
    if (s.outX) l.iflag |= IXON;
    if (s.inX) l.iflag |= IXOFF;
    tcflag_t code = BOTHER;
    for (const Speed &sp : kSpeeds) {
        if (sp.baud == s.baudRate) code = sp.code;
    }
    l.cflag |= code;  // input speed bits 0: the same as the output
    l.speed = s.baudRate;
    return true;
}

void FromLine(const LineSettings &l, CommState &s) {
    s.baudRate = l.speed;
    if (s.baudRate == 0 && (l.cflag & CBAUD) != BOTHER) {
        for (const Speed &sp : kSpeeds) {
            if ((l.cflag & CBAUD) == sp.code) s.baudRate = sp.baud;
        }
    }
    for (std::size_t i = 0; i < 4; ++i) {
        if ((l.cflag & CSIZE) == kByteSizes[i]) s.byteSize = static_cast<uint8_t>(5 + i);
    }
    bool odd = (l.cflag & PARODD) != 0;
    s.parity = !(l.cflag & PARENB) ? 0 : (l.cflag & CMSPAR) ? (odd ? 3 : 4) : (odd ? 1 : 2);
    s.stopBits = !(l.cflag & CSTOPB) ? 0 : s.byteSize == 5 ? 1 : 2;
    s.outxCtsFlow = (l.cflag & CRTSCTS) != 0;
    s.outxDsrFlow = false;
    if (s.outxCtsFlow) s.rtsControl = 2;
    s.outX = (l.iflag & IXON) != 0;
    s.inX = (l.iflag & IXOFF) != 0;
}

}  // namespace posix

bool GetCommState(Handle h, CommState &state) {
    int fd = static_cast<int>(h);
    termios2 t;
    if (!GetTermios(fd, t)) return false;
    CommState s;
    int lines = 0;
    bool haveLines = ::ioctl(fd, TIOCMGET, &lines) == 0;
    s.dtrControl = haveLines && !(lines & TIOCM_DTR) ? 0 : 1;
    s.rtsControl = haveLines && !(lines & TIOCM_RTS) ? 0 : 1;
    s.eofChar = posix::FindPort(fd).eofChar;
    posix::FromLine({t.c_iflag, t.c_oflag, t.c_cflag, t.c_lflag, t.c_ospeed}, s);
    state = s;
    return true;
}

bool SetCommState(Handle h, const CommState &s) {
    int fd = static_cast<int>(h);
    termios2 t;
    if (!GetTermios(fd, t)) return false;
    posix::LineSettings line{t.c_iflag, t.c_oflag, t.c_cflag, t.c_lflag, t.c_ospeed};
    if (!posix::ToLine(s, line)) return false;
    t.c_iflag = line.iflag;
    t.c_oflag = line.oflag;
    t.c_cflag = line.cflag;
    t.c_lflag = line.lflag;
    t.c_ospeed = t.c_ispeed = line.speed;
    // Reads wait for one byte; non-blocking, so "nothing yet" is EAGAIN, not 0.
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (::ioctl(fd, TCSETS2, &t) != 0) {
        posix::SetLastErrorFromErrno();
        return false;
    }
    SetModemLine(fd, TIOCM_DTR, s.dtrControl != 0);
    if (!(line.cflag & CRTSCTS)) SetModemLine(fd, TIOCM_RTS, s.rtsControl != 0);
    posix::PortState port = posix::FindPort(fd);
    port.kind = posix::PortKind::Tty;
    port.eofChar = s.eofChar;
    posix::RememberPort(fd, port);
    return true;
}

bool GetCommTimeouts(Handle h, CommTimeouts &timeouts) {
    int fd = static_cast<int>(h);
    if (!IsTty(fd)) return false;
    timeouts = posix::FindPort(fd).timeouts;
    return true;
}

bool SetCommTimeouts(Handle h, const CommTimeouts &timeouts) {
    int fd = static_cast<int>(h);
    if (!IsTty(fd)) return false;
    posix::PortState port = posix::FindPort(fd);
    port.kind = posix::PortKind::Tty;
    port.timeouts = timeouts;
    posix::RememberPort(fd, port);
    return true;
}

}  // namespace zal::platform
