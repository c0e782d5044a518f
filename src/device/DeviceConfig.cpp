// The device and port fields of a job: from the job record, the host's
// profile entry and port record, the settings file, the job file and the
// device's setup line in the profile file.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/Format.h"
#include "common/JobFile.h"
#include "common/Strings.h"
#include "device/DeviceOutput.h"
#include "platform/Platform.h"

namespace zal {
namespace {

constexpr uint32_t kProfileBuffer = 1024;
constexpr uint32_t kFolderBuffer = 200;
constexpr std::size_t kOutputFileLimit = 256;  // the joined name holds 255 characters

constexpr uint32_t kFlagOpenByName = 0x1;
constexpr uint32_t kFlagNotUsb = 0x4;
constexpr uint32_t kFlagUsb = 0x8;

// Copies a fixed host field that need not be terminated, cut to the target.
template <std::size_t N, std::size_t M>
void CopyField(char (&out)[N], const char (&source)[M]) {
    std::size_t n = std::min(TextLength(source, M), N - 1);
    std::memcpy(out, source, n);
    out[n] = '\0';
}

template <std::size_t M>
bool FieldEmpty(const char (&source)[M]) {
    return source[0] == '\0';
}

// An INI value; a file the job record does not name gives the default
// (a null file name would make the system read win.ini instead).
std::string ReadProfileText(const char *file, const char *section, const char *key, const char *defaultValue,
                            uint32_t size) {
    if (file == nullptr) return defaultValue;
    std::vector<char> buffer(size, '\0');
    platform::GetPrivateProfileString(section, key, defaultValue, buffer.data(), size, file);
    return std::string(buffer.data());
}

// atoi without its undefined overflow: out-of-range values stop at the
// int32 limits.
int32_t ToInt(const std::string &text) {
    long value = std::strtol(text.c_str(), nullptr, 10);
    return static_cast<int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
}

// Values below 180 are seconds, from 1000 on milliseconds; the range between
// falls back to 10 seconds.  A negative value counts as 0.
uint32_t BusyTimeoutMilliseconds(int32_t value) {
    if (value < 0) value = 0;
    if (value < 180) return static_cast<uint32_t>(value) * 1000u;
    if (value < 1000) return 10000u;
    return static_cast<uint32_t>(value);
}

uint32_t ReadBusyTimeout(const _JobInfoA &job) {
    // A negative job value is "not set", like 0.
    int32_t value = job.BusyTimeout > 0 ? job.BusyTimeout : 0;
    if (value == 0) {
        // The key sits under a section with an empty name: only a "[]" header supplies it.
        value = ToInt(ReadProfileText(job.SettingsFile, "", "BusyTimeout", "10", kProfileBuffer));
    }
    return BusyTimeoutMilliseconds(value);
}

// Fields of the setup line; consecutive commas are one separator, so empty
// fields do not count.
std::vector<std::string> SplitSetupLine(const std::string &line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (start < line.size()) {
        std::size_t end = line.find(',', start);
        if (end == std::string::npos) end = line.size();
        if (end > start) fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

bool StartsWithNoCase(const std::string &text, const char *prefix) {
    std::size_t n = std::strlen(prefix);
    if (text.size() < n) return false;
    return EqualsNoCase(text.substr(0, n).c_str(), prefix);
}

uint32_t PortKindOfField(const std::string &port, bool isUsb) {
    // clang-format off
    static const struct { const char *prefix; uint32_t kind; } kParallel[] = {
        {"lpt1", 1}, {"lpt2", 2}, {"lpt3", 3},
    };
    // clang-format on
    for (const auto &p : kParallel) {
        if (StartsWithNoCase(port, p.prefix)) return p.kind;
    }
    return isUsb && StartsWithNoCase(port, "usb") ? 4u : 0u;
}

bool NamesUsbModel(const std::string &line) {
    static const char *const kModels[] = {"Standard", "Zebra 2844", "Zebra 105S"};
    for (const char *model : kModels) {
        if (line.find(model) != std::string::npos) return true;
    }
    return false;
}

void TakeProfileUsbIds(const _JobProfileEntryA &entry, JobContext &context) {
    if (context.UsbVendorId == 0) context.UsbVendorId = entry.UsbVendorId;
    if (context.UsbProductId == 0) context.UsbProductId = entry.UsbProductId;
}

void ConfigureFromPortRecord(const _JobProfileEntryA &entry, const _PortInfoA &port, JobContext &context) {
    context.PortKind = port.PortNumber;
    context.PortNumber = port.PortNumber;
    context.PortType = port.PortType;
    if (!FieldEmpty(port.PortName)) CopyField(context.PortText, port.PortName);
    if (!FieldEmpty(port.PortText)) CopyField(context.PortRecordText, port.PortText);
    if ((port.Flags & kFlagUsb) != 0 && (port.Flags & kFlagNotUsb) == 0) {
        context.IsUsb = 1;
        context.UsbVendorId = port.UsbVendorId;
        context.UsbProductId = port.UsbProductId;
        TakeProfileUsbIds(entry, context);
        if (port.UseUsbDevicePath != 0) {
            CopyField(context.PortPath, port.UsbDevicePath);
        } else {
            CopyField(context.PortPath, port.DevicePath);
        }
        return;
    }
    context.IsUsb = 0;
    context.UsbVendorId = 0;
    context.UsbProductId = 0;
    if ((port.Flags & kFlagOpenByName) != 0) {
        CopyField(context.PortPath, port.PortName);
    } else {
        CopyField(context.PortPath, port.DevicePath);
    }
}

// Without a port record the setup line decides; the path to open stays empty.
void ConfigureFromSetupLine(const _JobProfileEntryA &entry, const std::string &line,
                            const std::vector<std::string> &fields, JobContext &context) {
    bool isUsb = !line.empty() && NamesUsbModel(line) && IsUsbPortName(line.c_str());
    context.IsUsb = isUsb ? 1 : 0;
    if (!fields.empty()) {
        if (context.PortText[0] == '\0') CopyText(context.PortText, fields[0].c_str());
        context.PortKind = PortKindOfField(fields[0], isUsb);
    }
    if (isUsb) TakeProfileUsbIds(entry, context);
}

void ConfigureOutputFile(const _JobInfoA &job, JobContext &context) {
    std::string folder = ReadProfileText(job.SettingsFile, "Setup", "FileLocation", "c:\\orvandex\\", kFolderBuffer);
    // The folder keeps its own trailing backslash: "c:\orvandex\\Label1.out".
    char joined[kOutputFileLimit] = "";
    for (const char *piece : {folder.c_str(), "\\", static_cast<const char *>(context.DeviceKey), ".out"}) {
        if (!AppendText(joined, piece)) break;  // cut at the limit
    }
    CopyText(context.OutputFile, joined);
}

}  // namespace

bool ConfigureDevice(const _JobInfoA *job, const JobFile &jobFile, JobContext *context) {
    if (job == nullptr || context == nullptr || job->ProfileEntry == nullptr) return false;
    const _JobProfileEntryA &entry = *job->ProfileEntry;

    context->Flag = 0;
    context->BusyTimeout = ReadBusyTimeout(*job);

    if (!FieldEmpty(entry.OptionKeyPrefix)) {
        CopyField(context->DeviceKey, entry.OptionKeyPrefix);
    } else {
        char key[kProfileBuffer] = "";
        jobFile.Raw("Device", "", key);
        CopyText(context->DeviceKey, key);
    }

    std::string line = ReadProfileText(job->ProfileFile, "PeripheralSetup", context->DeviceKey, "", kProfileBuffer);
    std::vector<std::string> fields = SplitSetupLine(line);

    context->DeviceId = entry.DeviceId;

    if (entry.PortInfo != nullptr) {
        ConfigureFromPortRecord(entry, *entry.PortInfo, *context);
    } else {
        ConfigureFromSetupLine(entry, line, fields, *context);
    }

    if (!FieldEmpty(entry.DeviceDescription)) {
        CopyField(context->DeviceDescription, entry.DeviceDescription);
    } else if (fields.size() > 1) {
        CopyText(context->DeviceDescription, fields[1].c_str());
    }

    // The third and fourth fields are not used; a fifth beginning with "NET"
    // marks a network port, which has no status to read.
    if (entry.PortInfo == nullptr && fields.size() > 4 && StartsWithNoCase(fields[4], "NET")) context->PortKind = 0;

    if (std::strcmp(context->PortText, "FILE") == 0) ConfigureOutputFile(*job, *context);

    // A print queue lists the label under the job file's name.
    if (const char *path = jobFile.Path()) {
        const char *base = path;
        for (const char *c = path; *c != '\0'; ++c) {
            if (*c == '/' || *c == '\\' || *c == ':') base = c + 1;
        }
        CopyText(context->JobName, base);
    }

    if (entry.Media.Id != 0) context->Media = entry.Media;
    if (entry.Orientation.Id != 0) context->Orientation = entry.Orientation;
    return true;
}

}  // namespace zal
