// The SurePost, Mail Innovations, Mail Innovations returns and pickup
// summary labels as the library prints them (their golden streams),
// rendered without a warning and their symbols read back with ZXing: the
// data must be what the label's job says, the EPL escaping of the Data
// Matrix messages undone.

#include "PreviewTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace zal::preview;
using namespace zal::preview::test;
using ZXing::BarcodeFormat;

namespace {

const std::string RS = "\x1E", GS = "\x1D", EOT = "\x04", TAB = "\t";

std::string GoldenStream(const std::string &name) {
    const auto path = std::filesystem::path(__FILE__).parent_path().parent_path() / "golden" / "cases" / name /
                      "expected.epl";
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file.good()) << path;
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

struct Symbol {
    const char *goldenCase;
    int x, y, w, h;        // the area the symbol is drawn in, nothing else inked there
    BarcodeFormat format;
    std::string bytes;
    const char *symbology;  // "" when not checked
};

// A Data Matrix is read from its own ink inside the area: the reader looks
// for it from the middle of the image it is given.
Decoded Decode(const Image &image, const Symbol &s) {
    if (s.format != BarcodeFormat::DataMatrix) return DecodeRegion(image, s.x, s.y, s.w, s.h, s.format);
    int left = s.x + s.w, top = s.y + s.h, right = s.x - 1, bottom = s.y - 1;
    for (int y = std::max(s.y, 0); y < std::min(s.y + s.h, image.height); ++y)
        for (int x = std::max(s.x, 0); x < std::min(s.x + s.w, image.width); ++x)
            if (image.black(x, y)) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    if (right < left) return Decoded{};
    return DecodeRegion(image, left, top, right - left + 1, bottom - top + 1, s.format, true);
}

class UpsMailInnovationsDecode : public testing::TestWithParam<Symbol> {};

TEST_P(UpsMailInnovationsDecode, SymbolCarriesTheJobsData) {
    const Symbol &s = GetParam();
    auto rendered = RenderStream(GoldenStream(s.goldenCase));
    ASSERT_GE(rendered.labels.size(), 1u) << s.goldenCase;
    EXPECT_TRUE(rendered.warnings.empty()) << s.goldenCase << ": " << rendered.warnings[0];
    auto decoded = Decode(rendered.labels[0], s);
    ASSERT_TRUE(decoded.found) << s.goldenCase;
    EXPECT_EQ(decoded.bytes, s.bytes) << s.goldenCase;
    if (s.symbology[0] != '\0') {
        EXPECT_EQ(decoded.symbology, s.symbology) << s.goldenCase;
    }
}

const std::string kSurePostMaxi = "[)>" + RS + "01" + GS + "96" + "282020000" + GS + "840" + GS + "982" + GS +
                                  "1Z12345678" + GS + "UPSN" + GS + "728104" + GS + "073" + GS + GS + "1/1" + GS +
                                  "1" + GS + "N" + GS + "2275 OLD MILL RD" + GS + "CHARLOTTE" + GS + "NC" + RS + EOT;
const std::string kMiMessage = "3" + TAB + "MI9284150000890123" + TAB + "I92841" + TAB + "ONEIL" + TAB +
                               "2275 \"OLD\" MILL RD" + TAB + TAB + "O'FALLON" + TAB + "MO" + TAB + "63366" + TAB +
                               "US" + TAB + "PK9" + TAB + "3.0000" + TAB + "10,1" + TAB +
                               "4206336692490901234567890123456789";
const std::string kMirMessage = "05" + TAB + "MI9284150000654321" + TAB + "I92841" + TAB + "12,1" + TAB + "EAST7" +
                                TAB + "RTN0042" + TAB + "4205693592023901234567890123456789" + TAB + "56935";
const std::string kPickupMessage = "[)>" + RS + "06" + GS + "0Y" + GS + "30S15" + GS + "10YPSR" + GS + "21D000" + GS +
                                   "16SSD \"7\" O'Da" + GS + "11Y " + RS + "06" + GS + "1Y" + GS + "20Y91" + GS +
                                   "15V7281" + GS + "21Y" + GS + "QSM0" + GS + "22Y3" + RS + EOT;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Labels, UpsMailInnovationsDecode, testing::Values(
    // SurePost: the postal code, the tracking number, and AI 420 with the ZIP, FNC1, the PIC
    /*  0*/ Symbol{"ups-surepost-yp-routed-dim-weight", 250, 320, 560, 115, BarcodeFormat::Code128,
                   "42028202", ""},
    /*  1*/ Symbol{"ups-surepost-yn-zip9-letter-shipper-test-mode", 0, 560, 812, 155, BarcodeFormat::Code128,
                   "1Z72E104YN87654321", ""},
    // the PIC's data open without FNC1: plain Code 128 with the separator inside
    /*  2*/ Symbol{"ups-surepost-yp-routed-dim-weight", 0, 990, 812, 150, BarcodeFormat::Code128,
                   "42028202" + GS + "92748901234567890123456789", "]C0"},
    // Mail Innovations: the Data Matrix message, quotes and apostrophes unescaped; the PIC bar code
    /*  3*/ Symbol{"ups-mi-quotes", 10, 370, 178, 176, BarcodeFormat::DataMatrix, kMiMessage, ""},
    /*  4*/ Symbol{"ups-mi-quotes", 0, 650, 812, 150, BarcodeFormat::Code128,
                   "42063366" + GS + "92490901234567890123456789", "]C1"},
    // without a PIC, the tracking number of an international parcel
    /*  5*/ Symbol{"ups-mi-intl-tracking-block-test-mode", 0, 625, 812, 120, BarcodeFormat::Code128,
                   "MI9284150000345678", ""},
    // returns: the Data Matrix message and the PIC bar code of the returns' ZIP
    /*  6*/ Symbol{"ups-mir-2020-mailer-id", 380, 12, 190, 160, BarcodeFormat::DataMatrix, kMirMessage, ""},
    /*  7*/ Symbol{"ups-mir-2020-mailer-id", 0, 245, 812, 150, BarcodeFormat::Code128,
                   "42056935" + GS + "92023901234567890123456789", "]C1"},
    // pickup summary: the envelope with its separators, an empty field keeping its identifier
    /*  8*/ Symbol{"ups-pickup-quotes-defaults", 540, 70, 272, 172, BarcodeFormat::DataMatrix,
                   kPickupMessage, ""}
));
// clang-format on

// The SurePost label's MaxiCode reaches below the rule at y 446, which
// covers its last row: its command is read back on a label of its own.
TEST(UpsMailInnovationsDecode, SurePostMaxiCodeCarriesTheJobsData) {
    const std::string stream = GoldenStream("ups-surepost-yp-routed-dim-weight");
    const std::size_t start = stream.find("\nb005,0238,M,m2,");
    ASSERT_NE(start, std::string::npos);
    const std::string command = stream.substr(start + 1, stream.find('\n', start + 1) - start);
    auto rendered = RenderStream("N\n" + command + "P1\n");
    ASSERT_EQ(rendered.labels.size(), 1u);
    EXPECT_TRUE(rendered.warnings.empty()) << rendered.warnings[0];
    auto decoded = DecodeRegion(rendered.labels[0], 0, 230, 250, 240, BarcodeFormat::MaxiCode, true);
    ASSERT_TRUE(decoded.found);
    EXPECT_EQ(decoded.bytes, kSurePostMaxi);
}

}  // namespace
