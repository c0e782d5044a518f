#include "DialogHost.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Host.h"

namespace zalprint {
namespace {

template <std::size_t N>
void Copy(char (&field)[N], const std::string &text) {
    std::snprintf(field, N, "%s", text.c_str());
}

bool StartsNoCase(const std::string &text, const char *prefix) {
    std::size_t n = std::strlen(prefix);
    if (text.size() < n) return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (std::toupper(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

// The port record a host gives for the port the setup line names, as
// zalprint print gives it: USB through the support library, FILE by the
// settings' folder, any other port opened by its name.
void DescribePort(const std::string &port, _PortInfoA &record) {
    Copy(record.PortName, port);
    Copy(record.DevicePath, port);
    if (StartsNoCase(port, "USB ")) {
        record.Flags = 0x8;
    } else if (port != "FILE") {
        record.Flags = 0x1;
        if (StartsNoCase(port, "LPT") && port.size() >= 4 && port[3] >= '1' && port[3] <= '3') {
            record.PortNumber = static_cast<uint32_t>(port[3] - '0');
        }
    }
}

std::string Field(const std::string &line, int n) {
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        start = line.find(',', start);
        if (start == std::string::npos) return std::string();
        ++start;
    }
    return line.substr(start, line.find(',', start) - start);
}

}  // namespace

int DialogUsage(const std::string &message) {
    std::fprintf(stderr, "zalprint: %s (try zalprint --help)\n", message.c_str());
    return kExitUsage;
}

int TakeDialogOption(const Args &args, std::size_t &i, DialogOptions &o) {
    const std::string &a = args[i];
    std::string *into = a == "--profile"       ? &o.profile
                        : a == "--device"      ? &o.device
                        : a == "--settings"    ? &o.settings
                        : a == "--device-desc" ? &o.deviceDescription
                        : a == "--log"         ? &o.logFolder
                                               : nullptr;
    std::string flags;
    if (a == "--log-flags") into = &flags;
    if (into == nullptr) return 0;
    if (i + 1 >= args.size()) return DialogUsage(a + " needs a value");
    *into = args[++i];
    if (into == &flags) {
        char *end = nullptr;
        o.logFlags = static_cast<unsigned>(std::strtoul(flags.c_str(), &end, 0));
        if (flags.empty() || *end != '\0') return DialogUsage("--log-flags needs a number");
    }
    return 1;
}

int CheckDialogOptions(DialogOptions &o) {
    if (o.profile.empty()) return DialogUsage("--profile is required");
    if (o.device.empty()) return DialogUsage("--device is required");
    if (o.device.size() + 7 > 31) return DialogUsage("the device key is too long (at most 24 characters)");
    o.profile = FullPath(o.profile);
    if (!o.settings.empty()) o.settings = FullPath(o.settings);
    for (const std::string *file : {&o.profile, &o.settings}) {
        if (!file->empty() && !FileExists(*file)) {
            std::fprintf(stderr, "zalprint: file not found: %s\n", file->c_str());
            return kExitUsage;
        }
    }
    if (!o.logFolder.empty()) {
        o.logFolder = FullPath(o.logFolder);
        if (!MakeFolder(o.logFolder)) {
            std::fprintf(stderr, "zalprint: cannot create the log folder %s\n", o.logFolder.c_str());
            return kExitUsage;
        }
    }
    return kExitOk;
}

bool TerminalAtHand() {
    int fd = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

DialogHost::DialogHost(const DialogOptions &o)
    : _entry(std::make_unique<_JobProfileEntryA>()),
      _port(std::make_unique<_PortInfoA>()),
      _peripheral(std::make_unique<_PeripheralInfoA>()) {
    std::memset(_entry.get(), 0, sizeof *_entry);
    std::memset(_port.get(), 0, sizeof *_port);
    std::memset(_peripheral.get(), 0, sizeof *_peripheral);
    ZALStartup();
    if (!o.logFolder.empty()) {
        _LoggingConfigA log{};
        Copy(log.LogFolder, o.logFolder);
        Copy(log.DebugLogName, "zal2443.log");
        Copy(log.ErrorLogName, "zal2443.err");
        Copy(log.ModuleName, "zalprint");
        log.Flags = o.logFlags;
        ZALSetDebugA(log);
    }
    // The device as the profile's setup line describes it: its port and
    // description (KEY=port,description,,,).
    std::string line = ReadProfileString(o.profile, "PeripheralSetup", o.device);
    std::string description = o.deviceDescription.empty() ? Field(line, 1) : o.deviceDescription;
    _entry->DeviceId = 1;
    Copy(_entry->DeviceDescription, description);
    Copy(_peripheral->DeviceName, description);
    Copy(_entry->OptionKeyPrefix, o.device);
    std::string port = Field(line, 0);
    if (!port.empty()) {
        DescribePort(port, *_port);
        _entry->PortInfo = _port.get();
    }
    _job.JobTag = _tag.c_str();
    _job.ProfileFile = o.profile.c_str();
    _job.SettingsFile = o.settings.empty() ? nullptr : o.settings.c_str();
    _job.ProfileEntry = _entry.get();
}

DialogHost::~DialogHost() { ZALShutdown(); }

}  // namespace zalprint
