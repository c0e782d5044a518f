// MaxiCode compression through the carrier's compression library.
//
// The library is loaded from the compression folder for each compression
// and unloaded at its end: the folder is a job key and may differ from job
// to job, and the library keeps nothing between calls but the workspace,
// which is ours.  Its functions are resolved by name and called with the
// platform's default C convention (see plugins/compress/Compress.h).
//
// Loading a library runs its code, so the job only chooses among folders
// the machine's owner allowed: the program's folder, this library's folder
// and its installed plugin folder, and those named by the registry value
// "MaxiCompressDirs" or the environment variable ZAL2443_COMPRESS_DIRS
// (folders separated by ';').
// A job's CompressDir elsewhere counts as a folder without the library.
// On Linux a library, or its folder, that other users may change is
// refused as well.
#include <cstring>
#include <string>
#include <vector>

#include "common/Format.h"
#include "common/Log.h"
#include "common/Settings.h"
#include "compress/Compress.h"
#include "formatting/ups/CompressDriver.h"
#include "formatting/ups/MaxiCodeGuard.h"
#include "platform/Platform.h"

namespace zal {
namespace {

using detail::GuardedMaxiCode;

constexpr uint16_t kBuildAllLength = static_cast<uint16_t>(kMaxiOutputSize);
constexpr uint16_t kStringBuildLength = 100;

struct alignas(8) Workspace {
    unsigned char bytes[compress_WORKSPACE_SIZE] = {};
};

constexpr char kFolderListSeparator = ';';
constexpr const char *kAllowedFoldersVariable = "ZAL2443_COMPRESS_DIRS";

// The file the loader takes for "compress.dll" in a folder, or empty.
std::string LibraryFile(const std::string &folder) {
    for (const std::string &name : platform::LibraryFileNames(compress_LIBRARY_FILE)) {
        std::string path = folder + name;
        if (FileExist(path.c_str()) != 0) return path;
    }
    return std::string();
}

void AppendFolders(const std::string &list, std::vector<std::string> &folders) {
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(kFolderListSeparator, start);
        if (end == std::string::npos) end = list.size();
        if (end > start) folders.push_back(list.substr(start, end - start));
        start = end + 1;
    }
}

bool IsAllowedCompressFolder(const std::string &folder) {
    std::string wanted = platform::CanonicalPath(folder.c_str());
    if (wanted.empty()) return false;
    std::vector<std::string> allowed = {platform::ExecutableFolder(), platform::ModuleFolder(),
                                        platform::PluginFolder()};
    std::string named;
    GetMaxiCompressDirs(named);
    AppendFolders(named, allowed);
    AppendFolders(platform::GetEnvironment(kAllowedFoldersVariable), allowed);
    for (const std::string &candidate : allowed) {
        if (candidate.empty()) continue;
        std::string canonical = platform::CanonicalPath(candidate.c_str());
        if (!canonical.empty() && platform::SamePath(canonical, wanted)) return true;
    }
    return false;
}

// The library file to load from the compression folder, as the system
// resolves it; empty, with the reason logged, when the folder is not an
// allowed one, holds no library, or lets other users change the library.
std::string FindCompressLibrary(const std::string &folder) {
    if (!IsAllowedCompressFolder(folder)) {
        log::LogError("FindCompressLibrary: \"%s\" is not an allowed compression folder (the program's folder, the "
                      "library's folder or one named by MaxiCompressDirs); no library is loaded from it.",
                      folder.c_str());
        return std::string();
    }
    std::string file = LibraryFile(folder);
    if (file.empty()) return file;
    std::string resolved = platform::CanonicalPath(file.c_str());
    if (resolved.empty()) return resolved;
    std::string resolvedFolder = resolved.substr(0, resolved.find_last_of("\\/") + 1);
    for (const std::string &path : {resolved, resolvedFolder}) {
        if (platform::WritableByOthers(path.c_str())) {
            log::LogError("FindCompressLibrary: \"%s\" may be changed by other users; the compression library is not "
                          "loaded.",
                          path.c_str());
            return std::string();
        }
    }
    return resolved;
}

// The compression library, loaded for one compression from the file
// FindCompressLibrary gave (empty: there is none to load).
class CompressLibrary {
public:
    explicit CompressLibrary(const std::string &file) {
        handle_ = file.empty() ? nullptr : platform::LoadLibrary(file.c_str());
        if (handle_ == nullptr) {
            log::LogError("Maxicode Compression DLL was not found.");
            return;
        }
        ready_ = Resolve("compress_Initialize", Initialize) && Resolve("compress_TestEnable", TestEnable) &&
                 Resolve("compress_SetMode", SetMode) && Resolve("compress_AddValue", AddValue) &&
                 Resolve("compress_BuildAll", BuildAll) && Resolve("compress_ANSI_StringBuildAll", StringBuildAll) &&
                 Resolve("compress_ShutDown", ShutDown);
    }
    ~CompressLibrary() {
        if (handle_ != nullptr) platform::FreeLibrary(handle_);
    }
    CompressLibrary(const CompressLibrary &) = delete;
    CompressLibrary &operator=(const CompressLibrary &) = delete;

    bool Ready() const { return ready_; }

    compress_InitializeFn Initialize = nullptr;
    compress_TestEnableFn TestEnable = nullptr;
    compress_SetModeFn SetMode = nullptr;
    compress_AddValueFn AddValue = nullptr;
    compress_BuildAllFn BuildAll = nullptr;
    compress_ANSI_StringBuildAllFn StringBuildAll = nullptr;
    compress_ShutDownFn ShutDown = nullptr;

private:
    template <typename Fn>
    bool Resolve(const char *name, Fn &fn) {
        fn = reinterpret_cast<Fn>(platform::GetProcAddress(handle_, name));
        if (fn == nullptr) log::LogError("Maxicode Compression DLL function \"%s\" was not found.", name);
        return fn != nullptr;
    }

    platform::LibraryHandle handle_ = nullptr;
    bool ready_ = false;
};

struct CodeText {
    explicit CodeText(int32_t code) : known(CompressErrorText(code, name, summary) > 0) {}
    char name[64];
    char summary[512];
    bool known;
};

// "...: <summary>" when the code has a text, "...: Error Code <n>" otherwise.
void LogCodeError(const char *lead, int32_t code) {
    CodeText text(code);
    if (text.known)
        log::LogError("%s: %s", lead, text.summary);
    else
        log::LogError("%s: Error Code %d", lead, static_cast<int>(code));
}

int32_t Initialize(CompressLibrary &library, const std::string &folder, Workspace &workspace) {
    int32_t rc = library.Initialize(folder.c_str(), static_cast<uint16_t>(folder.size()), workspace.bytes,
                                    compress_WORKSPACE_SIZE);
    if (rc != compress_SUCCESS)
        LogCodeError("Maxicode Compression was unsuccessful: Library initialization failed", rc);
    return rc;
}

// How a session reports the library's test mode: the field method checks
// the switch's answer, the whole-string method announces it as a warning.
enum class TestModeReport { Checked, Announced };

// One compression's start: the library loaded from the folder, its
// workspace initialised and, in MaxiCode test mode, its test mode switched
// on.  0, a code of the library, or -1 when the library cannot be used.
int32_t StartSession(CompressLibrary &library, const std::string &folder, Workspace &workspace, bool testMode,
                     TestModeReport report) {
    if (!library.Ready()) return -1;
    int32_t rc = Initialize(library, folder, workspace);
    if (rc != compress_SUCCESS || !testMode) return rc;
    if (report == TestModeReport::Announced) {
        log::LogWarning("-> Maxicode Compression Test Mode Enabled.");
        library.TestEnable(workspace.bytes);
        return rc;
    }
    int32_t test = library.TestEnable(workspace.bytes);
    if (test == compress_SUCCESS) {
        log::LogInfo("-> Maxicode Compression Test Mode Enabled.");
        return rc;
    }
    CodeText text(test);
    if (text.known)
        log::LogWarning("Maxicode Compression warning: Library test mode failed to be enabled: %s", text.summary);
    else
        log::LogWarning("Maxicode Compression warning: Library test mode failed to be enabled: Error Code %d",
                        static_cast<int>(test));
    return rc;
}

int32_t CompressFields(const MaxiCodeFields &fields, const LabelContext &label, char *output) {
    if (output == nullptr) return -1;
    std::string folder = CompressDirectory(label, 199);
    CompressLibrary library(FindCompressLibrary(folder));
    Workspace workspace;
    int32_t rc = StartSession(library, folder, workspace, fields.TestMode, TestModeReport::Checked);
    if (rc != compress_SUCCESS) return rc;
    int32_t fieldResult = compress_SUCCESS;
    for (int32_t id = compress_ANSI_INTERFACE_START; id < compress_ANSI_INTERFACE_END; ++id) {
        if (id == compress_ANSI_RESERVED) continue;
        char value[36];
        uint32_t length = 0;
        GetCompressField(fields, id, value, &length);
        if (length == 0) {
            log::LogWarning("Maxicode Compression warning: Field %d value is empty. Skipping.", static_cast<int>(id));
            continue;
        }
        fieldResult = library.AddValue(id, static_cast<uint16_t>(length), value, workspace.bytes);
        if (fieldResult == compress_SUCCESS) {
            log::LogDebug(log::kCompress, "Maxicode Compression: Field %d added OK", static_cast<int>(id));
            continue;
        }
        CodeText text(fieldResult);
        if (text.known)
            log::LogError(
                "Maxicode Compression encountered error: compress_AddValue failed for Field %d: Code: %d Type: "
                "%s Summary: %s",
                static_cast<int>(id), static_cast<int>(fieldResult), text.name, text.summary);
        else
            log::LogError(
                "Maxicode Compression encountered error: compress_AddValue failed for Field %d: Error Code %d",
                static_cast<int>(id), static_cast<int>(fieldResult));
        break;
    }
    if (fieldResult != compress_SUCCESS) {
        log::LogError("Maxicode Compression was unsuccessful: Build fault: One or more fields failed to be added.");
        library.ShutDown(workspace.bytes);
        if (fields.TestMode) CopyInputDatFile(label);
        return fieldResult;
    }
    uint16_t length = kBuildAllLength;
    rc = library.BuildAll(output, &length, 1, workspace.bytes);
    output[kMaxiOutputSize - 1] = '\0';
    if (rc != compress_SUCCESS) {
        CodeText text(rc);
        if (text.known)
            log::LogError("Maxicode Compression was unsuccessful: BuildAll result: Code: %d Type: %s Summary: %s",
                          static_cast<int>(rc), text.name, text.summary);
        else
            log::LogError("Maxicode Compression was unsuccessful: BuildAll result: Error Code %d",
                          static_cast<int>(rc));
    }
    library.ShutDown(workspace.bytes);
    if (fields.TestMode) CopyInputDatFile(label);
    return rc;
}

int32_t SetMode(CompressLibrary &library, int32_t mode, Workspace &workspace) {
    int32_t rc = library.SetMode(mode, workspace.bytes);
    if (rc != compress_SUCCESS) {
        std::string lead =
            FormatString("Maxicode Compression was unsuccessful: Failed to set data mode compress_ANSI_MODE%d", mode);
        LogCodeError(lead.c_str(), rc);
        library.ShutDown(workspace.bytes);
    }
    return rc;
}

int32_t CompressString(const MaxiCodeFields &fields, const char *message, const LabelContext &label, char *output,
                       bool addressValidation) {
    if (output == nullptr || message == nullptr) return -1;
    std::string folder = CompressDirectory(label, 1024);
    std::string file = FindCompressLibrary(folder);
    if (file.empty()) {
        log::LogError("Maxicode Compression DLL was not found.");
        return -1;
    }
    LibraryVersionInfo version = GetLibraryVersion(file.c_str());
    log::LogInfo("-> Maxicode Compression DLL v%d.%d.%d.%d found.", static_cast<int>(version.major),
                 static_cast<int>(version.minor), static_cast<int>(version.build), static_cast<int>(version.revision));
    if (!IsSupportedCompressVersion(version)) {
        log::LogError("Maxicode Compression DLL version is incorrect or missing.");
        return -1;
    }
    CompressLibrary library(file);
    Workspace workspace;
    int32_t rc = StartSession(library, folder, workspace, fields.TestMode, TestModeReport::Announced);
    if (rc != compress_SUCCESS) return rc;
    int32_t mode = fields.Mode == 3 ? 3 : 2;
    rc = SetMode(library, mode, workspace);
    if (rc != compress_SUCCESS) return rc;
    auto messageLength = static_cast<uint16_t>(TextLength(message, 399));
    log::LogDebug(log::kCompress, "-> Maxicode Params: mode=%d bAddressValidation=%s iMaxicodeInLen=%u",
                  static_cast<int>(mode), addressValidation ? "true" : "false", static_cast<unsigned>(messageLength));
    log::LogDebug(log::kCompress, "-> MAXICODE INPUT DATA: %s", message);
    uint16_t length = kStringBuildLength;
    int32_t flag = addressValidation ? 1 : 0;
    rc = library.StringBuildAll(message, messageLength, output, &length, flag, workspace.bytes);
    if (rc == compress_FAILED_INVALID_MODE && mode == 2) {
        log::LogWarning(
            "Maxicode Compression was unsuccessful: compress_FAILED_INVALID_MODE was returned. Trying "
            "alternative mode.");
        rc = SetMode(library, 3, workspace);
        if (rc != compress_SUCCESS) return rc;
        length = kStringBuildLength;
        rc = library.StringBuildAll(message, messageLength, output, &length, flag, workspace.bytes);
    }
    output[kMaxiOutputSize - 1] = '\0';
    if (rc != compress_SUCCESS) LogCodeError("Maxicode Compression was unsuccessful: Build fault", rc);
    library.ShutDown(workspace.bytes);
    if (fields.TestMode) CopyInputDatFile(label);
    return rc;
}

}  // namespace

std::string CompressDirectory(const LabelContext &label, std::size_t maxLength) {
    char folder[1024] = {};
    label.job.Raw("CompressDir", "", folder);
    if (folder[0] == '\0') {
        // An installed library keeps the compression library among its
        // plugins, not beside every host program that may load it.
        // Looked at quietly, the last error kept: the log shows
        // FindCompressLibrary's search of the folder chosen.
        uint32_t lastError = platform::GetLastError();
        std::string programFolder = platform::ExecutableFolder();
        std::string pluginFolder = platform::PluginFolder();
        auto holdsLibrary = [](const std::string &candidate) {
            for (const std::string &name : platform::LibraryFileNames(compress_LIBRARY_FILE)) {
                if (platform::FindFile((candidate + name).c_str())) return true;
            }
            return false;
        };
        bool installed = !pluginFolder.empty() && !holdsLibrary(programFolder) && holdsLibrary(pluginFolder);
        CopyText(folder, (installed ? pluginFolder : programFolder).c_str());
        platform::SetLastError(lastError);
    }
    // room for the backslash within maxLength
    if (maxLength > 0 && maxLength - 1 < sizeof folder) folder[maxLength - 1] = '\0';
    AppendBackslash(folder);
    return folder;
}

bool IsSupportedCompressVersion(const LibraryVersionInfo &version) {
    return version.major == 1 && version.minor == 1 && version.build == 2 && version.revision >= 1;
}

int32_t upsMaxicodeCompress(const MaxiCodeFields &fields, const LabelContext &label, char output[kMaxiOutputSize]) {
    return GuardedMaxiCode("upsMaxicodeCompress", int32_t{-1}, [&] { return CompressFields(fields, label, output); });
}

int32_t upsMaxicodeCompressAll(const MaxiCodeFields &fields, const char *message, const LabelContext &label,
                               char output[kMaxiOutputSize], bool addressValidation) {
    return GuardedMaxiCode("upsMaxicodeCompressAll", int32_t{-1},
                           [&] { return CompressString(fields, message, label, output, addressValidation); });
}

}  // namespace zal
