// A profile write cut short leaves the file as it was: the new text is
// written beside the file and renamed over it.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "platform/Platform.h"
#include "support/TestSupport.h"

namespace zal::test {
namespace {

std::vector<std::string> FolderEntries(const std::string &folder) {
    std::vector<std::string> names;
    if (DIR *dir = ::opendir(folder.c_str())) {
        while (const dirent *entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(dir);
    }
    return names;
}

// The write, in a child whose files may not grow past limit bytes (the
// signal of the limit ignored, so the write fails with EFBIG); whether the
// write answered true.
bool WriteUnderSizeLimit(const std::string &file, const std::string &value, rlim_t limit) {
    pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit size = {limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &size) != 0) ::_exit(2);
        bool ok = platform::WritePrivateProfileString("Begin", "ShipTo1", value.c_str(), file.c_str());
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 2) << "setrlimit failed";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(IniWrite, AWriteCutShortLeavesTheFileWhole) {
    TempDir dir;
    const std::string file = dir.file("job.ini");
    std::string old = "[Begin]\r\nCarrier=UPS\r\nShipTo1=Harrow & Finch\r\n";
    for (int i = 0; i < 40; ++i) old += "ShipTo" + std::to_string(i + 2) + "=2275 Old Mill Rd, Suite 140\r\n";
    WriteFile(file, old);
    // clang-format off
    const struct { std::size_t valueSize; rlim_t limit; bool written; } rows[] = {
        /*  0*/ {4000, 2048, false},  // the limit cuts the new text: the old stays whole
        /*  1*/ {4000, 1024, false},  // below the old size too
        /*  2*/ {10,   8192, true},   // room enough: written
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const std::string value(rows[i].valueSize, 'x');
        const bool written = WriteUnderSizeLimit(file, value, rows[i].limit);
        EXPECT_EQ(written, rows[i].written) << "row " << i;
        const std::string now = ReadFile(file);
        if (rows[i].written) {
            char read[64] = "";
            platform::GetPrivateProfileString("Begin", "ShipTo1", "", read, sizeof read, file.c_str());
            EXPECT_EQ(read, value) << "row " << i;
            EXPECT_EQ(now.size(), old.size() - std::string("Harrow & Finch").size() + value.size()) << "row " << i;
        } else {
            EXPECT_EQ(now, old) << "row " << i;
        }
        // Nothing is left beside it.
        EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"job.ini"}) << "row " << i;
    }
}

}  // namespace
}  // namespace zal::test

#endif
