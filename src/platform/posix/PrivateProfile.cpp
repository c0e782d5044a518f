// The private-profile (INI) functions on Linux, giving the answers of
// GetPrivateProfileStringA and sisters on Windows (see IniDocument.h for
// how a file is read and edited).
//
// Every call reads the file from disk, except for a pinned file: from
// PinProfileFile to the matching UnpinProfileFile its reads answer from the
// parsed copy taken at the first pin and touch nothing on disk.  A write
// always starts from the file on disk (never from the copy, so that nothing
// written there by others is lost), writes it back and, when the file is
// pinned, makes the result the new copy.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>
#include <algorithm>

#include "platform/Platform.h"
#include "platform/posix/IniDocument.h"
#include "platform/posix/PosixInternal.h"

namespace zal::platform {
namespace {

using posix::IniDocument;

// A file as the calls see it: parsed, or the Win32 error of reading it.
struct Profile {
    bool exists = false;
    uint32_t error = kErrorFileNotFound;
    IniDocument document;
};

struct Pin {
    int count = 0;
    Profile profile;
    std::string rawPath;  // the name it was pinned by, found without mapping
};

// Keyed by native path.  The library runs one job at a time on one thread.
std::unordered_map<std::string, Pin> &Pins() {
    static std::unordered_map<std::string, Pin> pins;
    return pins;
}

// A null file name means the user's profile, as in the Win32 calls.
std::string NativeProfilePath(const char *file) {
    return file != nullptr ? NativePath(file) : NativePath(posix::WinIniPath().c_str());
}

uint32_t ReadError(int err) { return err == EISDIR ? kErrorAccessDenied : posix::Win32FromErrno(err); }

Profile Load(const std::string &path) {
    Profile profile;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        profile.error = ReadError(errno);
        return profile;
    }
    std::string bytes;
    struct stat st;
    std::size_t expected = 0;
    if (::fstat(fd, &st) == 0 && st.st_size > 0) {
        expected = static_cast<std::size_t>(st.st_size);
        bytes.reserve(expected);
    }
    char chunk[16384];
    for (;;) {
        // A regular file read to its size needs no further read to see the end.
        if (expected != 0 && bytes.size() == expected && S_ISREG(st.st_mode)) break;
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            profile.error = ReadError(errno);
            ::close(fd);
            return profile;
        }
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    profile.exists = true;
    profile.error = kErrorSuccess;
    profile.document = IniDocument(std::move(bytes));
    return profile;
}

// Files pinned job after job (the profile and settings files) are parsed
// once: a pin takes the kept parse while the file's identity, size and
// modification time are unchanged.  A file is kept only when it was last
// changed well before it was read (IsSettled): any later change then shows
// as a newer time.
struct CachedProfile {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    struct timespec modified = {};
    Profile profile;
};

Profile LoadForPin(const std::string &path) {
    static std::vector<CachedProfile> cache;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return Load(path);
    for (CachedProfile &c : cache) {
        if (c.path == path && c.device == st.st_dev && c.inode == st.st_ino && c.size == st.st_size &&
            c.modified.tv_sec == st.st_mtim.tv_sec && c.modified.tv_nsec == st.st_mtim.tv_nsec) {
            return c.profile;
        }
    }
    Profile loaded = Load(path);
    if (!loaded.exists || !posix::IsSettled(path.c_str(), st)) return loaded;
    constexpr std::size_t kKept = 8;
    if (cache.size() == kKept) cache.erase(cache.begin());
    cache.push_back({path, st.st_dev, st.st_ino, st.st_size, st.st_mtim, loaded});
    return loaded;
}

bool WriteAll(int fd, const std::string &bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes the new text beside the file and renames it over the file, so a
// write cut short (a full disk, a size limit, a crash) leaves the file as it
// was, never spliced.  The new file keeps the old one's permissions; a
// symbolic link keeps pointing at the file, which is the one replaced.
bool Store(const std::string &given, const std::string &bytes) {
    std::string path = given;
    struct stat st;
    bool existed = ::lstat(given.c_str(), &st) == 0;
    if (existed && S_ISLNK(st.st_mode)) {
        if (char *target = ::realpath(given.c_str(), nullptr)) {
            path = target;
            std::free(target);
        }
        existed = ::stat(path.c_str(), &st) == 0;
    }
    // A file the caller may not write stays as it is, as on Windows.
    if (existed && ::access(path.c_str(), W_OK) != 0) {
        SetLastError(posix::Win32FromErrno(errno));
        return false;
    }
    std::string temp = path + ".zal-new-" + std::to_string(::getpid());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_EXCL | O_CLOEXEC, existed ? 0600 : 0666);
    if (fd < 0) {
        // ENOENT on create: a folder of the path is missing.
        SetLastError(errno == ENOENT ? kErrorPathNotFound : posix::Win32FromErrno(errno));
        return false;
    }
    if (existed) {
        (void)::fchown(fd, st.st_uid, st.st_gid);  // only root may; the mode still follows
        (void)::fchmod(fd, st.st_mode & 07777);
    }
    bool ok = WriteAll(fd, bytes);
    if (!ok) posix::SetLastErrorFromErrno();
    if (::close(fd) != 0 && ok) {
        posix::SetLastErrorFromErrno();
        ok = false;
    }
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        posix::SetLastErrorFromErrno();
        ok = false;
    }
    if (!ok) {
        int err = errno;
        ::unlink(temp.c_str());
        errno = err;
    }
    return ok;
}

// A pinned file looked up by the name the caller gives, as the job's own
// reads name it: no path mapping, no allocation.
Pin *g_lastPin = nullptr;  // the pin the last lookup found; reset when pins change

Pin *PinByRawPath(const char *file) {
    if (file == nullptr) return nullptr;
    if (g_lastPin != nullptr && g_lastPin->rawPath == file) return g_lastPin;
    for (auto &entry : Pins()) {
        if (entry.second.rawPath == file) return g_lastPin = &entry.second;
    }
    return nullptr;
}

// The pinned copy of the file, or the file read now into scratch.
const Profile &Acquire(const char *file, Profile &scratch) {
    if (Pin *pin = PinByRawPath(file)) return pin->profile;
    std::string path = NativeProfilePath(file);
    auto pinned = Pins().find(path);
    if (pinned != Pins().end()) return pinned->second.profile;
    scratch = Load(path);
    return scratch;
}

// min(len, size-1) bytes and a NUL; size is at least 1.
uint32_t CopyString(std::string_view text, char *buffer, uint32_t size) {
    std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
}

// The default loses trailing spaces (0x20 only; tabs stay).
uint32_t CopyDefault(const char *defaultValue, char *buffer, uint32_t size) {
    std::string_view text = defaultValue != nullptr ? defaultValue : "";
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return CopyString(text, buffer, size);
}

// A list of NUL-terminated names and a final NUL.  When it does not fit,
// an exact fit included, the first size-2 bytes come back with two NULs
// and the result is size-2.  One byte holds nothing: 0 and last error 87,
// as the recorded call gives.
uint32_t CopyList(const std::string &list, char *buffer, uint32_t size) {
    if (size == 1) {
        buffer[0] = '\0';
        SetLastError(kErrorInvalidParameter);
        return 0;
    }
    if (list.size() + 1 < size) {
        std::memcpy(buffer, list.data(), list.size());
        buffer[list.size()] = '\0';
        return static_cast<uint32_t>(list.size());
    }
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

// WritePrivateProfileString(NULL, NULL, NULL, file): writes go straight to
// disk here, so there is nothing to flush; true when the file is there.
bool Flush(const char *file) {
    if (file == nullptr) return false;
    std::string path = NativePath(file);
    auto pinned = Pins().find(path);
    if (pinned != Pins().end() && pinned->second.profile.exists) return true;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        SetLastError(ReadError(errno));
        return false;
    }
    return true;
}

}  // namespace

namespace posix {

bool IsSettled(const char *path, const struct ::stat &st) {
    // Kinds that keep fine file times; any other is given FAT's two seconds.
    constexpr long kTmpfs = 0x01021994, kExt = 0xEF53, kXfs = 0x58465342, kBtrfs = 0x9123683E;
    struct statfs fs;
    long kind = ::statfs(path, &fs) == 0 ? static_cast<long>(fs.f_type) : 0;
    bool fine = kind == kTmpfs || kind == kExt || kind == kXfs || kind == kBtrfs;
    const long long margin = fine ? 20'000'000LL : 2'000'000'000LL;  // nanoseconds
    struct timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    long long changed = static_cast<long long>(st.st_mtim.tv_sec) * 1'000'000'000LL + st.st_mtim.tv_nsec;
    long long read = static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
    return changed + margin < read;
}

}  // namespace posix

uint32_t GetPrivateProfileString(const char *section, const char *key, const char *defaultValue,
                                 char *buffer, uint32_t size, const char *file) {
    if (buffer == nullptr || size == 0) return 0;
    Profile scratch;
    const Profile &profile = Acquire(file, scratch);
    if (section == nullptr) {
        if (!profile.exists) {
            SetLastError(profile.error);
            buffer[0] = '\0';
            return 0;
        }
        return CopyList(profile.document.SectionList(), buffer, size);
    }
    if (profile.exists) {
        if (key == nullptr) {
            std::string list;
            if (profile.document.KeyList(section, list)) return CopyList(list, buffer, size);
        } else {
            std::string_view value;
            if (profile.document.FindValue(section, key, value)) return CopyString(value, buffer, size);
        }
    }
    // Windows 7 and later report a missing section or key as a missing file.
    SetLastError(profile.exists ? kErrorFileNotFound : profile.error);
    return CopyDefault(defaultValue, buffer, size);
}

uint32_t GetPrivateProfileInt(const char *section, const char *key, int32_t defaultValue, const char *file) {
    if (section == nullptr || key == nullptr) return static_cast<uint32_t>(defaultValue);
    Profile scratch;
    const Profile &profile = Acquire(file, scratch);
    std::string_view value;
    if (!profile.exists || !profile.document.FindValue(section, key, value)) {
        SetLastError(profile.exists ? kErrorFileNotFound : profile.error);
        return static_cast<uint32_t>(defaultValue);
    }
    if (value.empty()) return static_cast<uint32_t>(defaultValue);
    return posix::ParseProfileInt(value);
}

bool WritePrivateProfileString(const char *section, const char *key, const char *value, const char *file) {
    if (section == nullptr) {
        if (key == nullptr && value == nullptr) return Flush(file);
        SetLastError(kErrorFileNotFound);
        return false;
    }
    std::string path = NativeProfilePath(file);
    Profile profile = Load(path);
    if (!profile.exists && profile.error != kErrorFileNotFound) {
        SetLastError(profile.error);
        return false;
    }
    IniDocument &document = profile.document;
    // A null key deletes the section whatever the value; a null value the key.
    bool changed = key == nullptr     ? document.DeleteSection(section)
                   : value == nullptr ? document.DeleteKey(section, key)
                                      : document.SetValue(section, key, value);
    // Deleting from a missing file still creates it (empty), as Windows does.
    if ((changed || !profile.exists) && !Store(path, document.text())) return false;
    auto pinned = Pins().find(path);
    if (pinned != Pins().end()) {
        profile.exists = true;
        profile.error = kErrorSuccess;
        pinned->second.profile = std::move(profile);
    }
    return true;
}

void FlushProfileCache(const char *) {}

uint32_t GetProfileString(const char *section, const char *key, const char *defaultValue, char *buffer,
                          uint32_t size) {
    std::string path = posix::WinIniPath();
    return GetPrivateProfileString(section, key, defaultValue, buffer, size, path.c_str());
}

// The file's bytes and the section's keys, folded to lower case, in one
// text, with an index by hash: a job reads a hundred keys of one section.
// The file is scanned once, keeping nothing per line, so a hostile file
// costs no more memory than its bytes and its section's keys.
struct ProfileSection::Data {
    std::string text;
    bool exists = false;
    bool sectionFound = false;
    bool tooLarge = false;
    uint32_t error = kErrorFileNotFound;
    int readErrno = 0;
    struct Key {
        uint32_t hash;
        uint32_t order;   // the first key of a name wins
        uint32_t begin;   // of the folded name in names
        uint32_t size;
        std::string_view value;
        bool operator<(const Key &other) const {
            return hash != other.hash ? hash < other.hash : order < other.order;
        }
    };
    std::string names;
    std::vector<Key> keys;

    // The bytes of the file, at most limit of them (0: no limit).
    void Read(const std::string &path, std::size_t limit) {
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            readErrno = errno;
            error = platform::ReadError(errno);
            return;
        }
        struct stat st;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
            if (limit != 0 && static_cast<std::size_t>(st.st_size) > limit) {
                ::close(fd);
                exists = true;
                tooLarge = true;
                error = kErrorSuccess;
                return;
            }
            text.reserve(static_cast<std::size_t>(st.st_size));
        }
        char chunk[16384];
        for (;;) {
            // A regular file read to its size needs no further read to see the end.
            if (S_ISREG(st.st_mode) && st.st_size > 0 && text.size() == static_cast<std::size_t>(st.st_size)) break;
            ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n == 0) break;
            if (n < 0) {
                if (errno == EINTR) continue;
                readErrno = errno;
                error = platform::ReadError(errno);
                ::close(fd);
                text.clear();
                return;
            }
            text.append(chunk, static_cast<std::size_t>(n));
            if (limit != 0 && text.size() > limit) {
                tooLarge = true;
                text.clear();
                break;
            }
        }
        ::close(fd);
        exists = true;
        error = kErrorSuccess;
    }
};

ProfileSection::ProfileSection(const char *file, const char *section, std::size_t limit) : _data(new Data) {
    if (file == nullptr) return;
    Data &d = *_data;
    d.Read(NativePath(file), limit);
    if (!d.exists || d.tooLarge) return;
    d.sectionFound = IniDocument::ScanSection(d.text, section != nullptr ? section : "",
                                              [&](std::string_view name, std::string_view value) {
        Data::Key key{IniDocument::FoldedHash(name), static_cast<uint32_t>(d.keys.size()),
                      static_cast<uint32_t>(d.names.size()), static_cast<uint32_t>(name.size()), value};
        for (char c : name) d.names.push_back(IniDocument::Fold(c));
        d.keys.push_back(key);
    });
    std::sort(d.keys.begin(), d.keys.end());
}

ProfileSection::~ProfileSection() { delete _data; }

uint32_t ProfileSection::ReadError() const { return _data->exists ? kErrorSuccess : _data->error; }

bool ProfileSection::TooLarge() const { return _data->tooLarge; }

bool ProfileSection::SectionFound() const { return _data->sectionFound; }

int ProfileSection::ReadErrno() const { return _data->readErrno; }

bool ProfileSection::Find(const char *key, std::string_view &value) const {
    if (key == nullptr || _data->keys.empty()) return false;
    std::string_view name = IniDocument::Trim(key);
    const Data::Key probe{IniDocument::FoldedHash(name), 0, 0, 0, {}};
    const std::vector<Data::Key> &keys = _data->keys;
    for (auto it = std::lower_bound(keys.begin(), keys.end(), probe); it != keys.end() && it->hash == probe.hash;
         ++it) {
        if (it->size != name.size()) continue;
        const char *folded = _data->names.data() + it->begin;
        std::size_t i = 0;
        while (i < name.size() && IniDocument::Fold(name[i]) == folded[i]) ++i;
        if (i == name.size()) {
            value = it->value;
            return true;
        }
    }
    return false;
}

uint32_t ProfileSection::Int(const char *key, int32_t defaultValue) const {
    std::string_view value;
    if (!Find(key, value) || value.empty()) return static_cast<uint32_t>(defaultValue);
    return posix::ParseProfileInt(value);
}

namespace posix {

bool PinnedFileExistsByName(const char *path, bool &exists) {
    Pin *pin = PinByRawPath(path);
    if (pin == nullptr) return false;
    exists = pin->profile.exists;
    return true;
}

bool PinnedFileExists(const std::string &nativePath, bool &exists) {
    auto pinned = Pins().find(nativePath);
    if (pinned == Pins().end()) return false;
    exists = pinned->second.profile.exists;
    return true;
}

}  // namespace posix

void PinProfileFile(const char *file) {
    if (file == nullptr) return;
    g_lastPin = nullptr;
    std::string path = NativePath(file);
    auto [pin, added] = Pins().try_emplace(path);
    if (added) {
        pin->second.profile = LoadForPin(path);
        pin->second.rawPath = file;
    }
    ++pin->second.count;
}

void UnpinProfileFile(const char *file) {
    if (file == nullptr) return;
    g_lastPin = nullptr;
    auto pin = Pins().find(NativePath(file));
    if (pin != Pins().end() && --pin->second.count <= 0) Pins().erase(pin);
}

}  // namespace zal::platform
