// The posix INI engine beyond the recorded corpus: pinned files, the
// one-line writer and a write cut short, integer edge cases and the
// user's win.ini.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <string>

#include "platform/Platform.h"
#include "platform/posix/IniDocument.h"
#include "support/TestSupport.h"

namespace zal::test {
namespace {

using platform::GetLastError;
using platform::GetPrivateProfileInt;
using platform::GetPrivateProfileString;
using platform::PinProfileFile;
using platform::SetLastError;
using platform::UnpinProfileFile;
using platform::WritePrivateProfileString;

std::string Get(const std::string &file, const char *section, const char *key, const char *defaultValue = "dflt") {
    char buffer[256];
    uint32_t n = GetPrivateProfileString(section, key, defaultValue, buffer, sizeof buffer, file.c_str());
    return std::string(buffer, n);
}

class IniEngine : public ::testing::Test {
protected:
    TempDir dir;
    std::string file = dir.file("job.ini");
};

// ---------------------------------------------------------------- pinning
TEST_F(IniEngine, PinnedFileAnswersFromMemoryUntilUnpinned) {
    WriteFile(file, "[Job]\r\nCarrier=UPS\r\nCount=3\r\n");
    PinProfileFile(file.c_str());
    EXPECT_EQ(Get(file, "Job", "Carrier"), "UPS");

    WriteFile(file, "[Job]\r\nCarrier=DHL\r\nCount=7\r\nNew=1\r\n");
    EXPECT_EQ(Get(file, "Job", "Carrier"), "UPS");
    EXPECT_EQ(GetPrivateProfileInt("Job", "Count", 0, file.c_str()), 3u);
    EXPECT_EQ(Get(file, "Job", "New"), "dflt");
    EXPECT_EQ(Get(file, "Job", nullptr), std::string("Carrier\0Count\0", 14));

    // Not even the file's absence is noticed.
    std::remove(file.c_str());
    EXPECT_EQ(Get(file, "Job", "Carrier"), "UPS");

    UnpinProfileFile(file.c_str());
    SetLastError(0);
    EXPECT_EQ(Get(file, "Job", "Carrier"), "dflt");
    EXPECT_EQ(GetLastError(), platform::kErrorFileNotFound);
}

// A file pinned job after job is parsed once while it stays the same file
// with the same size and time; a change of the same size made later shows
// as a newer time, and a file changed just before it was read is not kept.
TEST_F(IniEngine, RepeatedPinsReuseOnlySettledFiles) {
    auto setTime = [&](time_t seconds) {
        struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    };
    auto pinned = [&](const char *key) {
        PinProfileFile(file.c_str());
        std::string value = Get(file, "Job", key);
        UnpinProfileFile(file.c_str());
        return value;
    };
    const time_t hourAgo = std::time(nullptr) - 3600;
    WriteFile(file, "[Job]\r\nCarrier=UPS\r\n");
    setTime(hourAgo);
    EXPECT_EQ(pinned("Carrier"), "UPS");
    WriteFile(file, "[Job]\r\nCarrier=DHL\r\n");  // same size, written now
    EXPECT_EQ(pinned("Carrier"), "DHL");
    // Same size and, forced, the same time as the kept parse: a file this
    // recent was never kept, so the change is still seen.
    WriteFile(file, "[Job]\r\nCarrier=FDX\r\n");
    EXPECT_EQ(pinned("Carrier"), "FDX");
    struct stat st;
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    WriteFile(file, "[Job]\r\nCarrier=POS\r\n");
    setTime(st.st_mtim.tv_sec);
    EXPECT_EQ(pinned("Carrier"), "POS");
}

TEST_F(IniEngine, NestedPinsAreCounted) {
    WriteFile(file, "[Job]\r\nk=1\r\n");
    PinProfileFile(file.c_str());
    PinProfileFile(file.c_str());
    WriteFile(file, "[Job]\r\nk=2\r\n");
    UnpinProfileFile(file.c_str());
    EXPECT_EQ(Get(file, "Job", "k"), "1");
    UnpinProfileFile(file.c_str());
    EXPECT_EQ(Get(file, "Job", "k"), "2");
    UnpinProfileFile(file.c_str());  // one too many: ignored
    WriteFile(file, "[Job]\r\nk=3\r\n");  // same size, same second: read again
    EXPECT_EQ(Get(file, "Job", "k"), "3");
}

TEST_F(IniEngine, WritesToAPinnedFileReachDiskAndCopy) {
    WriteFile(file, "[Job]\r\nk=1\r\n");
    PinProfileFile(file.c_str());
    ASSERT_TRUE(WritePrivateProfileString("Error", "Description", "Bad zip", file.c_str()));
    EXPECT_EQ(Get(file, "Error", "Description"), "Bad zip");
    EXPECT_EQ(ReadFile(file), "[Job]\r\nk=1\r\n[Error]\r\nDescription=Bad zip\r\n");

    ASSERT_TRUE(WritePrivateProfileString("Job", "k", nullptr, file.c_str()));
    EXPECT_EQ(Get(file, "Job", "k"), "dflt");
    EXPECT_EQ(Get(file, nullptr, nullptr), std::string("Job\0Error\0", 10));

    // Reads after the write still come from memory.
    WriteFile(file, "[Job]\r\nk=changed\r\n");
    EXPECT_EQ(Get(file, "Error", "Description"), "Bad zip");
    UnpinProfileFile(file.c_str());
    EXPECT_EQ(Get(file, "Error", "Description"), "dflt");
}

TEST_F(IniEngine, WriteToAPinnedFileKeepsWhatOthersWrote) {
    WriteFile(file, "[Job]\r\nk=1\r\n");
    PinProfileFile(file.c_str());
    WriteFile(file, "[Job]\r\nk=1\r\nHost=added\r\n");
    ASSERT_TRUE(WritePrivateProfileString("Job", "Status", "done", file.c_str()));
    EXPECT_EQ(ReadFile(file), "[Job]\r\nk=1\r\nHost=added\r\nStatus=done\r\n");
    EXPECT_EQ(Get(file, "Job", "Host"), "added");
    UnpinProfileFile(file.c_str());
}

TEST_F(IniEngine, PinnedMissingFileAndOtherSpellingsOfThePath) {
    PinProfileFile(file.c_str());
    SetLastError(0);
    EXPECT_EQ(Get(file, "Job", "k"), "dflt");
    EXPECT_EQ(GetLastError(), platform::kErrorFileNotFound);

    // Backslashes name the same file.
    std::string windowsSpelling = file;
    for (char &c : windowsSpelling) {
        if (c == '/') c = '\\';
    }
    ASSERT_TRUE(WritePrivateProfileString("Job", "k", "v", windowsSpelling.c_str()));
    std::remove(file.c_str());
    EXPECT_EQ(Get(file, "Job", "k"), "v");
    UnpinProfileFile(windowsSpelling.c_str());
    EXPECT_EQ(Get(file, "Job", "k"), "dflt");
}

// ---------------------------------------------------------------- writer
struct EditRow { const char *before; const char *section; const char *key; const char *value; const char *after; };

TEST_F(IniEngine, WritesChangeOnlyTheTouchedLines) {
    // clang-format off
    const EditRow rows[] = {
        /*  0*/ {"[A]\r\na=1\r\n; note\r\n\r\n[B]\r\n", "A", "n", "2",
                 "[A]\r\na=1\r\n; note\r\nn=2\r\n\r\n[B]\r\n"},
        /*  1*/ {"[A]\na=1\nb = 2\n", "a", "A", "9",              "[A]\na=9\nb = 2\n"},
        /*  2*/ {"[A]\r\n  Key = 1  \r\nx=y\r\n", "A", "KEY", "2", "[A]\r\nKey=2\r\nx=y\r\n"},
        /*  3*/ {"[A]", "A", "k", "v",                            "[A]\r\nk=v\r\n"},
        /*  4*/ {"[A]\ra=1\r", "A", "b", "2",                     "[A]\ra=1\rb=2\r\n"},
        /*  5*/ {"[A]\r\na=1\r\nb=2", "A", "b", nullptr,          "[A]\r\na=1\r\n"},
        /*  6*/ {"[A]\r\na=1\r\n\r\n[B]\r\n;c\r\nb=2\r\n\r\n[C]\r\n", "B", nullptr, nullptr,
                 "[A]\r\na=1\r\n\r\n[C]\r\n"},
        /*  7*/ {"[A]\r\na=1\r\n[a]\r\nb=2\r\n", "A", nullptr, "ignored", "[a]\r\nb=2\r\n"},
        /*  8*/ {"[A]\r\n", " A ", "  k  ", "  \"x\"  ",           "[A]\r\nk=  \"x\"  \r\n"},
        /*  9*/ {"x=1\r\n[A]\r\n", "B", "k", "",                  "x=1\r\n[A]\r\n[B]\r\nk=\r\n"},
    };
    // clang-format on
    for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        const EditRow &row = rows[i];
        SCOPED_TRACE(i);
        WriteFile(file, row.before);
        ASSERT_TRUE(WritePrivateProfileString(row.section, row.key, row.value, file.c_str()));
        EXPECT_EQ(ReadFile(file), row.after);
    }
}

TEST_F(IniEngine, WriteFailures) {
    SetLastError(0);
    EXPECT_FALSE(WritePrivateProfileString("A", "k", "v", dir.path().c_str()));  // a folder
    EXPECT_EQ(GetLastError(), platform::kErrorAccessDenied);
    SetLastError(0);
    EXPECT_FALSE(WritePrivateProfileString("A", "k", "v", dir.file("no/such/x.ini").c_str()));
    EXPECT_EQ(GetLastError(), platform::kErrorPathNotFound);
}

// ---------------------------------------------------------------- a cut write
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

// A profile write cut short leaves the file as it was: the new text is
// written beside the file and renamed over it.  The write, in a child whose files may not grow past limit bytes (the
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

// ---------------------------------------------------------------- integers
// (the corpus holds the common forms)
TEST(IniInt, ReadsLikeTheWin32Call) {
    struct Row { const char *text; uint32_t value; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"0x", 0},
        /*  1*/ {"-0x10", 0xFFFFFFF0u},
        /*  2*/ {"0X1F", 0},            // prefixes are lower case only
        /*  3*/ {"0o17", 15},
        /*  4*/ {"0b102", 2},           // stops at the first digit too big for the base
        /*  5*/ {"4294967296", 0},
        /*  6*/ {"4294967295", 0xFFFFFFFFu},
        /*  7*/ {"-2147483648", 0x80000000u},
    };
    // clang-format on
    for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        EXPECT_EQ(platform::posix::ParseProfileInt(rows[i].text), rows[i].value) << i << ": " << rows[i].text;
    }
}

// ---------------------------------------------------------------- win.ini
TEST(IniWinIni, GetProfileStringReadsTheFileNamedByTheEnvironment) {
    TempDir dir;
    std::string winIni = dir.file("win.ini");
    WriteFile(winIni, "[ports]\r\nCOM1:=9600,n,8,1\r\n[Quorra]\r\nPortCheckSkip=Y\r\n");
    EnvVar environment("ZAL2443_WIN_INI", winIni);

    char buffer[1024];
    EXPECT_EQ(platform::GetProfileString("ports", "COM1:", "", buffer, sizeof buffer), 10u);
    EXPECT_STREQ(buffer, "9600,n,8,1");
    EXPECT_EQ(platform::GetProfileString("Quorra", "PortCheckSkip", "", buffer, 2), 1u);
    EXPECT_STREQ(buffer, "Y");
    // A null file name is the same profile.
    EXPECT_EQ(GetPrivateProfileString("ports", "COM1:", "", buffer, sizeof buffer, nullptr), 10u);
}

}  // namespace
}  // namespace zal::test

#endif  // !_WIN32
