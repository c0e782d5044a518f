// zalprint print: jobs through ZALProcessJobA, as a shipping application
// prints them, with the detailed result of each job.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "Host.h"
#include "zal2443/zal2443.h"

namespace zalprint {
namespace {

struct PrintOptions {
    std::vector<const std::string *> jobs;  // the arguments themselves: a long batch is not copied
    std::string profile;
    std::string device;
    std::string settings;
    int deviceId = 1;
    std::string deviceDescription;
    int mediaId = 1230;
    bool customMedia = false;
    float mediaWidth = 0, mediaLength = 0;
    bool docutab = false;
    int orientationId = 1;
    std::string out;
    bool resultFiles = false;
    std::string logFolder;
    unsigned logFlags = 0x4;
    std::string preview;
};

int Usage(const std::string &message) {
    std::fprintf(stderr, "zalprint: %s (try zalprint --help)\n", message.c_str());
    return kExitUsage;
}

bool ParseNumber(const std::string &text, long &value) {
    char *end = nullptr;
    value = std::strtol(text.c_str(), &end, 0);
    return !text.empty() && end != nullptr && *end == '\0';
}

// The library's log files, where it writes them.
const char *const kLogFiles[] = {"zal2443.log", "zal2443.err"};

// The library drops a line it cannot write without a word: say once that
// the run goes on without its logs.
void WarnUnwritableLog(const std::string &folder) {
    std::string base = folder;
    if (base.back() != '/' && base.back() != PathSeparator()) base += PathSeparator();
    for (const char *name : kLogFiles) {
        std::string reason = CheckAppend(base + name);
        if (!reason.empty()) {
            std::fprintf(stderr, "zalprint: warning: cannot write %s%s (%s): the jobs are printed without logs\n",
                         base.c_str(), name, reason.c_str());
            return;
        }
    }
}

int ParseArgs(const Args &args, PrintOptions &o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        auto value = [&](std::string &into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        std::string v;
        long n = 0;
        if (a == "--profile") {
            if (!value(o.profile)) return Usage("--profile needs a file");
        } else if (a == "--device") {
            if (!value(o.device)) return Usage("--device needs the device's key");
        } else if (a == "--settings") {
            if (!value(o.settings)) return Usage("--settings needs a file");
        } else if (a == "--device-id") {
            if (!value(v) || !ParseNumber(v, n) || n < 0 || n > 65535) return Usage("--device-id needs a number");
            o.deviceId = static_cast<int>(n);
        } else if (a == "--device-desc") {
            if (!value(o.deviceDescription)) return Usage("--device-desc needs a text");
        } else if (a == "--media") {
            if (!value(v) || !ParseNumber(v, n) || n < 0 || n > 65535) return Usage("--media needs a media id");
            o.mediaId = static_cast<int>(n);
        } else if (a == "--media-size") {
            int docutab = 0;
            if (!value(v) || std::sscanf(v.c_str(), "%f,%f,%d", &o.mediaWidth, &o.mediaLength, &docutab) < 2 ||
                o.mediaWidth <= 0 || o.mediaLength <= 0) {
                return Usage("--media-size needs WIDTH,LENGTH[,DOCUTAB] in inches");
            }
            o.customMedia = true;
            o.docutab = docutab != 0;
        } else if (a == "--orientation") {
            if (!value(v) || !ParseNumber(v, n) || n < 0 || n > 65535) return Usage("--orientation needs an id");
            o.orientationId = static_cast<int>(n);
        } else if (a == "--out") {
            if (!value(o.out)) return Usage("--out needs a file");
        } else if (a == "--result-files") {
            o.resultFiles = true;
        } else if (a == "--log") {
            if (!value(o.logFolder)) return Usage("--log needs a folder");
        } else if (a == "--log-flags") {
            if (!value(v) || !ParseNumber(v, n)) return Usage("--log-flags needs a number");
            o.logFlags = static_cast<unsigned>(n);
        } else if (a == "--preview") {
            if (!value(o.preview)) return Usage("--preview needs a PNG file name");
        } else if (a.size() > 1 && a[0] == '-') {
            return Usage("unknown option " + a);
        } else {
            o.jobs.push_back(&a);
        }
    }
    if (o.jobs.empty()) return Usage("no job file given");
    if (!o.profile.empty()) o.profile = FullPath(o.profile);
    if (!o.settings.empty()) o.settings = FullPath(o.settings);
    if (!o.logFolder.empty()) {
        o.logFolder = FullPath(o.logFolder);
        if (!MakeFolder(o.logFolder)) {
            std::fprintf(stderr, "zalprint: cannot create the log folder %s\n", o.logFolder.c_str());
            return kExitUsage;
        }
        WarnUnwritableLog(o.logFolder);
    }
    if (o.profile.empty()) return Usage("--profile is required");
    if (o.device.empty()) return Usage("--device is required");
    if (o.device.size() + 7 > 31) return Usage("the device key is too long (at most 24 characters)");
    for (const std::string *file : {&o.profile, &o.settings}) {
        if (!file->empty() && !FileExists(*file)) {
            std::fprintf(stderr, "zalprint: file not found: %s\n", file->c_str());
            return kExitUsage;
        }
    }
    for (const std::string *job : o.jobs) {
        if (!FileExists(*job)) {
            std::fprintf(stderr, "zalprint: job file not found: %s\n", job->c_str());
            return kExitUsage;
        }
    }
    return kExitOk;
}

template <std::size_t N>
void Copy(char (&field)[N], const std::string &text) {
    std::snprintf(field, N, "%s", text.c_str());
}

// The library's own tables, asked through the exports.
struct Tables {
    std::vector<LabelDeviceDescription> devices;
    std::vector<MediaType> media;
    std::vector<PrintOrientationDefinition> orientations;
};

Tables ReadTables() {
    Tables t;
    _LibraryInfoA info{};
    ZALGetLibraryInfoASizes(&info);
    t.devices.resize(info.DevicesSize / sizeof(LabelDeviceDescription) + 1);
    t.media.resize(info.MediaTypesSize / sizeof(MediaType) + 1);
    t.orientations.resize(info.OrientationsSize / sizeof(PrintOrientationDefinition) + 1);
    info.Devices = t.devices.data();
    info.MediaTypes = t.media.data();
    info.Orientations = t.orientations.data();
    ZALGetLibraryInfoA(&info);
    t.devices.resize(info.DeviceCount);
    t.media.resize(info.MediaTypeCount);
    t.orientations.resize(info.OrientationCount);
    return t;
}

// The settings file handed to the library.  With --out, a private copy whose
// first [Setup] section sends the device's "FILE" port output to our folder
// (the first block of a section is the one read), followed by the user's
// settings unchanged.
std::string PrepareSettings(const PrintOptions &o, const std::string &temp, bool capture) {
    std::string path = temp + "settings.ini";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (capture) out << "[Setup]\r\nFileLocation=" << temp << "\r\n";
    if (!o.settings.empty()) {
        std::ifstream in(o.settings, std::ios::binary);
        out << "\r\n" << in.rdbuf();
    }
    return path;
}

struct ResultChannel {
    std::string path;
    std::ifstream in;
    std::string line;  // read, not yet taken
    // The line the library appended for the job file: code and name.  A
    // job that ended before the library wrote its line has none, and the
    // next line is left for the job it belongs to.
    bool Next(const std::string &jobFile, long &code, std::string &name) {
        if (line.empty()) {
            if (!in.is_open()) in.open(path, std::ios::binary);
            in.clear();
            if (!std::getline(in, line)) return false;
            if (!line.empty() && line.back() == '\r') line.pop_back();
        }
        std::size_t tab = line.find('\t');
        std::size_t tab2 = tab == std::string::npos ? tab : line.find('\t', tab + 1);
        if (tab2 == std::string::npos || line.compare(tab2 + 1, std::string::npos, jobFile) != 0) return false;
        code = std::strtol(line.c_str(), nullptr, 10);
        name = line.substr(tab + 1, tab2 - tab - 1);
        line.clear();
        return true;
    }
};

// The port record a host gives for the port its device's setup line names
// ("LPT1:", "COM1", "USB Zebra 2844 - 12345", "FILE", "/dev/usb/lp0", ...).
bool DescribePort(const PrintOptions &o, _PortInfoA &port) {
    std::string line = ReadProfileString(o.profile, "PeripheralSetup", o.device);
    std::string name = line.substr(0, line.find(','));
    if (name.empty()) return false;
    Copy(port.PortName, name);
    Copy(port.DevicePath, name);
    auto startsNoCase = [&](const char *prefix) {
        std::size_t n = std::strlen(prefix);
        if (name.size() < n) return false;
        for (std::size_t i = 0; i < n; ++i) {
            if (std::toupper(static_cast<unsigned char>(name[i])) != prefix[i]) return false;
        }
        return true;
    };
    if (startsNoCase("USB ")) {
        port.Flags = 0x8;  // reached through the USB support library
    } else if (name != "FILE") {
        port.Flags = 0x1;  // opened by its name
        if (startsNoCase("LPT") && name.size() >= 4 && name[3] >= '1' && name[3] <= '3') {
            port.PortNumber = static_cast<uint32_t>(name[3] - '0');  // its status is checked
        }
    }
    return true;
}

// A job with a result file: it is named .OK after these results (printed,
// not to be printed, printed as the generic label), .ERR after any other.
bool NamedOk(long code) { return code == 0 || code == -1214 || code == -401; }

// The job file's name with the result file's extension in place of its own.
std::string ResultFileOf(const std::string &jobFile, long code) {
    std::string base = jobFile;
    std::size_t dot = base.rfind('.');
    std::size_t separator = base.find_last_of("/\\");
    if (dot != std::string::npos && (separator == std::string::npos || dot > separator)) base.resize(dot);
    return base + (NamedOk(code) ? ".OK" : ".ERR");
}

// The bytes of a regular file ("" for anything else, which may not end).
std::string ReadStream(const std::string &path) {
    std::string stream;
    if (!FileExists(path)) return stream;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    if (size > 0) {
        stream.resize(static_cast<std::size_t>(size));
        in.seekg(0);
        in.read(&stream[0], static_cast<std::streamsize>(stream.size()));
        stream.resize(static_cast<std::size_t>(in.gcount()));
    }
    return stream;
}

}  // namespace

int RunPrint(const Args &args) {
    PrintOptions o;
    if (int rc = ParseArgs(args, o)) return rc;
    // The --out file is this run's before anything is printed: a second run
    // naming it stops here.
    CaptureFile out;
    if (!o.out.empty()) {
        std::string error;
        if (!out.Open(FullPath(o.out), error)) {
            std::fprintf(stderr, "zalprint: cannot write the labels to %s: %s; nothing was printed\n", o.out.c_str(),
                         error.c_str());
            return kExitFailed;
        }
    }
    std::string temp = MakeTempFolder();
    if (temp.empty()) {
        std::fprintf(stderr, "zalprint: cannot create a temporary folder\n");
        return kExitFailed;
    }
    RemoveOnInterrupt(temp);
    ResultChannel channel;
    channel.path = temp + "results.txt";
    { std::ofstream touch(channel.path, std::ios::binary | std::ios::trunc); }
    SetEnvironment("ZAL2443_RESULT_LOG", channel.path);
    // The library's files are closed at its shut-down and ours before the
    // folder goes: Windows removes no open file.
    auto finish = [&] {
        ZALShutdown();
        if (channel.in.is_open()) channel.in.close();
        RemoveTree(temp);
    };

    ZALStartup();
    if (!o.logFolder.empty()) {
        _LoggingConfigA log{};
        Copy(log.LogFolder, o.logFolder);
        Copy(log.DebugLogName, kLogFiles[0]);
        Copy(log.ErrorLogName, kLogFiles[1]);
        Copy(log.ModuleName, "zalprint");
        log.Flags = o.logFlags;
        ZALSetDebugA(log);
    }
    Tables tables = ReadTables();

    auto entry = std::make_unique<_JobProfileEntryA>();
    std::memset(entry.get(), 0, sizeof *entry);
    auto port = std::make_unique<_PortInfoA>();
    std::memset(port.get(), 0, sizeof *port);
    auto peripheral = std::make_unique<_PeripheralInfoA>();
    std::memset(peripheral.get(), 0, sizeof *peripheral);

    entry->DeviceId = static_cast<uint16_t>(o.deviceId);
    std::string description = o.deviceDescription;
    for (const LabelDeviceDescription &d : tables.devices) {
        if (description.empty() && d.Id == o.deviceId) description = d.Description;
    }
    Copy(entry->DeviceDescription, description);
    Copy(peripheral->DeviceName, description);
    Copy(entry->OptionKeyPrefix, o.device);
    if (o.customMedia) {
        MediaType &m = entry->Media;
        m.Id = 1;
        m.Kind = 2;
        std::snprintf(m.Name, sizeof m.Name, "Label %gx%g\"%s", o.mediaWidth, o.mediaLength, o.docutab ? " Docutab" : "");
        m.Width = o.mediaWidth;
        m.Length = o.mediaLength;
        m.Docutab = o.docutab ? 1 : 0;
        m.DocutabLength = 0.75f;
    } else if (o.mediaId != 0) {
        bool found = false;
        for (const MediaType &m : tables.media) {
            if (m.Id == o.mediaId) {
                entry->Media = m;
                found = true;
            }
        }
        if (!found) {
            finish();
            return Usage("unknown media id " + std::to_string(o.mediaId));
        }
    }
    if (o.orientationId != 0) {
        bool found = false;
        for (const PrintOrientationDefinition &r : tables.orientations) {
            if (r.Id == o.orientationId) {
                entry->Orientation = r;
                found = true;
            }
        }
        if (!found) {
            finish();
            return Usage("unknown orientation id " + std::to_string(o.orientationId));
        }
    }
    // A preview without --out catches the stream instead of printing it.
    const bool capture = !o.out.empty() || !o.preview.empty();
    if (capture) {
        // The device's "FILE" port, whatever port its setup line names.
        Copy(port->PortName, "FILE");
        entry->PortInfo = port.get();
    } else if (DescribePort(o, *port)) {
        entry->PortInfo = port.get();
    }
    std::string settings = PrepareSettings(o, temp, capture);
    // The labels of --out stream into the file as they are printed; the
    // capture is ours, so it does without the port's write-through.
    std::string produced = temp + o.device + ".out";
    bool streamed = false;
    if (capture) {
        SetEnvironment("ZAL2443_FILE_WRITE_THROUGH", "0");
        // ZALPRINT_COPY_OUT=1 appends them at the end, as where no link can
        // be made (a check of that path).
        const char *copy = std::getenv("ZALPRINT_COPY_OUT");
        if (!o.out.empty() && !(copy != nullptr && std::strcmp(copy, "1") == 0)) streamed = out.LeadInto(produced);
    }
    // The result lines: at once on a terminal; otherwise gathered and
    // printed in blocks, reading the library's results a block at a time.
    const std::size_t block = StdoutIsTerminal() ? 1 : 256;
    struct Pending {
        int32_t rc;
        std::string jobFile;     // the file the library was given
        std::string resultName;  // what the library left in the result name buffer
        std::string folder;      // the folder of the job as it was named
    };
    std::vector<Pending> pending;
    int exitCode = kExitOk;
    auto printPending = [&] {
        for (const Pending &job : pending) {
            long code = job.rc;
            std::string name = "-";
            if (!channel.Next(job.jobFile, code, name)) {
                code = job.rc;
                name = "UNDOCUMENTED";
            }
            if (!o.resultFiles) {
                std::printf("result=%ld %s file=-\n", code, name.c_str());
                continue;
            }
            // The buffer names the result file once it exists; a job file
            // that could not be renamed is named as what it still is.
            std::string shown = job.folder + BaseNameOf(job.resultName);
            std::printf("result=%ld %s file=%s\n", code, name.c_str(), shown.c_str());
            const std::string target = ResultFileOf(job.jobFile, code);
            if (SamePath(job.resultName, job.jobFile) && !SamePath(job.jobFile, target)) {
                std::fflush(stdout);
                std::fprintf(stderr, "zalprint: %s was not renamed to %s: %s\n", shown.c_str(),
                             (job.folder + BaseNameOf(target)).c_str(), WhyNotRenamed(job.jobFile, target).c_str());
                exitCode = kExitFailed;
            }
        }
        pending.clear();
        std::fflush(stdout);
    };

    for (std::size_t i = 0; i < o.jobs.size(); ++i) {
        const std::string &given = *o.jobs[i];
        const std::string original = FullPath(given);
        std::string jobFile = original;
        if (!o.resultFiles) {
            // The library renames or deletes the file it is given: hand it a
            // second name (or a copy), so the user's file stays.
            std::string copy = temp + "job" + std::to_string(i) + "_" + BaseNameOf(jobFile);
            if (!LinkFile(jobFile, copy) && !CopyFileBytes(jobFile, copy)) {
                std::fprintf(stderr, "zalprint: cannot copy %s\n", jobFile.c_str());
                exitCode = kExitFailed;
                continue;
            }
            jobFile = copy;
        }
        std::vector<char> resultName(1024, '\0');
        std::snprintf(resultName.data(), resultName.size(), "%s", jobFile.c_str());
        std::string base = BaseNameOf(given);
        std::string tag = base.substr(0, base.find('.'));
        std::string archiveFolder = FolderOf(original);

        _JobInfoA job{};
        job.JobTag = tag.c_str();
        job.JobFile = jobFile.c_str();
        job.ResultFileName = resultName.data();
        job.ResultFileNameSize = static_cast<uint32_t>(resultName.size());
        job.ProfileFile = o.profile.c_str();
        job.SettingsFile = settings.c_str();
        job.ArchiveFolder = archiveFolder.c_str();
        job.ResultFileFlag = o.resultFiles ? 1 : 0;
        job.ProfileEntry = entry.get();

        int32_t rc = ZALProcessJobA(&job, peripheral.get());
        pending.push_back({rc, jobFile, resultName.data(), FolderOf(given)});
        if (pending.size() >= block) printPending();
        if (rc != 0) exitCode = kExitFailed;
    }
    printPending();

    if (!o.out.empty()) {
        // Where the labels could not stream into --out, they are appended
        // now; either way they must reach it.
        std::string error;
        bool kept = streamed || !FileExists(produced) || out.Append(produced, error);
        if (kept) kept = out.Flush(error);
        if (!kept) {
            std::fprintf(stderr, "zalprint: the labels could not be written to %s: %s\n", o.out.c_str(),
                         error.c_str());
            exitCode = kExitFailed;
        }
    }
    if (!o.preview.empty()) {
        std::string stream = ReadStream(o.out.empty() ? produced : FullPath(o.out));
        float width = o.customMedia ? o.mediaWidth : 4.0f, length = o.customMedia ? o.mediaLength : 6.0f;
        if (!o.customMedia) {
            for (const MediaType &m : tables.media) {
                if (m.Id == o.mediaId && m.Id != 0) {
                    width = m.Width;
                    length = m.Length;
                }
            }
        }
        int rc = RenderPreview(stream, o.preview, width, length, false, "");
        if (rc != kExitOk && exitCode == kExitOk) exitCode = rc;
    }
    finish();
    std::fflush(stdout);
    return exitCode;
}

}  // namespace zalprint
