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
