#include <gtest/gtest.h>

#include <string>

#include "documents/EPLDoc.h"
#include "layouts/LayoutOutput.h"
#include "layouts/ups/TestStamp.h"

using namespace zal;
using namespace zal::test;

namespace {

struct StartRow { int x; int length; int charWidth; int alignment; int expected; };

// clang-format off
const StartRow kStartRows[] = {
    // centred: half of 34 dots per character, half of 9 rounded down
    /*  0*/ {405,  7, kStampIdCharWidth,   kStampCentre, 286},
    /*  1*/ {405, 53, kStampNameCharWidth, kStampCentre, 167},  // 477 / 2 = 238
    // right ends at x
    /*  2*/ {792,  4, kStampIdCharWidth,   kStampRight,  656},
    // any other alignment starts at x
    /*  3*/ {100, 10, kStampIdCharWidth,   kStampLeft,   100},
    /*  4*/ {100, 10, kStampIdCharWidth,   -1,           100},
    // a start below 1 becomes 1
    /*  5*/ {100, 10, kStampIdCharWidth,   kStampCentre,   1},
    /*  6*/ { 10, 53, kStampNameCharWidth, kStampRight,    1},
    /*  7*/ {  0,  0, kStampIdCharWidth,   kStampLeft,     1},
    /*  8*/ { 18,  1, kStampIdCharWidth,   kStampCentre,   1},
    /*  9*/ { 19,  1, kStampIdCharWidth,   kStampCentre,   2},
};
// clang-format on

TEST(TestStampTest, LineStarts) {
    for (std::size_t i = 0; i < sizeof kStartRows / sizeof kStartRows[0]; ++i) {
        const StartRow &row = kStartRows[i];
        EXPECT_EQ(TestStampStart(row.x, row.length, row.charWidth, row.alignment), row.expected) << "row " << i;
    }
}

// A document named name, initialised on 4 x 6 inch media (left margin 3).
class NamedDoc {
public:
    explicit NamedDoc(const char *name) {
        ZalLib::LabelFormat format{};
        format.Dpi = 203;
        format.HorizontalMargin = 6;
        format.Media.Type = port.context.Media;
        format.Media.Orientation = port.context.Orientation;
        ZalLib::InitLabelFormat(&format, name, 0);
        doc.InitDoc(&format);
        header = std::string(doc._Source, doc._SourceCount);
    }
    // What the stamp added after the header.
    std::string Body() const { return std::string(doc._Source, doc._SourceCount).substr(header.size()); }

    OptionsScope options{"7", "4", "0", "0"};
    FilePort port;
    ZalLib::EPLDoc doc;
    std::string header;
};

const std::string kName63(63, 'N');

// expected: both lines, shifted right by the margin of 3
struct StampRow { const char *name; const char *text; int x; int y; int alignment; std::string expected; };

// clang-format off
const StampRow kStampRows[] = {
    // the domestic label's name: the second line is printed whole (53 characters)
    // the longest name a document holds: 77 characters, nothing cut
    /*  0*/ {kName63.c_str(), "T", 405, 650, kStampCentre,
             "A391,0650,0,3,2,3,N,\"T\"\n"
             "A062,0715,0,1,1,1,N,\"ZAL2443.DLL - " + kName63 + "\"\n"},
    // right ends at x
    // both lines start at x
    /*  1*/ {"L", "ID", 50, 20, kStampLeft,
             "A053,0020,0,3,2,3,N,\"ID\"\n"
             "A053,0085,0,1,1,1,N,\"ZAL2443.DLL - L\"\n"},
    // an empty identifier: only the name line
    /*  2*/ {"L", "", 50, 20, kStampLeft,
             "A053,0085,0,1,1,1,N,\"ZAL2443.DLL - L\"\n"},
};
// clang-format on

TEST(TestStampTest, PrintsIdentifierAndWholeNameLine) {
    for (std::size_t i = 0; i < sizeof kStampRows / sizeof kStampRows[0]; ++i) {
        const StampRow &row = kStampRows[i];
        NamedDoc named(row.name);
        bool both = PrintTestStamp(named.doc, row.x, row.y, row.text, row.alignment);
        EXPECT_EQ(both, row.text[0] != '\0') << "row " << i;
        EXPECT_EQ(named.Body(), row.expected) << "row " << i;
    }
}

}  // namespace
