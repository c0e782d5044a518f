// The file name the CUPS port loads libcups from.  A test names a missing
// library here to see the port fail to open as on a machine without CUPS.
#pragma once

namespace zal::platform::posix {

extern const char *g_cupsLibraryName;

}  // namespace zal::platform::posix
