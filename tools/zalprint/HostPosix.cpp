#include <fcntl.h>
#include <ftw.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <strings.h>

#include "Host.h"

namespace zalprint {

std::string MakeTempFolder() {
    const char *base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/zalprint.XXXXXX";
    char *made = mkdtemp(&pattern[0]);
    return made ? std::string(made) + "/" : std::string();
}

namespace {

int RemoveEntry(const char *path, const struct stat *, int type, struct FTW *) {
    int rc = type == FTW_DP ? ::rmdir(path) : ::unlink(path);
    if (rc != 0 && errno != ENOENT) std::fprintf(stderr, "zalprint: could not remove %s\n", path);
    return 0;  // go on with the rest
}

// Depth first, never following links.
void RemoveNow(const std::string &folder) { ::nftw(folder.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS); }

// The folder an interruption removes, shared with the thread that waits for
// the signals; the lock keeps the two removals apart.
std::mutex g_interruptLock;
std::string g_interruptFolder;
sigset_t g_interruptSignals;

// The signals are blocked in every thread but this one, which takes them
// one at a time: the removal runs as ordinary code, not in a handler.
void *WaitForInterrupt(void *) {
    int number = 0;
    while (::sigwait(&g_interruptSignals, &number) != 0) {
    }
    {
        std::lock_guard<std::mutex> hold(g_interruptLock);
        // A job may still be writing into the folder: a file made after the
        // walk leaves it in place, so walk again.
        for (int attempt = 0; attempt < 3 && !g_interruptFolder.empty(); ++attempt) {
            RemoveNow(g_interruptFolder);
            struct stat st;
            if (::lstat(g_interruptFolder.c_str(), &st) != 0) break;
        }
        g_interruptFolder.clear();
    }
    // End as the signal ends a program that does not catch it.
    ::signal(number, SIG_DFL);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, number);
    ::pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
    ::raise(number);
    ::_exit(128 + number);
}

}  // namespace

void RemoveOnInterrupt(const std::string &folder) {
    {
        std::lock_guard<std::mutex> hold(g_interruptLock);
        g_interruptFolder = folder;
    }
    static bool started = false;
    if (started) return;
    // A signal ignored when the run began stays ignored (a shell starts its
    // background jobs so that Ctrl+C does not reach them).
    sigemptyset(&g_interruptSignals);
    for (int number : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current;
        if (::sigaction(number, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
            sigaddset(&g_interruptSignals, number);
        }
    }
    if (::pthread_sigmask(SIG_BLOCK, &g_interruptSignals, nullptr) != 0) return;
    pthread_t thread;
    if (::pthread_create(&thread, nullptr, WaitForInterrupt, nullptr) != 0) {
        ::pthread_sigmask(SIG_UNBLOCK, &g_interruptSignals, nullptr);
        return;
    }
    ::pthread_detach(thread);
    started = true;
}

void RemoveTree(const std::string &folder) {
    if (folder.empty()) return;
    std::lock_guard<std::mutex> hold(g_interruptLock);
    RemoveNow(folder);
    if (folder == g_interruptFolder) g_interruptFolder.clear();
}

bool FileExists(const std::string &path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool MakeFolder(const std::string &path) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    return ::mkdir(path.c_str(), 0755) == 0;
}

bool CopyFileBytes(const std::string &from, const std::string &to) {
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    if (!in || !out) return false;
    // An empty file inserts nothing, which the stream counts as a failure.
    if (in.peek() != std::ifstream::traits_type::eof()) out << in.rdbuf();
    // A full disk shows at the flush.
    out.close();
    return !out.fail();
}

bool LinkFile(const std::string &from, const std::string &to) { return ::link(from.c_str(), to.c_str()) == 0; }

std::string CheckAppend(const std::string &path) {
    // Not held up by a FIFO without a reader.
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0) return std::strerror(errno);
    ::close(fd);
    return std::string();
}

std::string WhyNotRenamed(const std::string &, const std::string &target) {
    struct stat st;
    if (::lstat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return "a folder of that name is in the way";
    std::string probe = FolderOf(target) + ".zalprint.XXXXXX";
    if (probe[0] != '/') probe = "./" + probe;
    int fd = ::mkstemp(&probe[0]);
    if (fd < 0) return std::strerror(errno);
    ::close(fd);
    ::unlink(probe.c_str());
    return "the folder takes new files now; the library's error log has the reason";
}

CaptureFile::~CaptureFile() {
    if (_handle >= 0) ::close(static_cast<int>(_handle));
}

bool CaptureFile::Open(const std::string &path, std::string &error) {
    // Not emptied on open: a run that holds the file keeps what it wrote.
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    // A lock of the open file description: the library's own opens and
    // closes of the file do not release it, as they would a process's record
    // lock, and its flock of each write does not meet it.
    struct flock whole = {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &whole) != 0 && (errno == EAGAIN || errno == EACCES)) {
        ::close(fd);
        error = "in use by another zalprint run";
        return false;
    }
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::ftruncate(fd, 0) != 0) {
        error = std::strerror(errno);
        ::close(fd);
        return false;
    }
    _handle = fd;
    _path = path;
    return true;
}

bool CaptureFile::LeadInto(const std::string &produced) {
    return _handle >= 0 && ::symlink(_path.c_str(), produced.c_str()) == 0;
}

bool CaptureFile::Append(const std::string &from, std::string &error) {
    int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        error = std::strerror(errno);
        return false;
    }
    char buffer[65536];
    bool ok = true;
    for (;;) {
        ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n < 0) error = std::strerror(errno), ok = false;
            break;
        }
        for (ssize_t done = 0; ok && done < n;) {
            ssize_t w = ::write(static_cast<int>(_handle), buffer + done, static_cast<std::size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) {
                error = w < 0 ? std::strerror(errno) : "nothing written";
                ok = false;
            } else {
                done += w;
            }
        }
        if (!ok) break;
    }
    ::close(in);
    return ok;
}

bool CaptureFile::Flush(std::string &error) {
    // A device or pipe has nothing to send to a disk.
    if (::fsync(static_cast<int>(_handle)) != 0 && errno != EINVAL && errno != EROFS) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

bool StdoutIsTerminal() { return ::isatty(STDOUT_FILENO) != 0; }

void SetEnvironment(const std::string &name, const std::string &value) { ::setenv(name.c_str(), value.c_str(), 1); }

char PathSeparator() { return '/'; }

bool SamePath(const std::string &a, const std::string &b) { return a == b; }

namespace {

std::string Trim(const std::string &s) {
    std::size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return std::string();
    std::size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

bool SameNoCase(const std::string &a, const std::string &b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

}  // namespace

// The first value of the key in the first block of the section, trimmed,
// with matching quotes removed: what the library's own reader answers.
std::string ReadProfileString(const std::string &file, const std::string &section, const std::string &key) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    bool inSection = false, seen = false;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (!line.empty() && line[0] == '[' && line.find(']') != std::string::npos) {
            if (inSection) break;
            std::string name = Trim(line.substr(1, line.rfind(']') - 1));
            inSection = !seen && SameNoCase(name, section);
            seen = seen || inSection;
            continue;
        }
        std::size_t eq = line.find('=');
        if (!inSection || eq == std::string::npos || !SameNoCase(Trim(line.substr(0, eq)), key)) continue;
        std::string value = Trim(line.substr(eq + 1));
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
            value = value.substr(1, value.size() - 2);
        }
        return value;
    }
    return std::string();
}

std::string FullPath(const std::string &path) {
    if (path.empty() || path[0] == '/') return path;
    static const std::string cwd = [] {
        char buffer[4096];
        return ::getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
    }();
    return cwd.empty() ? path : cwd + "/" + path;
}

}  // namespace zalprint
