// Bar codes rendered from B and b commands read back with ZXing: the data must come back as the
// stream gave it.

#include "PreviewTestSupport.h"

#include <gtest/gtest.h>

using namespace zal::preview;
using namespace zal::preview::test;
using ZXing::BarcodeFormat;

namespace {

const std::string GS = "\x1D", RS = "\x1E", EOT = "\x04";

// Renders one command on a wide label and decodes the strip it was drawn in.
Decoded RenderAndDecode(const std::string &command, BarcodeFormat format, int y = 100, int height = 400,
                        bool pure = false, int x = 0, int width = 0) {
    Options options;
    options.widthInches = 12;
    auto rendered = RenderStream("N\n" + command + "\nP1\n", options);
    EXPECT_EQ(rendered.labels.size(), 1u);
    if (rendered.labels.empty())
        return {};
    const Image &label = rendered.labels[0];
    return DecodeRegion(label, x, y, width ? width : label.width - x, height, format, pure);
}

std::string AllPrintable() {
    std::string s;
    for (char c = ' '; c <= '~'; ++c)
        s += c;
    return s;
}

std::string Escaped(const std::string &data) {
    std::string s;
    for (char c : data) {
        if (c == '"' || c == '\\')
            s += '\\';
        s += c;
    }
    return s;
}

}  // namespace

struct LinearCase {
    std::string type;
    std::string field;  // the data field as the stream writes it
    std::string expected;
    std::string symbology;
    bool fullAscii = false;
};

class LinearDecode : public testing::TestWithParam<LinearCase> {};

TEST_P(LinearDecode, DataComesBack) {
    const LinearCase &c = GetParam();
    BarcodeFormat format = c.type[0] == '1'   ? BarcodeFormat::Code128
                           : c.type[0] == '3' ? BarcodeFormat::Code39
                                              : BarcodeFormat::Codabar;
    Options options;
    options.widthInches = 12;
    auto rendered = RenderStream("N\nB050,0150,0," + c.type + ",2,5,120,N," + c.field + "\nP1\n", options);
    ASSERT_EQ(rendered.labels.size(), 1u);
    auto decoded = DecodeRegion(rendered.labels[0], 0, 100, rendered.labels[0].width, 400, format, false, c.fullAscii);
    ASSERT_TRUE(decoded.found) << c.type << " " << c.field;
    EXPECT_EQ(decoded.bytes, c.expected);
    if (!c.symbology.empty()) {
        EXPECT_EQ(decoded.symbology, c.symbology);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Preview, LinearDecode, testing::Values(
    /*  0*/ LinearCase{"1",  "\"1Z12345E0312345678\"", "1Z12345E0312345678", "]C0"},
    /*  1*/ LinearCase{"1A", "\">;4203032800>6AB\"", ">;4203032800>6AB", "]C0"},           // no invocation codes in EPL2
    /*  2*/ LinearCase{"1C", "F1\"42030328\"F1\"9205590164917312345671\"", "42030328" + GS + "9205590164917312345671", "]C1"},
    /*  3*/ LinearCase{"1C", "\"42030328\"F1\"92055901\"", "42030328" + GS + "92055901", "]C0"},
    /*  4*/ LinearCase{"1E", "\"42030328\"", "42030328", "]C1"},
    /*  5*/ LinearCase{"1",  "\"\xCD\xCA" "9205590164917312345671\"", "9205590164917312345671", "]C1"},    // Start C, FNC1
    /*  6*/ LinearCase{"1",  "\"\xCC" "LM1\xC7" "23456789\xC8" "US\"", "LM123456789US", "]C0"},        // Start B, Code C, Code B
    /*  7*/ LinearCase{"1",  "\"He said \\\"hi\\\" \\\\o/\"", "He said \"hi\" \\o/", "]C0"},            // escapes
    /*  8*/ LinearCase{"1",  "\"\xE9t\xE9\"", "\xE9t\xE9", "]C0"},                                  // FNC4 for bytes above 127
    /*  9*/ LinearCase{"3",  "\"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%\"", "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%", ""},
    /* 10*/ LinearCase{"3",  "\"Full ascii: a+b\"", "Full ascii: a+b", "", true},
    /* 11*/ LinearCase{"K",  "\"A0123456789-$:/.+B\"", "A0123456789-$:/.+B", ""},
    // the modulo 43 digit: "CODE39" sums to 12+24+13+14+3+9 = 75, 75 % 43 = 32, "W"
    /* 12*/ LinearCase{"3C", "\"CODE39\"", "CODE39W", ""}
));
// clang-format on

TEST(PreviewDecode, Code128EverySymbolCharacter) {
    // subset C pairs 00..99 cover the symbol characters 0..99; subset B the printable ASCII ones
    std::string pairs;
    for (int i = 0; i < 100; ++i)
        pairs += std::to_string(i / 10) + std::to_string(i % 10);
    for (auto &[type, data] : {std::pair<std::string, std::string>{"1C", pairs}, {"1B", AllPrintable()}}) {
        auto decoded =
            RenderAndDecode("B020,0150,0," + type + ",1,1,120,N,\"" + Escaped(data) + "\"", BarcodeFormat::Code128);
        ASSERT_TRUE(decoded.found) << type;
        EXPECT_EQ(decoded.bytes, data) << type;
    }
}

TEST(PreviewDecode, RotatedBarcodes) {
    for (int rotation = 0; rotation < 4; ++rotation) {
        std::string command =
            "B400,0400," + std::to_string(rotation) + ",1,2,4,100,N,\"ROT" + std::to_string(rotation) + "\"";
        Options options;
        options.widthInches = 12;
        auto rendered = RenderStream("N\n" + command + "\nP1\n", options);
        ASSERT_EQ(rendered.labels.size(), 1u);
        auto found = DecodeRegion(rendered.labels[0], 0, 0, 1000, 1000, BarcodeFormat::Code128);
        ASSERT_TRUE(found.found) << rotation;
        EXPECT_EQ(found.bytes, "ROT" + std::to_string(rotation));
    }
}

// options: after "M,"; primary: postal code, country and class as they come back ("" for mode 4);
// warning: a text of the one warning expected; sequence: structured append index and count
struct MaxiCase { std::string options, data, primary, warning; int index = -1, count = -1; };

class MaxiCodeDecode : public testing::TestWithParam<MaxiCase> {};

TEST_P(MaxiCodeDecode, MessageComesBack) {
    const MaxiCase &c = GetParam();
    auto rendered = RenderStream("\nZB\nR0,0\nS4\nN\nb005,0294,M," + c.options + "\"" + c.data + "\"\nP1\n");
    ASSERT_EQ(rendered.labels.size(), 1u);
    ASSERT_EQ(rendered.warnings.size(), c.warning.empty() ? 0u : 1u);
    if (!c.warning.empty()) {
        EXPECT_NE(rendered.warnings[0].find(c.warning), std::string::npos) << rendered.warnings[0];
    }
    auto decoded = DecodeRegion(rendered.labels[0], 0, 290, 250, 230, BarcodeFormat::MaxiCode, true);
    ASSERT_TRUE(decoded.found);
    EXPECT_EQ(decoded.bytes, c.data);
    // the primary message follows the header: postal code, country, class
    if (!c.primary.empty()) {
        EXPECT_EQ(decoded.bytes.substr(9, c.primary.size()), c.primary);
    }
    EXPECT_EQ(decoded.sequenceIndex, c.index);
    EXPECT_EQ(decoded.sequenceSize, c.count);
}

const std::string kHeader = "[)>" + RS + "01" + GS + "96";
const std::string kSecondary = "1Z34567890" + GS + "UPSN" + GS + "12345E" + GS + "089" + GS + "SHIP123" + GS + "1/1" +
                               GS + "10" + GS + "N" + GS + "42 ELM AVE" + GS + "ATLANTA" + GS + "GA" + RS + EOT;
const std::string kUs = "303280000" + GS + "840" + GS + "001";
const std::string kCanada = "K1A0B1" + GS + "124" + GS + "011";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Preview, MaxiCodeDecode, testing::Values(
    /*  0*/ MaxiCase{"m2,", kHeader + kUs + GS + kSecondary, kUs},
    /*  1*/ MaxiCase{"m2,", kHeader + "30328" + GS + "840" + GS + "066" + GS + kSecondary, "30328" + GS + "840" + GS + "066"},
    /*  2*/ MaxiCase{"m3,", kHeader + kCanada + GS + kSecondary, kCanada},
    /*  3*/ MaxiCase{"m3,", kHeader + "10115 " + GS + "276" + GS + "007" + GS + kSecondary, "10115 " + GS + "276" + GS + "007"},
    // mode 2 cannot carry letters: mode 3, with a warning
    /*  4*/ MaxiCase{"m2,", kHeader + kCanada + GS + kSecondary, kCanada, "mode 3"},
    // the second symbol of three
    /*  5*/ MaxiCase{"m2,2,3,", kHeader + kUs + GS + kSecondary, kUs, "", 1, 3},
    /*  6*/ MaxiCase{"m4,", "Plain message, mode 4", ""}
));
// clang-format on

TEST(PreviewDecode, Pdf417) {
    std::string data = "[)>" + RS + "01" + GS + "02" + GS + "1Z34567890" + GS + "UPSN" + GS + "12345E" + GS + "089" +
                       RS + "07" + GS + "Some \\\"quoted\\\" text and an apostrophe \\' here" + RS + EOT;
    std::string expected = "[)>" + RS + "01" + GS + "02" + GS + "1Z34567890" + GS + "UPSN" + GS + "12345E" + GS +
                           "089" + RS + "07" + GS + "Some \"quoted\" text and an apostrophe ' here" + RS + EOT;
    auto decoded = RenderAndDecode("b020,0495,P,800,800,s5,c1,f0,x2,y10,r99,l12,\"" + data + "\"",
                                   BarcodeFormat::PDF417, 480, 700);
    ASSERT_TRUE(decoded.found);
    EXPECT_EQ(decoded.bytes, expected);
}

TEST(PreviewDecode, DataMatrix) {
    std::string data = "[)>" + RS + "01" + GS + "96" + "1Z34567890" + GS + "UPSN" + GS + "12345E" + RS + EOT;
    auto rendered = RenderStream("N\nb100,0200,D,h6,\"" + data + "\"\nP1\n");
    ASSERT_EQ(rendered.labels.size(), 1u);
    // the reader looks for the symbol from the middle of the image: give it the symbol alone
    Box box = InkBox(rendered.labels[0]);
    EXPECT_EQ(box.left, 100);
    EXPECT_EQ(box.top, 200);
    EXPECT_EQ((box.right - box.left + 1) % 6, 0);
    auto decoded = DecodeRegion(rendered.labels[0], box.left, box.top, box.right - box.left + 1,
                                box.bottom - box.top + 1, BarcodeFormat::DataMatrix);
    ASSERT_TRUE(decoded.found);
    EXPECT_EQ(decoded.bytes, data);
}
