// The debug, error and custom logs.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "common/Format.h"
#include "zal2443/zal2443.h"

namespace zal::log {

// Level and category bits.
constexpr uint32_t kLowest = 0x1;
constexpr uint32_t kWarn = 0x2;
constexpr uint32_t kInfo = 0x4;
constexpr uint32_t kDebug = 0x8;
constexpr uint32_t kLevelMask = 0xF;
constexpr uint32_t kMemory = 0x100;
constexpr uint32_t kCategoryP = 0x200;
constexpr uint32_t kCategoryS = 0x400;
constexpr uint32_t kFiles = 0x800;
constexpr uint32_t kJob = 0x1000;
constexpr uint32_t kCategoryG = 0x2000;
constexpr uint32_t kCategoryH = 0x4000;
constexpr uint32_t kCategoryC = 0x8000;
constexpr uint32_t kCompress = 0x10000;
constexpr uint32_t kDump = 0x40000;

// Configuration (from ZALSetDebugA).
void ConfigureLogging(const _LoggingConfigA &config);
void UpdateLogging(const _LoggingConfigA &config);
void ConfigureUsbLogging(const _LoggingConfigA &config);
// The record kept for the USB support library; null until prepared.
const _LoggingConfigA *UsbLoggingConfig();

bool ShouldLog(uint32_t configured, uint32_t message);
bool IsConfigured();
uint32_t Flags();
void SetFlags(uint32_t flags);  // the library's current flags; recomputes "active"
const char *LogFolder();        // with its trailing backslash, or ""
const char *DebugLogPath();
const char *ErrorLogPath();
const char *ModuleName();

// Nesting of the debug lines (three blanks per level).
void IncreaseNesting();
void DecreaseNesting();
struct NestingScope {
    NestingScope() { IncreaseNesting(); }
    ~NestingScope() { DecreaseNesting(); }
    NestingScope(const NestingScope &) = delete;
    NestingScope &operator=(const NestingScope &) = delete;
};

// Job tag: first 8 characters of the job's tag, " " between jobs.
void SetJobTag(const char *tag);
const char *JobTag();

// Writers.  The variadic forms format first; the one-argument forms write
// their text unchanged (a percent sign in it is no conversion).
void LogDebug(uint32_t categories, const char *format, ...) ZAL_PRINTF(2, 3);
// Whether a LogDebug line of these categories would be written now.
bool WritesDebug(uint32_t categories);
void LogInfo(const char *format, ...) ZAL_PRINTF(1, 2);
void LogWarning(const char *format, ...) ZAL_PRINTF(1, 2);
void LogMessage(uint32_t flags, const char *format, ...) ZAL_PRINTF(2, 3);
void LogError(const char *format, ...) ZAL_PRINTF(1, 2);
void LogCustom(const char *path, const char *format, ...) ZAL_PRINTF(2, 3);
void LogDebugText(uint32_t categories, const char *text);
void LogInfoText(const char *text);
void LogMessageText(uint32_t flags, const char *text);
void LogErrorText(const char *text);

// Formats and writes one debug line without filtering.
void WriteDebugMessageLine(uint32_t flags, const char *format, std::va_list args);
void WriteDebugMessageLineF(uint32_t flags, const char *format, ...) ZAL_PRINTF(2, 3);
bool WriteDebugLog(const char *text);
bool WriteErrorLog(const char *text);
bool WriteCustomLog(const char *path, const char *text);

// Tests: back to the state at load.
void ResetForTests();

}  // namespace zal::log
