// Settings sources: job-file readers, registry switches, file and folder
// checks, WOW64 redirection and module version information.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zal {

constexpr const char *kNotFoundSentinel = "__I_V_N_F__";
constexpr const char *kJobSection = "Begin";

// The bytes every cleaned job value keeps: printable ASCII and the trade
// mark, copyright, registered and division signs of the Windows code page.
bool IsKeptJobByte(unsigned char c);

// Job file readers (section "Begin").
bool ReadINIString(const char *key, const char *defaultValue, char *output, std::size_t size,
                   std::size_t *outLength, const char *file);
bool ReadINIValue(const char *key, const char *defaultValue, char *output, std::size_t size,
                  std::size_t *outLength, const char *file);
bool ReadINIInt(const char *key, int32_t defaultValue, int32_t *output, const char *file);

// Registry: key "SOFTWARE\Norwick Solutions Inc.\Orvandex" under the local
// machine root, 64-bit view.
const char *EngineSettingsKey();
bool RegistryKeyValueExists(const char *keyPath, const char *valueName);
bool ReadRegistryValue(const char *keyPath, const char *valueName, void *output, uint32_t size);
bool GetZALSettingBool(const char *valueName, bool *output, bool defaultValue);
bool GetMaxiArchiveDir(char output[1025]);
// "MaxiCompressDirs": the folders, separated by ';', besides the program's
// and the library's own from which the MaxiCode compression library may be
// loaded.  Empty when absent.
bool GetMaxiCompressDirs(std::string &output);

// Files.  FileExist: 1 present, 0 absent, -53482 when redirection could not
// be switched back on (callers test for non-zero).
constexpr int kFileExistRedirectFailed = -53482;
int FileExist(const char *path);
bool DirectoryExists(const char *path);
void AppendBackslash(char path[1024]);

bool IsWow64();
bool _IsFilesystemWow64();
bool DisableFSCompatibility(bool switchOff);
bool EnableFSCompatibility();

struct LibraryVersionInfo {
    uint32_t major;
    uint32_t minor;
    uint32_t build;
    uint32_t revision;
    char productName[256];
    char companyName[256];
    char fileDescription[256];
    char legalCopyright[256];
};
LibraryVersionInfo GetLibraryVersion(const char *path);

// Tests: forget the kept WOW64 answers.
void ResetSettingsStateForTests();

}  // namespace zal
