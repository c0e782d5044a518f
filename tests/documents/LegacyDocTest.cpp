#include "documents/LegacyDoc.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/ErrorCodes.h"
#include "support/LabelFixture.h"

namespace zal::ZalLib {
namespace {

const std::string kHeader = "N\nQ1230,24\nR0,0\nZB\n";

// A label begun with form A, no memory command, offsets 0.
std::unique_ptr<LegacyDoc> Begun() {
    auto doc = std::make_unique<LegacyDoc>();
    doc->Begin(MemoryCommand::M132, HeaderForm::A, false, "0", "0");
    return doc;
}

// Fills the label with 99-character lines (and one shorter) up to length.
void FillTo(LegacyDoc &doc, std::size_t length) {
    const std::string line = std::string(98, 'X') + "\n";
    while (doc.Length() + line.size() <= length) doc.Append({line.c_str()});
    if (doc.Length() < length) doc.Append({(std::string(length - doc.Length() - 1, 'Y') + "\n").c_str()});
    ASSERT_EQ(doc.Length(), length);
}

// The body may grow to 19996 characters: "P1" then makes 19999, the most
// the 20000-byte buffer holds.  An element goes in whole or not at all.
TEST(LegacyDocTest, FullLabelStillPrints) {
    struct Row { std::size_t fill; TextList element; bool taken; const char *userAfter; std::size_t length; };
    const std::string l20(20, 'L'), z25(25, 'Z'), c2047(2047, 'C');
    // clang-format off
    const Row rows[] = {
        // the opening would fit, its value no longer does: none of it stays
        /*  0*/ {19970, {"A010,010,0,2,1,1,N,\"", "TOO LONG", l20.c_str(), "\"\n"}, false, "", 19970 + 3},
        /*  1*/ {19970, {z25.c_str(), "\n"}, true, "", 19996 + 3},
        /*  2*/ {19996, {""}, false, "", 19996 + 3},
        // closing user commands that would have fitted without the print command
        /*  3*/ {19995, {}, true, "D", 19995 + 3},
        /*  4*/ {19000, {}, true, c2047.c_str(), 19000 + 3},
        /*  5*/ {17000, {}, true, c2047.c_str(), 17000 + 2048 + 3},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::FilePort port;
        auto doc = Begun();
        FillTo(*doc, row.fill);
        const std::string before(doc->Data());
        if (row.element.size() > 0) {
            EXPECT_EQ(doc->Append(row.element), row.taken) << "row " << i;
        }
        if (!row.taken) {
            EXPECT_EQ(std::string(doc->Data()), before) << "row " << i;
        }
        EXPECT_EQ(doc->Finish(row.userAfter, &port.context), ZALERR_SUCCESS) << "row " << i;
        const std::string sent = port.Sent();
        EXPECT_EQ(sent.size(), row.length) << "row " << i;
        EXPECT_EQ(sent.substr(sent.size() - 3), "P1\n") << "row " << i;
    }
}

// Many long opening user commands do not crowd out the body's last
// element or the print command.
TEST(LegacyDocTest, UserCommandsGoInWholeOrNotAtAll) {
    test::FilePort port;
    auto doc = std::make_unique<LegacyDoc>();
    doc->Begin(MemoryCommand::M132, HeaderForm::A, true, "0", "0");
    const std::string user(2047, 'U');
    for (int i = 0; i < 10; ++i) EXPECT_EQ(doc->UserCommands(user.c_str()), i < 9) << i;
    EXPECT_TRUE(doc->UserCommands(""));
    doc->Append({"A010,010,0,2,1,1,N,\"", "LAST", "\"\n"});
    EXPECT_EQ(doc->Finish(user.c_str(), &port.context), ZALERR_SUCCESS);
    const std::string tail = "A010,010,0,2,1,1,N,\"LAST\"\nP1\n";
    const std::string sent = port.Sent();
    EXPECT_EQ(sent.size(), 9 + kHeader.size() + 9 * 2048 + tail.size());
    EXPECT_EQ(sent.substr(sent.size() - tail.size()), tail);
}

TEST(LegacyDocTest, DeviceFailureIsReturned) {
    test::FilePort port;
    CopyText(port.context.OutputFile, port.dir.file("missing/out.epl").c_str());
    EXPECT_EQ(Begun()->Finish("", &port.context), ZALERR_PRINTER_OPENFAIL);
}

}  // namespace
}  // namespace zal::ZalLib
