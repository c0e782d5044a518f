#include <gtest/gtest.h>

#include <string>

#include "api/Library.h"
#include "common/ErrorCodes.h"
#include "common/Log.h"
#include "layouts/LayoutOutput.h"
#include "layouts/Layouts.h"
#include "layouts/ups/UpsDocumentLabel.h"

using namespace zal;
using namespace zal::test;

namespace {

TEST(UpsUserCommandsTest, LineFeedAfterTheText) {
    // clang-format off
    const struct { const char *text, *appended; } rows[] = {
        /*  0*/ {"",          ""},
        /*  1*/ {"ZT",        "ZT\n"},
        /*  2*/ {"ZT\nD12",   "ZT\nD12\n"},
        /*  3*/ {"ZT\nD12\n", "ZT\nD12\n"},
        /*  4*/ {"ZT\r",      "ZT\r\n"},  // a carriage return is no line end to the printer's reader
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        ZalLib::EPLDoc doc;
        std::string before(doc._Source, doc._SourceCount);
        EXPECT_TRUE(ups::AppendUserCommands(doc, rows[i].text)) << "row " << i;
        EXPECT_EQ(std::string(doc._Source, doc._SourceCount), before + rows[i].appended) << "row " << i;
    }
}

const std::string kJob =
    "Carrier=UPS\nFrom1=Bramblewood Outfitters\nShipTo2=Dorian Felsted\nShipTo7=Charlotte NC\n"
    "ShipToZip=28202\nStreetAddress=2275 Old Mill Rd\nCity=Charlotte\nState=NC\nActualWeight=3\n";

// With the job logging flag (0x1000) each label sent is also saved in the
// log folder (named without its trailing separator), under the job tag and
// the label's name.
TEST(LabelCopyTest, SavedInTheLogFolderWithTheJobFlag) {
    const std::string domestic = "UPS Domestic Smart Label\x99 GTL 2020 v1.0";
    const std::string accessPoint = "UPS Access Point\x99 GTL 2020 v1.0";
    const std::string ap = "TrackingNumber=1Z3F6W210355209139\nShipTo7=Lawrenceville GA\nAccessPointIndicator=R\n";
    struct Row {
        int32_t (*print)(_JobInfoA *, JobContext *, bool);
        std::string keys;
        uint32_t flags;
        std::string copy, name;  // copy: the file name after "J1"; empty: none saved
        const char *start, *end;  // of what was sent
    };
    // clang-format off
    const Row rows[] = {
        // the user commands get their line feeds
        /*  0*/ {PrintUpsAccessPointLabel, ap + "xlabelc1=|ZT|\n", 0x1004, "-AP." + accessPoint + ".txt", accessPoint,
                 "M132,5,5\nZB\nR0,0\nS4\nD7\nN\nZT\nA133,0020,0,3,1,2,N,", "P1\n"},
        /*  1*/ {PrintUpsDomesticLabel, kJob + "TrackingNumber=1Z7281040133852173\nxlabelc2=|D12|\n", 0x1004,
                 "." + domestic + ".txt", domestic, "M132,5,5\nZB\nR0,0\nS4\nD7\nN\n", "D12\nP1\n"},
        /*  2*/ {PrintUpsDomesticLabel, kJob + "TrackingNumber=1Z7281040133852173\n", 0x0804, "", domestic, "", "P1\n"},
        /*  3*/ {FontSamplePrint, "", 0x1004, ".EPLDoc.txt", "Font Samples Label", "M132,5,5\nZB\n", "P1\n"},
        /*  4*/ {FontSamplePrint, "", 0x0808, "", "", "M132,5,5\nZB\n", "P1\n"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        OptionsScope options("7", "4", "0", "0");
        LogCapture capture(row.flags);
        api::ResetLibraryStateForTests();
        api::SetDebugA(capture.config);
        log::SetJobTag("J1");
        FilePort port;
        std::string job = WriteJob(port.dir, row.keys);
        _JobInfoA info{};
        info.JobFile = job.c_str();
        EXPECT_EQ(row.print(&info, &port.context, true), ZALERR_SUCCESS) << "row " << i;
        const std::string sent = port.Sent();
        EXPECT_EQ(sent.rfind(row.start, 0), 0u) << "row " << i;
        ASSERT_GE(sent.size(), std::strlen(row.end)) << "row " << i;
        EXPECT_EQ(sent.substr(sent.size() - std::strlen(row.end)), row.end) << "row " << i;
        if (row.copy.empty()) {
            EXPECT_FALSE(FileExists(capture.dir().file("J1." + row.name + ".txt"))) << "row " << i;
        } else {
            ExpectSavedCopy(capture.dir().file("J1" + row.copy), row.name, sent);
        }
        log::SetJobTag(" ");
        api::ResetLibraryStateForTests();
    }
}

}  // namespace
