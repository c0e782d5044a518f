#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "api/Dispatch.h"
#include "api/JobFixture.h"
#include "common/JobState.h"
#include "support/TestSupport.h"

using zal::test::HostJob;
using zal::test::LogCapture;

namespace {

struct CarrierRow { const char *value; int code; };

TEST(Dispatch, LookupCarrierIgnoresCaseButNotBlanks) {
    // clang-format off
    const CarrierRow rows[] = {
        /*  0*/ {"UPS", 109},   /*  1*/ {"\"UPS \"", 999}, /*  2*/ {"UPS PICKUP", 110},
        /*  3*/ {"upsap", 134}, /*  4*/ {"", 999},         /*  5*/ {"FedEx", 999},
    };
    // clang-format on
    zal::test::TempDir dir;
    std::string file = dir.file("job.ini");
    for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        zal::test::WriteFile(file, std::string("[BEGIN]\r\nCarrier=") + rows[i].value + "\r\n");
        EXPECT_EQ(zal::LookupCarrier(file.c_str()), rows[i].code) << "row " << i;
    }
    EXPECT_EQ(zal::LookupCarrier(dir.file("none.ini").c_str()), 999);
}

struct VersionRow { const char *job; const char *line; };

TEST(Dispatch, VersionLine) {
    // clang-format off
    const VersionRow rows[] = {
        /*  0*/ {"Carrier=FDX\r\n",                        "A0550,1202,0,1,1,1,N,\"OV v23.03.01 Duzed "},
        /*  1*/ {"Carrier=FDX\r\nApplicationVersion=7.1\r\n", "A0460,1202,0,1,1,1,N,\"7.1 Duzed "},
        /*  2*/ {"Carrier=UPS\r\n",                        "OV v23.03.01 E2443 "},
        /*  3*/ {"Carrier=UPSPR\r\nApplicationVersion=7.1\r\n", "7.1 E2443 "},
    };
    // clang-format on
    for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        HostJob host(std::string("[Begin]\r\n") + rows[i].job);
        zal::JobContext context{};
        context.Media = MediaType{};  // too small: nothing printed, the line is still built
        zal::DoPeripheral(&host.job, &context);
        EXPECT_STREQ(zal::VersionLine(), rows[i].line) << "row " << i;
        EXPECT_STREQ(zal::ModelTag(), " Duzed ");
    }
}

struct MediaRow { float width; float length; bool pass; bool widthLine; bool lengthLine; };

TEST(Dispatch, CheckMediaDims) {
    // clang-format off
    const MediaRow rows[] = {
        /*  0*/ {4.0f, 4.25f, true,  false, false},
        /*  1*/ {3.9f, 6.0f,  false, true,  false},
        /*  2*/ {4.0f, 4.0f,  false, false, true},
        /*  3*/ {3.0f, 3.0f,  false, true,  true},
    };
    // clang-format on
    for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        LogCapture capture;
        zal::JobContext context{};
        context.Media.Width = rows[i].width;
        context.Media.Length = rows[i].length;
        EXPECT_EQ(zal::CheckMediaDims(&context), rows[i].pass) << "row " << i;
        EXPECT_EQ(capture.ErrorLines().size(), std::size_t(rows[i].widthLine + rows[i].lengthLine)) << "row " << i;
        if (i == 3) {
            EXPECT_TRUE(capture.HasErrorMessage(
                "CheckMediaDims: Media width of 3.00\" is too small. Requires a minimum of 4.00\" in width."));
            EXPECT_TRUE(capture.HasErrorMessage(
                "CheckMediaDims: Media length of 3.00\" is too small. Requires a minimum of 4.25\" in length."));
        }
    }
}

TEST(Dispatch, CopiesRepeatTheWholeIteration) {
    LogCapture capture;
    HostJob host("[Begin]\r\nCarrier=UPS\r\nNumberOfCopies=3\r\n");
    zal::JobContext context{};
    context.Media.Width = 4.0f;
    context.Media.Length = 4.0f;
    EXPECT_EQ(zal::DoPeripheral(&host.job, &context), -1213);
    int lines = 0;
    for (const std::string &line : capture.ErrorLines()) {
        if (line.find("DoPeripheral: Media is too small. Printing cancelled.") != std::string::npos) ++lines;
    }
    EXPECT_EQ(lines, 3);
}

// name: the job file's name in the result-name buffer
// spare: bytes of that buffer beyond the name and its terminator
// expected: result name left in the buffer ("" = unchanged)
struct ResultRow { const char *name; std::size_t spare; int flag; const char *carrier, *expected; bool jobKept; };

TEST(Dispatch, ResultFileNames) {
    // clang-format off
    const ResultRow rows[] = {
        /*  0*/ {"JOB123.JOB", 100, 1, "DIAG",    "JOB123.OK",  false},
        /*  1*/ {"JOB123.JOB", 0,   1, "UPSFLEX", "JOB123.ERR", false},
        /*  2*/ {"JOB9.ERR",   100, 1, "UPSFLEX", "JOB9.ERR",   true},   // already its result: never deleted
        /*  3*/ {"NOEXT",      100, 1, "DIAG",    "NOEXT.OK",   false},  // no extension: nothing cut
        /*  4*/ {"J.X",        1,   1, "UPSFLEX", "",           true},   // "J.ERR" does not fit: kept
        /*  5*/ {"J.X",        2,   1, "UPSFLEX", "J.ERR",      false},
        /*  6*/ {"JOB1.JOB",   100, 0, "DIAG",    "",           false},  // no result file asked: deleted
    };
    // clang-format on
    for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        LogCapture capture;
        HostJob host(std::string("[Begin]\r\nCarrier=") + rows[i].carrier + "\r\n");
        std::string job = host.dir.file(rows[i].name);
        zal::test::WriteFile(job, std::string("[Begin]\r\nCarrier=") + rows[i].carrier + "\r\n");
        std::string given = job;
        std::string expected = rows[i].expected[0] ? host.dir.file(rows[i].expected) : given;
        std::size_t size = given.size() + 1 + rows[i].spare;
        std::vector<char> name(size + 8, '#');
        zal::CopyText(name.data(), size, given.c_str());
        host.job.JobFile = job.c_str();
        host.job.ResultFileName = name.data();
        host.job.ResultFileNameSize = static_cast<uint32_t>(size);
        host.job.ResultFileFlag = rows[i].flag;
        zal::JobContext context{};
        context.Media.Width = 4.0f;
        context.Media.Length = 6.0f;
        context.PortType = zal::kPortTypeDiscard;
        zal::DoPeripheral(&host.job, &context);
        EXPECT_STREQ(name.data(), expected.c_str()) << "row " << i;
        EXPECT_EQ(name[size], '#') << "row " << i;  // nothing written past the buffer
        EXPECT_EQ(zal::test::FileExists(job), rows[i].jobKept) << "row " << i;
        if (rows[i].flag && rows[i].expected[0]) {
            EXPECT_TRUE(zal::test::FileExists(expected)) << "row " << i;
        }
    }
}

TEST(Dispatch, HeaderPrefixFollowsTheDevice) {
    struct Row { uint16_t id; const char *description; const char *firstLine; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {1, "Label", "M132,5,5\n"},
        /*  1*/ {0, "no-mem", "N\n"},
        /*  2*/ {0, "no-mem printer", "M132,5,5\n"},
    };
    // clang-format on
    for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        HostJob host("[Begin]\r\nCarrier=GEN\r\n");
        zal::JobContext context{};
        context.Media.Width = 4.0f;
        context.Media.Length = 6.0f;
        context.DeviceId = rows[i].id;
        zal::CopyText(context.DeviceDescription, rows[i].description);
        zal::CopyText(context.OutputFile, host.outFile.c_str());
        ASSERT_EQ(zal::DoPeripheral(&host.job, &context), 0) << "row " << i;
        std::string out = host.Output();
        EXPECT_EQ(out.substr(0, std::strlen(rows[i].firstLine)), rows[i].firstLine) << "row " << i;
    }
}

}  // namespace
