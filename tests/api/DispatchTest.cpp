#include "api/Dispatch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/LabelFixture.h"

namespace zal {
namespace {

using test::LabelJob;
using test::LogCapture;

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
        test::TempDir dir;
        const std::string given = dir.file(row.name);
        test::WriteFile(given, std::string("[Begin]\r\nCarrier=") + row.carrier + "\r\n");
        const std::string expected = row.expected[0] ? dir.file(row.expected) : given;
        std::size_t size = given.size() + 1 + row.spare;
        std::vector<char> name(size + 8, '#');
        CopyText(name.data(), size, given.c_str());
        {
            JobFile file(given.c_str());
            test::FilePort port;
            port.context.PortType = kPortTypeDiscard;
            LabelContext label(file, port.context);
            _JobInfoA record{};
            record.JobFile = given.c_str();
            record.ResultFileName = name.data();
            record.ResultFileNameSize = static_cast<uint32_t>(size);
            record.ResultFileFlag = row.flag;
            DoPeripheral(&record, label);
        }
        EXPECT_STREQ(name.data(), expected.c_str()) << "row " << i;
        EXPECT_EQ(name[size], '#') << "row " << i;  // nothing written past the buffer
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

}  // namespace
}  // namespace zal
