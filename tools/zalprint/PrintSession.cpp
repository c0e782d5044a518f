// The library session shared by print and watch.
#include "PrintSession.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Host.h"

namespace zalprint {
namespace {

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

template <std::size_t N>
void Copy(char (&field)[N], const std::string &text) {
    std::snprintf(field, N, "%s", text.c_str());
}

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

// The settings file handed to the library.  With a capture, a private copy
// whose first [Setup] section sends the device's "FILE" port output to the
// work folder (the first block of a section is the one read), followed by
// the user's settings unchanged.
std::string PrepareSettings(const PrintOptions &o, const std::string &work, bool capture) {
    std::string path = work + "settings.ini";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (capture) out << "[Setup]\r\nFileLocation=" << work << "\r\n";
    if (!o.settings.empty()) {
        std::ifstream in(o.settings, std::ios::binary);
        out << "\r\n" << in.rdbuf();
    }
    return path;
}

// The port record a host gives for the port its device's setup line names
// ("LPT1:", "COM1", "USB Zebra 2844 - 12345", "FILE", "CUPS labels",
// "/dev/usb/lp0", ...).
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

// A long watch would let the results file grow without end: once this much
// has been read and taken, it starts again empty (the library appends).
constexpr std::streamoff kResultsRestart = 1 << 20;

}  // namespace

int Usage(const std::string &message) {
    std::fprintf(stderr, "zalprint: %s (try zalprint --help)\n", message.c_str());
    return kExitUsage;
}

bool TakeSessionOption(const Args &args, std::size_t &i, PrintOptions &o, int &rc) {
    const std::string &a = args[i];
    auto value = [&](std::string &into) {
        if (i + 1 >= args.size()) return false;
        into = args[++i];
        return true;
    };
    auto fail = [&](const std::string &message) {
        rc = Usage(message);
        return true;
    };
    std::string v;
    long n = 0;
    rc = kExitOk;
    if (a == "--profile") {
        if (!value(o.profile)) return fail("--profile needs a file");
    } else if (a == "--device") {
        if (!value(o.device)) return fail("--device needs the device's key");
    } else if (a == "--settings") {
        if (!value(o.settings)) return fail("--settings needs a file");
    } else if (a == "--device-id") {
        if (!value(v) || !ParseNumber(v, n) || n < 0 || n > 65535) return fail("--device-id needs a number");
        o.deviceId = static_cast<int>(n);
    } else if (a == "--device-desc") {
        if (!value(o.deviceDescription)) return fail("--device-desc needs a text");
    } else if (a == "--media") {
        if (!value(v) || !ParseNumber(v, n) || n < 0 || n > 65535) return fail("--media needs a media id");
        o.mediaId = static_cast<int>(n);
    } else if (a == "--media-size") {
        int docutab = 0;
        if (!value(v) || std::sscanf(v.c_str(), "%f,%f,%d", &o.mediaWidth, &o.mediaLength, &docutab) < 2 ||
            o.mediaWidth <= 0 || o.mediaLength <= 0) {
            return fail("--media-size needs WIDTH,LENGTH[,DOCUTAB] in inches");
        }
        o.customMedia = true;
        o.docutab = docutab != 0;
    } else if (a == "--orientation") {
        if (!value(v) || !ParseNumber(v, n) || n < 0 || n > 65535) return fail("--orientation needs an id");
        o.orientationId = static_cast<int>(n);
    } else if (a == "--log") {
        if (!value(o.logFolder)) return fail("--log needs a folder");
    } else if (a == "--log-flags") {
        if (!value(v) || !ParseNumber(v, n)) return fail("--log-flags needs a number");
        o.logFlags = static_cast<unsigned>(n);
    } else {
        return false;
    }
    return true;
}

int CheckSessionOptions(PrintOptions &o) {
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
    return kExitOk;
}

bool NamedOk(long code) { return code == 0 || code == -1214 || code == -401; }

std::string ResultFileOf(const std::string &jobFile, long code) {
    std::string base = jobFile;
    std::size_t dot = base.rfind('.');
    std::size_t separator = base.find_last_of("/\\");
    if (dot != std::string::npos && (separator == std::string::npos || dot > separator)) base.resize(dot);
    return base + (NamedOk(code) ? ".OK" : ".ERR");
}

PrintSession::~PrintSession() { Shutdown(); }

int PrintSession::Start(const PrintOptions &o, const std::string &work, bool capture) {
    Shutdown();
    _work = work;
    _device = o.device;
    _profile = o.profile;
    _resultsPath = work + "results.txt";
    { std::ofstream touch(_resultsPath, std::ios::binary | std::ios::trunc); }
    SetEnvironment("ZAL2443_RESULT_LOG", _resultsPath);

    ZALStartup();
    _started = true;
    if (!o.logFolder.empty()) {
        _LoggingConfigA log{};
        Copy(log.LogFolder, o.logFolder);
        Copy(log.DebugLogName, kLogFiles[0]);
        Copy(log.ErrorLogName, kLogFiles[1]);
        Copy(log.ModuleName, "zalprint");
        log.Flags = o.logFlags;
        ZALSetDebugA(log);
    }
    _tables = ReadTables();

    _entry = std::make_unique<_JobProfileEntryA>();
    std::memset(_entry.get(), 0, sizeof *_entry);
    _port = std::make_unique<_PortInfoA>();
    std::memset(_port.get(), 0, sizeof *_port);
    _peripheral = std::make_unique<_PeripheralInfoA>();
    std::memset(_peripheral.get(), 0, sizeof *_peripheral);

    _entry->DeviceId = static_cast<uint16_t>(o.deviceId);
    std::string description = o.deviceDescription;
    for (const LabelDeviceDescription &d : _tables.devices) {
        if (description.empty() && d.Id == o.deviceId) description = d.Description;
    }
    Copy(_entry->DeviceDescription, description);
    Copy(_peripheral->DeviceName, description);
    Copy(_entry->OptionKeyPrefix, o.device);
    if (o.customMedia) {
        MediaType &m = _entry->Media;
        m.Id = 1;
        m.Kind = 2;
        std::snprintf(m.Name, sizeof m.Name, "Label %gx%g\"%s", o.mediaWidth, o.mediaLength,
                      o.docutab ? " Docutab" : "");
        m.Width = o.mediaWidth;
        m.Length = o.mediaLength;
        m.Docutab = o.docutab ? 1 : 0;
        m.DocutabLength = 0.75f;
    } else if (o.mediaId != 0) {
        bool found = false;
        for (const MediaType &m : _tables.media) {
            if (m.Id == o.mediaId) {
                _entry->Media = m;
                found = true;
            }
        }
        if (!found) {
            Shutdown();
            return Usage("unknown media id " + std::to_string(o.mediaId));
        }
    }
    if (o.orientationId != 0) {
        bool found = false;
        for (const PrintOrientationDefinition &r : _tables.orientations) {
            if (r.Id == o.orientationId) {
                _entry->Orientation = r;
                found = true;
            }
        }
        if (!found) {
            Shutdown();
            return Usage("unknown orientation id " + std::to_string(o.orientationId));
        }
    }
    if (capture) {
        // The device's "FILE" port, whatever port its setup line names; the
        // capture is ours, so it does without the port's write-through.
        Copy(_port->PortName, "FILE");
        _entry->PortInfo = _port.get();
        SetEnvironment("ZAL2443_FILE_WRITE_THROUGH", "0");
    } else if (DescribePort(o, *_port)) {
        _entry->PortInfo = _port.get();
    }
    _settings = PrepareSettings(o, work, capture);
    return kExitOk;
}

int32_t PrintSession::Process(const std::string &jobFile, const std::string &tag, const std::string &archiveFolder,
                              bool resultFiles, std::string &resultName) {
    std::vector<char> buffer(1024, '\0');
    std::snprintf(buffer.data(), buffer.size(), "%s", jobFile.c_str());
    _JobInfoA job{};
    job.JobTag = tag.c_str();
    job.JobFile = jobFile.c_str();
    job.ResultFileName = buffer.data();
    job.ResultFileNameSize = static_cast<uint32_t>(buffer.size());
    job.ProfileFile = _profile.c_str();
    job.SettingsFile = _settings.c_str();
    job.ArchiveFolder = archiveFolder.c_str();
    job.ResultFileFlag = resultFiles ? 1 : 0;
    job.ProfileEntry = _entry.get();
    int32_t rc = ZALProcessJobA(&job, _peripheral.get());
    resultName = buffer.data();
    return rc;
}

bool PrintSession::Result(const std::string &jobFile, long &code, std::string &name) {
    if (_line.empty()) {
        if (!_results.is_open()) _results.open(_resultsPath, std::ios::binary);
        _results.clear();
        if (!std::getline(_results, _line)) return false;
        if (!_line.empty() && _line.back() == '\r') _line.pop_back();
    }
    std::size_t tab = _line.find('\t');
    std::size_t tab2 = tab == std::string::npos ? tab : _line.find('\t', tab + 1);
    if (tab2 == std::string::npos || _line.compare(tab2 + 1, std::string::npos, jobFile) != 0) return false;
    code = std::strtol(_line.c_str(), nullptr, 10);
    name = _line.substr(tab + 1, tab2 - tab - 1);
    _line.clear();
    std::streamoff taken = _results.tellg();
    if (taken >= kResultsRestart && _results.peek() == std::ifstream::traits_type::eof()) {
        _results.close();
        std::ofstream empty(_resultsPath, std::ios::binary | std::ios::trunc);
    }
    return true;
}

void PrintSession::Shutdown() {
    // The library's files are closed at its shut-down and ours before the
    // work folder goes: Windows removes no open file.
    if (_started) ZALShutdown();
    _started = false;
    if (_results.is_open()) _results.close();
    _line.clear();
}

}  // namespace zalprint
