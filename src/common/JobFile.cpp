#include "common/JobFile.h"

#include <cerrno>
#include <cstring>

#include "common/ErrorCodes.h"
#include "common/Heap.h"
#include "common/Log.h"
#include "common/Settings.h"
#include "common/Strings.h"

namespace zal {
namespace {

// The readers look a key up with a buffer of this size first.
constexpr std::size_t kProbeChars = 254;
constexpr std::size_t kSentinelLength = 11;

// At most size - 1 bytes of the value, up to a NUL, and the terminator: what
// the profile call copies into a buffer of that size.
std::size_t CopyValue(char *output, std::size_t size, std::string_view value) {
    if (size == 0) return 0;
    std::size_t n = 0;
    while (n < value.size() && n + 1 < size && value[n] != '\0') {
        output[n] = value[n];
        ++n;
    }
    output[n] = '\0';
    return n;
}

}  // namespace

// A file that could be read exists; only a failed read asks FileExist.
JobFile::JobFile(const char *path)
    : _path(path != nullptr ? path : ""),
      _hasPath(path != nullptr),
      _exists(false),
      _begin(path, kJobSection, kMaxJobFileBytes) {
    _exists = path != nullptr && (_begin.ReadError() == platform::kErrorSuccess || FileExist(path) != 0);
}

JobFileState JobFile::State() const {
    if (!_hasPath || !_exists) return JobFileState::Missing;
    if (_begin.TooLarge()) return JobFileState::TooLarge;
    if (_begin.ReadError() != platform::kErrorSuccess) return JobFileState::Unreadable;
    if (!_begin.SectionFound()) return JobFileState::NoJobSection;
    return JobFileState::Ready;
}

bool JobFile::Readable(const char *output) const {
    if (output == nullptr) {
        log::LogErrorText("INI file reading failed: Return string pointer is invalid.");
        return false;
    }
    if (!_hasPath) {
        log::LogErrorText("INI file reading failed: Filename is invalid.");
        return false;
    }
    if (!_exists) {
        log::LogError("INI file reading failed: Filename \"%s\" was not found.", Path());
        return false;
    }
    return true;
}

bool JobFile::Probe(const char *key, std::string_view &value) const {
    if (int err = _begin.ReadErrno()) {
        // the file is there but could not be read: every look says why
        char description[1024];
        FormatErrorString(_begin.ReadError(), description, sizeof description, true, kKindWin32);
        log::LogError("INI file reading failed: Error during GetPrivateProfileStringA (%d); %s", err, description);
        return false;
    }
    if (!_begin.Find(key, value)) return false;
    // The first look is made with the not-found sentinel as the default, so
    // a value equal to it reads as missing.
    std::string_view probe = value.substr(0, kProbeChars);
    probe = probe.substr(0, std::min(probe.size(), probe.find('\0')));
    char text[kSentinelLength + 1] = {};
    if (probe.size() == kSentinelLength) {
        std::memcpy(text, probe.data(), kSentinelLength);
        if (EqualsNoCase(text, kNotFoundSentinel)) return false;
    }
    return true;
}

bool JobFile::String(const char *key, const char *defaultValue, char *output, std::size_t size,
                     std::size_t *length) const {
    if (length) *length = 0;
    if (!Readable(output)) return false;
    std::string_view value;
    if (Probe(key, value)) {
        std::size_t n = CopyValue(output, size, value);
        if (n != kSentinelLength || std::strcmp(output, kNotFoundSentinel) != 0) {
            if (length) *length = n;
            return true;
        }
    }
    if (defaultValue != nullptr) {
        std::size_t n = CopyText(output, size, defaultValue);
        if (length) *length = n;
        return true;
    }
    if (size > 0) output[0] = '\0';
    return false;
}

bool JobFile::Value(const char *key, const char *defaultValue, char *output, std::size_t size,
                    std::size_t *length) const {
    if (output == nullptr) {
        log::LogErrorText("INI file reading failed: Return string pointer is invalid.");
        return false;
    }
    // The value is read raw, then cleaned, in two work buffers of the
    // caller's size.  They come from the heap helpers when their lines are
    // logged; otherwise from the stack, which a job's hundred reads would
    // otherwise pay four heap calls each for.
    constexpr std::size_t kStackBuffer = 2048;
    const bool onHeap = size > kStackBuffer || log::WritesDebug(log::kMemory);
    char stackRaw[kStackBuffer];
    char stackClean[kStackBuffer];
    char *raw = onHeap ? nullptr : stackRaw;
    char *clean = onHeap ? nullptr : stackClean;
    if (size == 0 || (onHeap && (!HeapAllocHlpr(&raw, size, "rawdata") || !HeapAllocHlpr(&clean, size, "cleandata")))) {
        log::LogErrorText("INI file reading failed: Buffer could not be allocated.");
        if (onHeap) HeapFreeHlpr(&raw, "rawdata");
        return false;
    }
    std::size_t rawLength = 0;
    bool ok = String(key, defaultValue, raw, size, &rawLength);
    if (ok) {
        std::size_t n = 0;
        for (std::size_t i = 0; raw[i] != '\0' && i < size && n + 1 < size; ++i) {
            if (IsKeptJobByte(static_cast<unsigned char>(raw[i]))) clean[n++] = raw[i];
        }
        clean[n] = '\0';
        std::memcpy(output, clean, n + 1);
        if (length) *length = n;
    }
    if (onHeap) {
        HeapFreeHlpr(&raw, "rawdata");
        HeapFreeHlpr(&clean, "cleandata");
    }
    return ok;
}

bool JobFile::Int(const char *key, int32_t defaultValue, int32_t *output) const {
    if (!_hasPath) {
        log::LogErrorText("INI file reading failed: Filename is invalid.");
        return false;
    }
    if (!_exists) {
        log::LogError("INI file reading failed: Filename \"%s\" was not found.", Path());
        return false;
    }
    if (int err = _begin.ReadErrno()) {
        char description[1024];
        FormatErrorString(_begin.ReadError(), description, sizeof description, true, kKindWin32);
        log::LogError("INI file modification failed: Error during ReadINIInt (%d); %s", err, description);
        if (output) *output = defaultValue;
        return false;
    }
    if (output) *output = static_cast<int32_t>(_begin.Int(key, defaultValue));
    return true;
}

uint32_t JobFile::Raw(const char *key, const char *defaultValue, char *output, uint32_t size) const {
    if (output == nullptr || size == 0) return 0;
    std::string_view value;
    if (_begin.Find(key, value)) return static_cast<uint32_t>(CopyValue(output, size, value));
    // A missing key gives the default without its trailing blanks.
    std::string_view text = defaultValue != nullptr ? defaultValue : "";
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return static_cast<uint32_t>(CopyValue(output, size, text));
}

int32_t JobFile::RawInt(const char *key, int32_t defaultValue) const {
    return static_cast<int32_t>(_begin.Int(key, defaultValue));
}

bool JobFile::Refuse(const char *description) const {
    if (!_hasPath) return false;
    if (platform::WritePrivateProfileString("Error", "Description", description, Path())) return true;
    char reason[1024];
    FormatErrorString(platform::GetLastError(), reason, sizeof reason, true, kKindWin32);
    log::LogError("The reason \"%s\" could not be written to the job file \"%s\"; %s", description, Path(), reason);
    return false;
}

// The readers of a job file named by its path, for a single read.
bool ReadINIString(const char *key, const char *defaultValue, char *output, std::size_t size, std::size_t *outLength,
                   const char *file) {
    return JobFile(file).String(key, defaultValue, output, size, outLength);
}

bool ReadINIValue(const char *key, const char *defaultValue, char *output, std::size_t size, std::size_t *outLength,
                  const char *file) {
    return JobFile(file).Value(key, defaultValue, output, size, outLength);
}

bool ReadINIInt(const char *key, int32_t defaultValue, int32_t *output, const char *file) {
    return JobFile(file).Int(key, defaultValue, output);
}

}  // namespace zal
