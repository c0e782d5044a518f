#include "common/Log.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "common/Seams.h"
#include "common/Settings.h"
#include "common/Strings.h"
#include "platform/Platform.h"

namespace zal::log {
namespace {

constexpr const char *kDefaultLineFormat = "%s %s %5d       %s %s %*s%s";
constexpr const char *kDefaultPlainFormat = "%s %s %5d       %s %s %s %s";
constexpr std::size_t kMessageLimit = 2048;  // with its terminator
constexpr std::size_t kMessageCut = 2040;
constexpr std::size_t kErrorLineLimit = 2047;

struct LogState {
    bool configured = false;
    bool active = false;
    uint32_t flags = kInfo;
    char folder[260] = "";
    char debugPath[260] = "";
    char errorPath[260] = "";
    char module[64] = "";
    char lineFormat[64] = "";
    char plainFormat[64] = "";
    uint16_t headerWidth = 50;
    uint16_t wrapWidth = 160;
    uint32_t lineSize = 2100;
    bool havePid = false;
    uint32_t pid = 0;
    int depth = 0;
    char jobTag[9] = " ";
    bool usbPrepared = false;
    _LoggingConfigA usb{};
};

LogState g_state;

bool HasLevelBit(uint32_t flags) { return (flags & kLevelMask) != 0; }

uint32_t HighestLevel(uint32_t flags) {
    if (flags & kDebug) return kDebug;
    if (flags & kInfo) return kInfo;
    if (flags & kWarn) return kWarn;
    if (flags & kLowest) return kLowest;
    return 0;
}

uint32_t Pid() {
    if (!g_state.havePid) {
        g_state.pid = seams::ProcessId();
        g_state.havePid = true;
    }
    return g_state.pid;
}

// "MM/DD/YY HH:MM:SS" pieces, the padded job tag and the process id.
struct LineStamp {
    char date[9];
    char time[9];
    char tag[9];
    uint32_t pid;
};

LineStamp Stamp() {
    LineStamp s;
    seams::LocalDateTime(s.date, s.time);
    std::size_t n = TextLength(g_state.jobTag, 8);
    std::memcpy(s.tag, g_state.jobTag, n);
    std::memset(s.tag + n, ' ', 8 - n);
    s.tag[8] = '\0';
    s.pid = Pid();
    return s;
}

// The 10-character label: level word padded to 6, then four marks.
void BuildLabel(uint32_t flags, char label[11]) {
    uint32_t level = HighestLevel(flags);
    if (level == 0) level = kInfo;
    if (level == kLowest) {
        std::memcpy(label, "          ", 11);
        return;
    }
    char marks[5] = "    ";
    marks[0] = (g_state.configured && g_state.active) ? ' ' : '$';
    if (flags & kMemory) marks[1] = 'M';
    else if (flags & kFiles) marks[1] = 'F';
    else if (flags & kCategoryG) marks[1] = 'G';
    else if (flags & kCategoryC) marks[1] = 'C';
    if (flags & kCategoryP) marks[2] = 'P';
    if (flags & kCategoryS) marks[3] = 'S';
    else if (flags & kJob) marks[3] = 'L';
    else if (flags & kCategoryH) marks[3] = 'H';
    else if (flags & kCompress) marks[3] = '&';
    const char *word = level == kDebug ? "DEBUG %s" : level == kInfo ? "INFO  %s" : "WARN  %s";
    std::snprintf(label, 11, word, marks);
}

const char *LineFormat() { return g_state.lineFormat[0] ? g_state.lineFormat : kDefaultLineFormat; }
const char *PlainFormat() { return g_state.plainFormat[0] ? g_state.plainFormat : kDefaultPlainFormat; }

void ToDebugger(const std::string &line) {
    if (!platform::IsDebuggerPresent()) return;
    platform::OutputDebugString(line.c_str());
    platform::OutputDebugString("\n");
}

bool AppendLine(const char *path, const char *text, bool retry) {
    const std::size_t length = std::strlen(text);
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (platform::AppendLogLine(path, text, length)) return true;
        if (!retry) break;
        if (attempt < 2) seams::Sleep(100);
    }
    return false;
}

void WriteWrapped(const std::string &line, std::size_t messageStart) {
    const std::size_t H = g_state.headerWidth;
    const std::size_t I = static_cast<std::size_t>(g_state.depth) * 3;
    const std::size_t W = g_state.wrapWidth;
    const std::size_t firstLen = std::min(line.size(), H + I + W);
    std::size_t cut = line.rfind(' ', firstLen - 1);
    std::size_t next;
    if (cut == std::string::npos || cut == 0) {
        WriteDebugLog(line.substr(0, firstLen).c_str());
        next = firstLen;
    } else {
        WriteDebugLog(line.substr(0, cut).c_str());
        next = cut + 1;
    }
    (void)messageStart;
    const std::string lead(H + I, ' ');
    while (line.size() - next > W) {
        std::string piece = line.substr(next, W);
        std::size_t blank = piece.rfind(' ');
        if (blank != std::string::npos) piece.resize(blank + 1);
        WriteDebugLog((lead + piece).c_str());
        next += piece.size();
    }
    if (next < line.size()) WriteDebugLog((lead + line.substr(next)).c_str());
}

void SetPaths(const char *folder, const char *debugName, const char *errorName) {
    CopyText(g_state.folder, folder);
    std::size_t n = std::strlen(g_state.folder);
    if (n > 0 && std::strlen(folder) <= 260 && g_state.folder[n - 1] != '\\') {
        AppendText(g_state.folder, "\\");
    }
    Format(g_state.debugPath, sizeof g_state.debugPath, "%s%s", g_state.folder, debugName);
    Format(g_state.errorPath, sizeof g_state.errorPath, "%s%s", g_state.folder, errorName);
}

// Record text fields are not guaranteed to be terminated.
template <std::size_t N>
std::string Field(const char (&field)[N]) {
    return std::string(field, TextLength(field, N));
}

}  // namespace

bool ShouldLog(uint32_t configured, uint32_t message) {
    if ((configured & 0xFF) == 0) return false;
    if (HasLevelBit(message) && HighestLevel(configured) < HighestLevel(message)) return false;
    static const uint32_t kCategories[] = {0x100, 0x200, 0x400, 0x800, 0x1000, 0x2000, 0x4000, 0x8000, 0x10000};
    for (uint32_t bit : kCategories) {
        if ((message & bit) && !(configured & bit)) return false;
    }
    if (message & kDump) return (configured & kDump) && (configured & kDebug);
    return true;
}

void ConfigureLogging(const _LoggingConfigA &config) {
    Pid();
    CopyText(g_state.module, Field(config.ModuleName).c_str());
    SetPaths(Field(config.LogFolder).c_str(), Field(config.DebugLogName).c_str(),
             Field(config.ErrorLogName).c_str());
    CopyText(g_state.lineFormat, Field(config.LineFormat).c_str());
    CopyText(g_state.plainFormat, Field(config.PlainLineFormat).c_str());
    g_state.headerWidth = config.HeaderWidth ? config.HeaderWidth : 50;
    g_state.wrapWidth = config.WrapWidth ? config.WrapWidth : 160;
    g_state.lineSize = 2050u + g_state.headerWidth;
    SetFlags(config.Flags);
    g_state.configured = true;
}

void UpdateLogging(const _LoggingConfigA &config) {
    std::string folder = Field(config.LogFolder);
    std::string current = g_state.folder;
    // The kept folder carries a trailing backslash; compare like with like.
    std::string probe = folder;
    if (!probe.empty() && probe.back() != '\\') probe += '\\';
    if (!EqualsNoCase(probe.c_str(), current.c_str())) {
        if (DirectoryExists(folder.c_str())) {
            SetPaths(folder.c_str(), Field(config.DebugLogName).c_str(), Field(config.ErrorLogName).c_str());
        } else {
            LogError("The selected log path \"%s\" is invalid or does not exist, no update will be made.",
                     folder.c_str());
        }
    }
    SetFlags(config.Flags);
}

void ConfigureUsbLogging(const _LoggingConfigA &config) {
    if (g_state.usbPrepared) return;
    _LoggingConfigA &u = g_state.usb;
    u = _LoggingConfigA{};
    std::memcpy(u.LogFolder, config.LogFolder, sizeof u.LogFolder);
    std::memcpy(u.DebugLogName, config.DebugLogName, sizeof u.DebugLogName);
    std::memcpy(u.ErrorLogName, config.ErrorLogName, sizeof u.ErrorLogName);
    std::memcpy(u.ModuleName, config.ModuleName, sizeof u.ModuleName);
    u.HeaderWidth = config.HeaderWidth;
    u.WrapWidth = config.WrapWidth;
    u.LineSize = config.LineSize;
    u.Flags = config.Flags;
    CopyText(u.LineFormat, "%s %s %5d ZALL  %s %*s%s");
    CopyText(u.PlainLineFormat, "%s %s %5d ZALL  %s %s %s");
    g_state.usbPrepared = true;
}

const _LoggingConfigA *UsbLoggingConfig() { return g_state.usbPrepared ? &g_state.usb : nullptr; }

bool IsConfigured() { return g_state.configured; }
uint32_t Flags() { return g_state.flags; }
void SetFlags(uint32_t flags) {
    g_state.flags = flags;
    g_state.active = HasLevelBit(flags);
}
const char *LogFolder() { return g_state.folder; }
const char *DebugLogPath() { return g_state.debugPath; }
const char *ErrorLogPath() { return g_state.errorPath; }
const char *ModuleName() { return g_state.module; }

void IncreaseNesting() { ++g_state.depth; }
void DecreaseNesting() {
    if (g_state.depth > 0) --g_state.depth;
}

void SetJobTag(const char *tag) { CopyText(g_state.jobTag, tag ? tag : " "); }
const char *JobTag() { return g_state.jobTag; }

bool WriteDebugLog(const char *text) {
    if (!g_state.configured || !g_state.active) return false;
    return AppendLine(g_state.debugPath, text, true);
}

bool WriteErrorLog(const char *text) {
    if (!g_state.configured) return false;
    return AppendLine(g_state.errorPath, text, true);
}

bool WriteCustomLog(const char *path, const char *text) { return AppendLine(path, text, true); }

void WriteDebugMessageLine(uint32_t flags, const char *format, std::va_list args) {
    if (flags == 0) return;
    const int indent = g_state.depth * 3;
    std::string message = FormatStringV(format, args);
    if (flags & kDump) message = "[" + message + "]";
    if (message.size() + 1 >= kMessageLimit) {
        message.resize(kMessageCut);
        message += " (...)";
    }
    LineStamp s = Stamp();
    char label[11];
    BuildLabel(flags, label);
    std::string line = FormatString(LineFormat(), s.date, s.time, static_cast<int>(s.pid), label, s.tag,
                                    indent, "", message.c_str());
    if (message.size() + static_cast<std::size_t>(indent) <= g_state.wrapWidth) {
        WriteDebugLog(line.c_str());
    } else if (g_state.configured && g_state.active) {
        WriteWrapped(line, line.size() - message.size());
    }
    ToDebugger(line);
}

void WriteDebugMessageLineF(uint32_t flags, const char *format, ...) {
    std::va_list args;
    va_start(args, format);
    WriteDebugMessageLine(flags, format, args);
    va_end(args);
}

namespace {

bool Writable() { return g_state.configured && g_state.active; }

bool LevelPasses(uint32_t level) {
    uint32_t configured = HighestLevel(g_state.flags);
    return configured >= level && configured != kLowest;
}

void WriteText(uint32_t flags, const char *text) { WriteDebugMessageLineF(flags, "%s", text); }

std::string StampedError(const LineStamp &s, const char *message, const char *format, bool withIndent) {
    std::string line = withIndent ? FormatString(format, s.date, s.time, static_cast<int>(s.pid), "ERROR !!  ",
                                                 s.tag, g_state.depth * 3, "", message)
                                  : FormatString(format, s.date, s.time, static_cast<int>(s.pid), "ERROR !!  ",
                                                 s.tag, "", message);
    if (line.size() > kErrorLineLimit) line.resize(kErrorLineLimit);
    return line;
}

void ErrorText(const char *message) {
    if (!g_state.configured) return;
    LineStamp s = Stamp();
    WriteErrorLog(StampedError(s, message, PlainFormat(), false).c_str());
    if (g_state.flags != 0) {
        std::string debugLine = StampedError(s, message, LineFormat(), true);
        WriteDebugLog(debugLine.c_str());
        ToDebugger(debugLine);
    }
}

}  // namespace

bool WritesDebug(uint32_t categories) { return Writable() && ShouldLog(g_state.flags, kDebug | categories); }

void LogDebug(uint32_t categories, const char *format, ...) {
    uint32_t flags = kDebug | categories;
    if (!Writable() || !ShouldLog(g_state.flags, flags)) return;
    std::va_list args;
    va_start(args, format);
    WriteDebugMessageLine(flags, format, args);
    va_end(args);
}

void LogInfo(const char *format, ...) {
    if (!Writable() || !LevelPasses(kInfo)) return;
    std::va_list args;
    va_start(args, format);
    WriteDebugMessageLine(kInfo, format, args);
    va_end(args);
}

void LogWarning(const char *format, ...) {
    if (!Writable() || !LevelPasses(kWarn)) return;
    std::va_list args;
    va_start(args, format);
    WriteDebugMessageLine(kWarn, format, args);
    va_end(args);
}

void LogMessage(uint32_t flags, const char *format, ...) {
    if (!Writable() || !ShouldLog(g_state.flags, flags)) return;
    std::va_list args;
    va_start(args, format);
    WriteDebugMessageLine(flags, format, args);
    va_end(args);
}

void LogError(const char *format, ...) {
    if (!g_state.configured) return;
    std::va_list args;
    va_start(args, format);
    std::string message = FormatStringV(format, args);
    va_end(args);
    ErrorText(message.c_str());
}

void LogCustom(const char *path, const char *format, ...) {
    std::va_list args;
    va_start(args, format);
    std::string message = FormatStringV(format, args);
    va_end(args);
    WriteCustomLog(path, message.c_str());
    if (g_state.flags & kDebug) {
        LineStamp s = Stamp();
        std::string line = FormatString(LineFormat(), s.date, s.time, static_cast<int>(s.pid), "CLOG  >>> ",
                                        s.tag, g_state.depth * 3, "", message.c_str());
        if (line.size() > kErrorLineLimit) line.resize(kErrorLineLimit);
        WriteDebugLog(line.c_str());
        ToDebugger(line);
    }
}

void LogDebugText(uint32_t categories, const char *text) {
    uint32_t flags = kDebug | categories;
    if (Writable() && ShouldLog(g_state.flags, flags)) WriteText(flags, text);
}
void LogInfoText(const char *text) {
    if (Writable() && LevelPasses(kInfo)) WriteText(kInfo, text);
}
void LogMessageText(uint32_t flags, const char *text) {
    if (Writable() && ShouldLog(g_state.flags, flags)) WriteText(flags, text);
}
void LogErrorText(const char *text) { ErrorText(text); }

void ResetForTests() { g_state = LogState{}; }

}  // namespace zal::log
