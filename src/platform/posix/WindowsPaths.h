// The mapping of Windows-style paths to Linux ones, shared by the library
// and the plugins that receive such paths (the USB support library's log
// folder): self-contained, so a plugin compiles it in.
#pragma once

#include <string>

namespace zal::platform::posix {

// $ZAL2443_HOME, else $HOME/.zal2443.
std::string HomeFolder();
// Path rule.  Every backslash becomes a slash; a leading drive "X:" becomes
// the root of drive X: the folder named by ZAL2443_DRIVE_X (upper-case
// letter) when that is set, otherwise $ZAL2443_HOME/drive_x.  So
// "c:\orvandex\Label1.out" is "$HOME/.zal2443/drive_c/orvandex/Label1.out"
// unless ZAL2443_DRIVE_C=/srv/labels makes it "/srv/labels/orvandex/...".
// POSIX paths pass unchanged.
std::string MapWindowsPath(const char *path);

}  // namespace zal::platform::posix
