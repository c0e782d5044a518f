// Files and folders on Linux; Windows-style paths are mapped by the rule
// of WindowsPaths.h.
#include <dirent.h>
#include <fcntl.h>
#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Platform.h"
#include "platform/posix/PosixInternal.h"
#include "platform/posix/WindowsPaths.h"

namespace zal::platform {

namespace posix {

std::string WinIniPath() {
    const char *path = std::getenv("ZAL2443_WIN_INI");
    if (path != nullptr && *path != '\0') return path;
    return HomeFolder() + "/win.ini";
}

std::string RegistryPath() {
    const char *path = std::getenv("ZAL2443_REGISTRY");
    if (path != nullptr && *path != '\0') return path;
    return HomeFolder() + "/registry.ini";
}

}  // namespace posix

std::string NativePath(const char *path) { return posix::MapWindowsPath(path); }

bool FindFile(const char *path) {
    if (path == nullptr || *path == '\0') {
        SetLastError(kErrorFileNotFound);
        return false;
    }
    bool pinnedExists = false;
    if (posix::PinnedFileExistsByName(path, pinnedExists)) {
        if (!pinnedExists) SetLastError(kErrorFileNotFound);
        return pinnedExists;
    }
    std::string native = NativePath(path);
    if (native.find_first_of("*?") != std::string::npos) {
        glob_t g;
        int rc = glob(native.c_str(), 0, nullptr, &g);
        bool found = rc == 0 && g.gl_pathc > 0;
        globfree(&g);
        if (!found) SetLastError(kErrorFileNotFound);
        return found;
    }
    if (posix::PinnedFileExists(native, pinnedExists)) {
        if (!pinnedExists) SetLastError(kErrorFileNotFound);
        return pinnedExists;
    }
    struct stat st;
    if (::stat(native.c_str(), &st) != 0) {
        SetLastError(errno == ENOTDIR ? kErrorPathNotFound : posix::Win32FromErrno(errno));
        return false;
    }
    return true;
}

uint32_t GetFileAttributes(const char *path) {
    struct stat st;
    std::string native = NativePath(path);
    if (path == nullptr || ::stat(native.c_str(), &st) != 0) {
        posix::SetLastErrorFromErrno();
        return kInvalidFileAttributes;
    }
    if (S_ISDIR(st.st_mode)) return kAttributeDirectory;
    uint32_t attributes = 0x20;  // archive
    if (::access(native.c_str(), W_OK) != 0) attributes |= 0x1;  // read-only
    return attributes;
}

bool DeleteFile(const char *path) {
    if (::unlink(NativePath(path).c_str()) != 0) {
        posix::SetLastErrorFromErrno();
        return false;
    }
    return true;
}

bool MoveFile(const char *from, const char *to) {
    std::string target = NativePath(to);
    struct stat st;
    // MoveFileA refuses to replace an existing file.
    if (::lstat(target.c_str(), &st) == 0) {
        SetLastError(kErrorAlreadyExists);
        return false;
    }
    if (::rename(NativePath(from).c_str(), target.c_str()) != 0) {
        posix::SetLastErrorFromErrno();
        return false;
    }
    return true;
}

bool CopyFile(const char *from, const char *to, bool failIfExists) {
    std::string source = NativePath(from);
    std::string target = NativePath(to);
    int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        posix::SetLastErrorFromErrno();
        return false;
    }
    int flags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | (failIfExists ? O_EXCL : 0);
    int out = ::open(target.c_str(), flags, 0644);
    if (out < 0) {
        posix::SetLastErrorFromErrno();
        ::close(in);
        return false;
    }
    char buffer[65536];
    bool ok = true;
    for (;;) {
        ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        for (ssize_t done = 0; done < n;) {
            ssize_t w = ::write(out, buffer + done, static_cast<size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                ok = false;
                break;
            }
            done += w;
        }
        if (!ok) break;
    }
    if (!ok) posix::SetLastErrorFromErrno();
    ::close(in);
    if (::close(out) != 0) ok = false;
    return ok;
}

bool CreateDirectory(const char *path) {
    if (path == nullptr || *path == '\0') return false;
    std::string native = NativePath(path);
    while (native.size() > 1 && native.back() == '/') native.pop_back();
    struct stat st;
    if (::stat(native.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    std::size_t slash = native.rfind('/');
    if (slash != std::string::npos && slash > 0) CreateDirectory(native.substr(0, slash).c_str());
    if (::mkdir(native.c_str(), 0755) != 0 && errno != EEXIST) {
        posix::SetLastErrorFromErrno();
        return false;
    }
    return true;
}

std::FILE *OpenFile(const char *path, const char *mode) {
    if (path == nullptr) return nullptr;
    std::FILE *f = std::fopen(NativePath(path).c_str(), mode);
    if (f == nullptr) posix::SetLastErrorFromErrno();
    return f;
}

std::string ExecutableFolder() {
    char buffer[4096];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return "./";
    buffer[n] = '\0';
    std::string path(buffer);
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

// No file-system redirection on Linux.
Wow64Query IsWow64Process(bool &isWow64) {
    isWow64 = false;
    return Wow64Query::Answered;
}
bool Wow64DisableRedirection(void **token) {
    if (token) *token = nullptr;
    return true;
}
bool Wow64RevertRedirection(void *) { return true; }

}  // namespace zal::platform
