// Result codes, their names and messages, and the failure reports.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>

namespace zal {

// clang-format off
enum ResultCode : int32_t {
    ZALERR_SUCCESS = 0,
    ZALERR_PRINTER_OPENFAIL = -301,
    LABEL_CONFIGFAIL = -302,
    LABEL_BADREAD = -303,
    ZALERR_PRINTER_BADWRITE = -304,
    ZALERR_PRINTER_DEVICEBUSY = -305,
    ZALERR_PRINTER_DEVICEOFFLINE = -306,
    LABEL_BADCOMMAND = -307,
    ZALERR_PRINTER_BADDEVICEDATA = -308,
    LABEL_UNSUPPORTED = -309,
    ZALERR_LABEL_PRINTGENERIC = -401,
    ZALERR_LABEL_GENERATIONERR = -402,
    LABEL_UNSUPLANG = -403,
    ZALERR_LABEL_INVALIDDESC = -405,
    ZALERR_LABEL_DATAERROR = -406,
    ZALERR_LABEL_NOFLAGPRESENT = -407,
    ZALERR_REPORT_NOFLAGPRESENT = -505,
    LABEL_RRWFAIL = -600,
    ZALERR_RRW_SYNTAXERR = -601,
    ZALERR_RRW_INVALID = -602,
    ZALERR_DOCUMENT_UNSUPPORTED = -700,
    ZALERR_DOCUMENT_PRINTGENERIC = -701,
    ZALERR_DOCUMENT_GENERATIONERR = -702,
    ZALERR_DOCUMENT_UNSUPLANG = -703,
    ZALERR_DOCUMENT_SYNTAXERR = -704,
    ZALERR_DOCUMENT_INVALIDDESC = -705,
    ZALERR_DOCUMENT_DATAERROR = -706,
    ZALERR_DOCUMENT_NOFLAGPRESENT = -707,
    ZALERR_NOTCODED = -999,
    ZALERR_UNKNOWNFAIL = -1002,
    ZALERR_OUTOFMEMORY = -1003,
    LABEL_FILENOTFOUND = -1004,
    LABEL_ACCESSDENIED = -1005,
    ZALERR_GDIERR = -1020,
    ZALERR_GDIINVALIDDC = -1021,
    ZALERR_ZALDOCERR = -1030,
    ZALERR_UNSUPFSMSVER = -1040,
    ZALERR_USBLIBFAIL = -1050,
    ZALERR_INVALIDNODE = -1063,
    ZALERR_INVALIDENTRY = -1064,
    ZALERR_INVALIDPORTDATA = -1065,
    ZALERR_CALLTIMEOUT = -1066,
    ZALERR_CALLABORTED = -1067,
    ZALERR_PDL_LOADFAIL = -1101,
    ZALERR_PDL_PROCMISSING = -1106,
    ZALERR_JOB_ABORTED = -1204,
    LABEL_JOBTIMEOUT = -1205,
    ZALERR_JOB_CANCELLED = -1206,
    ZALERR_JOB_BADINPUT = -1208,
    ZALERR_JOB_BADCARRIER = -1209,
    ZALERR_JOB_UNSUPCARRIER = -1210,
    ZALERR_JOB_DEPRECATEDCAR = -1211,
    ZALERR_JOB_DEPRECATEDSVC = -1212,
    ZALERR_JOB_INVALIDMEDIA = -1213,
    ZALERR_JOB_DONOTPRINT = -1214,
    ZALERR_JOB_UNHANDLED = -1215,  // no entry in the table: an exception escaped a job
    ZALERR_JOB_BUSY = -1216,
    ZALERR_JOB_INVALIDDEVICE = -1217,
    ZALERR_JOB_CREATEFAIL = -1218,
    ZALERR_JOB_USERCANCELLED = -1219,
};
// clang-format on

// Name (32-byte buffer) and message (1024-byte buffer) of a result code;
// returns the message length, 0 for -1, positive codes and failures.
int GetErrorCodeText(int32_t code, char *name, char *message);

enum ErrorCodeKind : int { kKindWin32 = 0, kKindNtStatus = 1, kKindHResult = 2, kKindErrno = 3, kKindException = 4 };

int FormatErrorCodePrefix(uint32_t code, char *output, int kind);  // 64-byte output
void FormatErrorString(uint32_t code, char *output, std::size_t size, bool withPrefix, int kind);
// The fixed forms: the invalid-handle error (code 6) and an errno value.
void FormatErrnoError(int errnoValue, char output[512]);
// The last Win32 error of the thread, described with its prefix.
void DescribeLastError(char *output, std::size_t size);

// A structured-exception record (the parts the reports read).
struct ExceptionRecord {
    uint32_t code = 0;
    uint32_t flags = 0;
    const void *address = nullptr;
    uint32_t parameterCount = 0;
    uintptr_t parameters[15] = {};
};
constexpr uint32_t kExceptionBreakpoint = 0x80000003u;
constexpr uint32_t kExceptionSingleStep = 0x80000004u;
constexpr uint32_t kExceptionAccessViolation = 0xC0000005u;
constexpr uint32_t kExceptionInPageError = 0xC0000006u;
constexpr uint32_t kStatusNoMemory = 0xC0000017u;

int DescribeException(const ExceptionRecord &record, char *output, std::size_t size);

// Exception filters: 0 continue the search, 1 run the handler.  The
// source module names the module that holds the guarded routine ("UPS",
// "LibCommon", ...); any name may be null or empty.
int ShowUnhandledExceptionBox(const ExceptionRecord &record, const char *module, const char *component,
                              const char *function);
int ReportJobException(const ExceptionRecord &record, const char *sourceModule, const char *function);
int ReportDataFormatException(const ExceptionRecord &record, const char *sourceModule, const char *function);
int ReportInvalidPointer(const ExceptionRecord &record, const char *pointerName);
void ReportJobCppException(const std::exception &error, const char *sourceModule, const char *function);
// "An unhandled exception has been raised: (Exception in %s at %s) %s."
void ReportUnhandledCppException(const std::exception &error, const char *sourceModule, const char *function);
// The "[%s] %s" body: run-time type name (demangled) and message.
void CppExceptionBody(const std::exception &error, char *output, std::size_t size);

}  // namespace zal
