#include "common/JobFile.h"

#include "common/Settings.h"
#include "platform/Platform.h"

namespace zal {

JobFile::JobFile(const char *path) : _path(path) { platform::PinProfileFile(_path); }

JobFile::~JobFile() { platform::UnpinProfileFile(_path); }

bool JobFile::String(const char *key, const char *defaultValue, char *output, std::size_t size,
                     std::size_t *length) const {
    return ReadINIString(key, defaultValue, output, size, length, _path);
}

bool JobFile::Value(const char *key, const char *defaultValue, char *output, std::size_t size,
                    std::size_t *length) const {
    return ReadINIValue(key, defaultValue, output, size, length, _path);
}

bool JobFile::Int(const char *key, int32_t defaultValue, int32_t *output) const {
    return ReadINIInt(key, defaultValue, output, _path);
}

uint32_t JobFile::Raw(const char *key, const char *defaultValue, char *output, uint32_t size) const {
    if (_path == nullptr) {
        if (size > 0) output[0] = '\0';
        return 0;
    }
    return platform::GetPrivateProfileString(kJobSection, key, defaultValue, output, size, _path);
}

int32_t JobFile::RawInt(const char *key, int32_t defaultValue) const {
    if (_path == nullptr) return defaultValue;
    return static_cast<int32_t>(platform::GetPrivateProfileInt(kJobSection, key, defaultValue, _path));
}

bool JobFile::Refuse(const char *description) const {
    return _path != nullptr && platform::WritePrivateProfileString("Error", "Description", description, _path);
}

}  // namespace zal
