// Shared pieces of the posix ports: the device root, what is known about
// each handle CreateFile gave out, and the serial and parallel halves.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace zal::platform::posix {

// Folder of the device nodes: /dev, or ZAL2443_DEV_ROOT.
std::string DevRoot();

enum class PortKind {
    Plain,            // file or device written as it is
    Tty,              // serial line: comm calls, write time-out
    LptStatusDevice,  // parallel status read with LPGETSTATUS
    LptStatusFile,    // parallel status from a test file
};
struct PortState {
    PortKind kind = PortKind::Plain;
    bool append = false;  // opened for appending: every write goes to the end
    uint32_t writeTimeout = 0;  // ms without a byte taken before a device's write gives up
    CommTimeouts timeouts;
    char eofChar = 0;
};
// Handles that CreateFile did not give out (the USB library's) are Plain.
void RememberPort(int fd, const PortState &state);
void ForgetPort(int fd);
PortState FindPort(int fd);

// Serial.cpp: the termios flags of line settings, and back.  ToLine
// changes the settings it is given (the line's current ones) and refuses,
// with 87, a state no line can have; FromLine leaves the modem lines and
// the end-of-file character as they are in the state.
struct LineSettings {
    uint32_t iflag = 0, oflag = 0, cflag = 0, lflag = 0;
    uint32_t speed = 0;  // baud
};
bool ToLine(const CommState &state, LineSettings &line);
void FromLine(const LineSettings &line, CommState &state);

// Serial.cpp: reads and writes on a terminal under its time-outs.
bool WriteTty(int fd, const CommTimeouts &timeouts, const char *data, uint32_t count, uint32_t *written);
bool ReadTty(int fd, const CommTimeouts &timeouts, char *data, uint32_t count, uint32_t *read);
// Serial.cpp: poll for the events, at most ms (-1: no limit), through
// signals.  -1 with errno EIO when the other side hung up or failed.
int PollFor(int fd, short events, int64_t ms);
// Serial.cpp: the descriptor in non-blocking mode (false when it cannot be).
bool EnsureNonBlocking(int fd);

// Parallel.cpp: the status handle of LPTn; -1 with the last error set.
int OpenLptStatus(unsigned number, PortKind &kind);
bool ReadLptStatus(int fd, PortKind kind, void *data, uint32_t count, uint32_t *read);

}  // namespace zal::platform::posix
