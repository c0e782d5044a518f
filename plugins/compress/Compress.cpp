// compress: a STAND-IN for the carrier's MaxiCode compression library.
//
// It does not compress.  It accepts every call of the interface in
// Compress.h in the orders the driver uses, checks what it can (the
// workspace and its initialisation, the folder, the mode, field ids and
// their order, value sizes, the message frame), writes input.dat and
// complog.err into the compression folder in test mode, and answers 0 with
// the plain carrier message as its "compressed" text: a symbol printed from
// it still carries the carrier message.  When that text does not fit the
// output length the caller gives, it answers compress_DATA_AREA_TOO_SMALL.
//
// To print compressed symbols, replace it with the carrier's own library:
// put the carrier's compress.dll (file version 1.1.2.1 or later in the
// 1.1.2 line) in the compression folder, the job key "CompressDir" or,
// when that is empty, the host application's folder.  On Linux the
// library's name rule maps compress.dll to libcompress.so or compress.so.
//
// Built as compress.dll (Windows, version resource Compress.rc) and
// libcompress.so (Linux, the ".zalversion" section below), version 1.1.2.1.
#include "compress/Compress.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "common/VersionSection.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#endif

ZAL_VERSION_SECTION("1.1.2.1", "compress", "Norwick Solutions Inc.", "MaxiCode compression stand-in",
                    "Copyright (C) Norwick Solutions Inc.")

namespace {

constexpr uint32_t kMagic = 0x504D435Au;  // "ZCMP"
constexpr int kFieldCount = 28;
constexpr std::size_t kValueSize = 36;  // 35 characters and the terminator
constexpr std::size_t kFolderSize = 512;
constexpr char GS = '\x1D';
constexpr char RS = '\x1E';
constexpr char EOT = '\x04';
// clang-format off
constexpr char kHeader[] = "[)>\x1E" "01\x1D" "96";
// clang-format on

// The caller's workspace, as this stand-in uses it.
struct Workspace {
    uint32_t magic;
    int32_t mode;       // 0 until set
    int32_t lastField;  // -1 before the first value
    uint8_t testMode;
    char folder[kFolderSize];
    uint8_t present[kFieldCount];
    char values[kFieldCount][kValueSize];
};
static_assert(sizeof(Workspace) <= compress_WORKSPACE_SIZE, "the workspace holds the stand-in's state");

// Longest value per field id, 0 for ids that carry none.
// clang-format off
constexpr std::size_t kMaxLength[kFieldCount] = {
    /*  0*/ 0, 0, 1, 3, 4,
    /*  5*/ 9, 3, 3, 10, 4,
    /* 10*/ 6, 3, 30, 7, 10,
    /* 15*/ 1, 35, 35, 2, 0,
    /* 20*/ 2, 35, 35, 35, 35,
    /* 25*/ 0, 0, 0,
};
// clang-format on

#if defined(_WIN32)
std::string NativePath(const std::string &path) { return path; }
bool IsFolder(const std::string &path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
#else
// The folder comes with a backslash at its end; drive letters are not mapped.
std::string NativePath(const std::string &path) {
    std::string native = path;
    for (char &c : native) {
        if (c == '\\') c = '/';
    }
    return native;
}
bool IsFolder(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
#endif

Workspace *Ready(void *workspace) {
    auto *w = static_cast<Workspace *>(workspace);
    return w != nullptr && w->magic == kMagic ? w : nullptr;
}

std::string TestFile(const Workspace &w, const char *name) { return NativePath(std::string(w.folder) + name); }

bool WriteTestFile(const Workspace &w, const char *name, const char *mode, const std::string &text) {
    std::FILE *f = std::fopen(TestFile(w, name).c_str(), mode);
    if (f == nullptr) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

// One line per call in test mode; the result is passed through.
int32_t Logged(const Workspace &w, const char *call, int32_t result) {
    if (w.testMode) WriteTestFile(w, "complog.err", "ab", std::string(call) + ": " + std::to_string(result) + "\r\n");
    return result;
}

bool IsDigits(const std::string &text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// Mode 2 carries a numeric postal code of up to 9 digits.
bool PostalFitsMode(const std::string &postal, int32_t mode) { return mode != 2 || IsDigits(postal); }

std::string Value(const Workspace &w, int id) { return w.present[id] ? std::string(w.values[id]) : std::string(); }

// The carrier message of the fields received, as the plain path builds it.
std::string MessageFromFields(const Workspace &w) {
    std::string format = Value(w, compress_ANSI_FORMAT_1_START);
    std::string m = Value(w, compress_ANSI_MESSAGE_START) + RS + format.substr(0, 2) + GS +
                    (format.size() > 2 ? format.substr(2) : std::string());
    const int primary[] = {compress_ANSI_SHIP_TO_POSTAL_CODE, compress_ANSI_SHIP_TO_COUNTRY_CODE,
                           compress_ANSI_CLASS_OF_SERVICE};
    for (int id : primary) m += Value(w, id) + GS;
    for (int id = compress_ANSI_TRACKING_NUMBER; id <= compress_ANSI_SHIP_TO_STATE; ++id) {
        m += Value(w, id);
        m += id == compress_ANSI_SHIP_TO_STATE ? RS : GS;
    }
    if (w.present[compress_ANSI_FORMAT_5_START]) {
        m += Value(w, compress_ANSI_FORMAT_5_START);
        const char *tags[] = {"20L", "21L", "22L", "23L"};
        for (int i = 0; i < 4; ++i) m += GS + std::string(tags[i]) + Value(w, compress_ANSI_SHIP_TO_ADDRESS_2 + i);
        m += RS;
    }
    return m + EOT;
}

int32_t Deliver(const std::string &text, char *output, uint16_t *length) {
    if (output == nullptr || length == nullptr || text.size() + 1 > *length) return compress_DATA_AREA_TOO_SMALL;
    std::memcpy(output, text.c_str(), text.size() + 1);
    *length = static_cast<uint16_t>(text.size());
    return compress_SUCCESS;
}

}  // namespace

extern "C" {

COMPRESS_API int32_t COMPRESS_CALL compress_Initialize(const char *directory, uint16_t directoryLength, void *workspace,
                                                       uint32_t workspaceSize) {
    if (workspace == nullptr) return compress_FAILED_INVALID_WORKSPACE;
    if (workspaceSize < compress_WORKSPACE_SIZE) return compress_WORKSPACE_TOO_SMALL;
    if (directory == nullptr || directoryLength == 0 || directoryLength >= kFolderSize ||
        std::strlen(directory) != directoryLength || directory[directoryLength - 1] != '\\' ||
        !IsFolder(NativePath(directory))) {
        return compress_FAILED_INVALID_DIRECTORY;
    }
    auto *w = static_cast<Workspace *>(workspace);
    std::memset(w, 0, sizeof *w);
    w->magic = kMagic;
    w->lastField = -1;
    std::memcpy(w->folder, directory, directoryLength);
    return compress_SUCCESS;
}

COMPRESS_API int32_t COMPRESS_CALL compress_TestEnable(void *workspace) {
    Workspace *w = Ready(workspace);
    if (w == nullptr) return compress_FAILED_INVALID_WORKSPACE;
    if (!WriteTestFile(*w, "input.dat", "wb", "")) return compress_FAILED_TEST_ENCODE_FILE_OPEN;
    if (!WriteTestFile(*w, "complog.err", "wb", "")) return compress_FAILED_LOG_FILE_OPEN;
    w->testMode = 1;
    return Logged(*w, "compress_TestEnable", compress_SUCCESS);
}

COMPRESS_API int32_t COMPRESS_CALL compress_SetMode(int32_t mode, void *workspace) {
    Workspace *w = Ready(workspace);
    if (w == nullptr) return compress_FAILED_INVALID_WORKSPACE;
    if (mode != 2 && mode != 3) return Logged(*w, "compress_SetMode", compress_FAILED_INVALID_MODE);
    w->mode = mode;
    return Logged(*w, "compress_SetMode", compress_SUCCESS);
}

COMPRESS_API int32_t COMPRESS_CALL compress_AddValue(int32_t fieldId, uint16_t valueLength, const char *value,
                                                     void *workspace) {
    Workspace *w = Ready(workspace);
    if (w == nullptr) return compress_FAILED_INVALID_WORKSPACE;
    const char *call = "compress_AddValue";
    if (fieldId < 0 || fieldId >= kFieldCount || fieldId == compress_ANSI_RESERVED || fieldId <= w->lastField) {
        return Logged(*w, call, compress_VARIABLE_OUT_OF_ORDER);
    }
    if (valueLength > kMaxLength[fieldId] || (valueLength > 0 && value == nullptr)) {
        return Logged(*w, call, compress_DETECTED_FEILD_TOO_LONG);
    }
    if (fieldId == compress_ANSI_SET_MODE) {
        if (valueLength != 1 || (value[0] != 2 && value[0] != 3)) return Logged(*w, call, compress_FAILED_INVALID_MODE);
        w->mode = value[0];
    }
    w->lastField = fieldId;
    w->present[fieldId] = 1;
    if (valueLength > 0) std::memcpy(w->values[fieldId], value, valueLength);
    w->values[fieldId][valueLength] = '\0';
    if (w->testMode) {
        std::string shown =
            fieldId == compress_ANSI_SET_MODE ? std::to_string(w->mode) : std::string(w->values[fieldId]);
        WriteTestFile(*w, "input.dat", "ab", std::to_string(fieldId) + "=" + shown + "\r\n");
    }
    return Logged(*w, call, compress_SUCCESS);
}

COMPRESS_API int32_t COMPRESS_CALL compress_BuildAll(char *output, uint16_t *length, int32_t, void *workspace) {
    Workspace *w = Ready(workspace);
    if (w == nullptr) return compress_FAILED_INVALID_WORKSPACE;
    const char *call = "compress_BuildAll";
    const int required[] = {compress_ANSI_MESSAGE_START, compress_ANSI_FORMAT_1_START,
                            compress_ANSI_SHIP_TO_POSTAL_CODE, compress_ANSI_SHIP_TO_COUNTRY_CODE,
                            compress_ANSI_CLASS_OF_SERVICE};
    if (w->mode == 0) return Logged(*w, call, compress_NOT_READY_TO_BUILD);
    for (int id : required) {
        if (!w->present[id]) return Logged(*w, call, compress_NOT_READY_TO_BUILD);
    }
    if (!PostalFitsMode(Value(*w, compress_ANSI_SHIP_TO_POSTAL_CODE), w->mode)) {
        return Logged(*w, call, compress_FAILED_INVALID_MODE);
    }
    return Logged(*w, call, Deliver(MessageFromFields(*w), output, length));
}

COMPRESS_API int32_t COMPRESS_CALL compress_ANSI_StringBuildAll(const char *message, uint16_t messageLength,
                                                                char *output, uint16_t *length,
                                                                int32_t addressValidation, void *workspace) {
    Workspace *w = Ready(workspace);
    if (w == nullptr) return compress_FAILED_INVALID_WORKSPACE;
    const char *call = "compress_ANSI_StringBuildAll";
    if (w->mode == 0) return Logged(*w, call, compress_NOT_READY_TO_BUILD);
    std::size_t headerLength = sizeof kHeader - 1;
    if (message == nullptr || messageLength <= headerLength) return Logged(*w, call, compress_ANSI_STRING_TOO_SHORT);
    std::string text(message, messageLength);
    if (w->testMode) WriteTestFile(*w, "input.dat", "wb", text + "\r\n");
    if (text.compare(0, headerLength, kHeader) != 0) return Logged(*w, call, compress_INVALID_MESSAGE_HEADER);
    if (text.back() != EOT) return Logged(*w, call, compress_INVALID_MESSAGE_ENDING);
    if (addressValidation != 0 && addressValidation != 1) {
        return Logged(*w, call, compress_FAILED_INVALID_ADDRESS_VALIDATION);
    }
    std::string postal = text.substr(headerLength, text.find(GS, headerLength) - headerLength);
    if (!PostalFitsMode(postal, w->mode)) return Logged(*w, call, compress_FAILED_INVALID_MODE);
    return Logged(*w, call, Deliver(text, output, length));
}

COMPRESS_API int32_t COMPRESS_CALL compress_ShutDown(void *workspace) {
    Workspace *w = Ready(workspace);
    if (w == nullptr) return compress_FAILED_INVALID_WORKSPACE;
    Logged(*w, "compress_ShutDown", compress_SUCCESS);
    std::memset(w, 0, sizeof *w);
    return compress_SUCCESS;
}

}  // extern "C"
