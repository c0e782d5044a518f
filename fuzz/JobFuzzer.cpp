// A whole job through the exported entry, as a host hands it over, printed
// to the discard port.  The input is the job file's text after its carrier
// line: the library reads
//   [Begin]
//   Carrier=<value chosen by the first byte>
//   <the rest of the input>
// so the input's keys continue the job's section.  The first byte's low five
// bits choose the carrier (and the two forms' devices), bits 5-6 the media,
// bit 7 the device without label memory.  Checked on every input: the call
// returns 0 or 1 (no exception escaped the job) and the job file is gone.
// A job asking for 4 to 1,000 copies prints 3 (see CapCopies).
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/IniDocument.h"
#include "zal2443/zal2443.h"

namespace {

struct Carrier {
    const char *value;
    const char *device;  // the device's description
};

// Every value of the carrier table, an unknown one, and the two devices
// that print one carrier's forms only.
// clang-format off
const Carrier kCarriers[32] = {
    {"GEN", ""},        {"CUSTOM", ""},     {"RECEIPT", ""},    {"DEPTSTORE", ""},
    {"RRDL", ""},       {"ECON", ""},       {"UPSBARCODE", ""}, {"FONTS", ""},
    {"DIAG", ""},       {"UPS", ""},        {"UPSAP", ""},      {"UPSFLEX", ""},
    {"UPSINT", ""},     {"UPSPR", ""},      {"UPS PICKUP", ""}, {"UPSMI", ""},
    {"UPSMIR", ""},     {"SUREPOST", ""},   {"FDX", ""},        {"FDXINT", ""},
    {"POS", ""},        {"SMARTPOST", ""},  {"CN22", ""},       {"DHL", ""},
    {"RPS", ""},        {"FXR", ""},        {"LONESTAR", ""},   {"ONTRAC", ""},
    {"PCD", ""},        {"RTX", ""},        {"RPS", "FedEx Ground COD Tag"},
    {"CN22", "CN22 Customs Declaration"},
};
// clang-format on

const uint16_t kMediaIds[4] = {1230, 1220, 1240, 0};

struct Host {
    std::string folder;
    std::string jobFile, profileFile, settingsFile;
    std::vector<MediaType> media;
};
Host *g_host = nullptr;

void WriteText(const std::string &path, const char *data, std::size_t size) {
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    if (std::fclose(file) != 0) std::abort();
}

int RemoveEntry(const char *path, const struct stat *, int type, struct FTW *) {
    return type == FTW_DP ? ::rmdir(path) : ::unlink(path), 0;
}

// The folder and whatever the jobs left in it.
void RemoveFolder() {
    if (g_host != nullptr) ::nftw(g_host->folder.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

template <std::size_t N>
void Copy(char (&field)[N], const char *text) {
    std::snprintf(field, N, "%s", text);
}

// Every copy of a job prints the same label, yet each further copy raises
// the hit counts of the label's code, which the fuzzer takes for new
// coverage: left alone it keeps such jobs and spends nearly all its time
// printing copy 40 or 700 of a label it has seen.  So a count the library
// would print (its own number reading, up to the limit) is cut to 3 in the
// text before the job runs; counts over the limit, zero and words are
// left as they are, so the refusal and the loop's ends stay covered.
void CapCopies(std::string &text) {
    const zal::platform::posix::IniDocument doc{text};
    std::string_view value;
    if (!doc.FindValue("Begin", "NumberOfCopies", value)) return;
    if (value.data() < doc.text().data() || value.data() + value.size() > doc.text().data() + doc.text().size()) return;
    const std::size_t start = static_cast<std::size_t>(value.data() - doc.text().data());
    std::size_t at = 0;
    value = value.substr(0, 63);  // the library reads at most 63 bytes
    while (at < value.size() && static_cast<unsigned char>(value[at]) <= ' ') ++at;
    if (at < value.size() && value[at] == '-') return;
    if (at < value.size() && value[at] == '+') ++at;
    int base = 10;
    if (at + 1 < value.size() && value[at] == '0' &&
        (value[at + 1] == 'x' || value[at + 1] == 'o' || value[at + 1] == 'b')) {
        base = value[at + 1] == 'x' ? 16 : value[at + 1] == 'o' ? 8 : 2;
        at += 2;
    }
    long long count = 0;
    for (; at < value.size(); ++at) {
        const char c = value[at];
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'z' ? c - 'a' + 10
                          : c >= 'A' && c <= 'Z' ? c - 'A' + 10
                                                 : 99;
        if (digit >= base) break;
        count = count * base + digit;
        if (count > 1000) return;
    }
    if (count > 3) text.replace(start, at, "3");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    g_host = new Host;
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/zal-fuzz-job.XXXXXX";
    if (::mkdtemp(&pattern[0]) == nullptr) std::abort();
    Host &h = *g_host;
    h.folder = pattern;
    h.jobFile = h.folder + "/job.ini";
    h.profileFile = h.folder + "/profile.ini";
    h.settingsFile = h.folder + "/settings.ini";
    const std::string profile = "[PeripheralSetup]\r\nDEV=DISCARD,Label,,,\r\n";
    WriteText(h.profileFile, profile.data(), profile.size());
    const std::string settings = "[Setup]\r\nFileLocation=" + h.folder + "/\r\n";
    WriteText(h.settingsFile, settings.data(), settings.size());
    // The library's per-user files and prompts stay in the folder.
    ::mkdir((h.folder + "/home").c_str(), 0700);
    ::setenv("ZAL2443_HOME", (h.folder + "/home").c_str(), 1);
    ::setenv("ZAL2443_PROMPT", "cancel", 1);
    std::atexit(RemoveFolder);

    ZALStartup();
    _LibraryInfoA info{};
    ZALGetLibraryInfoASizes(&info);
    h.media.resize(info.MediaTypesSize / sizeof(MediaType) + 1);
    std::vector<LabelDeviceDescription> devices(info.DevicesSize / sizeof(LabelDeviceDescription) + 1);
    std::vector<PrintOrientationDefinition> orientations(info.OrientationsSize / sizeof(PrintOrientationDefinition) +
                                                         1);
    info.MediaTypes = h.media.data();
    info.Devices = devices.data();
    info.Orientations = orientations.data();
    ZALGetLibraryInfoA(&info);
    h.media.resize(info.MediaTypeCount);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    Host &h = *g_host;
    const Carrier &carrier = kCarriers[data[0] & 31];
    std::string text = std::string("[Begin]\r\nCarrier=") + carrier.value + "\r\n";
    text.append(reinterpret_cast<const char *>(data) + 1, size - 1);
    CapCopies(text);
    WriteText(h.jobFile, text.data(), text.size());

    _PortInfoA port;
    std::memset(&port, 0, sizeof port);
    Copy(port.PortName, "DISCARD");
    port.PortType = 64;  // the discard port: the stream is made and dropped
    _JobProfileEntryA entry;
    std::memset(&entry, 0, sizeof entry);
    entry.PortInfo = &port;
    entry.DeviceId = (data[0] & 0x80) != 0 ? 2 : 1;
    Copy(entry.DeviceDescription,
         carrier.device[0] != '\0' ? carrier.device : "Label - Eltron Standard ( EPL II; 203 dpi )");
    Copy(entry.OptionKeyPrefix, "DEV");
    const uint16_t mediaId = kMediaIds[(data[0] >> 5) & 3];
    for (const MediaType &m : h.media) {
        if (m.Id == mediaId) entry.Media = m;
    }
    entry.Orientation.Id = 1;
    Copy(entry.Orientation.Name, "Portrait");
    _PeripheralInfoA peripheral;
    std::memset(&peripheral, 0, sizeof peripheral);
    Copy(peripheral.DeviceName, entry.DeviceDescription);

    char resultName[260];
    Copy(resultName, h.jobFile.c_str());
    _JobInfoA job;
    std::memset(&job, 0, sizeof job);
    job.JobTag = "FUZZ";
    job.JobFile = h.jobFile.c_str();
    job.ResultFileName = resultName;
    job.ResultFileNameSize = sizeof resultName;
    job.ProfileFile = h.profileFile.c_str();
    job.SettingsFile = h.settingsFile.c_str();
    job.ArchiveFolder = h.folder.c_str();
    job.ProfileEntry = &entry;

    const int32_t rc = ZALProcessJobA(&job, &peripheral);
    if (rc != 0 && rc != 1) std::abort();  // an exception escaped the job
    struct stat st;
    if (::stat(h.jobFile.c_str(), &st) == 0) std::abort();  // the job file is deleted
    return 0;
}
