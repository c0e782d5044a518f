// Shared libraries on Linux.
//
// Name rule.  LoadLibrary("X") looks for libX.so, then X.so, in each folder
// of ZAL2443_PLUGIN_PATH (colon-separated), then beside libzal2443.so, then
// in its plugin folder (lib/zal2443/ when installed), then beside the
// executable, then on the loader's own search path.  A name with
// a folder ("dir\compress.dll") is looked for in that folder only, with the
// ".dll" extension replaced the same way: dir/libcompress.so, dir/compress.so,
// then the name as given.
#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace zal::platform {
namespace {

std::string ThisLibraryFolder() {
    Dl_info info;
    if (dladdr(reinterpret_cast<void *>(&ThisLibraryFolder), &info) != 0 && info.dli_fname != nullptr) {
        std::string path = info.dli_fname;
        std::size_t slash = path.rfind('/');
        if (slash != std::string::npos) return path.substr(0, slash + 1);
    }
    return std::string();
}

bool EndsWithNoCase(const std::string &text, const char *suffix) {
    std::size_t n = std::strlen(suffix);
    return text.size() >= n && strncasecmp(text.c_str() + text.size() - n, suffix, n) == 0;
}

std::vector<std::string> BaseNames(const std::string &name) {
    std::string base = name;
    if (EndsWithNoCase(base, ".dll")) base.resize(base.size() - 4);
    if (EndsWithNoCase(base, ".so")) return {base};
    return {"lib" + base + ".so", base + ".so"};
}

void *TryOpen(const std::string &path) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

}  // namespace

LibraryHandle LoadLibrary(const char *name) {
    if (name == nullptr || *name == '\0') {
        SetLastError(kErrorInvalidParameter);
        return nullptr;
    }
    std::string native = NativePath(name);
    std::size_t slash = native.rfind('/');
    if (slash != std::string::npos) {
        std::string folder = native.substr(0, slash + 1);
        for (const std::string &base : BaseNames(native.substr(slash + 1))) {
            if (void *h = TryOpen(folder + base)) return h;
        }
        if (void *h = TryOpen(native)) return h;
        SetLastError(kErrorModNotFound);
        return nullptr;
    }
    std::vector<std::string> folders;
    if (const char *list = std::getenv("ZAL2443_PLUGIN_PATH")) {
        std::string all = list;
        std::size_t start = 0;
        while (start <= all.size()) {
            std::size_t end = all.find(':', start);
            if (end == std::string::npos) end = all.size();
            std::string folder = all.substr(start, end - start);
            if (!folder.empty()) folders.push_back(folder.back() == '/' ? folder : folder + "/");
            start = end + 1;
        }
    }
    folders.push_back(ThisLibraryFolder());
    folders.push_back(PluginFolder());
    folders.push_back(ExecutableFolder());
    for (const std::string &folder : folders) {
        if (folder.empty()) continue;
        for (const std::string &base : BaseNames(native)) {
            if (void *h = TryOpen(folder + base)) return h;
        }
    }
    // Last, the loader's own search path.
    for (const std::string &base : BaseNames(native)) {
        if (void *h = TryOpen(base)) return h;
    }
    SetLastError(kErrorModNotFound);
    return nullptr;
}

void *GetProcAddress(LibraryHandle library, const char *name) {
    if (library == nullptr || name == nullptr) {
        SetLastError(kErrorInvalidHandle);
        return nullptr;
    }
    void *p = dlsym(library, name);
    if (p == nullptr) SetLastError(kErrorProcNotFound);
    return p;
}

std::vector<std::string> LibraryFileNames(const char *name) {
    std::vector<std::string> names = BaseNames(name);
    names.push_back(name);
    return names;
}

bool FreeLibrary(LibraryHandle library) { return library != nullptr && dlclose(library) == 0; }

}  // namespace zal::platform
