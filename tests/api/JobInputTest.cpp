// Jobs that print nothing rather than a wrong label: a job file that holds
// no job, more copies than a host may ask for; and a failed copy that ends
// the job instead of failing again copy after copy.
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

using test::LogCapture;

// The dispatch of the job file at path (which may be missing) to the FILE
// port, with a result file: what it returned and sent, and the reason the
// result file holds.
struct Dispatched {
    int32_t result = 0;
    std::string sent;
    std::string description;
    std::string name;        // left in the host's buffer
    std::size_t labels = 0;  // print commands sent
};

Dispatched Dispatch(const std::string &path, test::FilePort &port) {
    Dispatched out;
    std::vector<char> name(path.size() + 16, '\0');
    CopyText(name.data(), name.size(), path.c_str());
    {
        JobFile file(path.c_str());
        LabelContext label(file, port.context);
        label.options = PrinterOptions{"7", "4", "0", "0"};
        _JobInfoA record{};
        record.JobFile = path.c_str();
        record.ResultFileName = name.data();
        record.ResultFileNameSize = static_cast<uint32_t>(name.size());
        record.ResultFileFlag = 1;
        out.result = DoPeripheral(&record, label);
    }
    out.sent = port.Sent();
    for (std::size_t at = out.sent.find("\nP"); at != std::string::npos; at = out.sent.find("\nP", at + 1)) ++out.labels;
    char text[128] = "";
    platform::GetPrivateProfileString("Error", "Description", "", text, sizeof text, name.data());
    out.description = text;
    out.name = name.data();
    return out;
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

// Runs the current test again in a child without the capabilities that
// let root read any file (setpriv of util-linux); its status, or -1 when it
// could not be started.
int RerunWithoutCapabilities() {
    char self[4096];
    ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return -1;
    self[n] = '\0';
    const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter = std::string("--gtest_filter=") + info->test_suite_name() + "." + info->name();
    pid_t child = ::fork();
    if (child == 0) {
        ::setenv("ZAL2443_TEST_WITHOUT_CAPS", "1", 1);
        ::execlp("setpriv", "setpriv", "--inh-caps=-all", "--bounding-set=-all", self, filter.c_str(),
                 static_cast<char *>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status) == 127 ? -1 : WEXITSTATUS(status);
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
        int status = RerunWithoutCapabilities();
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
