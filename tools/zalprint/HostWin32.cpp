#include <windows.h>
#include <ntsecapi.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <mutex>

#include "Host.h"

namespace zalprint {
namespace {

// The system's text of an error code, without its line break.
std::string SystemMessage(DWORD code) {
    char text[512] = "";
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                             sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' ' || text[n - 1] == '.')) --n;
    if (n == 0) return "error " + std::to_string(code);
    return std::string(text, n);
}

// 64 random bits from the system; the clock where it gives none.
uint64_t RandomBits(unsigned attempt) {
    uint64_t bits = 0;
    if (!RtlGenRandom(&bits, sizeof bits)) {
        LARGE_INTEGER counter;
        QueryPerformanceCounter(&counter);
        bits = static_cast<uint64_t>(counter.QuadPart) * 0x9E3779B97F4A7C15ull ^ GetTickCount() ^ attempt;
    }
    return bits;
}

void RemoveNow(const std::string &folder) {
    if (folder.empty()) return;
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveNow(folder + name + "\\");
            } else if (!DeleteFileA((folder + name).c_str())) {
                std::fprintf(stderr, "zalprint: could not remove %s%s: %s\n", folder.c_str(), name.c_str(),
                             SystemMessage(GetLastError()).c_str());
            }
        } while (FindNextFileA(h, &data));
        FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
}

std::mutex g_interruptLock;
std::string g_interruptFolder;

// Runs on a thread of its own when the console asks the program to end;
// the default handler then ends it.
BOOL WINAPI OnConsoleControl(DWORD) {
    std::lock_guard<std::mutex> hold(g_interruptLock);
    RemoveNow(g_interruptFolder);
    g_interruptFolder.clear();
    return FALSE;
}

}  // namespace

std::string MakeTempFolder() {
    char base[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, base);
    for (unsigned attempt = 0; attempt < 64; ++attempt) {
        char name[MAX_PATH + 64];
        std::snprintf(name, sizeof name, "%szalprint.%016llx", base,
                      static_cast<unsigned long long>(RandomBits(attempt)));
        if (CreateDirectoryA(name, nullptr)) return std::string(name) + "\\";
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return std::string();
}

void RemoveOnInterrupt(const std::string &folder) {
    {
        std::lock_guard<std::mutex> hold(g_interruptLock);
        g_interruptFolder = folder;
    }
    static bool installed = SetConsoleCtrlHandler(OnConsoleControl, TRUE) != FALSE;
    (void)installed;
}

void RemoveTree(const std::string &folder) {
    std::lock_guard<std::mutex> hold(g_interruptLock);
    RemoveNow(folder);
    if (folder == g_interruptFolder) g_interruptFolder.clear();
}

bool FileExists(const std::string &path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolder(const std::string &path) {
    DWORD a = GetFileAttributesA(path.c_str());
    if (a != INVALID_FILE_ATTRIBUTES) return (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool CopyFileBytes(const std::string &from, const std::string &to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

bool LinkFile(const std::string &from, const std::string &to) {
    return CreateHardLinkA(to.c_str(), from.c_str(), nullptr) != FALSE;
}

std::string CheckAppend(const std::string &path) {
    HANDLE h = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return SystemMessage(GetLastError());
    CloseHandle(h);
    return std::string();
}

std::string WhyNotRenamed(const std::string &, const std::string &target) {
    DWORD a = GetFileAttributesA(target.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) return "a folder of that name is in the way";
    char name[64];
    std::snprintf(name, sizeof name, ".zalprint.%016llx", static_cast<unsigned long long>(RandomBits(0)));
    HANDLE h = CreateFileA((FolderOf(target) + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return SystemMessage(GetLastError());
    CloseHandle(h);
    return "the folder takes new files now; the library's error log has the reason";
}

CaptureFile::~CaptureFile() {
    if (_handle != -1) CloseHandle(reinterpret_cast<HANDLE>(_handle));
}

bool CaptureFile::Open(const std::string &path, std::string &error) {
    // Shared for reading only: a second writer is refused while this run
    // holds the file.
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        error = code == ERROR_SHARING_VIOLATION ? "in use by another zalprint run or program" : SystemMessage(code);
        return false;
    }
    if (GetFileType(h) == FILE_TYPE_DISK && !SetEndOfFile(h)) {
        error = SystemMessage(GetLastError());
        CloseHandle(h);
        return false;
    }
    _handle = reinterpret_cast<std::intptr_t>(h);
    _path = path;
    return true;
}

// The library's port cannot be led into this file here: it is appended at
// the end.
bool CaptureFile::LeadInto(const std::string &) { return false; }

bool CaptureFile::Append(const std::string &from, std::string &error) {
    HANDLE in = CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (in == INVALID_HANDLE_VALUE) {
        error = SystemMessage(GetLastError());
        return false;
    }
    HANDLE out = reinterpret_cast<HANDLE>(_handle);
    std::string buffer(65536, '\0');
    bool ok = true;
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(in, &buffer[0], static_cast<DWORD>(buffer.size()), &n, nullptr)) {
            error = SystemMessage(GetLastError());
            ok = false;
            break;
        }
        if (n == 0) break;
        DWORD written = 0;
        if (!WriteFile(out, buffer.data(), n, &written, nullptr)) {
            error = SystemMessage(GetLastError());
            ok = false;
            break;
        }
        if (written != n) {
            error = "the file took only part of the labels";
            ok = false;
            break;
        }
    }
    CloseHandle(in);
    return ok;
}

bool CaptureFile::Flush(std::string &error) {
    HANDLE h = reinterpret_cast<HANDLE>(_handle);
    if (GetFileType(h) == FILE_TYPE_DISK && !FlushFileBuffers(h)) {
        error = SystemMessage(GetLastError());
        return false;
    }
    return true;
}

bool StdoutIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != FALSE;
}

// The library reads the environment block, not this program's C runtime copy.
void SetEnvironment(const std::string &name, const std::string &value) {
    SetEnvironmentVariableA(name.c_str(), value.c_str());
}

char PathSeparator() { return '\\'; }

bool SamePath(const std::string &a, const std::string &b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

std::string ReadProfileString(const std::string &file, const std::string &section, const std::string &key) {
    char buffer[1024] = "";
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof buffer, file.c_str());
    return buffer;
}

std::string FullPath(const std::string &path) {
    char buffer[MAX_PATH + 1];
    DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    return n > 0 && n < sizeof buffer ? std::string(buffer, n) : path;
}

}  // namespace zalprint
