// Line settings, queues and time-outs of a serial port before a label is
// written to it.
#pragma once

#include <cstdint>

#include "device/JobContext.h"
#include "platform/Platform.h"

namespace zal {

// Applies the win.ini "ports" entry of the job's port (for example
// "COM1:=9600,n,8,1") and the library's queue sizes and time-outs.  False
// after the first failing call, with an error line written.
bool ConfigureSerialPort(platform::Handle port, const JobContext &context);

// Write time-out per byte: 8 ms at 9600 baud and above, (9600 / baud) * 8
// below.  A baud rate of 0 counts as 9600.
uint32_t WriteTimeoutMultiplier(uint32_t baudRate);

}  // namespace zal
