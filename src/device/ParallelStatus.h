// The status of a parallel port, read from its status device.
#pragma once

#include <cstdint>
#include <string>

namespace zal {

// Unreadable: the status device could not be opened or read, so nothing is
// known of the printer (not the same as a printer that says "not ready").
enum class PortStatus { Ready, Busy, NotReady, Unreadable };

// Judges a status byte (bits 0 to 2 are not looked at).
PortStatus JudgeParallelStatus(uint8_t status);

// Reads "\\.\LPTSTAT<portKind>".  A status device that cannot be opened
// counts as ready only when win.ini's "PortCheckSkip" of section "Quorra"
// begins with Y.  For an unreadable status, reason (when given) receives
// what failed, with the system's text.
PortStatus ReadParallelStatus(uint32_t portKind, std::string *reason = nullptr);

}  // namespace zal
