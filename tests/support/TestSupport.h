// Helpers shared by the unit tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
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
// A path of the build machine as the library sees it (under Wine: Z:\...).
std::string HostPath(const std::string &path);
// A plug-in library of the build, e.g. "compress": lib/libcompress.so or bin\compress.dll.
std::string PluginFile(const std::string &name);
// Texts joined by " | ", to compare several fields of a record at once.
std::string Joined(std::initializer_list<std::string> texts);
// Writes section "Begin" with the given "key=value\n" lines (CR LF on disk)
// as job.ini in the folder and returns its path.
std::string WriteJob(const TempDir &dir, const std::string &lines);

// Sets an environment variable for the life of the object.
class EnvVar {
public:
    EnvVar(const char *name, const std::string &value);
    ~EnvVar();
    EnvVar(const EnvVar &) = delete;
    EnvVar &operator=(const EnvVar &) = delete;

private:
    std::string _name, _old;
    bool _had = false;
};

#if !defined(_WIN32)
// Runs the current test again in a child without the capabilities that let
// root read or write any file (setpriv of util-linux), with
// ZAL2443_TEST_WITHOUT_CAPS=1 set; its status, or -1 when it could not be
// started.
int RerunWithoutCapabilities();

// usblp printers as the kernel shows them, under a temporary root the
// library is pointed to: the node dev/usb/lpN, the interface in sysfs with
// its IEEE 1284 device id, the USB device above it with the ids, and the
// class link between them.
class FakeUsbTree {
public:
    FakeUsbTree();
    void AddPrinter(int n, const std::string &port, const char *vendor, const char *product, const char *id);
    std::string Node(int n) const { return root.file("dev/usb/lp" + std::to_string(n)); }

    TempDir root;

private:
    EnvVar _dev, _sys;
};
#endif

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
    // Whether a line of either log contains the text.
    bool Logged(const std::string &text) const;
    void Clear();
    // Keeps every message on one line of the debug log.
    void Unwrap();
    const TempDir &dir() const { return dir_; }
    _LoggingConfigA config;

private:
    TempDir dir_;
    FixedSeams seams_;
};

}  // namespace zal::test
