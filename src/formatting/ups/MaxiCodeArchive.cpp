// The MaxiCode test-data archive: in MaxiCode test mode the compressor's
// input.dat and complog.err, and the plain messages, are kept in numbered
// files of the test-data folder.  Archiving never fails a job.
#include <cstdio>
#include <string>
#include <system_error>

#include "common/Format.h"
#include "common/Log.h"
#include "common/Settings.h"
#include "formatting/ups/CompressDriver.h"
#include "formatting/ups/MaxiCodeGuard.h"
#include "platform/Platform.h"

namespace zal {
namespace {

using detail::GuardedMaxiCode;

constexpr const char *kCounterFile = "input_dat.ini";
constexpr int kDefaultCounter = 15;
constexpr int kCounterLimit = 100000;  // five digits in the file names
constexpr int kAttempts = 10;

struct Archive {
    std::string folder;       // with its trailing backslash
    std::string counterFile;  // in the compression folder
    std::string key;          // the device's option key prefix
    std::string tag;          // the job tag: first 8 characters
};

bool CreateFolder(const std::string &folder) { return platform::CreateDirectory(folder.c_str()); }

// The test-data folder: the registry's MaxiArchiveDir, else the job's
// archive folder followed by "MaxicodeOutput"; created when missing.
bool PrepareArchive(const LabelContext &label, bool compression, Archive &archive) {
    char folder[1025] = {};
    if (!GetMaxiArchiveDir(folder) || folder[0] == '\0') {
        if (label.host.archiveFolder.empty()) {
            log::LogWarning("MaxiCode test data was not archived: no test data folder is set.");
            return false;
        }
        CopyText(folder, label.host.archiveFolder.c_str());
        // the host's folder may come without its separator
        std::size_t length = TextLength(folder, sizeof folder);
        if (folder[length - 1] != '\\' && folder[length - 1] != '/') AppendText(folder, "\\");
        AppendText(folder, "MaxicodeOutput");
    }
    if (!DirectoryExists(folder)) {
        if (compression)
            log::LogInfo("Creating MaxiCode Compression test data folder \"%s\"...", folder);
        else
            log::LogInfo("Creating MaxiCode test data folder \"%s\"...", folder);
        if (!CreateFolder(folder)) {
            log::LogError("MaxiCode test data folder \"%s\" could not be created.", folder);
            return false;
        }
    }
    AppendBackslash(folder);
    archive.folder = folder;
    archive.counterFile = CompressDirectory(label, 1024) + kCounterFile;
    archive.key = label.host.optionKeyPrefix.empty() ? std::string("Device") : label.host.optionKeyPrefix;
    archive.tag = label.host.jobTag;
    return true;
}

// Up to ten numbers after the stored counter; the first whose file does
// not exist is handed to store.  The counter is written back either way.
template <typename Store>
void ArchiveNumbered(const Archive &archive, const char *section, const char *suffix, Store store) {
    const char *file = archive.counterFile.c_str();
    int counter = static_cast<int>(platform::GetPrivateProfileInt(section, archive.key.c_str(), kDefaultCounter, file));
    bool stored = false;
    for (int attempt = 0; attempt < kAttempts && !stored; ++attempt) {
        counter = counter + 1 >= kCounterLimit ? 1 : counter + 1;
        std::string base =
            FormatString("%s%s-%s-%.5i", archive.folder.c_str(), archive.key.c_str(), archive.tag.c_str(), counter);
        std::string name = base + suffix;
        if (FileExist(name.c_str()) != 0) continue;
        store(base, name);
        stored = true;
    }
    if (!stored)
        log::LogWarning("MaxiCode test data was not archived: no free file name after %d attempts.", kAttempts);
    platform::WritePrivateProfileString(section, archive.key.c_str(), std::to_string(counter).c_str(), file);
    platform::WritePrivateProfileString(nullptr, nullptr, nullptr, file);
}

bool CopyInputDat(const LabelContext &label) {
    std::string compressFolder = CompressDirectory(label, 1024);
    std::string input = compressFolder + "input.dat";
    if (FileExist(input.c_str()) == 0) return true;
    Archive archive;
    if (!PrepareArchive(label, true, archive)) return false;
    std::string errorLog = compressFolder + "complog.err";
    ArchiveNumbered(archive, "Input counter", ".input.dat", [&](const std::string &base, const std::string &name) {
        if (!platform::CopyFile(input.c_str(), name.c_str(), true)) {
            log::LogError("MaxiCode Compression test input data could not be copied to \"%s\".", name.c_str());
            return;
        }
        log::LogInfo("Copied MaxiCode Compression test input data to \"%s\"...", name.c_str());
        if (FileExist(errorLog.c_str()) == 0) return;
        std::string target = base + ".complog.err";
        if (platform::MoveFile(errorLog.c_str(), target.c_str()))
            log::LogInfo("Copied MaxiCode Compression test error log to \"%s\"...", target.c_str());
        else
            log::LogError("MaxiCode Compression test error log could not be moved to \"%s\".", target.c_str());
    });
    return true;
}

bool WriteUncompressed(const LabelContext &label, const char *message) {
    if (message == nullptr) return false;
    Archive archive;
    if (!PrepareArchive(label, false, archive)) return false;
    ArchiveNumbered(archive, "Uncomp counter", ".uncomp.dat", [&](const std::string &, const std::string &name) {
        std::FILE *f = platform::OpenFile(name.c_str(), "wb");
        if (f == nullptr) {
            log::LogError("MaxiCode Uncompressed data could not be written to \"%s\".", name.c_str());
            return;
        }
        std::fprintf(f, "[%s]\r\n%s\r\n", "ELTRON", message);
        std::fclose(f);
        log::LogInfo("Copied MaxiCode Uncompressed data to \"%s\"...", name.c_str());
    });
    return true;
}

}  // namespace

void CopyInputDatFile(const LabelContext &label) {
    GuardedMaxiCode("CopyInputDatFile", false, [&] { return CopyInputDat(label); });
}

void CreateUncompressedDatFile(const LabelContext &label, const char *message) {
    GuardedMaxiCode("CreateUncompressedDatFile", false, [&] { return WriteUncompressed(label, message); });
}

}  // namespace zal
