// Where code may be loaded from, on Linux.
//
// Paths are compared in their canonical form (realpath: symbolic links,
// "." and ".." resolved), so a job cannot reach an allowed folder's name
// through a link or a relative path that leads elsewhere.  A file or
// folder that others may write is one whose contents another user could
// replace between the check and the load.
#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "platform/Platform.h"
#include "platform/posix/PosixInternal.h"

namespace zal::platform {

std::string ModuleFolder() {
    Dl_info info;
    link_map *module = nullptr;
    if (dladdr1(reinterpret_cast<void *>(&ModuleFolder), &info, reinterpret_cast<void **>(&module),
                RTLD_DL_LINKMAP) == 0 ||
        module == nullptr || module->l_name == nullptr)
        return std::string();
    // The program itself has no name in the loader's list.
    if (*module->l_name == '\0') return ExecutableFolder();
    // A library opened by a relative name is known only relative to a
    // folder that need not be the current one: no trustworthy folder.
    std::string path = module->l_name;
    if (path[0] != '/') return std::string();
    return path.substr(0, path.rfind('/') + 1);
}

std::string PluginFolder() {
    std::string folder = ModuleFolder();
    return folder.empty() ? folder : folder + ZAL2443_PLUGIN_FOLDER_NAME + "/";
}

std::string CanonicalPath(const char *path) {
    if (path == nullptr || *path == '\0') {
        SetLastError(kErrorFileNotFound);
        return std::string();
    }
    char *resolved = ::realpath(NativePath(path).c_str(), nullptr);
    if (resolved == nullptr) {
        posix::SetLastErrorFromErrno();
        return std::string();
    }
    std::string canonical = resolved;
    std::free(resolved);
    return canonical;
}

bool SamePath(const std::string &a, const std::string &b) { return a == b; }

bool WritableByOthers(const char *path) {
    struct stat st;
    if (path == nullptr || ::stat(NativePath(path).c_str(), &st) != 0) return false;
    return (st.st_mode & S_IWOTH) != 0;
}

}  // namespace zal::platform
