#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/Log.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

using zal::test::LogCapture;
namespace log = zal::log;

namespace {

// Date, blank, time, blank, pid in 5, the library tag column, label, blank,
// job tag in 8, blank: the 50-character header of the job entry's format.
std::string Header(const char *label, const char *tag = "        ") {
    return std::string("12/06/26 12:34:56  1234 2443  ") + label + " " + tag + " ";
}

TEST(Log, FourHundredCharactersWithoutBlanksWrap) {
    LogCapture capture(0x8);
    std::string message(400, 'x');
    log::LogDebug(0, "%s", message.c_str());
    auto lines = capture.DebugLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], Header("DEBUG     ").substr(0, 49));  // the header alone, its last blank dropped
    EXPECT_EQ(lines[1], std::string(50, ' ') + std::string(160, 'x'));
    EXPECT_EQ(lines[2], std::string(50, ' ') + std::string(160, 'x'));
    EXPECT_EQ(lines[3], std::string(50, ' ') + std::string(80, 'x'));
}

// Three blanks per level of nesting, on the first line and continuations.
TEST(Log, WrapCutsAtBlanksAndContinuationsFollowTheNesting) {
    LogCapture capture(0x8);
    log::IncreaseNesting();
    log::IncreaseNesting();
    std::string word(9, 'w');
    std::string message;
    for (int i = 0; i < 30; ++i) message += word + " ";  // 300 characters
    log::LogDebug(0, "%s", message.c_str());
    log::DecreaseNesting();
    log::DecreaseNesting();
    log::DecreaseNesting();  // never below 0
    log::LogDebug(0, "flat");
    auto lines = capture.DebugLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.back(), Header("DEBUG     ") + "flat");
    lines.pop_back();
    // First piece: at most 50 + 6 + 160 characters, cut at its last blank.
    EXPECT_LE(lines[0].size(), 216u);
    EXPECT_EQ(lines[0].substr(0, 56), Header("DEBUG     ") + "      ");
    EXPECT_NE(lines[0].back(), ' ');
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].substr(0, 56), std::string(56, ' ')) << i;
        EXPECT_NE(lines[i][56], ' ') << i;
    }
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string piece = lines[i].substr(56);
        joined += piece;
        if (i == 0) joined += ' ';
    }
    EXPECT_EQ(joined, message);
}

TEST(Log, LongMessagesAreCutTo2040WithMark) {
    LogCapture capture(0x8);
    std::string message;
    for (int i = 0; i < 300; ++i) message += "abcdefghi ";  // 3000 characters
    log::LogDebug(0, "%s", message.c_str());
    std::string joined;
    auto lines = capture.DebugLines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        joined += lines[i].substr(50);
        if (i == 0) joined += ' ';
    }
    EXPECT_EQ(joined, message.substr(0, 2040) + " (...)");
}

struct FilterRow { uint32_t configured; uint32_t message; bool passes; };

TEST(Log, ShouldLogLevelsAndCategories) {
    // clang-format off
    const FilterRow rows[] = {
        /*  0*/ {0x4,     0x8,     false},  // DEBUG line, INFO configured
        /*  1*/ {0x4,     0x4,     true},
        /*  2*/ {0x4,     0x2,     true},
        /*  3*/ {0x104,   0x104,   true},   // category configured
        /*  4*/ {0x4,     0x104,   false},  // category not configured
        /*  5*/ {0x0,     0x1,     false},  // no level bit configured
        /*  6*/ {0x1000,  0x1000,  false},  // category only: no level
        /*  7*/ {0x8,     0x1000,  false},
        /*  8*/ {0x1008,  0x1000,  true},   // no level bit in the message
        /*  9*/ {0x40008, 0x40008, true},   // dumps need DEBUG and 0x40000
        /* 10*/ {0x40004, 0x40004, false},
    };
    // clang-format on
    for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        EXPECT_EQ(log::ShouldLog(rows[i].configured, rows[i].message), rows[i].passes) << "row " << i;
    }
}

// Error lines reach the error log whatever the level, and the debug log
// too when it is active.
TEST(Log, ErrorLinesReachTheErrorLog) {
    for (uint32_t flags : {0x0u, 0x4u}) {
        LogCapture capture(flags);
        log::LogInfo("info");
        log::LogError("Failed %d.", 3);
        log::LogErrorText("100% broken");
        EXPECT_EQ(capture.ErrorLines().size(), 2u) << flags;
        EXPECT_TRUE(capture.HasErrorMessage("  Failed 3.")) << flags;
        EXPECT_TRUE(capture.HasErrorMessage("  100% broken")) << flags;
        const std::vector<std::string> echoed = {"info", "Failed 3.", "100% broken"};
        EXPECT_EQ(capture.DebugMessages(), flags == 0 ? std::vector<std::string>() : echoed);
    }
}

TEST(Log, NothingIsWrittenBeforeConfiguration) {
    zal::test::TempDir dir;
    log::ResetForTests();
    log::LogError("lost");
    log::LogInfo("lost");
    EXPECT_FALSE(log::IsConfigured());
    EXPECT_FALSE(log::WriteDebugLog("x"));
    EXPECT_FALSE(log::WriteErrorLog("x"));
}

TEST(Log, CustomLogAndEcho) {
    LogCapture capture(0x8);
    std::string custom = capture.dir().file("custom.log");
    log::LogCustom(custom.c_str(), "value=%d", 5);
    EXPECT_EQ(zal::test::ReadLines(custom), std::vector<std::string>{"value=5"});
    auto lines = capture.DebugLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], Header("CLOG  >>> ") + "value=5");
}

TEST(Log, FolderGetsItsBackslash) {
    zal::test::FixedSeams seams;
    for (const char *folder : {"C:\\Logs", "C:\\Logs\\"}) {
        log::ResetForTests();
        _LoggingConfigA config{};
        zal::CopyText(config.LogFolder, folder);
        zal::CopyText(config.DebugLogName, "dbg.log");
        zal::CopyText(config.ErrorLogName, "err.log");
        log::ConfigureLogging(config);
        EXPECT_STREQ(log::DebugLogPath(), "C:\\Logs\\dbg.log") << folder;
        EXPECT_STREQ(log::ErrorLogPath(), "C:\\Logs\\err.log") << folder;
    }
    log::ResetForTests();
}

TEST(Log, UpdateRefusesAMissingFolderAndKeepsThePaths) {
    LogCapture capture(0x4);
    std::string before = log::DebugLogPath();
    _LoggingConfigA update = capture.config;
    zal::CopyText(update.LogFolder, (capture.dir().path() + "-missing").c_str());
    update.Flags = 0xC;
    log::UpdateLogging(update);
    EXPECT_EQ(before, log::DebugLogPath());
    EXPECT_EQ(log::Flags(), 0xCu);
    EXPECT_TRUE(capture.HasErrorMessage("The selected log path \"" + capture.dir().path() +
                                        "-missing\" is invalid or does not exist, no update will be made."));
}

// The debug log stays open between lines: a log moved away is noticed
// within a second and written again under its name.
TEST(Log, MovedLogIsReopenedUnderItsName) {
    LogCapture capture(0x4);
    log::LogInfo("first");
    std::string path = capture.dir().file("debug.log");
    std::string moved = capture.dir().file("debug.old");
    ASSERT_EQ(std::rename(path.c_str(), moved.c_str()), 0);
    zal::platform::SleepMs(1100);
    log::LogInfo("second");
    ASSERT_EQ(zal::test::ReadLines(moved).size(), 1u);
    auto lines = capture.DebugLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(50), "second");
}

}  // namespace
