// What a job file holds for a job, as the view finds it when opened, and
// the refusal that cannot be written.
#include <gtest/gtest.h>

#include <string>

#include "common/JobFile.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

namespace zal {
namespace {

// A job whose [Begin] section follows filler that brings the file to the
// given size.
std::string PaddedJob(std::size_t size) {
    const std::string job = "[Begin]\r\nCarrier=UPS\r\n";
    return std::string(size - job.size(), '\n') + job;
}

// (JobInputTest holds the missing, unreadable, empty and section-less files
// through the dispatch.)
TEST(JobFileState, FoundWhenOpened) {
    // clang-format off
    const struct { const char *what; JobFileState state; const char *carrier; } rows[] = {
        /*  0*/ {"job",             JobFileState::Ready,        "UPS"},
        /*  1*/ {"lower case",      JobFileState::Ready,        "UPS"},
        /*  2*/ {"empty section",   JobFileState::Ready,        ""},
        /*  3*/ {"keys only",       JobFileState::NoJobSection, ""},
        /*  4*/ {"16 MB",           JobFileState::Ready,        "UPS"},  // the largest job file taken
        /*  5*/ {"16 MB + 1",       JobFileState::TooLarge,     ""},
    };
    // clang-format on
    for (const auto &row : rows) {
        const std::string what = row.what;
        test::TempDir dir;
        const std::string path = dir.file("job.ini");
        if (what == "job") test::WriteFile(path, "[Begin]\r\nCarrier=UPS\r\n");
        if (what == "lower case") test::WriteFile(path, "[begin]\r\ncarrier=UPS\r\n");
        if (what == "empty section") test::WriteFile(path, "[Begin]\r\n[Error]\r\nCarrier=UPS\r\n");
        if (what == "keys only") test::WriteFile(path, "Carrier=UPS\r\n");
        if (what == "16 MB") test::WriteFile(path, PaddedJob(kMaxJobFileBytes));
        if (what == "16 MB + 1") test::WriteFile(path, PaddedJob(kMaxJobFileBytes + 1));
        const JobFile job(path.c_str());
        EXPECT_EQ(job.State(), row.state) << what;
        char carrier[16] = "x";
        job.Raw("Carrier", "", carrier);
        EXPECT_STREQ(carrier, row.carrier) << what;
    }
    EXPECT_EQ(JobFile(nullptr).State(), JobFileState::Missing);
}

// A refusal whose reason cannot reach the job file says so in the error log.
TEST(JobFileState, AnUnwrittenRefusalIsLogged) {
    test::LogCapture log;
    log.Unwrap();
    test::TempDir dir;
    const std::string path = dir.file("gone") + test::Separator() + "job.ini";
    EXPECT_FALSE(JobFile(path.c_str()).Refuse("Bad zip"));
    EXPECT_TRUE(log.Logged("The reason \"Bad zip\" could not be written to the job file \"" + path + "\"; "));
}

}  // namespace
}  // namespace zal
