// zalprint watch: a job folder.  Every job file that appears in the folder
// is printed once, in one library session, and becomes JOB.OK or JOB.ERR
// beside where it was.
//
// A job file counts once it is closed after writing (inotify's
// IN_CLOSE_WRITE) or moved in (IN_MOVED_TO); a file found at the start, or
// on a rescan after the event queue overflowed, counts once nobody has it
// open for writing (a read lease can be taken only then).
//
// The restart rule.  Just before it prints, a job is moved (renamed, which
// is atomic) into DIR/.zalwatch/claimed/; the library turns it into a result
// file there, which is then moved beside the jobs.  So a job still in DIR
// was never started and is printed after a restart; a result file left in
// claimed/ was printed and is only moved out; a job file left in claimed/
// was printing when the watcher was killed.  Its label may or
// may not have gone out, and a second label is the worse fault for a
// shipment: it is not printed again but becomes JOB.ERR, its [Error]
// Description saying so and the host deciding.  SIGTERM, SIGINT and SIGHUP
// let the job in hand finish first, so only a hard kill (SIGKILL, a power
// loss) leaves such a job.
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "Commands.h"
#include "Host.h"
#include "PrintSession.h"

namespace zalprint {
namespace {

constexpr const char *kStateFolder = ".zalwatch";
constexpr const char *kLockFile = "lock";
constexpr const char *kClaimedFolder = "claimed";
constexpr const char *kWorkPrefix = "work.";
// What a job cut off by a hard kill is reported as.
constexpr long kInterruptedCode = -1204;
constexpr const char *kInterruptedName = "ZALERR_JOB_ABORTED";
constexpr const char *kInterruptedText =
    "zalprint watch was stopped while this job was printing; its label may or may not have printed, so it was "
    "not printed again. Check the printer before sending the job again.";
// A file found without an event, that cannot be leased, counts once it has
// not changed for this long.
constexpr time_t kQuietSeconds = 2;

bool EndsWithNoCase(const std::string &name, const char *suffix) {
    std::size_t n = std::strlen(suffix);
    return name.size() >= n && strcasecmp(name.c_str() + name.size() - n, suffix) == 0;
}

bool IsResultName(const std::string &name) { return EndsWithNoCase(name, ".OK") || EndsWithNoCase(name, ".ERR"); }

// Whether a name in the folder is a job file: not hidden, not a result
// file, not a file still being written under a temporary name.
bool IsJobFileName(const std::string &name) {
    if (name.empty() || name[0] == '.' || name.back() == '~') return false;
    if (IsResultName(name)) return false;
    return !EndsWithNoCase(name, ".tmp") && !EndsWithNoCase(name, ".part");
}

// A line on stderr, at once: the watch's log.
__attribute__((format(printf, 1, 2))) void Say(const char *format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fflush(stderr);
}

struct WatchCommand {
    PrintOptions session;
    std::string folder;
};

int ParseArgs(const Args &args, WatchCommand &o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        int rc = kExitOk;
        if (TakeSessionOption(args, i, o.session, rc)) {
            if (rc != kExitOk) return rc;
        } else if (a.size() > 1 && a[0] == '-') {
            return Usage("unknown option " + a + " for watch");
        } else if (!o.folder.empty()) {
            return Usage("watch takes one folder");
        } else {
            o.folder = a;
        }
    }
    if (o.folder.empty()) return Usage("watch needs the folder to watch");
    return CheckSessionOptions(o.session);
}

enum class Writing { No, Yes, Unknown };

// Whether someone has the file open for writing: a read lease is granted
// only when nobody has.  Unknown where the file system or the file's owner
// gives no lease.
Writing BeingWritten(const std::string &path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0) return Writing::Unknown;
    Writing answer = Writing::No;
    if (::fcntl(fd, F_SETLEASE, F_RDLCK) != 0) {
        answer = errno == EAGAIN ? Writing::Yes : Writing::Unknown;
    } else {
        ::fcntl(fd, F_SETLEASE, F_UNLCK);
    }
    ::close(fd);
    return answer;
}

class Watcher {
public:
    Watcher(const WatchCommand &command) : _command(command) {}
    ~Watcher();
    int Run();

private:
    bool Prepare();
    void Recover();
    void Rescan();
    void Process(const std::string &name);
    // Appends the [Error] Description of an interrupted job to its file.
    void MarkInterrupted(const std::string &path);
    // Moves a result file from the state folder beside the jobs.
    bool MoveOut(const std::string &name);
    bool ReadEvents();
    bool StopAsked(int waitMs);

    const WatchCommand &_command;
    std::string _folder;  // with a trailing '/'
    std::string _state;   // _folder + .zalwatch/
    std::string _claimed;  // _state + claimed/: the jobs taken, then their results
    std::string _work;
    int _lock = -1, _inotify = -1, _signals = -1;
    sigset_t _blocked;
    int _stopSignal = 0;
    PrintSession _session;
    std::deque<std::string> _queue;
    std::set<std::string> _queued;
    bool _rescanSoon = false;  // files found that were not yet settled
    bool _folderGone = false;
};

Watcher::~Watcher() {
    _session.Shutdown();
    if (!_work.empty()) RemoveTree(_work);
    for (int fd : {_inotify, _signals, _lock}) {
        if (fd >= 0) ::close(fd);
    }
}

bool Watcher::Prepare() {
    _folder = FullPath(_command.folder);
    struct stat st;
    if (::stat(_folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        Say("zalprint: %s is not a folder\n", _folder.c_str());
        return false;
    }
    if (_folder.back() != '/') _folder += '/';
    _state = _folder + kStateFolder + "/";
    _claimed = _state + kClaimedFolder + "/";
    for (const std::string *folder : {&_state, &_claimed}) {
        if (!MakeFolder(*folder)) {
            Say("zalprint: cannot create %s: %s\n", folder->c_str(), std::strerror(errno));
            return false;
        }
    }
    // One watcher per folder: two would print the same jobs.
    _lock = ::open((_state + kLockFile).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (_lock < 0 || ::flock(_lock, LOCK_EX | LOCK_NB) != 0) {
        Say("zalprint: %s is watched by another zalprint watch already\n", _folder.c_str());
        return false;
    }
    // The signals that end the watch wait until the job in hand is done.
    sigemptyset(&_blocked);
    for (int number : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&_blocked, number);
    if (::pthread_sigmask(SIG_BLOCK, &_blocked, nullptr) != 0 ||
        (_signals = ::signalfd(-1, &_blocked, SFD_CLOEXEC | SFD_NONBLOCK)) < 0) {
        Say("zalprint: cannot take the stop signals: %s\n", std::strerror(errno));
        return false;
    }
    // Watched before the first scan, so no job falls between the two.
    _inotify = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (_inotify < 0 || ::inotify_add_watch(_inotify, _folder.c_str(),
                                            IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF |
                                                IN_ONLYDIR) < 0) {
        Say("zalprint: cannot watch %s: %s\n", _folder.c_str(), std::strerror(errno));
        return false;
    }
    // The work folders of runs that were killed, then this run's own.
    if (DIR *dir = ::opendir(_state.c_str())) {
        while (dirent *entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            if (name.compare(0, std::strlen(kWorkPrefix), kWorkPrefix) == 0) RemoveTree(_state + name + "/");
        }
        ::closedir(dir);
    }
    std::string pattern = _state + kWorkPrefix + "XXXXXX";
    if (::mkdtemp(&pattern[0]) == nullptr) {
        Say("zalprint: cannot create a work folder in %s: %s\n", _state.c_str(), std::strerror(errno));
        return false;
    }
    _work = pattern + "/";
    return _session.Start(_command.session, _work, false) == kExitOk;
}

void Watcher::MarkInterrupted(const std::string &path) {
    if (std::FILE *file = std::fopen(path.c_str(), "ab")) {
        std::fprintf(file, "\r\n[Error]\r\nDescription=%s\r\n", kInterruptedText);
        std::fclose(file);
    }
}

bool Watcher::MoveOut(const std::string &name) {
    if (::rename((_claimed + name).c_str(), (_folder + name).c_str()) == 0) return true;
    Say("zalprint: cannot move %s out of %s: %s\n", name.c_str(), _claimed.c_str(), std::strerror(errno));
    return false;
}

// What a killed run left among the claimed jobs: result files go beside
// the jobs; job files were printing and become JOB.ERR (the restart rule).
void Watcher::Recover() {
    std::vector<std::string> names;
    if (DIR *dir = ::opendir(_claimed.c_str())) {
        while (dirent *entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    for (const std::string &name : names) {
        if (IsResultName(name)) {
            if (MoveOut(name)) Say("watch: %s moved beside the jobs (its job was printed before a restart)\n", name.c_str());
            continue;
        }
        MarkInterrupted(_claimed + name);
        std::string result = BaseNameOf(ResultFileOf(name, kInterruptedCode));
        if (::rename((_claimed + name).c_str(), (_claimed + result).c_str()) != 0 || !MoveOut(result)) continue;
        Say("watch: %s result=%ld %s file=%s (printing when the watch was killed: not printed again)\n", name.c_str(),
            kInterruptedCode, kInterruptedName, result.c_str());
    }
}

// The job files in the folder that nobody writes, oldest first.
void Watcher::Rescan() {
    _rescanSoon = false;
    struct Found {
        std::string name;
        struct timespec changed;
    };
    std::vector<Found> found;
    time_t now = std::time(nullptr);
    if (DIR *dir = ::opendir(_folder.c_str())) {
        while (dirent *entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            if (!IsJobFileName(name) || _queued.count(name) != 0) continue;
            struct stat st;
            if (::lstat((_folder + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
            Writing writing = BeingWritten(_folder + name);
            if (writing == Writing::Yes) continue;  // its close brings it
            if (writing == Writing::Unknown && now - st.st_mtime < kQuietSeconds) {
                _rescanSoon = true;
                continue;
            }
            found.push_back({name, st.st_mtim});
        }
        ::closedir(dir);
    }
    std::sort(found.begin(), found.end(), [](const Found &a, const Found &b) {
        if (a.changed.tv_sec != b.changed.tv_sec) return a.changed.tv_sec < b.changed.tv_sec;
        if (a.changed.tv_nsec != b.changed.tv_nsec) return a.changed.tv_nsec < b.changed.tv_nsec;
        return a.name < b.name;
    });
    for (const Found &f : found) {
        _queue.push_back(f.name);
        _queued.insert(f.name);
    }
}

void Watcher::Process(const std::string &name) {
    const std::string job = _folder + name, claimed = _claimed + name;
    struct stat st;
    if (::lstat(job.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;  // gone, or no file
    // The claim: from here on a restart knows this job was started.
    if (::rename(job.c_str(), claimed.c_str()) != 0) {
        if (errno != ENOENT) Say("zalprint: cannot take %s: %s\n", name.c_str(), std::strerror(errno));
        return;
    }
    std::string resultName;
    int32_t rc = _session.Process(claimed, name.substr(0, name.find('.')), _folder, true, resultName);
    long code = rc;
    std::string codeName = "UNDOCUMENTED";
    _session.Result(claimed, code, codeName);
    std::string result = BaseNameOf(resultName);
    if (resultName == claimed) {
        // The library could not make the result file: the job is not left to
        // be printed again, it is named as failed by hand.
        result = BaseNameOf(ResultFileOf(name, rc == 0 ? -1 : code));
        if (::rename(claimed.c_str(), (_claimed + result).c_str()) != 0) {
            Say("zalprint: cannot name %s as failed: %s\n", name.c_str(), std::strerror(errno));
            return;
        }
    }
    if (!MoveOut(result)) return;
    Say("watch: %s result=%ld %s file=%s\n", name.c_str(), code, codeName.c_str(), result.c_str());
}

bool Watcher::ReadEvents() {
    alignas(inotify_event) char buffer[64 * (sizeof(inotify_event) + NAME_MAX + 1)];
    for (;;) {
        ssize_t n = ::read(_inotify, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return true;
        for (char *p = buffer; p < buffer + n;) {
            auto *event = reinterpret_cast<inotify_event *>(p);
            p += sizeof(inotify_event) + event->len;
            if (event->mask & IN_Q_OVERFLOW) {
                Rescan();  // events were lost: the folder says what is there
            } else if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
                _folderGone = true;
            } else if (event->len > 0) {
                std::string name = event->name;
                if (IsJobFileName(name) && _queued.insert(name).second) _queue.push_back(name);
            }
        }
    }
}

// Waits up to waitMs (-1: for ever) for a stop signal or a folder event.
bool Watcher::StopAsked(int waitMs) {
    pollfd wait[2] = {{_signals, POLLIN, 0}, {_inotify, POLLIN, 0}};
    if (::poll(wait, 2, waitMs) < 0 && errno != EINTR) return true;
    signalfd_siginfo info;
    if (::read(_signals, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        _stopSignal = static_cast<int>(info.ssi_signo);
        return true;
    }
    if (wait[1].revents & POLLIN) ReadEvents();
    return _folderGone;
}

int Watcher::Run() {
    if (!Prepare()) return kExitFailed;
    Recover();
    Rescan();
    Say("watch: watching %s\n", _folder.c_str());
    for (;;) {
        if (!_queue.empty()) {
            std::string name = _queue.front();
            _queue.pop_front();
            _queued.erase(name);
            Process(name);
            if (StopAsked(0)) break;
            continue;
        }
        if (StopAsked(_rescanSoon ? 1000 : -1)) break;
        if (_rescanSoon && _queue.empty()) Rescan();
    }
    if (_folderGone) {
        Say("zalprint: %s was removed or moved away; the watch ends\n", _folder.c_str());
        return kExitFailed;
    }
    Say("watch: stopped (%s)\n", _stopSignal != 0 ? strsignal(_stopSignal) : "poll failed");
    return kExitOk;
}

}  // namespace

int RunWatch(const Args &args) {
    WatchCommand command;
    if (int rc = ParseArgs(args, command)) return rc;
    Watcher watcher(command);
    return watcher.Run();
}

}  // namespace zalprint
