// Where code may be loaded from, on Windows: full long names compared
// without regard to letter case, as the file system does.
#include <cstring>
#include <string>

#include "platform/Platform.h"
#include "platform/win32/Win32.h"

namespace zal::platform {

std::string ModuleFolder() {
    HMODULE module = nullptr;
    if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCSTR>(&ModuleFolder), &module))
        return std::string();
    char buffer[MAX_PATH + 1] = {};
    DWORD n = ::GetModuleFileNameA(module, buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::string();
    std::string path(buffer, n);
    std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The plugins sit beside the DLL, where LoadLibrary looks first.
std::string PluginFolder() { return std::string(); }

std::string CanonicalPath(const char *path) {
    if (path == nullptr || *path == '\0') {
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return std::string();
    }
    char full[MAX_PATH + 1] = {};
    DWORD n = ::GetFullPathNameA(path, sizeof full, full, nullptr);
    if (n == 0 || n >= sizeof full) return std::string();
    // The long name also answers whether the path exists; a short (8.3)
    // name would compare unequal to the long one.
    char longName[MAX_PATH + 1] = {};
    n = ::GetLongPathNameA(full, longName, sizeof longName);
    if (n == 0 || n >= sizeof longName) return std::string();
    std::string canonical(longName, n);
    // "C:\dir\" and "C:\dir" are one folder; a drive's root keeps its backslash.
    while (canonical.size() > 3 && (canonical.back() == '\\' || canonical.back() == '/')) canonical.pop_back();
    return canonical;
}

bool SamePath(const std::string &a, const std::string &b) {
    return a.size() == b.size() && ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                                                    b.c_str(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

bool WritableByOthers(const char *) { return false; }

}  // namespace zal::platform
