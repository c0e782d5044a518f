// Message boxes for unattended use.  ZAL2443_PROMPT chooses the policy:
//   cancel    write the box to stderr and answer Cancel (OK for an error box)
//   retry:N   answer Retry N times in this process, then Cancel
//   ask       the real box on Windows, a question on the terminal on Linux
// Unset means "ask" on Windows and "cancel" on Linux, so a print server or a
// CI run never waits for somebody who is not there.
#pragma once

#include <cstdint>

namespace zal {

int PolicyMessageBox(const char *text, const char *caption, uint32_t style);

}  // namespace zal
