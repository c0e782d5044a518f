#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "api/Library.h"
#include "common/ErrorCodes.h"
#include "common/Heap.h"
#include "common/Log.h"
#include "formatting/ups/UpsAccessPoint.h"
#include "layouts/LayoutOutput.h"
#include "layouts/Layouts.h"
#include "platform/Platform.h"

using namespace zal;
using namespace zal::test;

namespace {

// Writes section "Begin" with the given "key=value\n" lines as job.ini.
std::string WriteJobFile(const TempDir &dir, const std::string &lines) {
    std::string content = "[Begin]\r\n";
    for (char c : lines) content += c == '\n' ? std::string("\r\n") : std::string(1, c);
    std::string path = dir.file("job.ini");
    WriteFile(path, content);
    return path;
}

std::string ErrorDescription(const std::string &jobFile) {
    char text[256] = "";
    platform::GetPrivateProfileString("Error", "Description", "", text, sizeof text, jobFile.c_str());
    return text;
}

const std::string kTracking = "TrackingNumber=1Z3F6W210355209139\n";
const std::string kConsignee = "ShipTo1=Oleander Pike\nShipTo7=Lawrenceville GA\n";
constexpr const char *kNoIndicator = "Missing required Access Point indicator.";
constexpr const char *kBadLength = "Tracking number must be 18 characters in length.";

struct FormatRow {
    std::string keys;
    bool ok;
    const char *description;  // written to the job file's "Error" section
    const char *code;         // AccessPointCode
    const char *cityLine;     // ShipTo7 after the formatting
};

// clang-format off
const FormatRow kFormatRows[] = {
    /*  0*/ {kTracking + kConsignee + "AccessPointIndicator=R\nShipToZip=30046\n",     true,  "", "D2R",     "LAWRENCEVILLE GA"},
    /*  1*/ {kTracking + kConsignee + "AccessPointIndicator=A\nShipToZip=30046\n",     true,  "", "D2R",     "LAWRENCEVILLE GA"},
    /*  2*/ {kTracking + kConsignee + "AccessPointIndicator=B\nShipToZip=30046\n",     true,  "", "D2R/D2A", "LAWRENCEVILLE GA"},
    // upper-cased before the lookup
    /*  3*/ {kTracking + kConsignee + "AccessPointIndicator=b\nShipToZip=30046\n",     true,  "", "D2R/D2A", "LAWRENCEVILLE GA"},
    /*  4*/ {kTracking + kConsignee + "AccessPointIndicator=r\n",                      true,  "", "D2R",     "LAWRENCEVILLE GA"},
    // only the first character is read
    /*  5*/ {kTracking + kConsignee + "AccessPointIndicator=BX\n",                     true,  "", "D2R/D2A", "LAWRENCEVILLE GA"},
    // a ZIP longer than 5 goes to the end of the city line
    /*  6*/ {kTracking + kConsignee + "AccessPointIndicator=R\nShipToZip=300462217\n", true,  "", "D2R",     "LAWRENCEVILLE GA 300462217"},
    /*  7*/ {kTracking + kConsignee + "AccessPointIndicator=R\nShipToZip=30046-2217\n",true,  "", "D2R",     "LAWRENCEVILLE GA 30046-2217"},
    /*  8*/ {kTracking + "ShipTo7=\nAccessPointIndicator=R\nShipToZip=300462217\n",    true,  "", "D2R",     " 300462217"},
    // refusals
    /*  9*/ {kTracking + kConsignee,                                                   false, kNoIndicator, "", "LAWRENCEVILLE GA"},
    /* 10*/ {kTracking + kConsignee + "AccessPointIndicator=\n",                       false, kNoIndicator, "", "LAWRENCEVILLE GA"},
    /* 11*/ {kTracking + kConsignee + "AccessPointIndicator=X\n",                      false, kNoIndicator, "", "LAWRENCEVILLE GA"},
    /* 12*/ {"TrackingNumber=1Z3F6W21035520913\nAccessPointIndicator=R\n",            false, kBadLength, "", ""},
    /* 13*/ {"TrackingNumber=1Z3F6W2103552091399\nAccessPointIndicator=R\n",          false, kBadLength, "", ""},
    /* 14*/ {"AccessPointIndicator=R\n",                                               false, kBadLength, "", ""},
};
// clang-format on

TEST(UpsAccessPointFormatTest, IndicatorTrackingNumberAndCityLine) {
    for (std::size_t i = 0; i < sizeof kFormatRows / sizeof kFormatRows[0]; ++i) {
        const FormatRow &row = kFormatRows[i];
        TempDir dir;
        std::string job = WriteJobFile(dir, row.keys);
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

TEST(UpsAccessPointFormatTest, TitlesTrackingTextAndTestMode) {
    TempDir dir;
    std::string job = WriteJobFile(dir, kTracking + "AccessPointIndicator=A\nTestModeFlag=y\nTestID=AP-0007\n");
    auto ups = std::make_unique<UpsData>();
    auto common = std::make_unique<CommonData>();
    ASSERT_TRUE(LibUPSAccessPointFormatData(*ups, *common, job.c_str()));
    EXPECT_STREQ(ups->TrackingNumber, "1Z3F6W210355209139");
    EXPECT_STREQ(ups->TrackingText, "TRACKING #: 1Z 3F6 W21 03 5520 9139");
    EXPECT_STREQ(ups->ShipTitle, "SHIP");
    EXPECT_STREQ(ups->FromTitle, "FROM:");
    EXPECT_STREQ(ups->TestModeFlag, "Y");
    EXPECT_STREQ(ups->TestID, "AP-0007");
    EXPECT_STREQ(common->TestID, "AP-0007");
}

TEST(UpsAccessPointFormatTest, FailureWritesTheErrorLine) {
    LogCapture capture(0x4);
    TempDir dir;
    std::string job = WriteJobFile(dir, kTracking);
    auto ups = std::make_unique<UpsData>();
    auto common = std::make_unique<CommonData>();
    EXPECT_FALSE(upsAccessPointFormatData(*ups, *common, job.c_str()));
    EXPECT_TRUE(capture.HasErrorMessage("Error while formatting UPS Access Point data."));

    capture.Clear();
    job = WriteJobFile(dir, kTracking + "AccessPointIndicator=B\n");
    EXPECT_TRUE(upsAccessPointFormatData(*ups, *common, job.c_str()));
    EXPECT_TRUE(capture.ErrorLines().empty());
}

const char kApName[] = "UPS Access Point\x99 GTL 2020 v1.0";

TEST(UpsAccessPointLabelTest, RefusedJobPrintsNothing) {
    OptionsScope options("7", "4", "0", "0");
    LogCapture capture(0x4);
    FilePort port;
    std::string job = WriteJobFile(port.dir, kTracking + kConsignee);
    _JobInfoA info{};
    info.JobFile = job.c_str();
    EXPECT_EQ(PrintUpsAccessPointLabel(&info, &port.context, true), ZALERR_LABEL_DATAERROR);
    EXPECT_EQ(port.Sent(), "");
    EXPECT_EQ(ErrorDescription(job), kNoIndicator);
}

TEST(UpsAccessPointLabelTest, HeaderThatCannotBeWrittenGivesDocumentError) {
    OptionsScope options("7", "4", "0", "0");
    LogCapture capture(0x4);
    FilePort port;
    std::string job = WriteJobFile(port.dir, kTracking + kConsignee + "AccessPointIndicator=R\n");
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

TEST(UpsAccessPointLabelTest, SavedCopyInTheLogFolder) {
    OptionsScope options("7", "4", "0", "0");
    LogCapture capture(0x1000 | 0x4);
    api::ResetLibraryStateForTests();
    api::SetDebugA(capture.config);  // a folder without its trailing separator
    log::SetJobTag("J1");
    FilePort port;
    std::string job = WriteJobFile(port.dir, kTracking + kConsignee + "AccessPointIndicator=R\nxlabelc1=|ZT|\n");
    _JobInfoA info{};
    info.JobFile = job.c_str();
    EXPECT_EQ(PrintUpsAccessPointLabel(&info, &port.context, true), ZALERR_SUCCESS);
    std::string sent = port.Sent();
    // the user command gets its line feed
    EXPECT_EQ(sent.rfind("M132,5,5\nZB\nR0,0\nS4\nD7\nN\nZT\nA133,0020,0,3,1,2,N,", 0), 0u);

    std::string copy = capture.dir().file(std::string("J1-AP.") + kApName + ".txt");
    ASSERT_TRUE(FileExists(copy));
    std::string saved;
    for (char c : ReadFile(copy)) {
        if (c != '\r') saved += c;  // text mode on Windows
    }
    EXPECT_EQ(saved.rfind(std::string(";*************************\n; Label Name : ") + kApName + "\n", 0), 0u);
    ASSERT_GE(saved.size(), sent.size());
    EXPECT_EQ(saved.substr(saved.size() - sent.size()), sent);
    log::SetJobTag(" ");
    api::ResetLibraryStateForTests();
}

}  // namespace
