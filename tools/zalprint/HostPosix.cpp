#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "Host.h"

namespace zalprint {

std::string MakeTempFolder() {
    const char *base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/zalprint.XXXXXX";
    char *made = mkdtemp(&pattern[0]);
    return made ? std::string(made) + "/" : std::string();
}

void RemoveTree(const std::string &folder) {
    if (folder.empty()) return;
    std::string cmd = "rm -rf '" + folder + "'";
    if (std::system(cmd.c_str()) != 0) std::fprintf(stderr, "zalprint: could not remove %s\n", folder.c_str());
}

bool FileExists(const std::string &path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool CopyFileBytes(const std::string &from, const std::string &to) {
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    if (!in || !out) return false;
    out << in.rdbuf();
    return static_cast<bool>(out);
}

void SetEnvironment(const std::string &name, const std::string &value) { ::setenv(name.c_str(), value.c_str(), 1); }

char PathSeparator() { return '/'; }

}  // namespace zalprint
