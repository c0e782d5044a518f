// The dispatch of a job file: the media check, the header's memory command,
// the result file it becomes; and jobs that print nothing rather than a
// wrong label: a job file that holds no job, more copies than a host may
// ask for, and a failed copy that ends the job instead of failing again
// copy after copy.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "api/Dispatch.h"
#include "common/ErrorCodes.h"
#include "support/LabelFixture.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <share.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace zal {
namespace {

using test::LabelJob;
using test::LogCapture;

// The dispatch of the job file at path (which may be missing) to the port,
// with a result file (flag 1) or none (0), in a host's name buffer of spare
// bytes beyond the path and its terminator: what it returned and sent, and
// the name left in the buffer and the reason the result file holds.
struct Dispatched {
    int32_t result = 0;
    std::string sent;
    std::string description;
    std::string name;
    bool bufferKept = false;  // nothing written past the name buffer
    std::size_t labels = 0;   // print commands sent
};

Dispatched Dispatch(const std::string &path, test::FilePort &port, std::size_t spare = 15, int flag = 1) {
    Dispatched out;
    const std::size_t size = path.size() + 1 + spare;
    std::vector<char> name(size + 8, '#');
    CopyText(name.data(), size, path.c_str());
    {
        JobFile file(path.c_str());
        LabelContext label(file, port.context);
        label.options = PrinterOptions{"7", "4", "0", "0"};
        _JobInfoA record{};
        record.JobFile = path.c_str();
        record.ResultFileName = name.data();
        record.ResultFileNameSize = static_cast<uint32_t>(size);
        record.ResultFileFlag = flag;
        out.result = DoPeripheral(&record, label);
    }
    out.sent = port.Sent();
    for (std::size_t at = out.sent.find("\nP"); at != std::string::npos; at = out.sent.find("\nP", at + 1)) ++out.labels;
    out.name = name.data();
    out.bufferKept = name[size] == '#';
    char text[128] = "";
    platform::GetPrivateProfileString("Error", "Description", "", text, sizeof text, name.data());
    out.description = text;
    return out;
}

TEST(Dispatch, CheckMediaDims) {
    const std::string width = "CheckMediaDims: Media width of 3.90\" is too small. Requires a minimum of 4.00\" in width.";
    const std::string length =
        "CheckMediaDims: Media length of 4.24\" is too small. Requires a minimum of 4.25\" in length.";
    // clang-format off
    const struct { float width, length; bool pass; std::vector<std::string> errors; } rows[] = {
        /*  0*/ {4.0f, 4.25f, true,  {}},
        /*  1*/ {3.9f, 6.0f,  false, {width}},
        /*  2*/ {4.0f, 4.24f, false, {length}},
        /*  3*/ {3.9f, 4.24f, false, {length, width}},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        LogCapture capture;
        JobContext context{};
        context.Media.Width = rows[i].width;
        context.Media.Length = rows[i].length;
        EXPECT_EQ(CheckMediaDims(&context), rows[i].pass) << "row " << i;
        std::vector<std::string> errors;
        for (const std::string &line : capture.ErrorLines()) errors.push_back(line.substr(line.find("CheckMediaDims")));
        EXPECT_EQ(errors, rows[i].errors) << "row " << i;
    }
}

// The job file becomes its result file beside it, or is deleted.
TEST(Dispatch, ResultFileNames) {
    // spare: bytes of the name buffer beyond the name and its terminator
    // expected: the name left in the buffer ("" = unchanged)
    struct Row { const char *name; std::size_t spare; int flag; const char *carrier, *expected; bool jobKept; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"JOB123.JOB", 0,   1, "UPSFLEX", "JOB123.ERR", false},
        /*  1*/ {"JOB9.ERR",   100, 1, "UPSFLEX", "JOB9.ERR",   true},   // already its result: never deleted
        /*  2*/ {"NOEXT",      100, 1, "DIAG",    "NOEXT.OK",   false},  // no extension: nothing cut
        /*  3*/ {"J.X",        1,   1, "UPSFLEX", "",           true},   // "J.ERR" does not fit: kept
        /*  4*/ {"J.X",        2,   1, "UPSFLEX", "J.ERR",      false},
        /*  5*/ {"JOB1.JOB",   100, 0, "DIAG",    "",           false},  // no result file asked: deleted
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        LogCapture capture;
        test::FilePort port;
        port.context.PortType = kPortTypeDiscard;
        const std::string given = port.dir.file(row.name);
        test::WriteFile(given, std::string("[Begin]\r\nCarrier=") + row.carrier + "\r\n");
        const std::string expected = row.expected[0] ? port.dir.file(row.expected) : given;
        const Dispatched job = Dispatch(given, port, row.spare, row.flag);
        EXPECT_EQ(job.name, expected) << "row " << i;
        EXPECT_TRUE(job.bufferKept) << "row " << i;
        EXPECT_EQ(test::FileExists(given), row.jobKept) << "row " << i;
        if (row.flag && row.expected[0]) {
            EXPECT_TRUE(test::FileExists(expected)) << "row " << i;
        }
    }
}

// Device id 0 takes the memory command unless its description is exactly
// "no-mem" (the goldens print devices 1 and 2).
TEST(Dispatch, HeaderPrefixFollowsTheDevice) {
    // clang-format off
    const struct { uint16_t id; const char *description; const char *start; } rows[] = {
        /*  0*/ {0, "no-mem", "N\n"},
        /*  1*/ {0, "no-mem printer", "M132,5,5\n"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        LabelJob job("Carrier=GEN\n");
        job.port.context.DeviceId = rows[i].id;
        CopyText(job.port.context.DeviceDescription, rows[i].description);
        ASSERT_EQ(job.Dispatch(), 0) << "row " << i;
        EXPECT_EQ(job.Sent().rfind(rows[i].start, 0), 0u) << "row " << i;
    }
}

std::string GenericJob(const std::string &copies) {
    return "[Begin]\r\nCarrier=GEN\r\nShipTo1=Harrow & Finch\r\nNumberOfCopies=" + copies + "\r\n";
}

// A count is read whole: one too large for 32 bits is not cut down to a
// small one, and one within them is not printed a billion times.
TEST(JobInput, CopiesBeyondTheLimitAreRefused) {
    const char *refusal = "Number of copies must not be more than 1000.";
    const char *line = "DoPeripheral: More than 1000 copies were asked for. Printing cancelled.";
    // clang-format off
    const struct { const char *copies; int32_t result; std::size_t labels; const char *description; } rows[] = {
        /*  0*/ {"999999999",            ZALERR_JOB_BADINPUT,       0, refusal},
        /*  1*/ {"99999999999999999999", ZALERR_JOB_BADINPUT,       0, refusal},
        /*  2*/ {"4294967297",           ZALERR_JOB_BADINPUT,       0, refusal},  // 2^32 + 1: 1 in 32 bits
        /*  3*/ {"1001",                 ZALERR_JOB_BADINPUT,       0, refusal},
        /*  4*/ {"0x3E9",                ZALERR_JOB_BADINPUT,       0, refusal},  // 1001
        /*  5*/ {"-4294967295",          ZALERR_LABEL_PRINTGENERIC, 0, ""},       // 1 in 32 bits: none asked
        /*  6*/ {"3",                    ZALERR_SUCCESS,            3, ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        LogCapture capture;
        capture.Unwrap();
        test::FilePort port;
        const std::string path = port.dir.file("JOB1.JOB");
        test::WriteFile(path, GenericJob(rows[i].copies));
        const Dispatched job = Dispatch(path, port);
        EXPECT_EQ(job.result, rows[i].result) << "row " << i;
        EXPECT_EQ(job.labels, rows[i].labels) << "row " << i;
        EXPECT_EQ(job.description, rows[i].description) << "row " << i;
        EXPECT_EQ(capture.HasErrorMessage(line), rows[i].result == ZALERR_JOB_BADINPUT) << "row " << i;
    }
}

// The copies that follow a failed one are not tried: a port that cannot be
// opened is tried once, not once per copy.
TEST(JobInput, AFailedCopyEndsTheJob) {
    std::size_t tries[2] = {};
    const char *copies[2] = {"1", "3"};
    for (int n = 0; n < 2; ++n) {
        LogCapture capture;
        capture.Unwrap();
        test::FilePort port;
        CopyText(port.context.OutputFile, port.dir.file("missing" + std::string(1, test::Separator()) + "out.epl").c_str());
        const std::string path = port.dir.file("JOB1.JOB");
        test::WriteFile(path, GenericJob(copies[n]));
        EXPECT_EQ(Dispatch(path, port).result, ZALERR_PRINTER_OPENFAIL) << copies[n];
        const auto messages = capture.DebugMessages();
        tries[n] = static_cast<std::size_t>(std::count_if(messages.begin(), messages.end(), [](const std::string &m) {
            return m.find("GENERIC LABEL") != std::string::npos;
        }));
    }
    EXPECT_EQ(tries[0], 1u);
    EXPECT_EQ(tries[1], tries[0]);
}

// A job file that holds no job prints nothing, with its code and its line.
TEST(JobInput, AJobFileWithoutAJobPrintsNothing) {
    struct Row {
        const char *what;
        int32_t result;
        const char *line;  // after the job file's quoted path
    };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"missing",    LABEL_FILENOTFOUND,  "\" was not found. Printing cancelled."},
        /*  1*/ {"no section", ZALERR_JOB_BADINPUT, "\" has no [Begin] section. Printing cancelled."},
        /*  2*/ {"empty",      ZALERR_JOB_BADINPUT, "\" has no [Begin] section. Printing cancelled."},
        /*  3*/ {"17 MB",      ZALERR_JOB_BADINPUT, "\" is larger than 16 MB: it holds no job. Printing cancelled."},
        /*  4*/ {"folder",     LABEL_ACCESSDENIED,  nullptr},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const std::string what = rows[i].what;
        LogCapture capture;
        capture.Unwrap();
        test::FilePort port;
        const std::string path = port.dir.file("JOB1.JOB");
        if (what == "no section") test::WriteFile(path, "[Error]\r\nCarrier=GEN\r\nShipTo1=Harrow & Finch\r\n");
        if (what == "empty") test::WriteFile(path, "");
        if (what == "17 MB") test::WriteFile(path, GenericJob("1") + std::string(17u << 20, ' '));
        if (what == "folder") platform::CreateDirectory(path.c_str());
        const Dispatched job = Dispatch(path, port);
        EXPECT_EQ(job.result, rows[i].result) << what;
        EXPECT_EQ(job.sent, "") << what;
        if (rows[i].line != nullptr) {
            EXPECT_TRUE(capture.HasErrorMessage("DoPeripheral: The job file \"" + path + rows[i].line)) << what;
        } else {
            EXPECT_TRUE(capture.Logged("DoPeripheral: The job file \"" + path + "\" could not be read; ")) << what;
        }
    }
}

// The host's buffer names the result file only once it exists: a job file
// that could not be renamed (a folder holds the name) keeps its name there.
TEST(JobInput, AResultFileThatCannotBeMadeLeavesTheName) {
    LogCapture capture;
    capture.Unwrap();
    test::FilePort port;
    const std::string path = port.dir.file("JOB1.JOB");
    test::WriteFile(path, GenericJob("1"));
    ASSERT_TRUE(platform::CreateDirectory(port.dir.file("JOB1.OK").c_str()));
    const Dispatched job = Dispatch(path, port);
    EXPECT_EQ(job.result, ZALERR_SUCCESS);
    EXPECT_EQ(job.name, path);
    EXPECT_TRUE(test::FileExists(path));
    EXPECT_TRUE(capture.Logged("DoPeripheral: Failed to rename the job file \"" + path + "\" to \"" +
                               port.dir.file("JOB1.OK") + "\"; "));
}

#if !defined(_WIN32)
bool CanOpen(const std::string &path) {
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd >= 0) ::close(fd);
    return fd >= 0;
}

#endif

// A job file that cannot be read is refused, not printed with empty fields.
TEST(JobInput, AnUnreadableJobFileIsRefused) {
    LogCapture capture;
    capture.Unwrap();
    test::FilePort port;
    const std::string path = port.dir.file("JOB1.JOB");
    test::WriteFile(path, GenericJob("1"));
#if defined(_WIN32)
    // Held open by another program that lets nobody read it.
    int held = _sopen(path.c_str(), _O_RDONLY, _SH_DENYRW);
    ASSERT_GE(held, 0);
    const Dispatched job = Dispatch(path, port);
    _close(held);
#else
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    if (CanOpen(path)) {
        if (std::getenv("ZAL2443_TEST_WITHOUT_CAPS") != nullptr) {
            GTEST_SKIP() << "a file of mode 000 is readable even without the capabilities";
        }
        int status = test::RerunWithoutCapabilities();
        if (status < 0) GTEST_SKIP() << "running as root, and setpriv could not drop the capabilities";
        EXPECT_EQ(status, 0) << "the test failed without the capabilities";
        return;
    }
    const Dispatched job = Dispatch(path, port);
    ::chmod(path.c_str(), 0644);
#endif
    EXPECT_EQ(job.result, LABEL_ACCESSDENIED);
    EXPECT_EQ(job.sent, "");
    EXPECT_TRUE(capture.Logged("DoPeripheral: The job file \"" + path + "\" could not be read; "));
}

}  // namespace
}  // namespace zal
