#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "formatting/ups/LibUPS.h"
#include "formatting/ups/UpsInternal.h"
#include "formatting/ups/UpsJob.h"

namespace zal {
namespace {

// The whole UPS formatting of a job, as the UPS labels call it.
struct Formatted : test::UpsRun {
    explicit Formatted(const std::string &lines) : UpsRun(lines, upsFormatData) {}
};

TEST(UpsFormatTest, DomesticLabelData) {
    test::LogCapture log;
    Formatted f("StreetAddress=1 O'HARE DR\n");
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
    EXPECT_EQ(ups.TermsLineCount, 0);
}

TEST(UpsFormatTest, FailuresNameTheirStep) {
    // clang-format off
    const struct { const char *job; const char *errorLine; } rows[] = {
        /*  0*/ {"TrackingNumber=1Z12345E020527168\n",  "Error while formatting UPS common data."},
        /*  1*/ {"TrackingNumber=1Z999999BB00000010\n", "Error while formatting UPS common data."},
        /*  2*/ {"Carrier=UPSPR\n",                     "Error while formatting UPS PDF-417 data."},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::LogCapture log;
        Formatted f(rows[i].job);
        EXPECT_FALSE(f.ok) << "row " << i;
        EXPECT_TRUE(log.HasErrorMessage(rows[i].errorLine)) << "row " << i;
    }
    JobFile none(nullptr);
    JobContext device{};
    LabelContext label(none, device);
    auto ups = NewUpsData();
    auto common = std::make_unique<CommonData>();
    EXPECT_FALSE(upsFormatData(*ups, *common, label));
}

// International and Puerto Rico labels and paperless invoices carry the
// terms notice, wrapped in the 13 lines of at most 80 characters that the
// paperless invoice prints.
TEST(UpsFormatTest, TermsNotice) {
    // clang-format off
    const struct { const char *job; bool notice; } rows[] = {
        /*  0*/ {"Carrier=UPSINT\nISOCode=124\nShipToZip=K1A0B1\n", true},
        /*  1*/ {"Carrier=UPSPR\nISOCode=630\nShipToZip=00907\nPDF417_01sMsgVer=07\nPDF417_01String=S1\n", true},
        /*  2*/ {"PaperlessFlag=y\n", true},
        /*  3*/ {"", false},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Formatted f(rows[i].job);
        ASSERT_TRUE(f.ok) << "row " << i;
        const UpsData &ups = *f.ups;
        std::string joined;
        for (int line = 0; line < ups.TermsLineCount; ++line) {
            EXPECT_LE(std::strlen(ups.TermsLines[line]), 80u) << "line " << line;
            joined += (line > 0 ? " " : "") + std::string(ups.TermsLines[line]);
        }
        EXPECT_EQ(ups.TermsLineCount, rows[i].notice ? 13 : 0) << "row " << i;
        EXPECT_EQ(joined, rows[i].notice ? kUpsTermsNotice : "") << "row " << i;
    }
}

}  // namespace
}  // namespace zal
