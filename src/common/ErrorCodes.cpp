#include "common/ErrorCodes.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <typeinfo>

#if defined(__GNUG__)
#include <cxxabi.h>
#endif

#include "common/ErrorCodeTable.h"
#include "common/Format.h"
#include "common/Log.h"
#include "common/Seams.h"
#include "platform/Platform.h"

namespace zal {
namespace {

constexpr std::size_t kNameSize = 32;
constexpr std::size_t kMessageSize = 1024;
constexpr std::size_t kWorkSize = 512;
constexpr std::size_t kPrefixSize = 64;
constexpr std::size_t kDescriptionSize = 448;
constexpr std::size_t kDetailLimit = 512;  // 511 characters and the terminator
constexpr std::size_t kReportSize = 1024;
constexpr std::size_t kBoxSize = 2048;
constexpr uint32_t kShownCodeMask = 0x3FFFFFFFu;  // the two severity bits are dropped
constexpr uint32_t kBoxStyle = platform::kBoxIconStop | platform::kBoxSetForeground | platform::kBoxTopmost;
// The heap helpers' source module, named by the invalid-pointer report.
constexpr const char *kHeapModule = "Heap";

// clang-format off
struct FaultName {
    uintptr_t access;
    const char *name;
};
const FaultName kFaultNames[] = {
    {0, "EXCEPTION_READ_FAULT"},
    {1, "EXCEPTION_WRITE_FAULT"},
    {8, "EXCEPTION_EXECUTE_FAULT"},
};
// clang-format on

const char *Text(const char *text) { return text != nullptr ? text : ""; }
bool Present(const char *text) { return text != nullptr && text[0] != '\0'; }

// Debugger traps belong to the debugger: no filter here handles them.
bool IsDebugTrap(uint32_t code) { return code == kExceptionBreakpoint || code == kExceptionSingleStep; }

const char *FaultNameOf(const ExceptionRecord &record) {
    if (record.parameterCount < 1) return "";
    for (const FaultName &f : kFaultNames) {
        if (f.access == record.parameters[0]) return f.name;
    }
    return "";
}

#if defined(__GNUG__)
void TypeName(const std::type_info &type, char *out, std::size_t size) {
    int status = 0;
    char *demangled = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    CopyText(out, size, status == 0 && demangled != nullptr ? demangled : type.name());
    std::free(demangled);
}
#else
void TypeName(const std::type_info &type, char *out, std::size_t size) { CopyText(out, size, type.name()); }
#endif

// "<lead>(Error %x in %s at %s::%p) %s." and its shorter forms by which
// names are present.
void StructuredReport(const char *lead, const ExceptionRecord &record, const char *module, const char *function,
                      char (&out)[kReportSize]) {
    char detail[kDetailLimit];
    DescribeException(record, detail, sizeof(detail));
    uint32_t shown = record.code & kShownCodeMask;
    if (Present(module) && Present(function)) {
        Format(out, sizeof(out), "%s(Error %x in %s at %s::%p) %s.", lead, shown, module, function, record.address,
               detail);
    } else if (Present(module)) {
        Format(out, sizeof(out), "%s(Error %x in %s at %p) %s.", lead, shown, module, record.address, detail);
    } else if (Present(function)) {
        Format(out, sizeof(out), "%s(Error %x at %s::%p) %s.", lead, shown, function, record.address, detail);
    } else {
        Format(out, sizeof(out), "%s(Error %x at %p) %s.", lead, shown, record.address, detail);
    }
}

void CppReport(const char *lead, const std::exception &error, const char *module, const char *function,
               char (&out)[kReportSize]) {
    char body[kReportSize];
    CppExceptionBody(error, body, sizeof(body));
    if (Present(module) && Present(function)) {
        Format(out, sizeof(out), "%s(Exception in %s at %s) %s.", lead, module, function, body);
    } else if (Present(module)) {
        Format(out, sizeof(out), "%s(Error in %s) %s.", lead, module, body);
    } else if (Present(function)) {
        Format(out, sizeof(out), "%s(Error at %s) %s.", lead, function, body);
    } else {
        Format(out, sizeof(out), "%s%s.", lead, body);
    }
}

}  // namespace

int GetErrorCodeText(int32_t code, char *name, char *message) {
    char work[kWorkSize] = {};
    const ResultCodeEntry *entry = FindResultCode(code);
    if (entry != nullptr) {
        CopyText(name, kNameSize, entry->name);
        CopyText(work, entry->message);
    }
    if (code == -1 || code > 0) {
        CopyText(message, kMessageSize, " ");
        return 0;
    }
    if (entry == nullptr) CopyText(work, "(Undocumented label error code.)");
    if (message == nullptr) return 0;
    CopyText(message, kMessageSize, work);
    return static_cast<int>(TextLength(message, kWorkSize));
}

int FormatErrorCodePrefix(uint32_t code, char *output, int kind) {
    if (output == nullptr) return 0;
    unsigned cNumber = kind == kKindException ? code & kShownCodeMask : code & 0xFFFFu;
    char tag[kPrefixSize];
    int n = Format(tag, sizeof(tag), ErrorTagTemplate(kind), code, cNumber);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof(tag)) return 0;
    CopyText(output, kPrefixSize, tag);
    return n;
}

void FormatErrorString(uint32_t code, char *output, std::size_t size, bool withPrefix, int kind) {
    if (output == nullptr || size == 0) return;
    std::memset(output, 0, size);
    try {
        char tag[kPrefixSize] = "";
        if (withPrefix) FormatErrorCodePrefix(code, tag, kind);
        if (kind == kKindException) {
            // The description carries its own bracketed name; no tag.
            CopyText(output, size, FindExceptionDescription(code));
            return;
        }
        std::string text;
        if (platform::SystemMessage(code, kind, text)) {
            if (withPrefix) {
                Format(output, size, "%s %s", tag, text.c_str());
            } else {
                CopyText(output, size, text.c_str());
            }
            return;
        }
        log::LogErrorText("FormatErrorString: Failed to retrieve formatted error description.");
        if (withPrefix) {
            Format(output, size, "%s Unknown Error", tag);
        } else {
            CopyText(output, size, "Unknown Error");
        }
    } catch (const std::bad_alloc &) {
        output[size - 1] = '\0';
        ExceptionRecord record;
        record.code = kStatusNoMemory;
        ShowUnhandledExceptionBox(record, "ZALCommon", "logging", "FormatErrorString");
    }
}

void FormatErrnoError(int errnoValue, char output[512]) {
    FormatErrorString(static_cast<uint32_t>(errnoValue), output, 512, true, kKindErrno);
}

void DescribeLastError(char *output, std::size_t size) {
    FormatErrorString(platform::GetLastError(), output, size, true, kKindWin32);
}

int DescribeException(const ExceptionRecord &record, char *output, std::size_t size) {
    if (output == nullptr || size == 0) return 0;
    char description[kDescriptionSize];
    FormatErrorString(record.code, description, sizeof(description), false, kKindException);
    char detail[kDetailLimit] = "";
    if (record.parameterCount >= 1) {
        const char *form = FindAccessDetail(record.code, record.parameters[0], record.parameterCount >= 2);
        if (form != nullptr) {
            Format(detail, sizeof(detail), form, reinterpret_cast<const void *>(record.parameters[1]));
        }
    }
    std::size_t limit = size < kDetailLimit ? size : kDetailLimit;
    Format(output, limit, "%s %s", description, detail);
    return static_cast<int>(TextLength(output, limit));
}

int ShowUnhandledExceptionBox(const ExceptionRecord &record, const char *module, const char *component,
                              const char *function) {
    if (IsDebugTrap(record.code)) return 0;
    char detail[kMessageSize];
    DescribeException(record, detail, sizeof(detail));
    char body[kBoxSize];
    Format(body, sizeof(body), "An error occurred within the %s function in %s.\n\nError %x in %s at %p:\n%s",
           Text(function), Text(module), record.code & kShownCodeMask, Text(component), record.address, detail);
    char text[kBoxSize];
    Format(text, sizeof(text), "%s\n\n%s", "An error has occurred:", body);
    seams::MessageBox(text, "Unhandled Exception", kBoxStyle);
    return 1;
}

int ReportJobException(const ExceptionRecord &record, const char *sourceModule, const char *function) {
    if (IsDebugTrap(record.code)) return 0;
    char text[kReportSize];
    StructuredReport("An exception has been raised during job processing: ", record, sourceModule, function, text);
    log::LogErrorText(text);
    return 1;
}

int ReportDataFormatException(const ExceptionRecord &record, const char *sourceModule, const char *function) {
    if (IsDebugTrap(record.code)) return 0;
    char text[kReportSize];
    StructuredReport("An exception has been raised during job data formatting: ", record, sourceModule, function,
                     text);
    log::LogErrorText(text);
    return 1;
}

int ReportInvalidPointer(const ExceptionRecord &record, const char *pointerName) {
    if (record.code != kExceptionAccessViolation) return 0;
    if ((log::Flags() & log::kDebug) == 0) return 1;  // reported at DEBUG level only
    char detail[kDetailLimit];
    DescribeException(record, detail, sizeof(detail));
    const char *fault = FaultNameOf(record);
    uint32_t shown = record.code & kShownCodeMask;
    char text[kReportSize];
    if (Present(pointerName)) {
        Format(text, sizeof(text),
               "An invalid pointer \"%s\" caused a EXCEPTION_ACCESS_VIOLATION exception: (Error %x %s in %s at %p) %s.",
               pointerName, shown, fault, kHeapModule, record.address, detail);
    } else {
        Format(text, sizeof(text), "An invalid pointer caused an exception: (Error %x %s at %p) %s.", shown, fault,
               record.address, detail);
    }
    log::LogDebugText(0, text);
    return 1;
}

void CppExceptionBody(const std::exception &error, char *output, std::size_t size) {
    if (output == nullptr || size == 0) return;
    char type[256];
    TypeName(typeid(error), type, sizeof(type));
    Format(output, size, "[%s] %s", type, Text(error.what()));
}

void ReportJobCppException(const std::exception &error, const char *sourceModule, const char *function) {
    char text[kReportSize];
    CppReport("An exception has been raised during job processing: ", error, sourceModule, function, text);
    log::LogErrorText(text);
}

void ReportUnhandledCppException(const std::exception &error, const char *sourceModule, const char *function) {
    char text[kReportSize];
    CppReport("An unhandled exception has been raised: ", error, sourceModule, function, text);
    log::LogErrorText(text);
}

}  // namespace zal
