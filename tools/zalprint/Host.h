// The few operating-system services zalprint needs as a host.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zalprint {

// A fresh private folder (with a trailing separator) under the system's
// temporary folder, its name drawn at random (never from the process id,
// which Wine hands out again); removed by RemoveTree.
std::string MakeTempFolder();
// Removes the folder when the run is stopped from outside (SIGINT, SIGTERM
// or SIGHUP; Ctrl+C, Ctrl+Break or closing the console on Windows), then
// lets the run end as the signal asks.  One folder per process.
void RemoveOnInterrupt(const std::string &folder);
// Removes the folder and what it holds, in-process (no path goes to a
// shell); the folder is no longer removed on an interruption.
void RemoveTree(const std::string &folder);
bool FileExists(const std::string &path);
// Creates a folder when it is missing (one level); true when it exists.
bool MakeFolder(const std::string &path);
bool CopyFileBytes(const std::string &from, const std::string &to);
// A second name for a file (a hard link); false where the system or the
// file system cannot give one, and the caller copies instead.
bool LinkFile(const std::string &from, const std::string &to);
// Opens the file for appending, creating it when missing, and closes it
// again; "" when it can be written, else the system's reason.
std::string CheckAppend(const std::string &path);
// Why the file could not be renamed to target, as far as the folder tells
// afterwards: a folder in the way, or the reason a new file cannot be made
// beside it.
std::string WhyNotRenamed(const std::string &file, const std::string &target);

// The --out file, held from the start of the run to its end: locked, so a
// second run naming the same file fails instead of mixing its labels in or
// emptying the file under this one, and emptied once it is ours.
class CaptureFile {
public:
    CaptureFile() = default;
    ~CaptureFile();
    CaptureFile(const CaptureFile &) = delete;
    CaptureFile &operator=(const CaptureFile &) = delete;

    // Opens (creates) the file, locks it and empties it; false with the
    // reason ("in use" when another run holds it).
    bool Open(const std::string &path, std::string &error);
    // Makes the file the library writes (produced) lead straight into this
    // one: the labels stream to it as they are printed.  False where that
    // cannot be done; the caller appends produced at the end.
    bool LeadInto(const std::string &produced);
    // Appends the bytes of a file; false with the reason when not all of
    // them were written.
    bool Append(const std::string &from, std::string &error);
    // Sends what was written to the disk; false with the reason when it
    // cannot be kept.  The file stays locked until the object dies.
    bool Flush(std::string &error);

private:
    std::intptr_t _handle = -1;
    std::string _path;
};

// A print queue as zalprint info lists it.
struct PrintQueue {
    std::string name;
    std::string device;  // the device URI (CUPS) or port (Windows)
    std::string state;
    bool isDefault = false;
};
// The queues of the system's spooler: CUPS on Linux (where: the server
// asked), the spooler's printers on Windows.  False with the reason when
// the spooler cannot be asked.
bool ListPrintQueues(std::vector<PrintQueue> &queues, std::string &where, std::string &error);

// Whether standard output is a terminal (its lines are then shown at once).
bool StdoutIsTerminal();
// Sets a variable in the process environment the library reads.
void SetEnvironment(const std::string &name, const std::string &value);
char PathSeparator();
// Whether two paths name the same file as the file system compares names
// (Windows: without regard to case).
bool SamePath(const std::string &a, const std::string &b);
// The folder part of a path, with its trailing separator ("" when none).
std::string FolderOf(const std::string &path);
std::string BaseNameOf(const std::string &path);
// A value of an INI file as the Windows profile calls read it ("" when
// absent).
std::string ReadProfileString(const std::string &file, const std::string &section, const std::string &key);
// The full path of a file (Windows resolves a bare INI file name in its own
// folder, so the library is always given full paths).
std::string FullPath(const std::string &path);

// The library this program runs with (ShellPosix.cpp, ShellWin32.cpp): its
// name ("libzal2443", "ZAL2443.DLL") and its file version as the file's
// version information gives it ("23.3.1.0"); the version is empty when the
// file or its version information cannot be read.
struct RunningLibrary {
    std::string name;
    std::string fileVersion;
};
RunningLibrary FindRunningLibrary();
// The width in columns of the terminal standard error writes to; 0 when
// standard error is not a terminal.
int StderrTerminalColumns();

}  // namespace zalprint
