#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <strings.h>
#include <fstream>

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
    if (rc != 0) std::fprintf(stderr, "zalprint: could not remove %s\n", path);
    return 0;  // go on with the rest
}

}  // namespace

// In-process, depth first, never following links: no path is handed to a shell.
void RemoveTree(const std::string &folder) {
    if (folder.empty()) return;
    ::nftw(folder.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
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
    out << in.rdbuf();
    return static_cast<bool>(out);
}

bool LinkFile(const std::string &from, const std::string &to) { return ::link(from.c_str(), to.c_str()) == 0; }

bool LeadInto(const std::string &produced, const std::string &capture) {
    int fd = ::open(capture.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    ::close(fd);
    return ::symlink(capture.c_str(), produced.c_str()) == 0;
}

bool StdoutIsTerminal() { return ::isatty(STDOUT_FILENO) != 0; }

void SetEnvironment(const std::string &name, const std::string &value) { ::setenv(name.c_str(), value.c_str(), 1); }

char PathSeparator() { return '/'; }

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
