// The status of a parallel port, read from its status device.
#pragma once

#include <cstdint>

namespace zal {

enum class PortStatus { Ready, Busy, NotReady };

// Judges a status byte (bits 0 to 2 are not looked at).
PortStatus JudgeParallelStatus(uint8_t status);

// Reads "\\.\LPTSTAT<portKind>".  A status device that cannot be opened is
// ready only when win.ini's "PortCheckSkip" of section "Quorra" begins with Y.
PortStatus ReadParallelStatus(uint32_t portKind);

}  // namespace zal
