// Shared pieces of the posix backend.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>

namespace zal::platform::posix {

// Win32 error number for an errno value.
uint32_t Win32FromErrno(int err);
// Sets the last error from errno.
void SetLastErrorFromErrno();

// Files of the posix stand-ins, each overridable by an environment variable:
//   ZAL2443_HOME      base folder (default $HOME/.zal2443)
//   ZAL2443_WIN_INI   the user's profile (win.ini): "ports", "Quorra"
//   ZAL2443_REGISTRY  the registry store (INI form, one section per key)
std::string WinIniPath();
std::string RegistryPath();

// Whether a file read now was last changed long enough ago that any later
// change gives it a newer modification time: file times are coarse (a clock
// tick; two seconds on FAT and on file systems of unknown kind), so a file
// changed within that span may change again under the same time.
bool IsSettled(const char *path, const struct ::stat &st);

// While a job has its file pinned, whether that file exists is known
// without asking the file system again.  False when the path is not pinned.
bool PinnedFileExists(const std::string &nativePath, bool &exists);
bool PinnedFileExistsByName(const char *path, bool &exists);

}  // namespace zal::platform::posix
