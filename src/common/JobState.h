// Process-wide values the dispatch prepares for the layouts of one job.
#pragma once

#include <cstddef>

namespace zal {

constexpr std::size_t kVersionLineSize = 156;  // 155 characters

// The open version line that layouts print at the foot of a label, and the
// model tag (" Duzed "), both rebuilt by every dispatch.
char *VersionLine();
char *ModelTag();

}  // namespace zal
