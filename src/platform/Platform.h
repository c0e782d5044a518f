// The operating-system seam of the library.  One header, two backends:
// platform/win32 makes the real Win32 calls; platform/posix gives the same
// answers on Linux (INI files with Windows semantics, a registry store file,
// Windows-style paths, termios serial ports, usblp printers).  CMake picks
// the folder; nothing else in the library includes an OS header.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zal::dialogs {
struct DialogOwner;
struct SettingsSession;
struct DiagnosticsSession;
}  // namespace zal::dialogs

namespace zal::platform {

// ---------------------------------------------------------------- errors
// The thread's last error, in Win32 numbering on both backends (the posix
// backend maps errno: ENOENT -> 2, ENOTDIR -> 3, EACCES -> 5, ...).
uint32_t GetLastError();
void SetLastError(uint32_t code);

constexpr uint32_t kErrorSuccess = 0;
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorPathNotFound = 3;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorNotEnoughMemory = 8;
constexpr uint32_t kErrorWriteFault = 29;
constexpr uint32_t kErrorGenFailure = 31;
constexpr uint32_t kErrorSharingViolation = 32;
constexpr uint32_t kErrorBusy = 170;
constexpr uint32_t kErrorNotSupported = 50;
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorMoreData = 234;
constexpr uint32_t kErrorAlreadyExists = 183;
constexpr uint32_t kErrorProcNotFound = 127;
constexpr uint32_t kErrorModNotFound = 126;
constexpr uint32_t kErrorTimeout = 1460;
constexpr uint32_t kErrorDiskFull = 112;
constexpr uint32_t kErrorFileExists = 80;

// System text for a code of the given kind (0 Win32, 1 NTSTATUS, 2 HRESULT,
// 3 errno).  False when the platform has no text for it.
bool SystemMessage(uint32_t code, int kind, std::string &text);

// ---------------------------------------------------------------- INI files
// Win32 private-profile semantics (GetPrivateProfileStringA and sisters).
// A null section lists sections, a null key lists keys, a null value deletes.
uint32_t GetPrivateProfileString(const char *section, const char *key, const char *defaultValue,
                                 char *buffer, uint32_t size, const char *file);
uint32_t GetPrivateProfileInt(const char *section, const char *key, int32_t defaultValue,
                              const char *file);
bool WritePrivateProfileString(const char *section, const char *key, const char *value,
                               const char *file);
// The user's profile (win.ini): sections "ports" and "Quorra".
uint32_t GetProfileString(const char *section, const char *key, const char *defaultValue,
                          char *buffer, uint32_t size);
// Drops the system's cached copy of an INI file before it is renamed or
// deleted (WritePrivateProfileStringA with null names on Windows; Linux
// keeps no such copy).
void FlushProfileCache(const char *file);

// One section of an INI file as GetPrivateProfileStringA and IntA answer
// its keys: Linux reads and parses the file once, Windows asks the API key
// by key.  Later changes of the file are not seen by Linux's copy.
class ProfileSection {
public:
    // A file longer than limit bytes (0: no limit) is not read: TooLarge.
    ProfileSection(const char *file, const char *section, std::size_t limit = 0);
    ~ProfileSection();
    ProfileSection(const ProfileSection &) = delete;
    ProfileSection &operator=(const ProfileSection &) = delete;
    // How reading the file went: 0, or the Win32 code of the failure (2 the
    // file is missing, 5 it cannot be read, ...); with it, on Linux, the C
    // library's error number (0 on Windows, whose profile calls set none).
    uint32_t ReadError() const;
    int ReadErrno() const;
    bool TooLarge() const;
    // Whether the file has the section at all.
    bool SectionFound() const;
    // The value of the first key of that name, quotes removed; false when
    // the key or the file is missing.  The view lasts until the next call.
    bool Find(const char *key, std::string_view &value) const;
    // GetPrivateProfileIntA of the key.
    uint32_t Int(const char *key, int32_t defaultValue) const;

private:
    struct Data;
    Data *_data;
};

// Keep a parsed copy of an INI file while a job works on it, so that each
// of the many key reads of a job does not parse the file again.  Writes
// through WritePrivateProfileString keep the copy in step.  Nesting is
// counted; a backend may ignore it (the answers are the same).
void PinProfileFile(const char *file);
void UnpinProfileFile(const char *file);

// ---------------------------------------------------------------- registry
using RegistryKey = void *;
constexpr uint32_t kRegistryString = 1;
constexpr uint32_t kRegistryDword = 4;
// Local machine root, read access in the 64-bit view.  Results are Win32
// error codes (0, 2 not found, 234 more data, ...).
uint32_t RegistryOpenKey(const char *path, RegistryKey *key);
uint32_t RegistryQueryValue(RegistryKey key, const char *name, uint32_t *type, void *data,
                            uint32_t *size);
void RegistryCloseKey(RegistryKey key);

// ---------------------------------------------------------------- files
// Windows-style paths (backslashes, drive letters) in the form the
// platform opens.  Identity on win32; see posix/Paths.cpp for the rule.
std::string NativePath(const char *path);

bool FindFile(const char *path);  // first-file search; false sets last error
constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;
constexpr uint32_t kAttributeDirectory = 0x10u;
uint32_t GetFileAttributes(const char *path);
bool DeleteFile(const char *path);
bool MoveFile(const char *from, const char *to);
bool CopyFile(const char *from, const char *to, bool failIfExists);
// Creates a folder and the folders above it that are missing (true when it
// exists afterwards).
bool CreateDirectory(const char *path);
std::FILE *OpenFile(const char *path, const char *mode);  // fopen on the native path
// Appends one line (text and a line break) to a log file, creating it when
// missing; false when the file cannot be opened or written.  Windows opens
// and closes the file for every line; Linux keeps it open in append mode
// between lines (checking now and then that the path still names the same
// file), so a busy debug log does not cost an open and a close per line.
bool AppendLogLine(const char *path, const char *text, std::size_t length);

// Folder of the running executable, with a trailing path separator.
std::string ExecutableFolder();

// Where code may be loaded from (posix/FileTrust.cpp, win32/FileTrust.cpp).
// The folder of the module this code is linked into (libzal2443.so,
// ZAL2443.DLL; the program itself when linked in statically), with a
// trailing separator; empty when the module's path cannot be told.
std::string ModuleFolder();
// The folder an installed library keeps its plugins in (the USB support
// library, the compression library), with a trailing separator: on Linux
// "zal2443/" inside ModuleFolder (lib/zal2443/), so they stay out of the
// system's library folder; empty on Windows, where they sit beside the DLL.
std::string PluginFolder();
// The absolute form of an existing file or folder: on Linux with symbolic
// links, "." and ".." resolved, on Windows the full long name.  Empty, with
// the last error set, when the path does not exist.
std::string CanonicalPath(const char *path);
// Whether two canonical paths name the same place (letter case ignored on
// Windows).
bool SamePath(const std::string &a, const std::string &b);
// Whether users other than its owner may change the file or folder: the
// write bit for others on Linux.  Windows answers false: who may write
// there is for its access lists, which the machine's administrator sets.
bool WritableByOthers(const char *path);

// WOW64: is this a 32-bit process on 64-bit Windows?  The posix backend
// answers "no" (Answered, false).
enum class Wow64Query { NoKernel32, NoExport, CallFailed, Answered };
Wow64Query IsWow64Process(bool &isWow64);
bool Wow64DisableRedirection(void **token);
bool Wow64RevertRedirection(void *token);

// Version information of a module file (the version resource on Windows,
// the ".zalversion" ELF section on Linux; see posix/VersionInfo.cpp).
struct VersionResource {
    bool hasFixed = false;
    uint32_t fileVersionMS = 0;  // major << 16 | minor
    uint32_t fileVersionLS = 0;  // build << 16 | revision
    bool hasTranslation = false;
    uint16_t language = 0;
    uint16_t codePage = 0;
};
// Size of the version information, 0 when the file has none.
uint32_t GetFileVersionInfoSize(const char *path);
bool GetFileVersionInfo(const char *path, VersionResource &fixed);
// "\\StringFileInfo\\%04x%04x\\Name" lookups.
bool QueryVersionString(const char *path, uint16_t language, uint16_t codePage,
                        const char *name, std::string &value);

// ---------------------------------------------------------------- libraries
using LibraryHandle = void *;
// Win32 LoadLibraryA.  On posix a bare name X is searched as libX.so, then
// X.so, in ZAL2443_PLUGIN_PATH, beside libzal2443.so, in its PluginFolder,
// beside the program, then the loader path.
LibraryHandle LoadLibrary(const char *name);
// The file names LoadLibrary takes for a library name in a folder, in its
// order: "compress.dll" is libcompress.so, compress.so, compress.dll on
// Linux, and itself on Windows.
std::vector<std::string> LibraryFileNames(const char *name);
void *GetProcAddress(LibraryHandle library, const char *name);
bool FreeLibrary(LibraryHandle library);

// The process environment (the Win32 environment block on Windows, so a
// value set by the host after the library was loaded is seen).
std::string GetEnvironment(const char *name);

// ---------------------------------------------------------------- time
uint64_t TickCount64();
void SleepMs(uint32_t ms);
uint32_t ProcessId();
// Local date "MM/DD/YY" and 24-hour time "HH:MM:SS".
void LocalDateTime(char date[9], char time[9]);
bool IsDebuggerPresent();
void OutputDebugString(const char *text);

// ---------------------------------------------------------------- heap
// The process heap.  Blocks are zero-filled; a failure returns null and
// sets the exception-style code 0xC0000017 as last error.
void *HeapAlloc(std::size_t size);
void *HeapReAlloc(void *block, std::size_t size);  // added bytes zeroed
std::size_t HeapSize(const void *block);
bool HeapFree(void *block);
// True when size bytes at address can be read without a fault.
bool CanReadMemory(const void *address, std::size_t size);

// ---------------------------------------------------------------- boxes
constexpr uint32_t kBoxRetryCancel = 0x5u;
constexpr uint32_t kBoxIconStop = 0x10u;
constexpr uint32_t kBoxSetForeground = 0x10000u;
constexpr uint32_t kBoxTopmost = 0x40000u;
constexpr int kAnswerOk = 1;
constexpr int kAnswerCancel = 2;
constexpr int kAnswerRetry = 4;
// The real modal box (Windows) or a question on the terminal (posix).
int MessageBox(const char *text, const char *caption, uint32_t style);
// The window the next boxes belong to (null: none); Linux has none.
void SetMessageBoxOwner(void *window);
// What a box does when ZAL2443_PROMPT does not say: "ask" (the real box) on
// Windows, "cancel" on Linux, where a library has no desktop of its own.
extern const char *const kDefaultPromptPolicy;

// ---------------------------------------------------------------- ports
// Handles are Win32 HANDLEs on Windows and file descriptors on posix; the
// USB support library returns one that these calls accept.
using Handle = intptr_t;
constexpr Handle kInvalidHandle = -1;
inline bool IsValidHandle(Handle h) { return h != 0 && h != kInvalidHandle; }

enum class Disposition { OpenExisting, OpenAlways };
struct OpenOptions {
    bool read = true;
    bool write = true;
    bool shareRead = false;
    bool writeThrough = false;
    // Every write goes to the end of the file (Linux opens it so, and
    // SeekToEnd has nothing left to do); Windows seeks.
    bool append = false;
    Disposition disposition = Disposition::OpenExisting;
};
// Opens a file or device.  Device names: "LPT1:", "COM1", "\\.\LPTSTAT1",
// "\\.\COM10" and so on; posix maps them (posix/Ports.cpp).
Handle CreateFile(const char *path, const OpenOptions &options);
bool SeekToEnd(Handle h);
bool WriteFile(Handle h, const void *data, uint32_t count, uint32_t *written);
bool ReadFile(Handle h, void *data, uint32_t count, uint32_t *read);
bool FlushFileBuffers(Handle h);
bool CloseHandle(Handle h);
// How long WriteFile may wait on a device that takes no data, in ms (0:
// for ever).  When that long passes without a byte taken, WriteFile
// returns true with the bytes written so far and last error 1460, as a
// serial line does at its time-out.  A serial line with comm write
// time-outs keeps them; files are never waited on.  Linux polls the
// device; Windows cannot bound a write on a handle opened for synchronous
// writes and answers false (50, not supported).
bool SetWriteTimeout(Handle h, uint32_t ms);

// Serial communications (the Win32 comm API).
struct CommProperties {
    uint32_t maxTxQueue = 0;
    uint32_t maxRxQueue = 0;
};
struct CommState {  // the part of a DCB this library touches
    uint32_t baudRate = 0;
    uint8_t byteSize = 8;
    uint8_t parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    uint8_t stopBits = 0;  // 0 one, 1 one and a half, 2 two
    bool outxCtsFlow = false;
    bool outxDsrFlow = false;
    uint8_t dtrControl = 1;
    uint8_t rtsControl = 1;
    bool outX = false;
    bool inX = false;
    char eofChar = 0;
};
struct CommTimeouts {
    uint32_t readIntervalTimeout = 0;
    uint32_t readTotalTimeoutMultiplier = 0;
    uint32_t readTotalTimeoutConstant = 0;
    uint32_t writeTotalTimeoutMultiplier = 0;
    uint32_t writeTotalTimeoutConstant = 0;
};
bool GetCommProperties(Handle h, CommProperties &properties);
bool SetupComm(Handle h, uint32_t inQueue, uint32_t outQueue);
bool GetCommState(Handle h, CommState &state);
bool BuildCommDCB(const char *mode, CommState &state);
bool SetCommState(Handle h, const CommState &state);
bool GetCommTimeouts(Handle h, CommTimeouts &timeouts);
bool SetCommTimeouts(Handle h, const CommTimeouts &timeouts);

// ---------------------------------------------------------------- print queues
// A queue of the system's print spooler: on Linux a CUPS queue (libcups is
// loaded at the first send, so the library runs where it is missing), on
// Windows a printer of the spooler.  The device layer reads the port text
// (device/QueuePort.cpp); the backend sends.
struct QueueAddress {
    std::string queue;     // the queue's (printer's) name
    std::string host;      // empty: the system's default server
    int port = 0;          // 0: the server's default port
    bool encrypted = false;  // ipps://
    std::string resource;  // "/printers/<queue>" or "/classes/<queue>"
};
// Where a send stopped: the queue could not be reached or found (Open), or
// it was found and did not take the label (Write).
enum class QueueStep { Done, Open, Write };
struct QueueOutcome {
    QueueStep failedAt = QueueStep::Done;
    std::string reason;  // the spooler's own words, naming the queue and server
    int jobId = 0;       // the spooler's job number when Done

    static QueueOutcome Failed(QueueStep step, std::string why) {
        QueueOutcome outcome;
        outcome.failedAt = step;
        outcome.reason = std::move(why);
        return outcome;
    }
};
// Sends the bytes, whole, as one raw job named jobName: the spooler holds a
// label it took whole or none of it.  A stopped queue takes nothing (its
// label would wait there unseen while the host counts it printed).
QueueOutcome SendToQueue(const QueueAddress &address, const char *jobName, const char *bytes, uint32_t count);

// ---------------------------------------------------------------- dialogs
// The settings and diagnostics dialogs on the models of src/dialogs: the
// modal dialogs of templates 101 and 1001 on Windows; on Linux a form on
// the terminal, or the answers a script gave (posix/Dialogs.cpp says when
// it asks).  Each returns what the dialog ended with: 1 OK, 0 Cancel,
// Close or a refusal, -1 when it could not be shown.
int RunSettingsDialog(dialogs::SettingsSession &session);
int RunDiagnosticsDialog(dialogs::DiagnosticsSession &session);

// The options (Option1 to Option4) of the device selected in the host.
// Windows: the configuration node that the selected item of list box 601
// in the owner window points to.  Linux, where a host has no window: the
// device's keys in section "PeripheralSetup" of the job record's profile
// file (the profile entry names the device, the file is its node).
enum class DeviceNode { Found, NoListItem, NoNode };
using DeviceOptions = std::array<std::string, 4>;
// options may be null: only the lookup.
DeviceNode ReadDeviceOptions(const dialogs::DialogOwner &owner, DeviceOptions *options);
DeviceNode WriteDeviceOptions(const dialogs::DialogOwner &owner, const DeviceOptions &options);

// A text of the library's string table ("" when it has none).
std::string LoadResourceText(uint32_t id);

}  // namespace zal::platform
