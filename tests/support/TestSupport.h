// Helpers shared by the unit tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "zal2443/zal2443.h"

namespace zal::test {

// A fresh folder under the build tree, removed when the object dies.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::string &path() const { return path_; }
    // path() joined with name by the platform's separator.
    std::string file(const std::string &name) const;

private:
    std::string path_;
};

std::string ReadFile(const std::string &path);
void WriteFile(const std::string &path, const std::string &content);
bool FileExists(const std::string &path);
std::vector<std::string> ReadLines(const std::string &path);
char Separator();

// Fixes date, time, process id and tick count, and answers message boxes
// from a script; restores everything on destruction.
class FixedSeams {
public:
    FixedSeams();
    ~FixedSeams();
    // Answers for the next boxes (1 OK, 2 Cancel, 4 Retry); Cancel after.
    void ScriptAnswers(std::vector<int> answers);
    struct Box {
        std::string text;
        std::string caption;
        uint32_t style;
    };
    static std::vector<Box> &Boxes();
    static std::vector<uint32_t> &Sleeps();
    static uint64_t &Ticks();
};

// Configures the log into a temporary folder (flags as given) with fixed
// seams; the log state is reset on destruction.
class LogCapture {
public:
    explicit LogCapture(uint32_t flags = 0x1FFFF);
    ~LogCapture();
    std::vector<std::string> DebugLines() const;
    std::vector<std::string> ErrorLines() const;
    // Message parts of the debug lines (after the 50-character header).
    std::vector<std::string> DebugMessages() const;
    bool HasDebugMessage(const std::string &message) const;
    bool HasErrorMessage(const std::string &message) const;
    void Clear();
    const TempDir &dir() const { return dir_; }
    _LoggingConfigA config;

private:
    TempDir dir_;
    FixedSeams seams_;
};

}  // namespace zal::test
