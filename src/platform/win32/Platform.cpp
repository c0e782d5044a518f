// The win32 backend: the real Win32 calls.
#include "platform/Platform.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/Win32.h"

namespace zal::platform {

uint32_t GetLastError() { return ::GetLastError(); }
void SetLastError(uint32_t code) { ::SetLastError(code); }

bool SystemMessage(uint32_t code, int kind, std::string &text) {
    if (kind == 3) {
        const char *s = std::strerror(static_cast<int>(code));
        if (s == nullptr || std::strncmp(s, "Unknown error", 13) == 0) return false;
        text = s;
        return true;
    }
    char *buffer = nullptr;
    DWORD n = ::FormatMessageA(0x11FF, nullptr, code, 0, reinterpret_cast<char *>(&buffer), 0, nullptr);
    if (n == 0 || buffer == nullptr) return false;
    text.assign(buffer, n);
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n')) text.pop_back();
    return true;
}

uint32_t GetPrivateProfileString(const char *section, const char *key, const char *defaultValue, char *buffer,
                                 uint32_t size, const char *file) {
    return ::GetPrivateProfileStringA(section, key, defaultValue, buffer, size, file);
}

uint32_t GetPrivateProfileInt(const char *section, const char *key, int32_t defaultValue, const char *file) {
    return ::GetPrivateProfileIntA(section, key, defaultValue, file);
}

// Windows answers each key through the API: the file is the system's to read.
struct ProfileSection::Data {
    std::string file;
    std::string section;
    bool hasFile = false;
    bool tooLarge = false;
    bool sectionFound = false;
    uint32_t error = kErrorSuccess;
    mutable std::vector<char> buffer = std::vector<char>(1024);
};

ProfileSection::ProfileSection(const char *file, const char *section, std::size_t limit) : _data(new Data) {
    Data &d = *_data;
    d.section = section != nullptr ? section : "";
    if (file == nullptr) {
        d.error = kErrorFileNotFound;
        return;
    }
    d.file = file;
    WIN32_FILE_ATTRIBUTE_DATA info;
    if (!::GetFileAttributesExA(file, GetFileExInfoStandard, &info)) {
        d.error = ::GetLastError();
        return;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        d.error = kErrorAccessDenied;
        return;
    }
    unsigned long long size = (static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (limit != 0 && size > limit) {
        d.tooLarge = true;
        return;
    }
    // The profile calls answer an unreadable file with the defaults: ask
    // the file system whether it can be read.
    HANDLE h = ::CreateFileA(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        d.error = ::GetLastError();
        return;
    }
    ::CloseHandle(h);
    d.hasFile = true;
    std::vector<char> names(4096);
    for (;;) {
        DWORD n = ::GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), file);
        if (n + 2 >= names.size() && names.size() < (1u << 24)) {
            names.resize(names.size() * 4);
            continue;
        }
        for (const char *name = names.data(); *name != '\0'; name += std::strlen(name) + 1) {
            if (::lstrcmpiA(name, d.section.c_str()) == 0) d.sectionFound = true;
        }
        break;
    }
}

ProfileSection::~ProfileSection() { delete _data; }

uint32_t ProfileSection::ReadError() const { return _data->error; }

int ProfileSection::ReadErrno() const { return 0; }

bool ProfileSection::TooLarge() const { return _data->tooLarge; }

bool ProfileSection::SectionFound() const { return _data->sectionFound; }

bool ProfileSection::Find(const char *key, std::string_view &value) const {
    if (!_data->hasFile || key == nullptr) return false;
    // A default no file holds tells a missing key from an empty value.
    static const char kAbsent[] = "\x01\x02zal-absent\x02\x01";
    std::vector<char> &buffer = _data->buffer;
    for (;;) {
        DWORD n = ::GetPrivateProfileStringA(_data->section.c_str(), key, kAbsent, buffer.data(),
                                             static_cast<DWORD>(buffer.size()), _data->file.c_str());
        if (n + 1 >= buffer.size() && buffer.size() < (1u << 24)) {
            buffer.resize(buffer.size() * 4);  // cut at the buffer: ask again with more room
            continue;
        }
        if (std::strcmp(buffer.data(), kAbsent) == 0) return false;
        value = std::string_view(buffer.data(), n);
        return true;
    }
}

uint32_t ProfileSection::Int(const char *key, int32_t defaultValue) const {
    if (!_data->hasFile || key == nullptr) return static_cast<uint32_t>(defaultValue);
    return ::GetPrivateProfileIntA(_data->section.c_str(), key, defaultValue, _data->file.c_str());
}

bool WritePrivateProfileString(const char *section, const char *key, const char *value, const char *file) {
    return ::WritePrivateProfileStringA(section, key, value, file) != FALSE;
}

void FlushProfileCache(const char *file) { ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, file); }

uint32_t GetProfileString(const char *section, const char *key, const char *defaultValue, char *buffer,
                          uint32_t size) {
    return ::GetProfileStringA(section, key, defaultValue, buffer, size);
}

void PinProfileFile(const char *) {}
void UnpinProfileFile(const char *) {}

uint32_t RegistryOpenKey(const char *path, RegistryKey *key) {
    HKEY h = nullptr;
    LONG rc = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, 0x20119, &h);
    if (rc == ERROR_SUCCESS) *key = h;
    return static_cast<uint32_t>(rc);
}

uint32_t RegistryQueryValue(RegistryKey key, const char *name, uint32_t *type, void *data, uint32_t *size) {
    DWORD t = 0;
    DWORD s = size ? *size : 0;
    LONG rc = ::RegQueryValueExA(static_cast<HKEY>(key), name, nullptr, &t, static_cast<BYTE *>(data),
                                 size ? &s : nullptr);
    if (type) *type = t;
    if (size) *size = s;
    return static_cast<uint32_t>(rc);
}

void RegistryCloseKey(RegistryKey key) { ::RegCloseKey(static_cast<HKEY>(key)); }

std::string NativePath(const char *path) { return path ? std::string(path) : std::string(); }

bool FindFile(const char *path) {
    WIN32_FIND_DATAA data;
    HANDLE h = ::FindFirstFileA(path, &data);
    if (h == INVALID_HANDLE_VALUE) return false;
    ::FindClose(h);
    return true;
}

uint32_t GetFileAttributes(const char *path) { return ::GetFileAttributesA(path); }
bool DeleteFile(const char *path) { return ::DeleteFileA(path) != FALSE; }
bool MoveFile(const char *from, const char *to) { return ::MoveFileA(from, to) != FALSE; }
bool CopyFile(const char *from, const char *to, bool failIfExists) {
    return ::CopyFileA(from, to, failIfExists ? TRUE : FALSE) != FALSE;
}
bool AppendLogLine(const char *path, const char *text, std::size_t length) {
    std::FILE *f = path ? std::fopen(path, "a+") : nullptr;
    if (f == nullptr) return false;
    bool ok = std::fwrite(text, 1, length, f) == length && std::fputc('\n', f) != EOF;
    return std::fclose(f) == 0 && ok;
}

bool CreateDirectory(const char *path) {
    if (path == nullptr || *path == '\0') return false;
    std::string p = path;
    while (!p.empty() && (p.back() == '\\' || p.back() == '/')) p.pop_back();
    DWORD a = ::GetFileAttributesA(p.c_str());
    if (a != INVALID_FILE_ATTRIBUTES) return (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
    std::size_t slash = p.find_last_of("\\/");
    if (slash != std::string::npos && slash > 0 && p[slash - 1] != ':') CreateDirectory(p.substr(0, slash).c_str());
    return ::CreateDirectoryA(p.c_str(), nullptr) != FALSE || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

std::FILE *OpenFile(const char *path, const char *mode) { return path ? std::fopen(path, mode) : nullptr; }

std::string ExecutableFolder() {
    char buffer[MAX_PATH + 1] = {};
    DWORD n = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::string path(buffer, n);
    std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".\\") : path.substr(0, slash + 1);
}

Wow64Query IsWow64Process(bool &isWow64) {
    isWow64 = false;
    HMODULE kernel = ::GetModuleHandleA("kernel32");
    if (kernel == nullptr) return Wow64Query::NoKernel32;
    using Fn = BOOL(WINAPI *)(HANDLE, PBOOL);
    auto fn = reinterpret_cast<Fn>(reinterpret_cast<void *>(::GetProcAddress(kernel, "IsWow64Process")));
    if (fn == nullptr) return Wow64Query::NoExport;
    BOOL answer = FALSE;
    if (!fn(::GetCurrentProcess(), &answer)) return Wow64Query::CallFailed;
    isWow64 = answer != FALSE;
    return Wow64Query::Answered;
}

bool Wow64DisableRedirection(void **token) {
    using Fn = BOOL(WINAPI *)(PVOID *);
    auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void *>(::GetProcAddress(::GetModuleHandleA("kernel32"), "Wow64DisableWow64FsRedirection")));
    if (fn == nullptr) {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return false;
    }
    return fn(token) != FALSE;
}

bool Wow64RevertRedirection(void *token) {
    using Fn = BOOL(WINAPI *)(PVOID);
    auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void *>(::GetProcAddress(::GetModuleHandleA("kernel32"), "Wow64RevertWow64FsRedirection")));
    if (fn == nullptr) {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return false;
    }
    return fn(token) != FALSE;
}

namespace {

bool LoadVersionBlock(const char *path, std::vector<char> &block) {
    DWORD handle = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path, &handle);
    if (size == 0) return false;
    block.assign(size, '\0');
    return ::GetFileVersionInfoA(path, 0, size, block.data()) != FALSE;
}

}  // namespace

uint32_t GetFileVersionInfoSize(const char *path) {
    DWORD handle = 0;
    return ::GetFileVersionInfoSizeA(path, &handle);
}

bool GetFileVersionInfo(const char *path, VersionResource &fixed) {
    std::vector<char> block;
    if (!LoadVersionBlock(path, block)) return false;
    fixed = VersionResource{};
    VS_FIXEDFILEINFO *info = nullptr;
    UINT len = 0;
    if (::VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&info), &len) && info != nullptr &&
        info->dwSignature == 0xFEEF04BD) {
        fixed.hasFixed = true;
        fixed.fileVersionMS = info->dwFileVersionMS;
        fixed.fileVersionLS = info->dwFileVersionLS;
    }
    WORD *translation = nullptr;
    if (::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void **>(&translation),
                         &len) &&
        translation != nullptr && len >= 4) {
        fixed.hasTranslation = true;
        fixed.language = translation[0];
        fixed.codePage = translation[1];
    }
    return true;
}

bool QueryVersionString(const char *path, uint16_t language, uint16_t codePage, const char *name,
                        std::string &value) {
    std::vector<char> block;
    if (!LoadVersionBlock(path, block)) return false;
    char query[128];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", language, codePage, name);
    char *text = nullptr;
    UINT len = 0;
    if (!::VerQueryValueA(block.data(), query, reinterpret_cast<void **>(&text), &len) || text == nullptr) {
        return false;
    }
    value.assign(text, len > 0 && text[len - 1] == '\0' ? len - 1 : len);
    return true;
}

LibraryHandle LoadLibrary(const char *name) { return ::LoadLibraryA(name); }
void *GetProcAddress(LibraryHandle library, const char *name) {
    return reinterpret_cast<void *>(::GetProcAddress(static_cast<HMODULE>(library), name));
}
const char *const kDefaultPromptPolicy = "ask";

std::vector<std::string> LibraryFileNames(const char *name) { return {name}; }
bool FreeLibrary(LibraryHandle library) { return ::FreeLibrary(static_cast<HMODULE>(library)) != FALSE; }

std::string GetEnvironment(const char *name) {
    char buffer[1024];
    DWORD n = ::GetEnvironmentVariableA(name, buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) return std::string();
    return std::string(buffer, n);
}

uint64_t TickCount64() { return ::GetTickCount64(); }
void SleepMs(uint32_t ms) { ::Sleep(ms); }
uint32_t ProcessId() { return ::GetCurrentProcessId(); }

void LocalDateTime(char date[9], char time[9]) {
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    std::snprintf(date, 9, "%02u/%02u/%02u", t.wMonth, t.wDay, t.wYear % 100);
    std::snprintf(time, 9, "%02u:%02u:%02u", t.wHour, t.wMinute, t.wSecond);
}

bool IsDebuggerPresent() { return ::IsDebuggerPresent() != FALSE; }
void OutputDebugString(const char *text) { ::OutputDebugStringA(text); }

void *HeapAlloc(std::size_t size) {
    void *p = ::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, size);
    if (p == nullptr) ::SetLastError(0xC0000017u);
    return p;
}

void *HeapReAlloc(void *block, std::size_t size) {
    void *p = ::HeapReAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, block, size);
    if (p == nullptr) ::SetLastError(0xC0000017u);
    return p;
}

std::size_t HeapSize(const void *block) { return ::HeapSize(::GetProcessHeap(), 0, block); }
bool HeapFree(void *block) { return ::HeapFree(::GetProcessHeap(), 0, block) != FALSE; }

bool CanReadMemory(const void *address, std::size_t size) {
    if (address == nullptr) return false;
    std::vector<char> probe(size);
    SIZE_T got = 0;
    return ::ReadProcessMemory(::GetCurrentProcess(), address, probe.data(), size, &got) && got == size;
}

namespace {
HWND g_boxOwner = nullptr;
}  // namespace

void SetMessageBoxOwner(void *window) { g_boxOwner = static_cast<HWND>(window); }

int MessageBox(const char *text, const char *caption, uint32_t style) {
    return ::MessageBoxA(g_boxOwner, text, caption, style);
}

}  // namespace zal::platform
