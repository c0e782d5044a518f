#include <windows.h>

#include <cstdio>
#include <fstream>

#include "Host.h"

namespace zalprint {

std::string MakeTempFolder() {
    char base[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, base);
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[MAX_PATH + 64];
        std::snprintf(name, sizeof name, "%szalprint.%lu.%d", base, GetCurrentProcessId(), attempt);
        if (CreateDirectoryA(name, nullptr)) return std::string(name) + "\\";
    }
    return std::string();
}

void RemoveTree(const std::string &folder) {
    if (folder.empty()) return;
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(folder + name + "\\");
            } else {
                DeleteFileA((folder + name).c_str());
            }
        } while (FindNextFileA(h, &data));
        FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
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

bool LeadInto(const std::string &, const std::string &) { return false; }

bool StdoutIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != FALSE;
}

// The library reads the environment block, not this program's C runtime copy.
void SetEnvironment(const std::string &name, const std::string &value) {
    SetEnvironmentVariableA(name.c_str(), value.c_str());
}

char PathSeparator() { return '\\'; }

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
