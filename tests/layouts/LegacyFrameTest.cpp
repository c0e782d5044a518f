#include "layouts/LegacyFrame.h"

#include <gtest/gtest.h>

#include <string>

#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "common/JobState.h"
#include "layouts/LayoutOutput.h"

using namespace zal;
using namespace zal::test;

namespace {

// Header form A with offsets 0,0: clear image, form length 1230 dots with a
// 24-dot gap, reference point, print from the bottom of the image.
const std::string kHeaderA = "N\nQ1230,24\nR0,0\nZB\n";
// Form B: two empty lines between the reference point and ZB.
const std::string kHeaderB = "N\nQ1230,24\nR0,0\n\n\nZB\n";
const std::string kPrint = "P1\n";
const std::string kName = "A010,015,0,2,1,1,N,\"ACME\"\n";
const std::string kRule = "LE015,210,780,4\n";

struct FrameRow {
    MemoryCommand memory;
    HeaderForm form;
    bool prefix;
    const char *horizontal;
    const char *vertical;
    const char *userBefore;  // xlabelc1
    const char *userAfter;   // xlabelc2
    std::string expected;
};

// clang-format off
const FrameRow kFrameRows[] = {
    /*  0*/ {MemoryCommand::M132, HeaderForm::A, false, "0", "0", "", "", kHeaderA + kName + kRule + kPrint},
    /*  1*/ {MemoryCommand::M132, HeaderForm::A, true,  "0", "0", "", "", "M132,5,5\n" + kHeaderA + kName + kRule + kPrint},
    /*  2*/ {MemoryCommand::M132, HeaderForm::A, false, "12", "-8", "", "", "N\nQ1230,24\nR12,-8\nZB\n" + kName + kRule + kPrint},
    /*  3*/ {MemoryCommand::M156, HeaderForm::B, true,  "0", "0", "", "", "M156,5,5\n" + kHeaderB + kName + kRule + kPrint},
    /*  4*/ {MemoryCommand::M156, HeaderForm::B, false, "12", "-8", "", "", "N\nQ1230,24\nR12,-8\n\n\nZB\n" + kName + kRule + kPrint},
    // user commands: a line feed follows unless the text ends in one
    /*  5*/ {MemoryCommand::M132, HeaderForm::A, false, "0", "0", "ZT", "", kHeaderA + "ZT\n" + kName + kRule + kPrint},
    /*  6*/ {MemoryCommand::M132, HeaderForm::A, false, "0", "0", "ZT\nD10", "S2", kHeaderA + "ZT\nD10\n" + kName + kRule + "S2\n" + kPrint},
    /*  7*/ {MemoryCommand::M132, HeaderForm::A, false, "0", "0", "", "S2\r\n", kHeaderA + kName + kRule + "S2\r\n" + kPrint},
};
// clang-format on

TEST(LegacyFrameTest, StreamPerHeaderAndUserCommands) {
    for (std::size_t i = 0; i < sizeof kFrameRows / sizeof kFrameRows[0]; ++i) {
        const FrameRow &row = kFrameRows[i];
        OptionsScope options("7", "4", row.vertical, row.horizontal);
        FilePort port;
        LegacyLabel label;
        label.Begin(row.memory, row.form, row.prefix);
        label.UserCommands(row.userBefore);
        label.Text("A010,015,0,2,1,1,N,\"", {"ACME"});
        label.Line("LE015,210,780,4\n");
        EXPECT_EQ(label.Finish(row.userAfter, &port.context), ZALERR_SUCCESS) << "row " << i;
        EXPECT_EQ(port.Sent(), row.expected) << "row " << i;
    }
}

struct Customer { char Name[20]; char City[20]; char Zip[10]; };

// clang-format off
const TextRow<Customer> kCustomerRows[] = {
    {"A010,010,0,2,1,1,N,\"", {FieldOf<&Customer::Name>}},
    {"A010,030,0,2,1,1,N,\"", {FieldOf<&Customer::City>, " ", FieldOf<&Customer::Zip>}},
    {"A010,050,0,2,1,1,N,\"", {"Wgt: ", FieldOf<&Customer::Zip>}},
};
// clang-format on

TEST(LegacyFrameTest, ElementsTablesAndVersionLine) {
    OptionsScope options("7", "4", "0", "0");
    CopyText(VersionLine(), kVersionLineSize, "A0550,1202,0,1,1,1,N,\"OV v23.03.01 Duzed ");
    FilePort port;
    Customer customer = {"JOHN", "ATLANTA GA", "30328"};
    LegacyLabel label;
    label.Begin(MemoryCommand::M132, HeaderForm::A, false);
    label.Texts(kCustomerRows, customer);
    label.Text("A010,070,0,2,1,1,N,\"", {""});  // an empty field still prints its element
    label.Text("A010,090,0,2,1,1,N,\"", {nullptr});
    label.Element({"B030,0899,0,1C,3,7,155,N,F1\"420", "30328", "\"F1\"", "9400", "\"\n"});
    label.VersionLine("05/14");
    EXPECT_EQ(label.Finish("", &port.context), ZALERR_SUCCESS);
    EXPECT_EQ(port.Sent(), kHeaderA +
                               "A010,010,0,2,1,1,N,\"JOHN\"\n"
                               "A010,030,0,2,1,1,N,\"ATLANTA GA 30328\"\n"
                               "A010,050,0,2,1,1,N,\"Wgt: 30328\"\n"
                               "A010,070,0,2,1,1,N,\"\"\n"
                               "A010,090,0,2,1,1,N,\"\"\n"
                               "B030,0899,0,1C,3,7,155,N,F1\"42030328\"F1\"9400\"\n"
                               "A0550,1202,0,1,1,1,N,\"OV v23.03.01 Duzed 05/14\"\n" +
                               kPrint);
    VersionLine()[0] = '\0';
}

// Fills the label with 99-character lines (and one shorter) up to length.
void FillTo(LegacyLabel &label, std::size_t length) {
    const std::string line = std::string(98, 'X') + "\n";
    while (label.Length() + line.size() <= length) label.Line(line.c_str());
    std::size_t rest = length - label.Length();
    if (rest > 0) label.Line((std::string(rest - 1, 'Y') + "\n").c_str());
    ASSERT_EQ(label.Length(), length);
}

TEST(LegacyFrameTest, FullBufferLeavesOutElementsButStillPrints) {
    OptionsScope options("7", "4", "0", "0");
    // The body may grow to 19996 characters; P1 makes 19999, the most the
    // 20000-byte buffer holds.
    {
        FilePort port;
        LegacyLabel label;
        label.Begin(MemoryCommand::M132, HeaderForm::A, false);
        FillTo(label, 19970);
        // its template would fit, its value no longer does: none of it stays
        EXPECT_FALSE(label.Text("A010,010,0,2,1,1,N,\"", {"TOO LONG"}));
        EXPECT_EQ(label.Length(), 19970u);
        const std::string last = std::string(25, 'Z') + "\n";
        EXPECT_TRUE(label.Line(last.c_str()));  // a shorter one still goes in, up to 19996
        EXPECT_FALSE(label.Line("X"));           // 19997 would eat the room of P1
        EXPECT_EQ(label.Finish(std::string(2047, 'C').c_str(), &port.context), ZALERR_SUCCESS);
        std::string sent = port.Sent();
        ASSERT_EQ(sent.size(), 19999u);
        EXPECT_EQ(sent.substr(sent.size() - last.size() - kPrint.size()), last + kPrint);
        EXPECT_EQ(sent.find("TOO LONG"), std::string::npos);
        EXPECT_EQ(sent.find('C'), std::string::npos);
    }
    // A long xlabelc2 that would have fitted without the print command.
    {
        FilePort port;
        LegacyLabel label;
        label.Begin(MemoryCommand::M132, HeaderForm::A, false);
        FillTo(label, 19995);
        EXPECT_EQ(label.Finish("D", &port.context), ZALERR_SUCCESS);  // "D\n" would need 19997
        std::string sent = port.Sent();
        ASSERT_EQ(sent.size(), 19998u);
        EXPECT_EQ(sent.substr(sent.size() - 7), "YYY\nP1\n");
    }
    // A huge xlabelc1 does not crowd out the print command either.
    {
        FilePort port;
        LegacyLabel label;
        label.Begin(MemoryCommand::M132, HeaderForm::A, true);
        const std::string user(2047, 'U');
        for (int i = 0; i < 10; ++i) label.UserCommands(user.c_str());  // the tenth no longer fits
        label.Text("A010,010,0,2,1,1,N,\"", {"LAST"});
        EXPECT_EQ(label.Finish(user.c_str(), &port.context), ZALERR_SUCCESS);
        std::string sent = port.Sent();
        std::string expectedTail = "A010,010,0,2,1,1,N,\"LAST\"\n" + kPrint;
        EXPECT_EQ(sent.substr(sent.size() - expectedTail.size()), expectedTail);
        EXPECT_EQ(sent.size(), 9u + kHeaderA.size() + 9 * 2048 + expectedTail.size());
    }
}

TEST(LegacyFrameTest, DeviceFailureIsReturned) {
    OptionsScope options("7", "4", "0", "0");
    FilePort port;
    CopyText(port.context.OutputFile, port.dir.file("missing/out.epl").c_str());
    LegacyLabel label;
    label.Begin(MemoryCommand::M132, HeaderForm::A, false);
    EXPECT_EQ(label.Finish("", &port.context), ZALERR_PRINTER_OPENFAIL);
}

}  // namespace
