#include "common/ErrorCodeTable.h"

#include <cstddef>

namespace zal {
namespace {

// Nine codes carry their historical names without the ZALERR_ prefix.
// clang-format off
const ResultCodeEntry kResultCodes[] = {
    {     0, "ZALERR_SUCCESS",                "Label printed successfully."},
    {  -301, "ZALERR_PRINTER_OPENFAIL",       "Unable to open printer device."},
    {  -302, "LABEL_CONFIGFAIL",              "Unable to configure printer device LPT port."},
    {  -303, "LABEL_BADREAD",                 "Unable to read from printer device."},
    {  -304, "ZALERR_PRINTER_BADWRITE",       "Unable to write to printer device."},
    {  -305, "ZALERR_PRINTER_DEVICEBUSY",     "The printer device is currently busy and cannot accept a new job."},
    {  -306, "ZALERR_PRINTER_DEVICEOFFLINE",  "The printer device is currently offline."},
    {  -307, "LABEL_BADCOMMAND",              "A bad command was received by the hardware device."},
    {  -308, "ZALERR_PRINTER_BADDEVICEDATA",  "Bad device configuration data was encountered."},
    {  -309, "LABEL_UNSUPPORTED",             "This printer or configuration is not supported."},
    {  -401, "ZALERR_LABEL_PRINTGENERIC",     "Printer lib has forced a generic label."},
    {  -402, "ZALERR_LABEL_GENERATIONERR",    "An error occurred during label generation."},
    {  -403, "LABEL_UNSUPLANG",               "The requested script language is not supported on this printer."},
    {  -405, "ZALERR_LABEL_INVALIDDESC",      "Invalid label device descriptor."},
    {  -406, "ZALERR_LABEL_DATAERROR",        "Data pre-processing has encountered a data error."},
    {  -407, "ZALERR_LABEL_NOFLAGPRESENT",    "Job data is missing a required flag for this label."},
    {  -505, "ZALERR_REPORT_NOFLAGPRESENT",   "Job data is missing a required flag for this report."},
    {  -600, "LABEL_RRWFAIL",                 "Unable to open ReportWriter engine."},
    {  -601, "ZALERR_RRW_SYNTAXERR",          "The ReportWriter report contains a syntax error."},
    {  -602, "ZALERR_RRW_INVALID",            "The ReportWriter report is invalid or links to invalid data."},
    {  -700, "ZALERR_DOCUMENT_UNSUPPORTED",   "This document type is not supported."},
    {  -701, "ZALERR_DOCUMENT_PRINTGENERIC",  "Printer lib has forced a generic document."},
    {  -702, "ZALERR_DOCUMENT_GENERATIONERR", "An error occurred during document generation."},
    {  -703, "ZALERR_DOCUMENT_UNSUPLANG",     "The requested script language is not supported on this printer."},
    {  -704, "ZALERR_DOCUMENT_SYNTAXERR",     "The script language contains a syntax error."},
    {  -705, "ZALERR_DOCUMENT_INVALIDDESC",   "Invalid document device descriptor."},
    {  -706, "ZALERR_DOCUMENT_DATAERROR",     "Data pre-processing has encountered a data error."},
    {  -707, "ZALERR_DOCUMENT_NOFLAGPRESENT", "Job data is missing a required flag for this document."},
    {  -999, "ZALERR_NOTCODED",               "An internal code path is not yet completed."},
    { -1002, "ZALERR_UNKNOWNFAIL",            "Unknown failure."},
    { -1003, "ZALERR_OUTOFMEMORY",            "An error occurred due to lack of available memory."},
    { -1004, "LABEL_FILENOTFOUND",            "The specified filename was not found."},
    { -1005, "LABEL_ACCESSDENIED",            "Access was denied due to a permission failure."},
    { -1020, "ZALERR_GDIERR",                 "A critical error occurred during a GDI drawing command."},
    { -1021, "ZALERR_GDIINVALIDDC",           "The GDI Device Context is invalid for the current operation."},
    { -1030, "ZALERR_ZALDOCERR",              "A critical error occurred within the document class wrapper."},
    { -1040, "ZALERR_UNSUPFSMSVER",           "The configured FSMS server version is not supported."},
    { -1050, "ZALERR_USBLIBFAIL",             "Unable to load USB support library."},
    { -1063, "ZALERR_INVALIDNODE",            "The device node is missing or invalid."},
    { -1064, "ZALERR_INVALIDENTRY",           "The configuration entry is missing or invalid."},
    { -1065, "ZALERR_INVALIDPORTDATA",        "The hardware port data is missing or invalid."},
    { -1066, "ZALERR_CALLTIMEOUT",            "A threaded call to a procedure has timed out."},
    { -1067, "ZALERR_CALLABORTED",            "A threaded call to a procedure has been aborted."},
    { -1101, "ZALERR_PDL_LOADFAIL",           "Unable to load printer driver library."},
    { -1106, "ZALERR_PDL_PROCMISSING",        "Unable to find expected procedure in peripheral device library"},
    { -1204, "ZALERR_JOB_ABORTED",            "The job was aborted."},
    { -1205, "LABEL_JOBTIMEOUT",              "The job was aborted due to timeout."},
    { -1206, "ZALERR_JOB_CANCELLED",          "The job was cancelled by the printer lib."},
    { -1208, "ZALERR_JOB_BADINPUT",           "Bad or missing job data was attempted to be sent."},
    { -1209, "ZALERR_JOB_BADCARRIER",         "Bad carrier definition in job."},
    { -1210, "ZALERR_JOB_UNSUPCARRIER",       "Carrier is not supported for this printer."},
    { -1211, "ZALERR_JOB_DEPRECATEDCAR",      "Carrier is no longer supported."},
    { -1212, "ZALERR_JOB_DEPRECATEDSVC",      "Carrier service is no longer supported."},
    { -1213, "ZALERR_JOB_INVALIDMEDIA",       "The media loaded is not valid for this job."},
    { -1214, "ZALERR_JOB_DONOTPRINT",         "Processed OK, but do not print any labels or documents."},
    { -1216, "ZALERR_JOB_BUSY",               "Another job is already being processed"},
    { -1217, "ZALERR_JOB_INVALIDDEVICE",      "The device specified in the job data is invalid"},
    { -1218, "ZALERR_JOB_CREATEFAIL",         "The job data could not be created"},
    { -1219, "ZALERR_JOB_USERCANCELLED",      "The job was cancelled by the user"},
};

struct ExceptionText {
    uint32_t code;
    const char *text;
};

// The texts are shown to users as they always were, typo included.
const ExceptionText kExceptionTexts[] = {
    {0x80000001u, "[EXCEPTION_GUARD_PAGE] The thread attempted to access an address within a guard page and a first attempt lock failure has resulted."},
    {0x80000002u, "[EXCEPTION_DATATYPE_MISALIGNMENT] The thread tried to read or write data that is misaligned on hardware that does not provide alignment."},
    {0x80000003u, "[EXCEPTION_BREAKPOINT] A breakpoint was encountered."},
    {0x80000004u, "[EXCEPTION_SINGLE_STEP] A trace trap or other single-instruction mechanism signaled that one instruction has been executed."},
    {0xC0000005u, "[EXCEPTION_ACCESS_VIOLATION] The thread tried to read from or write to a virtual address for which it does not have the appropriate access."},
    {0xC0000006u, "[EXCEPTION_IN_PAGE_ERROR] The thread tried to access a page that was not present, and the system was unable to load the page."},
    {0xC0000008u, "[EXCEPTION_INVALID_HANDLE] The thread attempted to access an invalid handle."},
    {0xC000001Du, "[EXCEPTION_ILLEGAL_INSTRUCTION] The thread tried to execute an invalid instruction."},
    {0xC0000025u, "[EXCEPTION_NONCONTINUABLE_EXCEPTION] The thread tried to continue execution after a noncontinuable exception occurred."},
    {0xC0000026u, "[EXCEPTION_INVALID_DISPOSITION] An exception handler returned an invalid disposition to the exception dispatcher."},
    {0xC000008Cu, "[EXCEPTION_ARRAY_BOUNDS_EXCEEDED] The thread tried to access an array element that is out of bounds and the underlying hardware supports bounds checking."},
    {0xC000008Du, "[EXCEPTION_FLT_DENORMAL_OPERAND] One of the operands in a floating-point operation is denormal."},
    {0xC000008Eu, "[EXCEPTION_FLT_DIVIDE_BY_ZERO] The thread tried to divide a floating-point value by a floating-point divisor of zero."},
    {0xC000008Fu, "[EXCEPTION_FLT_INEXACT_RESULT] The result of a floating-point operation cannot be represented exactly as a decimal fraction."},
    {0xC0000090u, "[EXCEPTION_FLT_INVALID_OPERATION] An unspecified floating-point exception has bneen raised."},
    {0xC0000091u, "[EXCEPTION_FLT_OVERFLOW] The exponent of a floating-point operation is greater than the magnitude allowed by the corresponding type."},
    {0xC0000092u, "[EXCEPTION_FLT_STACK_CHECK] The stack overflowed or underflowed as the result of a floating-point operation."},
    {0xC0000093u, "[EXCEPTION_FLT_UNDERFLOW] The exponent of a floating-point operation is less than the magnitude allowed by the corresponding type."},
    {0xC0000094u, "[EXCEPTION_INT_DIVIDE_BY_ZERO] The thread tried to divide an integer value by an integer divisor of zero."},
    {0xC0000095u, "[EXCEPTION_INT_OVERFLOW] The result of an integer operation caused a carry out of the most significant bit of the result."},
    {0xC0000096u, "[EXCEPTION_PRIV_INSTRUCTION] The thread tried to execute an instruction whose operation is not allowed in the current machine mode."},
    {0xC00000FDu, "[EXCEPTION_STACK_OVERFLOW] The thread used up its stack and exceeded allocation."},
    {0xC0000194u, "[EXCEPTION_POSSIBLE_DEADLOCK] The thread has encountered a possible deadlock condition."},
};

// Access kinds of the first exception parameter: 0 read, 1 write, 8 DEP.
struct AccessDetail {
    uint32_t exceptionCode;
    uintptr_t access;
    const char *withAddress;
    const char *withoutAddress;
};

const AccessDetail kAccessDetails[] = {
    {0xC0000005u, 0, "(Result of read operation at virtual address %p.)",
                     "(Resulting from a read operation.)"},
    {0xC0000005u, 1, "(Result of write operation at virtual address %p.)",
                     "(Resulting from a write operation.)"},
    {0xC0000005u, 8, "(Result of user-mode data execution prevention (DEP) violation at virtual address %p.)",
                     "(Resulting from a user-mode data execution prevention (DEP) violation.)"},
    {0xC0000006u, 0, "(Result of virtual page read operation at virtual address %p.)",
                     "(Resulting from a virtual page read operation.)"},
    {0xC0000006u, 1, "(Result of virtual page write operation at virtual address %p.)",
                     "(Resulting from a virtual page write operation.)"},
    {0xC0000006u, 8, "(Result of virtual page user-mode data execution prevention (DEP) violation at virtual address %p.)",
                     "(Resulting from a virtual page user-mode data execution prevention (DEP) violation.)"},
};

// Indexed by ErrorCodeKind.
const char *const kTagTemplates[] = {
    "[WIN32 0x%08x/C%04u]",
    "[NTSTATUS 0x%08x/C%04u]",
    "[HRESULT 0x%08x/C%04u]",
    "[ERRNO 0x%08x/C%04u]",
    "[EXCEPTION 0x%08x/C%04u]",
};
const char *const kUntaggedTemplate = "[0x%08x/C%04u]";
// clang-format on

}  // namespace

const ResultCodeEntry *FindResultCode(int32_t code) {
    for (const ResultCodeEntry &entry : kResultCodes) {
        if (entry.code == code) return &entry;
    }
    return nullptr;
}

const char *FindExceptionDescription(uint32_t code) {
    for (const ExceptionText &entry : kExceptionTexts) {
        if (entry.code == code) return entry.text;
    }
    return nullptr;
}

const char *FindAccessDetail(uint32_t exceptionCode, uintptr_t access, bool withAddress) {
    for (const AccessDetail &entry : kAccessDetails) {
        if (entry.exceptionCode == exceptionCode && entry.access == access) {
            return withAddress ? entry.withAddress : entry.withoutAddress;
        }
    }
    return nullptr;
}

const char *ErrorTagTemplate(int kind) {
    constexpr int count = static_cast<int>(sizeof(kTagTemplates) / sizeof(kTagTemplates[0]));
    return kind >= 0 && kind < count ? kTagTemplates[kind] : kUntaggedTemplate;
}

}  // namespace zal
