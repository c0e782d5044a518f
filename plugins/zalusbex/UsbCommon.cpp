// The shared half of ZalUsbEx: device ids, matching, error record, log,
// and the two exports that do not touch the USB stack.
//
// Log.  SetUSBDebugA hands over the caller's logging record.  The library
// keeps it and appends its own lines to the debug log (folder + debug log
// name) in the record's line format: date, time, process id, the
// 10-character level label, indentation, message ("%s %s %5d ZALL  %s
// %*s%s").  Failures go to the error log in the plain format ("%s %s %5d
// ZALL  %s %s %s" with "ERROR !!  ") and, when any flag is set, to the
// debug log too.  A format whose conversions differ from these is not
// used; the default takes its place.
#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "UsbCommon.h"
#include "common/VersionSection.h"

ZAL_VERSION_SECTION("23.3.1.0", "ZalUsbEx", "Norwick Solutions Inc.", "USB printing support library",
                    "Copyright (C) Norwick Solutions Inc.")

namespace zalusb {
namespace {

constexpr const char *kDefaultLineFormat = "%s %s %5d ZALL  %s %*s%s";
constexpr const char *kDefaultPlainFormat = "%s %s %5d ZALL  %s %s %s";

struct LogState {
    bool configured = false;
    uint32_t flags = 0;
    std::string debugPath;
    std::string errorPath;
    std::string lineFormat = kDefaultLineFormat;
    std::string plainFormat = kDefaultPlainFormat;
    std::size_t lineSize = 2100;
};
LogState g_log;

// The conversions of a format, "%*s" written as '*', "%%" skipped.
std::string Conversions(const char *format) {
    std::string kinds;
    for (const char *p = format; *p != '\0'; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        bool star = false;
        while (*p != '\0' && std::strchr("-+ #0123456789.*", *p) != nullptr) star |= *p++ == '*';
        if (*p == '\0') return "?";
        kinds += star ? '*' : *p;
    }
    return kinds;
}

std::string FieldText(const char *field, std::size_t size) { return std::string(field, strnlen(field, size)); }

std::string PickFormat(const char *field, std::size_t size, const char *wanted, const char *fallback) {
    std::string format = FieldText(field, size);
    return !format.empty() && Conversions(format.c_str()) == wanted ? format : fallback;
}

void AppendLine(const std::string &path, const char *line) {
    if (path.empty()) return;
    if (std::FILE *f = std::fopen(path.c_str(), "a")) {
        std::fprintf(f, "%s\n", line);
        std::fclose(f);
    }
}

void Stamp(char date[16], char time[16]) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    std::strftime(date, 16, "%m/%d/%y", &local);
    std::strftime(time, 16, "%H:%M:%S", &local);
}

int HighestLevel(uint32_t flags) {
    for (uint32_t bit = 8; bit != 0; bit >>= 1) {
        if (flags & bit) return static_cast<int>(bit);
    }
    return 0;
}

// Line into the caller's buffer size; -Wformat cannot see a runtime format.
#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#endif
std::string Compose(const std::string &format, const char *label, const char *message, bool plain) {
    char date[16], time[16];
    Stamp(date, time);
    std::string line(g_log.lineSize, '\0');
    int pid = static_cast<int>(CurrentProcessId());
    int n = plain ? std::snprintf(&line[0], line.size(), format.c_str(), date, time, pid, label, "", message)
                  : std::snprintf(&line[0], line.size(), format.c_str(), date, time, pid, label, 0, "", message);
    line.resize(n < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), line.size() - 1));
    return line;
}

void WriteDebugLine(uint32_t level, const char *message) {
    const char *label = level >= kLevelDebug ? "DEBUG     " : level >= kLevelInfo ? "INFO      " : "WARN      ";
    AppendLine(g_log.debugPath, Compose(g_log.lineFormat, label, message, false).c_str());
}

std::string VFormat(const char *format, va_list args) {
    char buffer[1024];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    return buffer;
}

}  // namespace

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

bool SameText(std::string_view a, std::string_view b) {
    a = Trim(a);
    b = Trim(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

DeviceId ParseDeviceId(std::string_view text) {
    // The ioctl's answer starts with its length, big-endian, which includes
    // the two bytes themselves; the sysfs text has none.
    if (text.size() >= 2 && static_cast<unsigned char>(text[0]) < 0x20) text.remove_prefix(2);
    DeviceId id;
    while (!text.empty()) {
        std::size_t end = text.find(';');
        std::string_view field = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        std::size_t colon = field.find(':');
        if (colon == std::string_view::npos) continue;
        std::string_view key = Trim(field.substr(0, colon));
        std::string value(Trim(field.substr(colon + 1)));
        if (SameText(key, "MFG") || SameText(key, "MANUFACTURER")) {
            id.manufacturer = value;
        } else if (SameText(key, "MDL") || SameText(key, "MODEL")) {
            id.model = value;
        } else if (SameText(key, "SN") || SameText(key, "SERN") || SameText(key, "SERIALNUMBER")) {
            id.serial = value;
        }
    }
    return id;
}

bool Matches(const DeviceId &id, std::string_view model, std::string_view serial) {
    if (Trim(model).empty() && Trim(serial).empty()) return false;
    if (!Trim(model).empty() && !SameText(id.model, model)) return false;
    if (!Trim(serial).empty() && !SameText(id.serial, serial)) return false;
    return true;
}

void Fail(UsbError *error, uint32_t code, const char *format, ...) {
    va_list args;
    va_start(args, format);
    std::string message = VFormat(format, args);
    va_end(args);
    if (error != nullptr) {
        error->Code = code;
        std::snprintf(error->Message, sizeof error->Message, "%s", message.c_str());
    }
    LogError("%s", message.c_str());
}

void Log(uint32_t level, const char *format, ...) {
    if (!g_log.configured || HighestLevel(g_log.flags) < static_cast<int>(level)) return;
    va_list args;
    va_start(args, format);
    std::string message = VFormat(format, args);
    va_end(args);
    WriteDebugLine(level, message.c_str());
}

void LogError(const char *format, ...) {
    if (!g_log.configured) return;
    va_list args;
    va_start(args, format);
    std::string message = VFormat(format, args);
    va_end(args);
    AppendLine(g_log.errorPath, Compose(g_log.plainFormat, "ERROR !!  ", message.c_str(), true).c_str());
    if (g_log.flags != 0) {
        AppendLine(g_log.debugPath, Compose(g_log.lineFormat, "ERROR !!  ", message.c_str(), false).c_str());
    }
}

}  // namespace zalusb

using namespace zalusb;

ZALUSB_EXPORT int32_t ZALUSB_API ZALGetLibraryType() { return ZALUSB_LIBRARY_TYPE; }

ZALUSB_EXPORT void ZALUSB_API SetUSBDebugA(_LoggingConfigA config) {
    std::string folder = FieldText(config.LogFolder, sizeof config.LogFolder);
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    std::string debugName = FieldText(config.DebugLogName, sizeof config.DebugLogName);
    std::string errorName = FieldText(config.ErrorLogName, sizeof config.ErrorLogName);
    g_log.debugPath = debugName.empty() ? std::string() : NativeLogPath(folder + debugName);
    g_log.errorPath = errorName.empty() ? std::string() : NativeLogPath(folder + errorName);
    g_log.lineFormat = PickFormat(config.LineFormat, sizeof config.LineFormat, "ssds*s", kDefaultLineFormat);
    g_log.plainFormat = PickFormat(config.PlainLineFormat, sizeof config.PlainLineFormat, "ssdsss", kDefaultPlainFormat);
    g_log.lineSize = config.LineSize != 0 ? config.LineSize : 2050u + (config.HeaderWidth != 0 ? config.HeaderWidth : 50u);
    g_log.flags = config.Flags;
    g_log.configured = true;
    Log(kLevelInfo, "SetUSBDebugA: Logging to \"%s\" with flags %#x.", g_log.debugPath.c_str(), g_log.flags);
}

using namespace zalusb;

ZALUSB_EXPORT UsbHandle ZALUSB_API OpenUSBDeviceA(const char *model, const char *serial, UsbError *error) {
    std::string wantedModel(Trim(model != nullptr ? model : ""));
    std::string wantedSerial(Trim(serial != nullptr ? serial : ""));
    Log(kLevelInfo, "OpenUSBDeviceA: Looking for model \"%s\", serial number \"%s\".", wantedModel.c_str(),
        wantedSerial.c_str());
    if (wantedModel.empty() && wantedSerial.empty()) {
        Fail(error, kErrorInvalidParameter, "No USB printer model or serial number was given.");
        return -1;
    }
    for (const auto &p : ListPrinterPorts()) {
        DeviceId id = p->ReadDeviceId();
        Log(kLevelDebug, "OpenUSBDeviceA: \"%s\" is model \"%s\", serial number \"%s\".", p->Path().c_str(),
            id.model.c_str(), id.serial.c_str());
        if (Matches(id, wantedModel, wantedSerial)) return p->Open(error);
    }
    Fail(error, kErrorFileNotFound, "No USB printer with model \"%s\" and serial number \"%s\" was found.",
         wantedModel.c_str(), wantedSerial.c_str());
    return -1;
}

ZALUSB_EXPORT UsbHandle ZALUSB_API OpenUSBDeviceIDA(uint32_t vendorId, uint32_t productId, UsbError *error) {
    Log(kLevelInfo, "OpenUSBDeviceIDA: Looking for vendor id %#06x, product id %#06x.", vendorId, productId);
    for (const auto &p : ListPrinterPorts()) {
        uint32_t vendor = 0, product = 0;
        if (!p->ReadVendorProduct(vendor, product)) continue;
        Log(kLevelDebug, "OpenUSBDeviceIDA: \"%s\" has vendor id %#06x, product id %#06x.", p->Path().c_str(), vendor,
            product);
        if (vendor == vendorId && product == productId) return p->Open(error);
    }
    Fail(error, kErrorFileNotFound, "No USB printer with vendor id %#06x and product id %#06x was found.", vendorId,
         productId);
    return -1;
}
