#include <gtest/gtest.h>

#include <string>

#include "api/Library.h"
#include "common/ErrorCodes.h"
#include "common/Log.h"
#include "layouts/LayoutOutput.h"
#include "layouts/Layouts.h"
#include "layouts/ups/UpsDocumentLabel.h"
#include "platform/Platform.h"

using namespace zal;
using namespace zal::test;

namespace {

std::string WriteJobFile(const TempDir &dir, const std::string &lines) {
    std::string content = "[Begin]\r\n";
    for (char c : lines) content += c == '\n' ? std::string("\r\n") : std::string(1, c);
    std::string path = dir.file("job.ini");
    WriteFile(path, content);
    return path;
}

struct UserCommandRow {
    const char *text;
    std::string appended;
};

// clang-format off
const UserCommandRow kUserCommandRows[] = {
    /*  0*/ {"",              ""},
    /*  1*/ {"ZT",            "ZT\n"},
    /*  2*/ {"ZT\n",          "ZT\n"},
    /*  3*/ {"ZT\nD12",       "ZT\nD12\n"},
    /*  4*/ {"ZT\nD12\n",     "ZT\nD12\n"},
    /*  5*/ {"\n",            "\n"},
    // a carriage return is not a line end to the printer's reader
    /*  6*/ {"ZT\r",          "ZT\r\n"},
};
// clang-format on

TEST(UpsUserCommandsTest, LineFeedAfterTheText) {
    for (std::size_t i = 0; i < sizeof kUserCommandRows / sizeof kUserCommandRows[0]; ++i) {
        const UserCommandRow &row = kUserCommandRows[i];
        ZalLib::EPLDoc doc;
        std::string before(doc._Source, doc._SourceCount);
        EXPECT_TRUE(ups::AppendUserCommands(doc, row.text)) << "row " << i;
        EXPECT_EQ(std::string(doc._Source, doc._SourceCount), before + row.appended) << "row " << i;
    }
}

const std::string kJob =
    "Carrier=UPS\nFrom1=Bramblewood Outfitters\nShipTo2=Dorian Felsted\nShipTo7=Charlotte NC\n"
    "ShipToZip=28202\nStreetAddress=2275 Old Mill Rd\nCity=Charlotte\nState=NC\nActualWeight=3\n";
const char kDomesticName[] = "UPS Domestic Smart Label\x99 GTL 2020 v1.0";

TEST(UpsDomesticLabelTest, RefusedJobPrintsNothing) {
    OptionsScope options("7", "4", "0", "0");
    LogCapture capture(0x4);
    FilePort port;
    std::string job = WriteJobFile(port.dir, kJob + "TrackingNumber=1Z728104017731060\n");
    _JobInfoA info{};
    info.JobFile = job.c_str();
    EXPECT_EQ(PrintUpsDomesticLabel(&info, &port.context, true), ZALERR_LABEL_DATAERROR);
    EXPECT_EQ(port.Sent(), "");
}

TEST(UpsDomesticLabelTest, SavedCopyInTheLogFolder) {
    OptionsScope options("7", "4", "0", "0");
    LogCapture capture(0x1000 | 0x4);
    api::ResetLibraryStateForTests();
    api::SetDebugA(capture.config);  // a folder without its trailing separator
    log::SetJobTag("J7");
    FilePort port;
    std::string job = WriteJobFile(port.dir, kJob + "TrackingNumber=1Z7281040133852173\nxlabelc2=|D12|\n");
    _JobInfoA info{};
    info.JobFile = job.c_str();
    EXPECT_EQ(PrintUpsDomesticLabel(&info, &port.context, false), ZALERR_SUCCESS);
    std::string sent = port.Sent();
    EXPECT_EQ(sent.rfind("\nZB\nR0,0\nS4\nD7\nN\n", 0), 0u);
    // the closing user command, with its line feed, before the print command
    ASSERT_GE(sent.size(), 7u);
    EXPECT_EQ(sent.substr(sent.size() - 7), "D12\nP1\n");

    std::string copy = capture.dir().file(std::string("J7.") + kDomesticName + ".txt");
    ASSERT_TRUE(FileExists(copy));
    std::string saved;
    for (char c : ReadFile(copy)) {
        if (c != '\r') saved += c;  // text mode on Windows
    }
    EXPECT_EQ(saved.rfind(std::string(";*************************\n; Label Name : ") + kDomesticName + "\n", 0), 0u);
    ASSERT_GE(saved.size(), sent.size());
    EXPECT_EQ(saved.substr(saved.size() - sent.size()), sent);
    log::SetJobTag(" ");
    api::ResetLibraryStateForTests();
}

// Logging on without the job flag: no copy.
TEST(UpsDomesticLabelTest, NoCopyWithoutTheJobFlag) {
    OptionsScope options("7", "4", "0", "0");
    LogCapture capture(0x0800 | 0x4);
    api::ResetLibraryStateForTests();
    api::SetDebugA(capture.config);
    log::SetJobTag("J8");
    FilePort port;
    std::string job = WriteJobFile(port.dir, kJob + "TrackingNumber=1Z7281040133852173\n");
    _JobInfoA info{};
    info.JobFile = job.c_str();
    EXPECT_EQ(PrintUpsDomesticLabel(&info, &port.context, true), ZALERR_SUCCESS);
    EXPECT_FALSE(FileExists(capture.dir().file(std::string("J8.") + kDomesticName + ".txt")));
    log::SetJobTag(" ");
    api::ResetLibraryStateForTests();
}

}  // namespace
