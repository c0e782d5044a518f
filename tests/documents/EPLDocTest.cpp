#include "documents/EPLDoc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "documents/DocumentTestSupport.h"

namespace zal::ZalLib {
namespace {

using test::MakeFormat;
using test::MakeMedia;

// An initialised 4 x 6 document (Left 3, Top 0, Width 804, Height 1219).
class EPLDocTest : public ::testing::Test {
protected:
    void SetUp() override {
        LabelFormat format = MakeFormat();
        ASSERT_TRUE(doc.InitDoc(&format));
    }
    EPLDoc doc;
};

const std::string kData500(500, 'm');

// The command templates at their edges (FrameTest's document column holds
// the plain lines, boxes, bar codes and PDF417 symbols).
TEST_F(EPLDocTest, CommandTemplates) {
    // clang-format off
    const MaxicodeDescriptor maxi12  = {"m2", 1, 2, 0};
    const MaxicodeDescriptor maxi00  = {"m2", 0, 0, 0};
    struct Row {
        std::function<bool(EPLDoc &)> draw;
        bool result;
        std::string appended;
    };
    const Row rows[] = {
        /*  0*/ {[](EPLDoc &d) { return d.PrintText(10, 20, "4,1,1", "   "); },   false, ""},
        /*  1*/ {[](EPLDoc &d) { return d.PrintText(10, 20, "4,1,1", " A"); },    true,  "A013,0020,0,4,1,1,N,\" A\"\n"},
        /*  2*/ {[](EPLDoc &d) { return d.PrintText(10, 20, "4,1,1", "\t"); },    true,  "A013,0020,0,4,1,1,N,\"\t\"\n"},
        /*  3*/ {[](EPLDoc &d) { return d.PrintText(10, 20, "4,1,1", nullptr); }, false, ""},
        /*  4*/ {[](EPLDoc &d) { return d.PrintText(-50, 7, "2,1,1", "Y"); },     true,  "A-47,0007,0,2,1,1,N,\"Y\"\n"},
        /*  5*/ {[](EPLDoc &d) { return d.PrintText(10, 12345, "2,1,1", "Y"); },  true,  "A010,12345,0,2,1,1,N,\"Y\"\n"},
        /*  6*/ {[](EPLDoc &d) { return d.PrintText(804, 20, "2,1,1", "Y"); },    true,  "A807,0020,0,2,1,1,N,\"Y\"\n"},
        /*  7*/ {[](EPLDoc &d) { return d.PrintText(805, 20, "2,1,1", "Y"); },    true,  "A805,0020,0,2,1,1,N,\"Y\"\n"},
        /*  8*/ {[](EPLDoc &d) { return d.PrintText(1, 2, "1,1,1", "say \"hi\""); }, true, "A004,0002,0,1,1,1,N,\"say \"hi\"\"\n"},
        /*  9*/ {[&](EPLDoc &d) { return d.DrawMaxicodeBarcode(294, maxi12, "MX"); }, true, "b005,0294,M,m2,1,2,\"MX\"\n"},
        /* 10*/ {[&](EPLDoc &d) { return d.DrawMaxicodeBarcode(294, maxi00, kData500.c_str()); }, true,
                 "b005,0294,M,m2,\"" + std::string(400, 'm') + "\"\n"},
        /* 11*/ {[](EPLDoc &d) { return d.DrawDataMatrixBarcode(10, 20, {4}, "ABCDEF", 3); }, true, "b010,0020,D,h4,\"ABC\"\n"},
        /* 12*/ {[](EPLDoc &d) { return d.DrawDataMatrixBarcode(10, 20, {4}, "AB", 30); },    true, "b010,0020,D,h4,\"AB\"\n"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        std::size_t before = doc._SourceCount;
        EXPECT_EQ(rows[i].draw(doc), rows[i].result) << "row " << i;
        std::string appended(doc._Source + before);
        EXPECT_EQ(appended, rows[i].appended) << "row " << i;
        EXPECT_EQ(doc._SourceCount, std::strlen(doc._Source)) << "row " << i;
    }
}

TEST(EPLDocHeader, Lines) {
    struct Row { uint8_t prefix; uint16_t orientation; PrinterOptions options; const char *header; };
    // clang-format off
    const Row rows[] = {
        // options: heat, speed, vertical and horizontal offset
        /*  0*/ {1, 3, {"", "", "", ""},        "M132,5,5\nZT\nR000,000\nS6\nN\n"},
        /*  1*/ {0, 0, {"", "3", "", "12"},     "\nZB\nR12,000\nS3\nN\n"},
        /*  2*/ {2, 1, {"7", "6", "-40", ""},   "M132,5,5\nZB\nR000,-40\nS6\nD7\nN\n"},
        /*  3*/ {0, 3, {"15", "12345", "54321", "12345"}, "\nZT\nR12345,54321\nS12345\nD15\nN\n"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        LabelFormat format = MakeFormat(MakeMedia(4.0f, 6.0f, false, r.orientation));
        ASSERT_TRUE(InitLabelFormat(&format, "Header", r.prefix, r.options));
        EPLDoc doc;
        ASSERT_TRUE(doc.InitDoc(&format)) << "row " << i;
        EXPECT_EQ(std::string(doc._Source), r.header) << "row " << i;
    }
}

// A whole document, header, text and P1, is golden fonts-no-mem's.
TEST(EPLDocHeader, UnknownResolutionAndTextBeforeInit) {
    LabelFormat format = MakeFormat();
    // an unknown resolution still writes the header on the 600 x 600 area
    EPLDoc fallback;
    format.Dpi = 200;
    EXPECT_TRUE(fallback.InitDoc(&format));
    EXPECT_EQ(fallback.Dims.Width, 594);
    EXPECT_FALSE(fallback.InitDoc(nullptr));
    EXPECT_FALSE(fallback.Initialized);

    // text before InitDoc is written unshifted
    EPLDoc early;
    ASSERT_TRUE(early.PrintText(10, 20, "4,1,1", "E"));
    EXPECT_STREQ(early._Source, "A010,0020,0,4,1,1,N,\"E\"\n");
}

// An empty or missing name keeps the one the format holds; a long one is cut
// to the 63 characters the field holds (the options: EPLDocHeader.Lines).
TEST(InitLabelFormat, Name) {
    const PrinterOptions options = {"7", "2", "5", "-3"};
    EXPECT_FALSE(InitLabelFormat(nullptr, "x", 1, options));
    LabelFormat format = MakeFormat();
    CopyText(format.Name, "kept");
    ASSERT_TRUE(InitLabelFormat(&format, "", 1, options));
    ASSERT_TRUE(InitLabelFormat(&format, nullptr, 1, options));
    EXPECT_STREQ(format.Name, "kept");
    const std::string longName(80, 'n');
    ASSERT_TRUE(InitLabelFormat(&format, longName.c_str(), 0, options));
    EXPECT_EQ(std::string(format.Name), longName.substr(0, 63));
}

}  // namespace
}  // namespace zal::ZalLib
