// zalprint settings and zalprint diag for real: the forms in a pseudo-
// terminal, answered prompt by prompt, and the flags of scripts in a
// process without a terminal, which must never wait.
#include <gtest/gtest.h>

#if !defined(_WIN32) && defined(ZALPRINT_PATH)
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "support/TestSupport.h"

using zal::test::ReadFile;
using zal::test::TempDir;
using zal::test::WriteFile;

namespace {

struct Device {
    TempDir dir;
    std::string profile = dir.file("profile.ini");
    std::string settings = dir.file("settings.ini");
    explicit Device(const std::string &options) {
        WriteFile(profile, "[PeripheralSetup]\r\nDEV=FILE,Zebra 2844,,,\r\n" + options);
        WriteFile(settings, "[Setup]\r\nFileLocation=" + dir.path() + "/\r\n");
    }
    std::string Profile() const { return ReadFile(profile); }
    std::string Sent() const { return zal::test::FileExists(dir.file("DEV.out")) ? ReadFile(dir.file("DEV.out")) : ""; }
    std::vector<std::string> Args(std::vector<std::string> more) const {
        std::vector<std::string> args = {ZALPRINT_PATH, more[0], "--profile", profile, "--device", "DEV",
                                         "--settings", settings};
        if (more[0] == "settings") args.resize(6);  // settings takes no settings file
        args.insert(args.end(), more.begin() + 1, more.end());
        return args;
    }
};

void Exec(const std::vector<std::string> &args) {
    std::vector<char *> argv;
    for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
}

// zalprint on a pseudo-terminal of its own: each step waits for a prompt,
// then types the answer.  The transcript is what the terminal showed.
struct Conversation {
    int status = -1;
    std::string transcript;
    bool complete = true;
};

Conversation Converse(const std::vector<std::string> &args, const std::vector<std::pair<std::string, std::string>> &steps) {
    Conversation c;
    int master = -1;
    pid_t child = ::forkpty(&master, nullptr, nullptr, nullptr);
    if (child == 0) {
        ::setenv("ZAL2443_PROMPT", "ask", 1);
        Exec(args);
    }
    auto readFor = [&](int ms) {
        pollfd p{master, POLLIN, 0};
        if (::poll(&p, 1, ms) <= 0) return false;
        char buffer[512];
        ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0) return false;
        c.transcript.append(buffer, static_cast<std::size_t>(n));
        return true;
    };
    std::size_t seen = 0;
    for (const auto &[prompt, answer] : steps) {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        std::size_t at;
        while ((at = c.transcript.find(prompt, seen)) == std::string::npos && std::chrono::steady_clock::now() < until) {
            readFor(100);
        }
        if (at == std::string::npos) {
            c.complete = false;
            ::kill(child, SIGKILL);
            break;
        }
        seen = at + prompt.size();
        std::string line = answer + "\n";
        if (::write(master, line.data(), line.size()) != static_cast<ssize_t>(line.size())) c.complete = false;
    }
    while (readFor(2000)) {
    }
    ::close(master);
    int status = 0;
    ::waitpid(child, &status, 0);
    c.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return c;
}

// zalprint in a session without a terminal, stdin closed: what a cron job
// or a CI run gives it.
int RunUnattended(const std::vector<std::string> &args, std::string *output = nullptr) {
    TempDir dir;
    std::string out = dir.file("out.txt");
    pid_t child = ::fork();
    if (child == 0) {
        ::setsid();
        int null = ::open("/dev/null", O_RDONLY);
        int file = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(null, 0);
        ::dup2(file, 1);
        ::dup2(file, 2);
        ::unsetenv("ZAL2443_PROMPT");
        Exec(args);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (output != nullptr) *output = ReadFile(out);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SettingsForm, AnswersOnTheTerminalAreCheckedAndStoredOnOk) {
    Device device("DEVOption1=12\r\n");
    Conversation c = Converse(device.Args({"settings"}),
                              {{"  [2.5] ", "3"},
                               {"  [12] ", ""},
                               {"Vertical Offset: [0] ", "12a4"},
                               // Refused as the field refuses it, and asked again.
                               {"at most 3 digits\r\nVertical Offset: [0] ", "125"},
                               {"Horizontal Offset: [20] ", ""},
                               {"OK or Cancel? [OK] ", "o"}});
    ASSERT_TRUE(c.complete) << c.transcript;
    EXPECT_EQ(c.status, 0) << c.transcript;
    // The form shows the Zebra 2844's caption and its speed list with the second 3.5.
    EXPECT_NE(c.transcript.find("== Zebra 2844 Settings =="), std::string::npos) << c.transcript;
    EXPECT_NE(c.transcript.find("1  1.5  2  2.5  3  3.5  4  5  6  3.5"), std::string::npos) << c.transcript;
    EXPECT_NE(device.Profile().find("DEVOption1=12\r\nDEVOption2=3\r\nDEVOption3=125\r\nDEVOption4=20\r\n"),
              std::string::npos)
        << device.Profile() << c.transcript;
}

TEST(SettingsForm, CancelOnTheTerminalWritesTheStartValues) {
    Device device("DEVOption4=9\r\n");
    Conversation c = Converse(device.Args({"settings"}), {{"  [2.5] ", "6"},
                                                          {"  [10] ", "15"},
                                                          {"Vertical Offset: [0] ", ""},
                                                          {"Horizontal Offset: [9] ", ""},
                                                          {"OK or Cancel? [OK] ", "c"}});
    ASSERT_TRUE(c.complete) << c.transcript;
    EXPECT_EQ(c.status, 0) << c.transcript;
    EXPECT_NE(device.Profile().find("DEVOption4=9\r\nDEVOption1=10\r\nDEVOption2=2.5\r\nDEVOption3=0\r\n"),
              std::string::npos)
        << device.Profile();
}

TEST(DiagnosticsForm, ButtonsPressedOnTheTerminal) {
    Device device("");
    Conversation c = Converse(device.Args({"diag"}),
                              {{"Button [0] ", "1"}, {"Button [0] ", "3"}, {"Button [0] ", "7"},
                               {"1 to 3, or 0 to close", "1"}, {"Button [0] ", "0"}});
    ASSERT_TRUE(c.complete) << c.transcript;
    EXPECT_EQ(c.status, 0) << c.transcript;
    EXPECT_NE(c.transcript.find("  2  Print Network Config Label"), std::string::npos) << c.transcript;
    EXPECT_EQ(device.Sent(), "U\nU\n");
}

struct FlagRow {
    std::vector<std::string> flags;
    int status;
    const char *stored;  // DEV's options in the profile afterwards
};

TEST(SettingsFlags, SetValuesWithoutAskingAndRefuseWhatTheFieldsWouldNot) {
    const char *before = "[PeripheralSetup]\r\nDEV=FILE,Zebra 2844,,,\r\nDEVOption1=4\r\n";
    // clang-format off
    const FlagRow rows[] = {
        /*  0*/ {{"--heat", "123456", "--voffset", "7"}, 0,
                 "DEVOption1=12345\r\nDEVOption2=2.5\r\nDEVOption3=7\r\nDEVOption4=20\r\n"},
        // Refused before the dialog runs: the profile is not touched.
        /*  1*/ {{"--hoffset", "-5"},   2, "DEVOption1=4\r\n"},
        /*  2*/ {{"--heat"},            2, "DEVOption1=4\r\n"},
        // No values and no terminal: nothing asked, nothing changed.
        /*  3*/ {{},                    2, "DEVOption1=4\r\n"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Device device("DEVOption1=4\r\n");
        std::vector<std::string> args = {"settings"};
        args.insert(args.end(), rows[i].flags.begin(), rows[i].flags.end());
        std::string output;
        EXPECT_EQ(RunUnattended(device.Args(args), &output), rows[i].status) << "row " << i << ": " << output;
        EXPECT_EQ(device.Profile(), std::string(before).substr(0, std::string(before).find("DEVOption1")) + rows[i].stored)
            << "row " << i;
    }
}

TEST(DiagnosticsFlags, ButtonsPressedWithoutAsking) {
    // clang-format off
    const struct { std::vector<std::string> flags; int status; const char *sent; } rows[] = {
        /*  0*/ {{"--button", "config", "--button", "status", "--button", "config"}, 0, "U\nU\n"},
        /*  1*/ {{"--button", "reset"},                                          2, ""},
        /*  2*/ {{},                                                             2, ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Device device("");
        std::vector<std::string> args = {"diag"};
        args.insert(args.end(), rows[i].flags.begin(), rows[i].flags.end());
        std::string output;
        EXPECT_EQ(RunUnattended(device.Args(args), &output), rows[i].status) << "row " << i << ": " << output;
        EXPECT_EQ(device.Sent(), rows[i].sent) << "row " << i;
    }
}

}  // namespace

#endif
