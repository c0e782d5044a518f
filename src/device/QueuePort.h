// Print queues as ports: a setup line or port record whose port is
// "CUPS <queue>" or "ipp://host[:port]/printers/<queue>" sends each label to
// that queue of the system's spooler as one raw job.
#pragma once

#include <cstdint>
#include <string>

#include "device/JobContext.h"
#include "platform/Platform.h"

namespace zal {

// Whether the port text names a print queue ("CUPS " or an ipp:// or
// ipps:// address, letter case ignored).
bool IsQueuePort(const char *portText);

// The queue a port text names; false with the reason when the text is no
// queue's address (no name, a bad port number, a path other than
// /printers/<queue> or /classes/<queue>, a name with '/', '\', '#', '?' or
// control characters).
bool ParseQueuePort(const char *portText, platform::QueueAddress &address, std::string &error);

}  // namespace zal
