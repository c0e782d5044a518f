// The few operating-system services zalprint needs as a host.
#pragma once

#include <string>

namespace zalprint {

// A fresh private folder (with a trailing separator); removed by RemoveTree.
std::string MakeTempFolder();
void RemoveTree(const std::string &folder);
bool FileExists(const std::string &path);
// Creates a folder when it is missing (one level); true when it exists.
bool MakeFolder(const std::string &path);
bool CopyFileBytes(const std::string &from, const std::string &to);
// A second name for a file (a hard link); false where the system or the
// file system cannot give one, and the caller copies instead.
bool LinkFile(const std::string &from, const std::string &to);
// Makes the file the library writes (produced) lead straight into the
// capture file, created empty: the labels stream to it as they are printed.
// False where that cannot be done; the caller copies produced at the end.
bool LeadInto(const std::string &produced, const std::string &capture);
// Whether standard output is a terminal (its lines are then shown at once).
bool StdoutIsTerminal();
// Sets a variable in the process environment the library reads.
void SetEnvironment(const std::string &name, const std::string &value);
char PathSeparator();
// The folder part of a path, with its trailing separator ("" when none).
std::string FolderOf(const std::string &path);
std::string BaseNameOf(const std::string &path);
// A value of an INI file as the Windows profile calls read it ("" when
// absent).
std::string ReadProfileString(const std::string &file, const std::string &section, const std::string &key);
// The full path of a file (Windows resolves a bare INI file name in its own
// folder, so the library is always given full paths).
std::string FullPath(const std::string &path);

}  // namespace zalprint
