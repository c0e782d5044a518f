#include "common/ErrorCodes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "common/Log.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

namespace zal {
namespace {

using test::FixedSeams;
using test::LogCapture;

// "%p" prints two digits per pointer byte: pad the expected low eight.
std::string Addr(const char *low8) { return (sizeof(void *) == 8 ? std::string("00000000") : std::string()) + low8; }

const void *Ptr(uintptr_t value) { return reinterpret_cast<const void *>(value); }

ExceptionRecord Record(uint32_t code, uint32_t parameterCount = 0, uintptr_t access = 0, uintptr_t target = 0,
                       uintptr_t address = 0x401A2B) {
    ExceptionRecord r;
    r.code = code;
    r.address = Ptr(address);
    r.parameterCount = parameterCount;
    r.parameters[0] = access;
    r.parameters[1] = target;
    return r;
}

const std::string kAccessViolation =
    "[EXCEPTION_ACCESS_VIOLATION] The thread tried to read from or write to a virtual address for which it does not "
    "have the appropriate access.";
const std::string kInPage =
    "[EXCEPTION_IN_PAGE_ERROR] The thread tried to access a page that was not present, and the system was unable to "
    "load the page.";
const std::string kIntDivide =
    "[EXCEPTION_INT_DIVIDE_BY_ZERO] The thread tried to divide an integer value by an integer divisor of zero.";

TEST(ErrorCodes, GetErrorCodeText) {
    // name: null: the name buffer stays as it was
    struct Row { int32_t code; const char *name; const char *message; int result; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {0,          "ZALERR_SUCCESS",         "Label printed successfully.", 27},
        /*  1*/ {-1,         nullptr,                  " ", 0},
        /*  2*/ {-1207,      nullptr,                  "(Undocumented label error code.)", 32},
    };
    // clang-format on
    for (std::size_t i = 0; i < sizeof(rows) / sizeof(rows[0]); ++i) {
        const Row &row = rows[i];
        char name[32] = "untouched";
        char message[1024];
        std::memset(message, 'X', sizeof(message));
        EXPECT_EQ(GetErrorCodeText(row.code, name, message), row.result) << "row " << i;
        EXPECT_STREQ(name, row.name ? row.name : "untouched") << "row " << i;
        EXPECT_STREQ(message, row.message) << "row " << i;
    }
}

TEST(ErrorCodes, FormatErrorCodePrefix) {
    struct Row { uint32_t code; int kind; const char *tag; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {2,           kKindWin32,     "[WIN32 0x00000002/C0002]"},
        /*  1*/ {0xC0000005u, kKindNtStatus,  "[NTSTATUS 0xc0000005/C0005]"},
        /*  2*/ {0x80070005u, kKindHResult,   "[HRESULT 0x80070005/C0005]"},
        /*  3*/ {0x12345u,    kKindErrno,     "[ERRNO 0x00012345/C9029]"},
        /*  4*/ {0xC0000005u, kKindException, "[EXCEPTION 0xc0000005/C0005]"},
        // The exception C-number keeps all but the two top bits.
        /*  5*/ {0xC0012345u, kKindException, "[EXCEPTION 0xc0012345/C74565]"},
        /*  6*/ {0xFFFFFFFFu, -1,             "[0xffffffff/C65535]"},
    };
    // clang-format on
    for (std::size_t i = 0; i < sizeof(rows) / sizeof(rows[0]); ++i) {
        char tag[64];
        EXPECT_EQ(FormatErrorCodePrefix(rows[i].code, tag, rows[i].kind), static_cast<int>(std::strlen(rows[i].tag)))
            << "row " << i;
        EXPECT_STREQ(tag, rows[i].tag) << "row " << i;
    }
}

TEST(ErrorCodes, FormatErrorString) {
    LogCapture capture;
    std::string fileNotFound, noSuchFile;
    ASSERT_TRUE(platform::SystemMessage(2, kKindWin32, fileNotFound));
    ASSERT_TRUE(platform::SystemMessage(2, kKindErrno, noSuchFile));
    struct Row { uint32_t code; int kind; bool prefix; std::string text; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {2,                         kKindWin32,     true,  "[WIN32 0x00000002/C0002] " + fileNotFound},
        /*  1*/ {2,                         kKindWin32,     false, fileNotFound},
        /*  2*/ {kExceptionAccessViolation, kKindException, true,  kAccessViolation},
        // the spelling of the system's own text
        /*  3*/ {0xC0000090u,               kKindException, false,
                 "[EXCEPTION_FLT_INVALID_OPERATION] An unspecified floating-point exception has bneen raised."},
        // no system text: "Unknown Error", and an error line
        /*  4*/ {0x2000FFFFu,               kKindWin32,     true,  "[WIN32 0x2000ffff/C65535] Unknown Error"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        char out[512];
        FormatErrorString(rows[i].code, out, sizeof(out), rows[i].prefix, rows[i].kind);
        EXPECT_EQ(out, rows[i].text) << "row " << i;
        // In a buffer of 16 bytes: cut to 15 characters, nothing written past it.
        std::memset(out, 'X', sizeof(out));
        FormatErrorString(rows[i].code, out, 16, rows[i].prefix, rows[i].kind);
        EXPECT_EQ(std::string(out), rows[i].text.substr(0, 15)) << "row " << i;
        EXPECT_EQ(std::string(out + 16, 32), std::string(32, 'X')) << "row " << i;
    }
    EXPECT_TRUE(capture.HasErrorMessage("  FormatErrorString: Failed to retrieve formatted error description."));
    EXPECT_EQ(capture.ErrorLines().size(), 2u);  // one per call of row 4
    char out[512];
    FormatErrnoError(2, out);
    EXPECT_EQ(out, "[ERRNO 0x00000002/C0002] " + noSuchFile);
    platform::SetLastError(5);
    DescribeLastError(out, sizeof(out));
    EXPECT_EQ(std::string(out).rfind("[WIN32 0x00000005/C0005] ", 0), 0u) << out;
    EXPECT_GT(std::strlen(out), 25u);
    // Outside the exception table: empty, and the whole buffer zeroed.
    std::memset(out, 'X', sizeof(out));
    FormatErrorString(kStatusNoMemory, out, sizeof(out), true, kKindException);
    EXPECT_EQ(std::string(out, sizeof(out)), std::string(sizeof(out), '\0'));
}

TEST(ErrorCodes, DescribeException) {
    struct Row { ExceptionRecord record; std::string text; };
    const Row rows[] = {
        /*  0*/ {Record(0xC0000005u, 2, 1, 0x10),
                 kAccessViolation + " (Result of write operation at virtual address " + Addr("00000010") + ".)"},
        /*  1*/ {Record(0xC0000005u, 2, 0, 0xABCDEF),
                 kAccessViolation + " (Result of read operation at virtual address " + Addr("00ABCDEF") + ".)"},
        /*  2*/ {Record(0xC0000005u, 2, 8, 0x10),
                 kAccessViolation + " (Result of user-mode data execution prevention (DEP) violation at virtual "
                                    "address " + Addr("00000010") + ".)"},
        /*  3*/ {Record(0xC0000005u, 1, 1), kAccessViolation + " (Resulting from a write operation.)"},
        /*  4*/ {Record(0xC0000006u, 2, 0, 0x20),
                 kInPage + " (Result of virtual page read operation at virtual address " + Addr("00000020") + ".)"},
        // No parameters, another exception: no detail.
        /*  5*/ {Record(0xC0000005u, 0), kAccessViolation + " "},
        /*  6*/ {Record(0xC0000094u, 2, 1, 0x10), kIntDivide + " "},
        /*  7*/ {Record(kStatusNoMemory, 2, 1, 0x10), " "},
    };
    for (std::size_t i = 0; i < sizeof(rows) / sizeof(rows[0]); ++i) {
        char out[1024];
        int n = DescribeException(rows[i].record, out, sizeof(out));
        EXPECT_EQ(out, rows[i].text) << "row " << i;
        EXPECT_EQ(n, static_cast<int>(rows[i].text.size())) << "row " << i;
    }
    char small[40];
    std::memset(small, 'X', sizeof(small));
    EXPECT_EQ(DescribeException(Record(0xC0000005u, 2, 1, 0x10), small, 20), 19);
    EXPECT_EQ(std::string(small + 20, 20), std::string(20, 'X'));
}

TEST(ErrorCodes, UnhandledExceptionBox) {
    FixedSeams seams;
    EXPECT_EQ(ShowUnhandledExceptionBox(Record(kExceptionBreakpoint), "ZALCommon", "logging", "F"), 0);
    EXPECT_EQ(ShowUnhandledExceptionBox(Record(kExceptionSingleStep), "ZALCommon", "logging", "F"), 0);
    EXPECT_TRUE(FixedSeams::Boxes().empty());

    EXPECT_EQ(ShowUnhandledExceptionBox(Record(0xC0000005u, 2, 1, 0x10), "ZALCommon", "logging", "FormatErrorString"),
              1);
    ASSERT_EQ(FixedSeams::Boxes().size(), 1u);
    const FixedSeams::Box &box = FixedSeams::Boxes()[0];
    EXPECT_EQ(box.caption, "Unhandled Exception");
    EXPECT_EQ(box.style, 0x50010u);
    EXPECT_EQ(box.text, "An error has occurred:\n\nAn error occurred within the FormatErrorString function in "
                        "ZALCommon.\n\nError 5 in logging at " + Addr("00401A2B") + ":\n" + kAccessViolation +
                            " (Result of write operation at virtual address " + Addr("00000010") + ".)");

    const std::string longName(3000, 'm');
    EXPECT_EQ(ShowUnhandledExceptionBox(Record(0xC0000094u), longName.c_str(), nullptr, nullptr), 1);
    ASSERT_EQ(FixedSeams::Boxes().size(), 2u);
    EXPECT_EQ(FixedSeams::Boxes()[1].text.size(), 2047u);
}

// Structured (Windows) and C++ exceptions during a job: one error line, or
// none for the debugger's breakpoint and single-step exceptions.
TEST(ErrorCodes, ExceptionReports) {
    enum Kind { Job, Data, JobCpp, Unhandled };
    struct Row { Kind kind; uint32_t code; const char *module, *function; std::string message; };
    const std::string job = "An exception has been raised during job processing: ";
    const std::string data = "An exception has been raised during job data formatting: ";
    const std::string addr = Addr("00401A2B");
    const std::string tail = ") " + kIntDivide + " .";
    const std::string body = "[std::runtime_error] no media.";
    // clang-format off
    const Row rows[] = {
        /*  0*/ {Job,  0xC0000094u, "UPS", "upsPrint4x4", job + "(Error 94 in UPS at upsPrint4x4::" + addr + tail},
        /*  1*/ {Job,  0xC0000094u, "UPS", "", job + "(Error 94 in UPS at " + addr + tail},
        /*  2*/ {Job,  kExceptionBreakpoint, "UPS", "upsPrint4x4", ""},
        /*  3*/ {Data, 0xC0000094u, "LibFDX", nullptr, data + "(Error 94 in LibFDX at " + addr + tail},
        /*  4*/ {Data, 0xC0000094u, "", "FormatCommonData", data + "(Error 94 at FormatCommonData::" + addr + tail},
        /*  5*/ {Data, 0xC0000094u, nullptr, nullptr, data + "(Error 94 at " + addr + tail},
        /*  6*/ {Data, kExceptionSingleStep, "LibUPS", "F", ""},
        /*  7*/ {JobCpp, 0, "Common", "FontSamplePrint", job + "(Exception in Common at FontSamplePrint) " + body},
        /*  8*/ {JobCpp, 0, "Common", nullptr, job + "(Error in Common) " + body},
        /*  9*/ {JobCpp, 0, "", "CN22Print", job + "(Error at CN22Print) " + body},
        /* 10*/ {JobCpp, 0, nullptr, "", job + body},
        /* 11*/ {Unhandled, 0, "Exports", "ZALProcessJobA",
                 "An unhandled exception has been raised: (Exception in Exports at ZALProcessJobA) " + body},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        LogCapture capture;
        const ExceptionRecord record = Record(row.code);
        const std::runtime_error error("no media");
        switch (row.kind) {
        case Job: EXPECT_EQ(ReportJobException(record, row.module, row.function), row.message.empty() ? 0 : 1); break;
        case Data: EXPECT_EQ(ReportDataFormatException(record, row.module, row.function), row.message.empty() ? 0 : 1); break;
        case JobCpp: ReportJobCppException(error, row.module, row.function); break;
        case Unhandled: ReportUnhandledCppException(error, row.module, row.function); break;
        }
        auto lines = capture.ErrorLines();
        ASSERT_EQ(lines.size(), row.message.empty() ? 0u : 1u) << "row " << i;
        if (!lines.empty()) {
            EXPECT_TRUE(capture.HasErrorMessage("  " + row.message)) << "row " << i << ": " << lines[0];
        }
    }
}

TEST(ErrorCodes, ReportsAreCutTo1023) {
    LogCapture capture;
    const std::string longName(2000, 'f');
    ReportJobException(Record(0xC0000094u), "UPS", longName.c_str());
    ReportJobCppException(std::runtime_error(longName), "UPS", "upsPrint4x4");
    auto lines = capture.ErrorLines();
    ASSERT_EQ(lines.size(), 2u);
    for (const std::string &line : lines) {
        std::size_t start = line.find("An exception");
        ASSERT_NE(start, std::string::npos);
        EXPECT_EQ(line.size() - start, 1023u) << line.substr(0, 120);
    }
}

TEST(ErrorCodes, InvalidPointerReport) {
    // message: empty: no debug line
    struct Row { ExceptionRecord record; const char *name; uint32_t flags; int result; std::string message; };
    const std::string readDetail =
        kAccessViolation + " (Result of read operation at virtual address " + Addr("00000010") + ".).";
    const Row rows[] = {
        /*  0*/ {Record(0xC0000005u, 2, 0, 0x10), "label buffer", 0x8, 1,
                 "An invalid pointer \"label buffer\" caused a EXCEPTION_ACCESS_VIOLATION exception: (Error 5 "
                 "EXCEPTION_READ_FAULT in Heap at " + Addr("00401A2B") + ") " + readDetail},
        /*  1*/ {Record(0xC0000005u, 1, 1), nullptr, 0x8, 1,
                 "An invalid pointer caused an exception: (Error 5 EXCEPTION_WRITE_FAULT at " + Addr("00401A2B") +
                     ") " + kAccessViolation + " (Resulting from a write operation.)."},
        // Written only at DEBUG level; handled all the same.
        /*  2*/ {Record(0xC0000005u, 2, 0, 0x10), "label buffer", 0x4, 1, ""},
        // Anything but an access violation is left to the next handler.
        /*  3*/ {Record(0xC0000006u, 2, 0, 0x10), "label buffer", 0x8, 0, ""},
    };
    for (std::size_t i = 0; i < sizeof(rows) / sizeof(rows[0]); ++i) {
        const Row &row = rows[i];
        LogCapture capture(row.flags);
        capture.Unwrap();
        EXPECT_EQ(ReportInvalidPointer(row.record, row.name), row.result) << "row " << i;
        auto messages = capture.DebugMessages();
        if (row.message.empty()) {
            EXPECT_TRUE(messages.empty()) << "row " << i;
        } else {
            ASSERT_EQ(messages.size(), 1u) << "row " << i;
            EXPECT_EQ(messages[0], row.message) << "row " << i;
        }
    }
}

TEST(ErrorCodes, CppExceptionBodyStaysInItsBuffer) {
    char small[24];
    std::memset(small, 'X', sizeof(small));
    CppExceptionBody(std::out_of_range("disk gone"), small, 10);
    EXPECT_STREQ(small, "[std::out");
    EXPECT_EQ(std::string(small + 10, 14), std::string(14, 'X'));
}

}  // namespace
}  // namespace zal
