#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/ErrorCodes.h"
#include "common/Heap.h"
#include "formatting/ups/UpsAccessPoint.h"
#include "layouts/LayoutOutput.h"
#include "layouts/Layouts.h"
#include "platform/Platform.h"

using namespace zal;
using namespace zal::test;

namespace {

std::string ErrorDescription(const std::string &jobFile) {
    char text[256] = "";
    platform::GetPrivateProfileString("Error", "Description", "", text, sizeof text, jobFile.c_str());
    return text;
}

const std::string kTracking = "TrackingNumber=1Z3F6W210355209139\n";
const std::string kConsignee = "ShipTo1=Oleander Pike\nShipTo7=Lawrenceville GA\n";
constexpr const char *kNoIndicator = "Missing required Access Point indicator.";
constexpr const char *kBadLength = "Tracking number must be 18 characters in length.";

// description: written to the job file's "Error" section
// code: AccessPointCode
// cityLine: ShipTo7 after the formatting
struct FormatRow { std::string keys; bool ok; const char *description; const char *code; const char *cityLine; };

// clang-format off
const FormatRow kFormatRows[] = {
    /*  0*/ {kTracking + kConsignee + "AccessPointIndicator=R\nShipToZip=30046\n",     true,  "", "D2R",     "LAWRENCEVILLE GA"},
    /*  1*/ {kTracking + kConsignee + "AccessPointIndicator=B\nShipToZip=30046\n",     true,  "", "D2R/D2A", "LAWRENCEVILLE GA"},
    // upper-cased before the lookup
    /*  2*/ {kTracking + kConsignee + "AccessPointIndicator=b\nShipToZip=30046\n",     true,  "", "D2R/D2A", "LAWRENCEVILLE GA"},
    // only the first character is read
    /*  3*/ {kTracking + kConsignee + "AccessPointIndicator=BX\n",                     true,  "", "D2R/D2A", "LAWRENCEVILLE GA"},
    // a ZIP longer than 5 goes to the end of the city line
    /*  4*/ {kTracking + kConsignee + "AccessPointIndicator=R\nShipToZip=300462217\n", true,  "", "D2R",     "LAWRENCEVILLE GA 300462217"},
    /*  5*/ {kTracking + "ShipTo7=\nAccessPointIndicator=R\nShipToZip=300462217\n",    true,  "", "D2R",     " 300462217"},
    // refusals
    /*  6*/ {kTracking + kConsignee,                                                   false, kNoIndicator, "", "LAWRENCEVILLE GA"},
    /*  7*/ {kTracking + kConsignee + "AccessPointIndicator=X\n",                      false, kNoIndicator, "", "LAWRENCEVILLE GA"},
    /*  8*/ {"TrackingNumber=1Z3F6W21035520913\nAccessPointIndicator=R\n",            false, kBadLength, "", ""},
    /*  9*/ {"AccessPointIndicator=R\n",                                               false, kBadLength, "", ""},
};
// clang-format on

TEST(UpsAccessPointFormatTest, IndicatorTrackingNumberAndCityLine) {
    for (std::size_t i = 0; i < sizeof kFormatRows / sizeof kFormatRows[0]; ++i) {
        const FormatRow &row = kFormatRows[i];
        TempDir dir;
        std::string job = WriteJob(dir, row.keys);
        auto ups = std::make_unique<UpsData>();
        auto common = std::make_unique<CommonData>();
        EXPECT_EQ(LibUPSAccessPointFormatData(*ups, *common, job.c_str()), row.ok) << "row " << i;
        EXPECT_EQ(ErrorDescription(job), row.description) << "row " << i;
        EXPECT_STREQ(ups->AccessPointCode, row.code) << "row " << i;
        EXPECT_STREQ(ups->AccessPointFlag, row.ok ? "Y" : "") << "row " << i;
        if (row.ok) {
            EXPECT_STREQ(common->ShipTo7, row.cityLine) << "row " << i;
        }
    }
}

TEST(UpsAccessPointFormatTest, FailureWritesTheErrorLine) {
    LogCapture capture(0x4);
    TempDir dir;
    std::string job = WriteJob(dir, kTracking);
    auto ups = std::make_unique<UpsData>();
    auto common = std::make_unique<CommonData>();
    EXPECT_FALSE(upsAccessPointFormatData(*ups, *common, job.c_str()));
    EXPECT_TRUE(capture.HasErrorMessage("Error while formatting UPS Access Point data."));
}

TEST(UpsAccessPointLabelTest, HeaderThatCannotBeWrittenGivesDocumentError) {
    OptionsScope options("7", "4", "0", "0");
    LogCapture capture(0x4);
    FilePort port;
    std::string job = WriteJob(port.dir, kTracking + kConsignee + "AccessPointIndicator=R\n");
    _JobInfoA info{};
    info.JobFile = job.c_str();
    // no allocation succeeds: the document cannot take its header
    FailNextHeapAllocations(1000000);
    int32_t result = PrintUpsAccessPointLabel(&info, &port.context, true);
    FailNextHeapAllocations(0);
    EXPECT_EQ(result, ZALERR_ZALDOCERR);
    EXPECT_EQ(port.Sent(), "");
    EXPECT_TRUE(capture.HasErrorMessage("EPLDoc::InitDoc Failed (Allocation failure)"));
}

}  // namespace
