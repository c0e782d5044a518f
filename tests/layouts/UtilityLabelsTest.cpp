#include <gtest/gtest.h>

#include <string>

#include "api/Library.h"
#include "common/ErrorCodes.h"
#include "common/Log.h"
#include "layouts/LayoutOutput.h"
#include "layouts/Layouts.h"

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

TEST(DiagnosticLabelTest, SendsOnlyTheConfigurationCommand) {
    OptionsScope options("15", "2", "12", "-8");
    FilePort port;
    port.context.Media = api::kMediaTypes[1];
    EXPECT_EQ(PrintDiagnosticLabel(&port.context), ZALERR_SUCCESS);
    EXPECT_EQ(port.Sent(), "U\n");
}

// The document's header (heat 7, speed 4, offsets 0): memory command or an
// empty line, print from the bottom, reference point, speed, density, clear.
const std::string kDocHeaderTail = "ZB\nR0,0\nS4\nD7\nN\n";
// The samples, shifted right by the document's left margin of 3 dots.
const std::string kFontSampleBody =
    "A013,0010,0,1,1,1,N,\"1,1,1 - ABCD abcd\"\n"
    "A013,0030,0,2,1,1,N,\"2,1,1 - ABCD abcd\"\n"
    "A013,0050,0,3,1,1,N,\"3,1,1 - ABCD abcd\"\n"
    "A013,0072,0,4,1,1,N,\"4,1,1 - ABCD abcd\"\n"
    "A403,0010,0,1,1,2,N,\"1,1,2 - ABCD abcd\"\n"
    "A403,0050,0,2,1,2,N,\"2,1,2 - ABCD abcd\"\n"
    "A403,0090,0,3,1,2,N,\"3,1,2 - ABCD abcd\"\n"
    "A403,0130,0,4,1,2,N,\"4,1,2 - ABCD abcd\"\n"
    "A013,0180,0,1,2,1,N,\"1,2,1 - ABCD abcd\"\n"
    "A013,0200,0,2,2,1,N,\"2,2,1 - ABCD abcd\"\n"
    "A013,0220,0,3,2,1,N,\"3,2,1 - ABCD abcd\"\n"
    "A013,0240,0,4,2,1,N,\"4,2,1 - ABCD abcd\"\n"
    "A013,0300,0,1,2,2,N,\"1,2,2 - ABCD abcd\"\n"
    "A013,0340,0,2,2,2,N,\"2,2,2 - ABCD abcd\"\n"
    "A013,0380,0,3,2,2,N,\"3,2,2 - ABCD abcd\"\n"
    "A013,0420,0,4,2,2,N,\"4,2,2 - ABCD abcd\"\n";

struct FontSampleRow {
    bool prefix;
    uint32_t logFlags;  // 0: logging never switched on
    bool savedCopy;
    std::string expected;
};

// clang-format off
const FontSampleRow kFontSampleRows[] = {
    /*  0*/ {true,  0,          false, "M132,5,5\n" + kDocHeaderTail + kFontSampleBody + "P1\n"},
    /*  1*/ {false, 0,          false, "\n" + kDocHeaderTail + kFontSampleBody + "P1\n"},
    /*  2*/ {true,  0x1000 | 4, true,  "M132,5,5\n" + kDocHeaderTail + kFontSampleBody + "P1\n"},
    /*  3*/ {true,  0x0800 | 8, false, "M132,5,5\n" + kDocHeaderTail + kFontSampleBody + "P1\n"},
};
// clang-format on

TEST(FontSampleTest, SixteenSamplesAndTheSavedCopy) {
    for (std::size_t i = 0; i < sizeof kFontSampleRows / sizeof kFontSampleRows[0]; ++i) {
        const FontSampleRow &row = kFontSampleRows[i];
        OptionsScope options("7", "4", "0", "0");
        LogCapture capture(row.logFlags);
        api::ResetLibraryStateForTests();
        if (row.logFlags != 0) api::SetDebugA(capture.config);
        log::SetJobTag("J1");
        FilePort port;
        EXPECT_EQ(FontSamplePrint(nullptr, &port.context, row.prefix), ZALERR_SUCCESS) << "row " << i;
        EXPECT_EQ(port.Sent(), row.expected) << "row " << i;
        std::string copy = capture.dir().file("J1.EPLDoc.txt");
        ASSERT_EQ(FileExists(copy), row.savedCopy) << "row " << i;
        if (row.savedCopy) {
            // written in text mode: CR LF line ends on Windows
            std::string saved;
            for (char c : ReadFile(copy)) {
                if (c != '\r') saved += c;
            }
            EXPECT_EQ(saved.rfind(";*************************\n; Label Name : Font Samples Label\n", 0), 0u);
            ASSERT_GE(saved.size(), row.expected.size());
            EXPECT_EQ(saved.substr(saved.size() - row.expected.size()), row.expected) << "row " << i;
        }
        log::SetJobTag(" ");
        api::ResetLibraryStateForTests();
    }
}

// The generic label's pieces: the sender rotated in font 4, the recipient
// rotated in font 2 at double width and height.
const std::string kMemory = "M132,5,5\n";
const std::string kHeader = "N\nQ1230,24\nR0,0\nZB\n";
const std::string kSender =
    "A780,030,1,4,1,1,N,\"NORWICK SOLUTIONS\"\n"
    "A755,030,1,4,1,1,N,\"12 MILL ROAD\"\n"
    "A730,030,1,4,1,1,N,\"ATLANTA GA 30328\"\n"
    "A705,030,1,4,1,1,N,\"404-555-0100\"\n";
std::string Recipient(const std::string &name, const std::string &line7) {
    return "A355,245,1,2,2,2,N,\"" + name + "\"\n"
           "A320,245,1,2,2,2,N,\"ATTN RECEIVING\"\n"
           "A285,245,1,2,2,2,N,\"400 DOCK ST\"\n"
           "A250,245,1,2,2,2,N,\"\"\n"
           "A215,245,1,2,2,2,N,\"\"\n"
           "A180,245,1,2,2,2,N,\"\"\n"
           "A145,245,1,2,2,2,N,\"" + line7 + "\"\n";
}
const std::string kAcme = Recipient("ACME CO", "TORONTO ON M5V 2T6");
const std::string kPrint = "P1\n";

const std::string kSenderKeys =
    "From1=Norwick Solutions\nFrom2=12 Mill Road\nFrom3=Atlanta GA 30328\nFromPhone=404-555-0100\n";
const std::string kRecipientKeys =
    "ShipTo1=Acme Co\nShipTo2=Attn Receiving\nShipTo3=400 Dock St\nShipTo7=Toronto ON\nShipToZip=M5V 2T6\n";

struct GenericRow {
    bool prefix;
    std::string keys;
    std::string expected;
};

// clang-format off
const GenericRow kGenericRows[] = {
    // domestic: the same country on both sides, or none for the recipient
    /*  0*/ {false, kSenderKeys + kRecipientKeys + "ShipToCountry=United States\nNewFormat=Y\n", kHeader + kSender + kAcme + kPrint},
    /*  1*/ {false, kSenderKeys + kRecipientKeys + "NewFormat=Y\n", kHeader + kSender + kAcme + kPrint},
    // abroad: the country line with NewFormat Y only (upper-cased first)
    /*  2*/ {false, kSenderKeys + kRecipientKeys + "ShipToCountry=Canada\nNewFormat=y\n",
             kHeader + kSender + kAcme + "A110,245,1,2,2,2,N,\"CANADA\"\n" + kPrint},
    /*  3*/ {false, kSenderKeys + kRecipientKeys + "ShipToCountry=Canada\n", kHeader + kSender + kAcme + kPrint},
    /*  4*/ {false, kSenderKeys + kRecipientKeys + "ShipToCountry=Canada\nNewFormat=N\n", kHeader + kSender + kAcme + kPrint},
    /*  5*/ {false, kSenderKeys + kRecipientKeys + "FromCountry=Canada\nShipToCountry=Canada\nNewFormat=Y\n",
             kHeader + kSender + kAcme + kPrint},
    /*  6*/ {true,  kSenderKeys + kRecipientKeys, kMemory + kHeader + kSender + kAcme + kPrint},
    // empty ShipTo7: the line holds the blank and the postal code
    /*  7*/ {false, kSenderKeys + "ShipTo1=Acme Co\nShipTo2=Attn Receiving\nShipTo3=400 Dock St\nShipToZip=30301\n",
             kHeader + kSender + Recipient("ACME CO", " 30301") + kPrint},
    // a double quote would end the printer's string: it becomes an apostrophe
    /*  8*/ {false, kSenderKeys + "ShipTo1=Joe \"Bud\" Smith\nShipTo2=Attn Receiving\nShipTo3=400 Dock St\n"
                    "ShipTo7=Toronto ON\nShipToZip=M5V 2T6\n",
             kHeader + kSender + Recipient("JOE 'BUD' SMITH", "TORONTO ON M5V 2T6") + kPrint},
    // user commands without their line feeds, the enclosing bars removed
    /*  9*/ {false, kSenderKeys + kRecipientKeys + "xlabelc1=|ZT|\nxlabelc2=D12\n",
             kHeader + "ZT\n" + kSender + kAcme + "D12\n" + kPrint},
};
// clang-format on

TEST(GenericLabelTest, AddressLabel) {
    for (std::size_t i = 0; i < sizeof kGenericRows / sizeof kGenericRows[0]; ++i) {
        const GenericRow &row = kGenericRows[i];
        OptionsScope options("7", "4", "0", "0");
        FilePort port;
        std::string job = WriteJobFile(port.dir, row.keys);
        EXPECT_EQ(PrintGenericLabel(job.c_str(), &port.context, row.prefix), ZALERR_SUCCESS) << "row " << i;
        EXPECT_EQ(port.Sent(), row.expected) << "row " << i;
    }
}

}  // namespace
