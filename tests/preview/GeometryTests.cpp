// Where the commands put their dots.

#include "PreviewTestSupport.h"
#include "ResidentFont.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zal::preview;
using namespace zal::preview::test;

namespace {

Image RenderOne(const std::string &body, Options options = {}) {
    auto rendered = RenderStream("N\n" + body + "P1\n", options);
    EXPECT_EQ(rendered.labels.size(), 1u);
    for (auto &warning : rendered.warnings)
        ADD_FAILURE() << warning;
    return rendered.labels.empty() ? Image{} : rendered.labels[0];
}

}  // namespace

// Lines, exclusive-or and white lines, boxes and the reference point land on their dots.
TEST(PreviewGeometry, ShapesLandOnTheirDots) {
    // clang-format off
    const struct { const char *body; Box ink; int black; } rows[] = {
        /*  0*/ {"LO100,0200,050,010\n", {100, 200, 149, 209}, 500},
        // a black square, an exclusive-or square over its lower right quarter, a white bar across
        /*  1*/ {"LO100,0100,100,100\nLE150,0150,100,100\nLW100,0120,300,010\n", {100, 100, 249, 249},
                 100 * 100 - 100 * 10 - 2500 + 7500},
        // the document writer's EraseBox: black, then exclusive-or on the same rectangle
        /*  2*/ {"A100,0100,0,4,1,1,N,\"TEXT\"\nLO090,0090,100,050\nLE090,0090,100,050\n", {}, 0},
        /*  3*/ {"X100,0200,005,300,0350\n", {100, 200, 299, 349}, 200 * 150 - 190 * 140},
        /*  4*/ {"R20,30\nLO000,0000,010,010\nX000,0100,001,010,0110\n", {20, 30, 29, 139}, 100 + 2 * 10 + 2 * 8},
    };
    // clang-format on
    for (const auto &row : rows) {
        Image image = RenderOne(row.body);
        EXPECT_EQ(InkBox(image), row.ink) << row.body;
        EXPECT_EQ(CountBlack(image, 0, 0, image.width, image.height), row.black) << row.body;
    }
    Image xored = RenderOne(rows[1].body);
    EXPECT_EQ(CountBlack(xored, 150, 150, 50, 50), 0);      // black twice: white
    EXPECT_EQ(CountBlack(xored, 200, 150, 50, 100), 5000);  // exclusive-or on white: black
    EXPECT_EQ(CountBlack(xored, 100, 120, 300, 10), 0);
    EXPECT_EQ(CountBlack(RenderOne(rows[3].body), 105, 205, 190, 140), 0);
}

struct TextCase { int font, hMult, vMult, rotation; std::string text; Box expected; };

class TextCells : public testing::TestWithParam<TextCase> {};

TEST_P(TextCells, ReverseTextFillsItsCells) {
    const TextCase &c = GetParam();
    Image image = RenderOne("A400,0500," + std::to_string(c.rotation) + "," + std::to_string(c.font) + "," +
                            std::to_string(c.hMult) + "," + std::to_string(c.vMult) + ",R,\"" + c.text + "\"\n");
    EXPECT_EQ(InkBox(image), c.expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Preview, TextCells, testing::Values(
    /*  0*/ TextCase{1, 1, 1, 0, "ABC",  {400, 500, 400 + 3 * 8 - 1, 500 + 12 - 1}},
    /*  1*/ TextCase{3, 2, 3, 0, "AB",   {400, 500, 400 + 2 * 12 * 2 - 1, 500 + 20 * 3 - 1}},
    /*  2*/ TextCase{4, 3, 2, 0, "A",    {400, 500, 400 + 14 * 3 - 1, 500 + 24 * 2 - 1}},
    /*  3*/ TextCase{2, 2, 2, 1, "ABCD", {400 - 16 * 2, 500, 399, 500 + 4 * 10 * 2 - 1}},   // reads downwards, left of x
    /*  4*/ TextCase{2, 1, 1, 2, "ABCD", {400 - 4 * 10, 500 - 16, 399, 499}},              // upside down, above and left
    /*  5*/ TextCase{4, 1, 2, 3, "AB",   {400, 500 - 2 * 14, 400 + 24 * 2 - 1, 499}}        // reads upwards, right of x
));
// clang-format on

TEST(PreviewGeometry, NormalTextInksInsideItsCells) {
    for (int font = 1; font <= 5; ++font) {
        const ResidentFont &cell = *FindResidentFont(font);
        Image image = RenderOne("A100,0100,0," + std::to_string(font) + ",2,2,N,\"HMW\"\n");
        Box box = InkBox(image);
        // inside the cells, and filling most of their height: the glyphs are drawn at the cell size
        EXPECT_GE(box.left, 100) << font;
        EXPECT_GE(box.top, 100) << font;
        EXPECT_LE(box.right, 100 + 3 * cell.cellWidth * 2 - 1) << font;
        EXPECT_LE(box.bottom, 100 + cell.cellHeight * 2 - 1) << font;
        EXPECT_GE(box.bottom - box.top + 1, cell.cellHeight * 2 / 2) << font;
        EXPECT_GE(box.right - box.left + 1, 3 * cell.cellWidth * 2 * 2 / 3) << font;
    }
}

TEST(PreviewGeometry, GlyphsDiffer) {
    // each printable character has its own glyph in every font (no stand-in boxes)
    for (int font = 1; font <= 4; ++font) {
        const ResidentFont &f = *FindResidentFont(font);
        for (char32_t a = U'!'; a <= U'~'; ++a)
            for (char32_t b = a + 1; b <= U'~'; ++b) {
                const uint32_t *ga = GlyphRows(f, a), *gb = GlyphRows(f, b);
                ASSERT_TRUE(ga && gb);
                EXPECT_FALSE(std::equal(ga, ga + f.cellHeight, gb)) << font << " " << char(a) << char(b);
            }
    }
}

TEST(PreviewGeometry, BarcodeStartsAtItsPosition) {
    Image image = RenderOne("B050,0060,0,1,2,2,100,N,\"ABC\"\n");
    // start, three characters, check character: 11 modules each, stop 13, of 2 dots
    EXPECT_EQ(InkBox(image), (Box{50, 60, 50 + (5 * 11 + 13) * 2 - 1, 159}));
}

TEST(PreviewGeometry, HumanReadableLineBelowBars) {
    Image image = RenderOne("B050,0060,0,3,2,5,100,B,\"AB\"\n");
    Box box = InkBox(image);
    EXPECT_GT(box.bottom, 160);
    EXPECT_GT(CountBlack(image, 0, 161, image.width, 30), 0);
}

TEST(PreviewGeometry, TopFirstTurnsTheImage) {
    const std::string body = "LO010,0020,030,040\nA100,0200,0,3,1,1,N,\"ZT\"\nB100,0400,0,1,2,2,50,N,\"123\"\n";
    Image bottom = RenderOne("ZB\n" + body), top = RenderOne("ZT\n" + body);
    ASSERT_EQ(bottom.width, top.width);
    ASSERT_EQ(bottom.height, top.height);
    for (int y = 0; y < top.height; ++y)
        for (int x = 0; x < top.width; ++x)
            ASSERT_EQ(top.black(x, y), bottom.black(bottom.width - 1 - x, bottom.height - 1 - y)) << x << "," << y;
    EXPECT_EQ(CountBlack(top, top.width - 40, top.height - 60, 30, 40), 1200);
}

// The label's size: from the stream's q and Q commands when asked to, else from
// the media (4 x 6 inches without one, 100 inches at most).
TEST(PreviewGeometry, LabelSize) {
    // clang-format off
    const struct { std::string header; bool fromStream; double width, length; int dotsWide, dotsLong; } rows[] = {
        /*  0*/ {"",                 true,  4, 6,            812, 1218},
        /*  1*/ {"Q1230,24\n",       true,  4, 6,            812, 1230},
        /*  2*/ {"q609\nQ0812,24\n", true,  4, 6,            609,  812},
        /*  3*/ {"Q1230,24\n",       false, 4, 6,            812, 1218},
        /*  4*/ {"",                 false, 3, 2,            609,  406},
        /*  5*/ {"",                 false, std::nan(""), -1, 812, 1218},
        /*  6*/ {"",                 false, 100, 100,        2436, 8120},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Options options;
        options.sizeFromStream = rows[i].fromStream;
        options.widthInches = rows[i].width;
        options.lengthInches = rows[i].length;
        Image image = RenderOne(rows[i].header, options);
        EXPECT_EQ(image.width, rows[i].dotsWide) << "row " << i;
        EXPECT_EQ(image.height, rows[i].dotsLong) << "row " << i;
    }
}

TEST(PreviewLabels, OnePerPrintCommand) {
    auto rendered = RenderStream("N\nLO0,0,10,10\nP1\nLO20,0,10,10\nP1\nN\nLO40,0,10,10\nP2\n");
    ASSERT_EQ(rendered.labels.size(), 3u);
    // the image buffer keeps its dots until N
    EXPECT_EQ(CountBlack(rendered.labels[0], 0, 0, 100, 100), 100);
    EXPECT_EQ(CountBlack(rendered.labels[1], 0, 0, 100, 100), 200);
    EXPECT_EQ(CountBlack(rendered.labels[2], 0, 0, 100, 100), 100);
    EXPECT_EQ(CountBlack(rendered.labels[2], 40, 0, 10, 10), 100);
}

TEST(PreviewLabels, UnknownCommandsAreSkippedWithAWarning) {
    auto rendered =
        RenderStream("N\nFOO1,2\nLO0,0,10,10\nA0,0,0,9,1,1,N,\"soft font\"\nB0,50,0,E30,2,2,50,N,\"12\"\nP1\n");
    ASSERT_EQ(rendered.labels.size(), 1u);
    EXPECT_EQ(CountBlack(rendered.labels[0], 0, 0, 812, 1218), 100);
    ASSERT_EQ(rendered.warnings.size(), 3u);
    EXPECT_EQ(rendered.warnings[0], "line 2: unknown command \"FOO\"; skipped");
    EXPECT_NE(rendered.warnings[1].find("line 4: A: font \"9\""), std::string::npos);
    EXPECT_NE(rendered.warnings[2].find("line 5: B: bar code type \"E30\""), std::string::npos);
}

TEST(PreviewLabels, HeaderCommandsAreQuiet) {
    // header lines of both stream forms, a comment and CR LF line ends
    auto rendered = RenderStream(
        "; comment\r\n\r\nM132,5,5\r\nN\r\nQ1230,24\r\nR0,0\r\n\r\n\r\nZB\r\nS4\r\nD10\r\nq812\r\nI8,A,001\r\n"
        "LO0,0,5,5\r\nP1\r\n");
    ASSERT_EQ(rendered.labels.size(), 1u);
    EXPECT_TRUE(rendered.warnings.empty()) << rendered.warnings[0];
    EXPECT_EQ(CountBlack(rendered.labels[0], 0, 0, 10, 10), 25);
}

struct NameCase { std::string first; size_t index; std::string expected; };

TEST(PreviewLabels, FileNames) {
    // clang-format off
    const NameCase cases[] = {
        /*  0*/ {"label.png",        0, "label.png"},
        /*  1*/ {"label.png",        1, "label-2.png"},
        /*  2*/ {"out/label.png",   11, "out/label-12.png"},
        /*  3*/ {"dir.v2/label",     1, "dir.v2/label-2"},
    };
    // clang-format on
    for (auto &c : cases)
        EXPECT_EQ(LabelFileName(c.first, c.index), c.expected) << c.first << " " << c.index;
}
