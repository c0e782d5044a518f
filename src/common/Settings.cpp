#include "common/Settings.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "common/Heap.h"
#include "common/Log.h"
#include "common/Seams.h"
#include "common/Strings.h"
#include "platform/Platform.h"

namespace zal {
namespace {

constexpr uint32_t kFileCategory = log::kFiles;  // DEBUG lines carry 0x808

struct Wow64State {
    bool haveProcessAnswer = false;
    bool processAnswer = false;
    bool haveFsAnswer = false;
    bool fsAnswer = false;
    bool switchedOff = false;
    void *token = nullptr;
    bool exempt = false;
};
Wow64State g_wow64;

void Describe(uint32_t code, char *out, std::size_t size) { FormatErrorString(code, out, size, true, kKindWin32); }

bool IsNotFound(uint32_t code) { return code == platform::kErrorFileNotFound || code == platform::kErrorPathNotFound; }


bool AskWow64(const char *who, uint32_t categories) {
    bool answer = false;
    switch (platform::IsWow64Process(answer)) {
        case platform::Wow64Query::NoKernel32:
            log::LogDebug(categories,
                          "%s Failed to obtain handle for kernel32. This is an unusual error. Assuming process is not "
                          "WOW64 emulated.",
                          who);
            return false;
        case platform::Wow64Query::NoExport:
            log::LogDebug(categories, "%s Process is not a 64-bit process. Also, OS does not support 64-bit processes.",
                          who);
            return false;
        case platform::Wow64Query::CallFailed:
            log::LogDebug(categories, "%s Failed to call IsWow64Process(). Assuming process is not WOW64 emulated.", who);
            return false;
        case platform::Wow64Query::Answered:
            break;
    }
    return answer;
}

}  // namespace

bool IsKeptJobByte(unsigned char c) {
    return (c >= 0x20 && c <= 0x7E) || c == 0x99 || c == 0xA9 || c == 0xAE || c == 0xF7;
}

const char *EngineSettingsKey() { return "SOFTWARE\\Norwick Solutions Inc.\\Orvandex"; }

bool RegistryKeyValueExists(const char *keyPath, const char *valueName) {
    char description[1024];
    platform::RegistryKey key = nullptr;
    uint32_t rc = platform::RegistryOpenKey(keyPath, &key);
    if (rc != 0) {
        if (IsNotFound(rc)) {
            log::LogDebug(0, "RegistryKeyExists: Key \"%s\" does not exist.", keyPath);
        } else {
            Describe(rc, description, sizeof description);
            log::LogError("Registry access failed: Error while opening key \"%s\"; %s", keyPath, description);
        }
        return false;
    }
    uint32_t size = 0;
    rc = platform::RegistryQueryValue(key, valueName, nullptr, nullptr, &size);
    bool exists = false;
    if (rc == 0 || rc == platform::kErrorMoreData) {
        log::LogDebug(0, "RegistryKeyValueExists: Value \"%s\" does exist.", valueName);
        exists = true;
    } else if (IsNotFound(rc)) {
        log::LogDebug(0, "RegistryKeyValueExists: Value \"%s\" does not exist.", valueName);
    } else {
        Describe(rc, description, sizeof description);
        log::LogError("Registry access failed: Error while reading key \"%s\" from \"%s\"; %s", valueName, keyPath,
                      description);
    }
    platform::RegistryCloseKey(key);
    return exists;
}

bool ReadRegistryValue(const char *keyPath, const char *valueName, void *output, uint32_t size) {
    if (keyPath == nullptr) {
        log::LogErrorText("Registry access failed: Key pointer is null.");
        return false;
    }
    if (valueName == nullptr) {
        log::LogErrorText("Registry access failed: Value pointer is null.");
        return false;
    }
    if (output == nullptr) {
        log::LogError("Registry access failed: Error while retrieving key \"%s\", value \"%s\"; data pointer is null.",
                      keyPath, valueName);
        return false;
    }
    char description[1024];
    platform::RegistryKey key = nullptr;
    uint32_t rc = platform::RegistryOpenKey(keyPath, &key);
    if (rc != 0) {
        if (IsNotFound(rc)) {
            log::LogError("Registry access failed: Key \"%s\" could not be found.", keyPath);
        } else {
            Describe(rc, description, sizeof description);
            log::LogError("Registry access failed: Error while opening key \"%s\"; %s", keyPath, description);
        }
        return false;
    }
    uint32_t type = 0;
    uint32_t got = size;
    rc = platform::RegistryQueryValue(key, valueName, &type, output, &got);
    bool ok = false;
    if (rc == 0) {
        if (type == platform::kRegistryString || type == 2 /* expandable string */) {
            if (size > 0) static_cast<char *>(output)[size - 1] = '\0';
            log::LogDebug(0, "Registry value read: Key \"%s:%s\" = \"%s\"", keyPath, valueName,
                          static_cast<const char *>(output));
        } else if (type == platform::kRegistryDword && size == 4) {
            uint32_t value;
            std::memcpy(&value, output, 4);
            log::LogDebug(0, "Registry value read: Key \"%s:%s\" = %u", keyPath, valueName, value);
        }
        ok = true;
    } else if (rc == platform::kErrorMoreData) {
        log::LogError(
            "Registry access failed: Error while reading key \"%s\" from \"%s\"; Insufficient buffer size. (Need %u, "
            "have %u.)",
            valueName, keyPath, got, size);
    } else {
        Describe(rc, description, sizeof description);
        log::LogError("Registry access failed: Error while reading key \"%s\" from \"%s\"; %s", valueName, keyPath,
                      description);
    }
    platform::RegistryCloseKey(key);
    return ok;
}

bool GetZALSettingBool(const char *valueName, bool *output, bool defaultValue) {
    log::LogDebug(0, "GetZALSettingBool: Requesting Setting \"%s\" (Default Value=%s)", valueName,
                  defaultValue ? "true" : "false");
    log::NestingScope nested;
    uint32_t value = 0;
    if (RegistryKeyValueExists(EngineSettingsKey(), valueName) &&
        ReadRegistryValue(EngineSettingsKey(), valueName, &value, sizeof value)) {
        if (output) *output = value != 0;
        return true;
    }
    if (output) *output = defaultValue;
    return false;
}

bool GetMaxiArchiveDir(char output[1025]) {
    if (RegistryKeyValueExists(EngineSettingsKey(), "MaxiArchiveDir") &&
        ReadRegistryValue(EngineSettingsKey(), "MaxiArchiveDir", output, 1025)) {
        return true;
    }
    output[0] = '\0';
    return false;
}

bool GetMaxiCompressDirs(std::string &output) {
    constexpr uint32_t kSize = 4096;  // room for a few long folders
    output.clear();
    if (!RegistryKeyValueExists(EngineSettingsKey(), "MaxiCompressDirs")) return false;
    std::string value(kSize, '\0');
    if (!ReadRegistryValue(EngineSettingsKey(), "MaxiCompressDirs", &value[0], kSize)) return false;
    output.assign(value.c_str());
    return true;
}

bool IsWow64() {
    if (!g_wow64.haveProcessAnswer) {
        g_wow64.processAnswer = AskWow64("IsWow64:", 0);
        g_wow64.haveProcessAnswer = true;
    }
    return g_wow64.processAnswer;
}

bool _IsFilesystemWow64() {
    if (!g_wow64.haveFsAnswer) {
        g_wow64.fsAnswer = AskWow64("_IsFilesystemWow64:", kFileCategory);
        g_wow64.haveFsAnswer = true;
    }
    return g_wow64.fsAnswer;
}

bool DisableFSCompatibility(bool switchOff) {
    if (g_wow64.exempt) return true;
    if (g_wow64.switchedOff) {
        log::LogDebug(kFileCategory,
                      "DisableFSCompatibility: WOW64 file system emulation compatibility redirection already disabled "
                      "(Token %p).",
                      g_wow64.token);
        return true;
    }
    if (switchOff) {
        void *token = nullptr;
        if (!platform::Wow64DisableRedirection(&token)) {
            char description[1024];
            Describe(platform::GetLastError(), description, sizeof description);
            log::LogError("DisableFSCompatibility failed: Failed to disable WOW64 FS redirection; %s", description);
            return false;
        }
        g_wow64.token = token;
        g_wow64.switchedOff = true;
        log::LogDebug(kFileCategory,
                      "DisableFSCompatibility: Disabled WOW64 file system emulation compatibility redirection (Token "
                      "%p).",
                      token);
        return true;
    }
    log::LogInfoText(
        "DisableFSCompatibility: This process is exempt from compatibility redirection. (This notice will not be "
        "repeated)");
    g_wow64.exempt = true;
    return true;
}

bool EnableFSCompatibility() {
    if (g_wow64.exempt) return true;
    if (!g_wow64.switchedOff) {
        log::LogDebugText(kFileCategory,
                          "EnableFSCompatibility: WOW64 file system emulation compatibility redirection already "
                          "enabled.");
        return true;
    }
    log::LogDebug(kFileCategory,
                  "EnableFSCompatibility: Enabling WOW64 file system emulation compatibility redirection (Token %p).",
                  g_wow64.token);
    if (!platform::Wow64RevertRedirection(g_wow64.token)) {
        char description[1024];
        Describe(platform::GetLastError(), description, sizeof description);
        log::LogError(
            "EnableFSCompatibility failed: *CRITICAL* Failed to re-enable WOW64 file system emulation compatibility "
            "redirection for this process. Process integrity may be compromised and application is instructed to "
            "close; %s",
            description);
        return false;
    }
    g_wow64.switchedOff = false;
    return true;
}

int FileExist(const char *path) {
    if (!DisableFSCompatibility(_IsFilesystemWow64())) return 0;
    bool found = path != nullptr && platform::FindFile(path);
    if (found) {
        log::LogDebug(kFileCategory, "FileExist: \"%s\" is present.", path);
    } else {
        log::LogDebug(kFileCategory, "FileExist: \"%s\" does not exist (INVALID_HANDLE_VALUE).", path ? path : "");
    }
    if (!EnableFSCompatibility()) return kFileExistRedirectFailed;
    return found ? 1 : 0;
}

bool DirectoryExists(const char *path) {
    uint32_t attributes = platform::GetFileAttributes(path ? path : "");
    log::LogDebug(kFileCategory, "DirectoryExists: GetFileAttributes \"%s\" resulted in %d.", path ? path : "",
                  static_cast<int>(attributes));
    bool isFolder = false;
    {
        log::NestingScope nested;
        if (attributes != platform::kInvalidFileAttributes) {
            isFolder = (attributes & platform::kAttributeDirectory) != 0;
            if (isFolder)
                log::LogDebug(kFileCategory, "DirectoryExists: \"%s\" is an existing folder.", path);
            else
                log::LogDebug(kFileCategory, "DirectoryExists: \"%s\" is not a folder.", path);
        } else {
            char description[1024];
            Describe(platform::GetLastError(), description, sizeof description);
            log::LogDebug(kFileCategory, "DirectoryExists: Path check for \"%s\" resulted in INVALID_FILE_ATTRIBUTES; %s",
                          path ? path : "", description);
        }
    }
    seams::Sleep(100);
    return isFolder;
}

void AppendBackslash(char path[1024]) {
    std::size_t n = TextLength(path, 1024);
    // Only when the backslash and the terminator still fit in 1024 bytes.
    if (n > 0 && n < 1023 && path[n - 1] != '\\') {
        path[n] = '\\';
        path[n + 1] = '\0';
    }
}

LibraryVersionInfo GetLibraryVersion(const char *path) {
    LibraryVersionInfo info;
    std::memset(&info, 0, sizeof info);
    log::LogDebug(0, "@ %s() {", "GetLibraryVersion");
    log::IncreaseNesting();
    if (path != nullptr && platform::GetFileVersionInfoSize(path) != 0 && DisableFSCompatibility(IsWow64())) {
        platform::VersionResource fixed;
        if (platform::GetFileVersionInfo(path, fixed)) {
            if (fixed.hasFixed) {
                info.major = fixed.fileVersionMS >> 16;
                info.minor = fixed.fileVersionMS & 0xFFFF;
                info.build = fixed.fileVersionLS >> 16;
                info.revision = fixed.fileVersionLS & 0xFFFF;
            }
            if (fixed.hasTranslation) {
                struct {
                    const char *name;
                    char *field;
                } fields[] = {{"ProductName", info.productName},
                              {"CompanyName", info.companyName},
                              {"FileDescription", info.fileDescription},
                              {"LegalCopyright", info.legalCopyright}};
                for (auto &f : fields) {
                    std::string value;
                    if (platform::QueryVersionString(path, fixed.language, fixed.codePage, f.name, value)) {
                        CopyText(f.field, 256, value.c_str());
                    }
                }
            }
        }
        EnableFSCompatibility();
    }
    log::DecreaseNesting();
    log::LogDebug(0, "@ } %s", "GetLibraryVersion");
    return info;
}

void ResetSettingsStateForTests() { g_wow64 = Wow64State{}; }

}  // namespace zal
