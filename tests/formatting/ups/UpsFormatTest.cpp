#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "formatting/ups/LibUPS.h"
#include "formatting/ups/UpsInternal.h"
#include "formatting/ups/UpsJob.h"
#include "support/TestSupport.h"

namespace zal {
namespace {

// The whole UPS formatting of a job, as the job entry calls it.
test::UpsRun FormatAll(const std::string &lines) {
    test::UpsRun run(lines);
    _JobInfoA job{};
    job.JobTag = "UPSTEST";
    job.JobFile = run.jobFile.c_str();
    run.ok = upsFormatData(*run.ups, *run.common, &job);
    return run;
}

TEST(UpsFormatTest, DomesticLabelData) {
    test::LogCapture log;
    auto f = FormatAll("StreetAddress=1 O'HARE DR\n");
    ASSERT_TRUE(f.ok);
    const UpsData &ups = *f.ups;
    // the MaxiCode data is escaped for its quoted EPL field
    const std::string maxi = ups.MaxiCodeData;
    EXPECT_EQ(maxi.rfind("[)>\x1E" "01\x1D" "96", 0), 0u) << maxi;
    EXPECT_NE(maxi.find("1 O\\'HARE DR"), std::string::npos) << maxi;
    EXPECT_TRUE(ups.MaxiCodeReady);
    EXPECT_EQ(ups.MaxiCodeLength, static_cast<int32_t>(maxi.size()));
    // no PDF417 on a domestic label, and no terms notice
    EXPECT_EQ(ups.PDF417Length, 0);
    EXPECT_TRUE(log.HasDebugMessage("LibUPSFormatPDF417Data: Skipping unnecessary PDF417 processing."));
    EXPECT_EQ(ups.TermsLineCount, 0);
}

TEST(UpsFormatTest, FailuresNameTheirStep) {
    struct Row { const char *job; const char *errorLine; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"TrackingNumber=1Z12345E020527168\n", "Error while formatting UPS common data."},
        /*  1*/ {"TrackingNumber=1Z999999BB00000010\n", "Error while formatting UPS common data."},
        /*  2*/ {"Carrier=UPSPR\n", "Error while formatting UPS PDF-417 data."},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::LogCapture log;
        auto f = FormatAll(rows[i].job);
        EXPECT_FALSE(f.ok) << "row " << i;
        EXPECT_TRUE(log.HasErrorMessage(rows[i].errorLine)) << "row " << i;
    }
    _JobInfoA empty{};
    auto ups = std::make_unique<UpsData>();
    auto common = std::make_unique<CommonData>();
    EXPECT_FALSE(upsFormatData(*ups, *common, &empty));
    EXPECT_FALSE(upsFormatData(*ups, *common, nullptr));
}

TEST(UpsFormatTest, TermsNotice) {
    struct Row { const char *job; bool notice; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"Carrier=UPSINT\nISOCode=124\nShipToZip=K1A0B1\n", true},
        /*  1*/ {"PaperlessFlag=y\n", true},
        /*  2*/ {"", false},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        auto f = FormatAll(rows[i].job);
        ASSERT_TRUE(f.ok) << "row " << i;
        const UpsData &ups = *f.ups;
        if (!rows[i].notice) {
            EXPECT_EQ(ups.TermsLineCount, 0) << "row " << i;
            continue;
        }
        ASSERT_GT(ups.TermsLineCount, 0) << "row " << i;
        ASSERT_LE(ups.TermsLineCount, 15) << "row " << i;
        std::string joined;
        for (int line = 0; line < ups.TermsLineCount; ++line) {
            EXPECT_LE(std::strlen(ups.TermsLines[line]), 80u) << "line " << line;
            EXPECT_GT(std::strlen(ups.TermsLines[line]), 0u) << "line " << line;
            joined += (line > 0 ? " " : "") + std::string(ups.TermsLines[line]);
        }
        EXPECT_EQ(joined, kUpsTermsNotice) << "row " << i;
        const std::string last = ups.TermsLines[ups.TermsLineCount - 1];
        const std::string ending = "Diversion contrary to law is prohibited.";
        EXPECT_EQ(last.substr(last.size() - ending.size()), ending);
    }
}

}  // namespace
}  // namespace zal
