#include "formatting/ups/UpsPickupData.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/LabelFixture.h"

namespace zal {
namespace {

const std::string RS = "\x1E", GS = "\x1D", EOT = "\x04";

// The printed texts of the summary: the shipping record and account in
// their groups, the control-log line, the pending mark (the goldens
// ups-pickup-* print full values and the control-log line).
TEST(UpsPickupDataTest, SummaryTexts) {
    // fields: ShippingRecordText | AccountText | ControlLogText | PendingText
    struct Row { const char *lines; const char *fields; };
    // clang-format off
    const Row rows[] = {
        // short values keep the groups' places
        /*  0*/ {"ShippingRecord=728\nUPSAccount=72\nPickupSummaryBarcode=19728104202503140000012\n",
                 "728   | 72 -  |  | PENDING PLD"},
        /*  1*/ {"Declare1To5=00\nDeclareOver5=0\nPickupSummaryBarcode=9Z728104202503140000012\n",
                 "   |  -  |  | PENDING PLD"},
        // the count as a number: a text that is none counts as 0
        /*  2*/ {"Declare1To5=none\nPickupSummaryBarcode=91728104202503140000012\n",
                 "   |  -  |  | "},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::LabelJob job(rows[i].lines);
        auto pickup = std::make_unique<PickupSummaryData>();
        ASSERT_TRUE(upsPldFormatData(*pickup, job.file)) << "row " << i;
        EXPECT_EQ(test::Joined({pickup->ShippingRecordText, pickup->AccountText, pickup->ControlLogText,
                                pickup->PendingText}),
                  rows[i].fields)
            << "row " << i;
    }
}

// The message's fields are cut to their widths, the day of the year has
// three digits, and a missing value leaves its identifier and separator.
TEST(UpsPickupDataTest, MessageFieldWidths) {
    struct Row { const char *lines; std::string first; std::string second; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"MMDDYYYYDate=01/05/2025\nApplicationVersion=ShipDesk 7.4.1\nRoutingVersion=25.03\nRoutingDate=03/2025\n",
                 "21D005" + GS + "16SShipDesk 7." + GS + "11Y25.03 03/2025",
                 "15V" + GS + "21Y" + GS + "QSM0"},
        /*  1*/ {"MMDDYYYYDate=1/5/2025\nUPSAccount=728104\nPLDUniqueIdentifier=123456789012\nTotalNumberofPackages=1234567\n",
                 "21D000" + GS + "16S" + GS + "11Y ",
                 "15V728104" + GS + "21Y123456789" + GS + "QSM12345"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::LabelJob job(std::string(rows[i].lines) + "PickupSummaryBarcode=91728104202503140000012\n");
        auto pickup = std::make_unique<PickupSummaryData>();
        ASSERT_TRUE(upsPldFormatData(*pickup, job.file)) << "row " << i;
        const std::string expected = "[)>" + RS + "06" + GS + "0Y" + GS + "30S15" + GS + "10YPSR" + GS +
                                     rows[i].first + RS + "06" + GS + "1Y" + GS + "20Y91" + GS + rows[i].second + GS +
                                     "22Y2" + RS + EOT;
        EXPECT_EQ(pickup->DataMatrixData, expected) << "row " << i;
        EXPECT_EQ(pickup->DataMatrixLength, static_cast<int32_t>(expected.size())) << "row " << i;
    }
}

}  // namespace
}  // namespace zal
