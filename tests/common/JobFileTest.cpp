// The job file view: its reads answer as the readers do, what it finds
// when opened, and refusals written for the host (or logged when they
// cannot be).
#include "common/JobFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/Settings.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

namespace zal {
namespace {

// The view answers exactly what the job-file readers and the profile reads
// answer; String keeps the bytes, Value only the kept ones.
TEST(JobFileTest, ReadsAnswerAsTheReaders) {
    test::LogCapture log;
    test::TempDir dir;
    const std::string path = test::WriteJob(dir,
                                            "Carrier=UPS\nEmpty=\nSentinel=__I_V_N_F__\nTabbed=Ship\tTo\n"
                                            "Accent=Caf\xE9 \xA9 \x99 \xAE \xF7 end\nCount=12abc\nQuoted=\"a b\"\n");
    const JobFile job(path.c_str());
    // ok: String's answer (Value's too)
    struct Row { const char *key, *defaultValue; std::size_t size; bool ok; const char *string, *value; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"carrier",  nullptr, 64, true,  "UPS", "UPS"},
        /*  1*/ {"Missing",  nullptr, 64, false, "", ""},
        /*  2*/ {"Missing",  "d\te",  64, true,  "d\te", "de"},
        /*  3*/ {"Empty",    "dflt",  64, true,  "", ""},
        /*  4*/ {"Sentinel", nullptr, 64, false, "", ""},  // the stored sentinel counts as missing
        /*  5*/ {"Tabbed",   nullptr, 64, true,  "Ship\tTo", "ShipTo"},
        /*  6*/ {"Accent",   nullptr, 64, true,  "Caf\xE9 \xA9 \x99 \xAE \xF7 end", "Caf \xA9 \x99 \xAE \xF7 end"},
        /*  7*/ {"Tabbed",   nullptr, 5,  true,  "Ship", "Ship"},
        /*  8*/ {"Quoted",   nullptr, 64, true,  "a b", "a b"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        char viewed[64], read[64];
        std::size_t viewedLength = 99, readLength = 98;
        EXPECT_EQ(job.String(r.key, r.defaultValue, viewed, r.size, &viewedLength), r.ok) << "row " << i;
        EXPECT_EQ(ReadINIString(r.key, r.defaultValue, read, r.size, &readLength, path.c_str()), r.ok) << "row " << i;
        EXPECT_STREQ(viewed, r.string) << "row " << i;
        EXPECT_STREQ(read, r.string) << "row " << i;
        EXPECT_EQ(viewedLength, std::strlen(r.string)) << "row " << i;
        EXPECT_EQ(readLength, viewedLength) << "row " << i;
        EXPECT_EQ(job.Value(r.key, r.defaultValue, viewed, r.size, nullptr), r.ok) << "row " << i;
        EXPECT_EQ(ReadINIValue(r.key, r.defaultValue, read, r.size, nullptr, path.c_str()), r.ok) << "row " << i;
        EXPECT_STREQ(viewed, r.value) << "row " << i;
        EXPECT_STREQ(read, r.value) << "row " << i;
        const char *rawDefault = r.defaultValue != nullptr ? r.defaultValue : "";
        uint32_t n = platform::GetPrivateProfileString(kJobSection, r.key, rawDefault, read, 64, path.c_str());
        EXPECT_EQ(job.Raw(r.key, rawDefault, viewed, 64), n) << "row " << i;
        EXPECT_STREQ(viewed, read) << "row " << i;
    }
    // numbers: ReadINIInt and the profile way ("12abc" is 12 both)
    for (const char *key : {"Count", "Carrier", "Missing"}) {
        int32_t viewed = -1, read = -2;
        EXPECT_EQ(job.Int(key, 2020, &viewed), ReadINIInt(key, 2020, &read, path.c_str())) << key;
        EXPECT_EQ(viewed, read) << key;
        EXPECT_EQ(job.RawInt(key, 2020),
                  static_cast<int32_t>(platform::GetPrivateProfileInt(kJobSection, key, 2020, path.c_str())))
            << key;
    }
    EXPECT_EQ(job.RawInt("Count", 0), 12);
}

// A missing file fails with its error line, a null path as a missing name;
// a refusal writes its reason for the host, or says why it could not.
TEST(JobFileTest, MissingFileNullPathAndRefusal) {
    test::LogCapture log;
    test::TempDir dir;
    char out[16] = "x";
    const std::string missing = dir.file("none.ini");
    EXPECT_FALSE(JobFile(missing.c_str()).String("Carrier", "d", out, sizeof out));
    EXPECT_TRUE(log.HasErrorMessage("INI file reading failed: Filename \"" + missing + "\" was not found."));
    const JobFile none(nullptr);
    EXPECT_FALSE(none.String("Carrier", "d", out, sizeof out));
    EXPECT_TRUE(log.HasErrorMessage("INI file reading failed: Filename is invalid."));
    EXPECT_FALSE(none.Refuse("why"));
    const std::string path = test::WriteJob(dir, "Carrier=UPS\n");
    EXPECT_TRUE(JobFile(path.c_str()).Refuse("Bad zip"));
    char text[32] = "";
    platform::GetPrivateProfileString("Error", "Description", "", text, sizeof text, path.c_str());
    EXPECT_STREQ(text, "Bad zip");
    EXPECT_NE(test::ReadFile(path).find("Carrier=UPS"), std::string::npos);
    // A reason that cannot reach the job file says so in the error log.
    const std::string gone = dir.file("gone") + test::Separator() + "job.ini";
    EXPECT_FALSE(JobFile(gone.c_str()).Refuse("Bad zip"));
    EXPECT_TRUE(log.Logged("The reason \"Bad zip\" could not be written to the job file \"" + gone + "\"; "));
}

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

}  // namespace
}  // namespace zal
