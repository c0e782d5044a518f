// The registry on Linux: a store file in INI form (see PosixInternal.h for
// its location).  One section per key path, one line per value:
//   [SOFTWARE\Norwick Solutions Inc.\Orvandex]
//   MaxiCompressAll=dword:1
//   MaxiArchiveDir=/var/spool/maxicode
// A value written "dword:N" (N decimal or 0x hexadecimal) is a 32-bit number;
// any other value is a string.  An absent store means every setting is at
// its default.  The store is parsed again only when it changed: a job reads
// several settings, and a batch runs many jobs.
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "platform/posix/IniDocument.h"
#include "platform/posix/PosixInternal.h"

namespace zal::platform {
namespace {

struct OpenKey {
    std::string path;
};

struct Store {
    std::string file;
    bool exists = false;
    posix::IniDocument document;
    struct stat seen = {};
};

bool SameFile(const struct stat &a, const struct stat &b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// The store as it is now, read again only when it changed.
const Store &CurrentStore() {
    static Store store;
    std::string file = posix::RegistryPath();
    struct stat st;
    bool exists = ::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    if (file == store.file && exists == store.exists && (!exists || SameFile(st, store.seen))) return store;
    // a store changed just now is read each time until it has settled

    store.file = file;
    store.exists = false;
    store.document = posix::IniDocument();
    if (exists) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        if (in.good() || in.eof()) {
            store.exists = true;
            store.seen = st;
            if (!posix::IsSettled(file.c_str(), st)) store.seen.st_size = -1;  // never the same: read again
            store.document = posix::IniDocument(text.str());
        }
    }
    return store;
}

}  // namespace

uint32_t RegistryOpenKey(const char *path, RegistryKey *key) {
    if (path == nullptr || key == nullptr) return kErrorInvalidParameter;
    const Store &store = CurrentStore();
    if (!store.exists) return kErrorFileNotFound;
    // A key exists when its section has at least one value.
    std::string names;
    if (!store.document.KeyList(path, names) || names.empty()) return kErrorFileNotFound;
    *key = new OpenKey{path};
    return kErrorSuccess;
}

uint32_t RegistryQueryValue(RegistryKey key, const char *name, uint32_t *type, void *data, uint32_t *size) {
    auto *open = static_cast<OpenKey *>(key);
    if (open == nullptr || name == nullptr) return kErrorInvalidHandle;
    std::string_view found;
    if (!CurrentStore().document.FindValue(open->path, name, found)) return kErrorFileNotFound;
    // as the profile reader hands it: up to 2047 characters, up to a NUL
    std::string text(found.substr(0, 2047));
    text.resize(std::strlen(text.c_str()));
    uint32_t valueType = kRegistryString;
    uint32_t number = 0;
    if (text.compare(0, 6, "dword:") == 0) {
        valueType = kRegistryDword;
        number = static_cast<uint32_t>(std::strtoul(text.c_str() + 6, nullptr, 0));
    }
    if (type) *type = valueType;
    uint32_t needed = valueType == kRegistryDword ? 4u : static_cast<uint32_t>(text.size() + 1);
    if (size == nullptr) return data == nullptr ? kErrorSuccess : kErrorInvalidParameter;
    if (data == nullptr) {
        *size = needed;
        return kErrorSuccess;
    }
    if (*size < needed) {
        *size = needed;
        return kErrorMoreData;
    }
    if (valueType == kRegistryDword) {
        std::memcpy(data, &number, 4);
    } else {
        std::memcpy(data, text.c_str(), needed);
    }
    *size = needed;
    return kErrorSuccess;
}

void RegistryCloseKey(RegistryKey key) { delete static_cast<OpenKey *>(key); }

}  // namespace zal::platform
