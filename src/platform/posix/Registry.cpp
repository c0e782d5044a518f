// The registry on Linux: a store file in INI form (see PosixInternal.h for
// its location).  One section per key path, one line per value:
//   [SOFTWARE\Norwick Solutions Inc.\Orvandex]
//   MaxiCompressAll=dword:1
//   MaxiArchiveDir=/var/spool/maxicode
// A value written "dword:N" (N decimal or 0x hexadecimal) is a 32-bit number;
// any other value is a string.  An absent store means every setting is at
// its default.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/posix/PosixInternal.h"

namespace zal::platform {
namespace {

struct OpenKey {
    std::string path;
    std::string file;
};

}  // namespace

uint32_t RegistryOpenKey(const char *path, RegistryKey *key) {
    if (path == nullptr || key == nullptr) return kErrorInvalidParameter;
    std::string file = posix::RegistryPath();
    if (!FindFile(file.c_str())) return kErrorFileNotFound;
    // A key exists when its section has at least one value.
    std::vector<char> names(4096);
    uint32_t n = GetPrivateProfileString(path, nullptr, "", names.data(), static_cast<uint32_t>(names.size()),
                                         file.c_str());
    if (n == 0) return kErrorFileNotFound;
    *key = new OpenKey{path, file};
    return kErrorSuccess;
}

uint32_t RegistryQueryValue(RegistryKey key, const char *name, uint32_t *type, void *data, uint32_t *size) {
    auto *open = static_cast<OpenKey *>(key);
    if (open == nullptr || name == nullptr) return kErrorInvalidHandle;
    std::vector<char> value(2048);
    const char *sentinel = "\x01__zal_absent__";
    GetPrivateProfileString(open->path.c_str(), name, sentinel, value.data(), static_cast<uint32_t>(value.size()),
                            open->file.c_str());
    if (std::strcmp(value.data(), sentinel) == 0) return kErrorFileNotFound;
    std::string text = value.data();
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
