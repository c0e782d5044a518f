// The bar codes of the FedEx Express, COD return and CN22 golden labels, as
// the library sends them, rendered and read back with ZXing: each symbol
// must carry the data the job gave (a quote or backslash escaped for the
// printer comes back as itself).

#include "PreviewTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace zal::preview;
using namespace zal::preview::test;
using ZXing::BarcodeFormat;

namespace {

const std::string RS = "\x1E", GS = "\x1D", FS = "\x1C", EOT = "\x04";

std::string GoldenStream(const std::string &name) {
    auto path = std::filesystem::path(__FILE__).parent_path().parent_path() / "golden" / "cases" / name / "expected.epl";
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file.good()) << path;
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The Express label's message: the shipment list, then the optional list
// without the separators of its empty pieces.
std::string ExpressMessage(const std::string &address, const std::string &name, const std::string &address2) {
    return "[)>" + RS + "01" + GS + "02" + "28202" + GS + "840" + GS + "01" + GS + "794612345670" + "0201" + GS +
           "FDE" + GS + "123456789" + GS + "073" + GS + GS + "1/1" + GS + "12.50" + "LB" + GS + "N" + GS + address +
           GS + "CHARLOTTE" + GS + "NC" + GS + name + RS +
           "06" + GS + "10Z" "ED007" + GS + "11Z" "HARROW & FINCH SUPPLY" + GS + "12Z" "7045550199" + GS + "14Z" +
           address2 + GS + "15Z" "1234567" + GS;
}
const std::string kExpressOneDee = "1001900000000007946123456702820200";
const std::string kExpressTail = "31Z" + kExpressOneDee + GS + "32Z" "DSR" + GS + "34Z" "01" + GS + "39Z" "ATLR" + GS +
                                 RS + EOT;
// The COD part of the optional list: amount, check and pay type.
const std::string kCodPieces = "20Z" "1250.50" + FS + GS + "25Z" "2" + FS + "01" + GS + "K" "SO-88213" + GS;

struct Symbol {
    const char *golden;
    std::size_t label;  // 0: the Express label, 1: the COD return label
    int y, height;
    BarcodeFormat format;
    std::string data;
};

class GoldenDecode : public testing::TestWithParam<Symbol> {};

TEST_P(GoldenDecode, SymbolCarriesTheJobData) {
    const Symbol &s = GetParam();
    auto rendered = RenderStream(GoldenStream(s.golden));
    ASSERT_GT(rendered.labels.size(), s.label);
    const Image &label = rendered.labels[s.label];
    // the PDF417 symbols end left of the service box at x 590
    int width = s.format == BarcodeFormat::PDF417 ? 590 : label.width;
    auto decoded = DecodeRegion(label, 0, s.y, width, s.height, s.format);
    ASSERT_TRUE(decoded.found) << s.golden << " y " << s.y;
    EXPECT_EQ(decoded.bytes, s.data);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(FedEx, GoldenDecode, testing::Values(
    // the delivery address, the PDF417 message and the one-dimensional bar code
    /*  0*/ Symbol{"fedex-priority-overnight", 0, 448, 42, BarcodeFormat::Code128, "7" "2275 OLD MILL RD"},
    /*  1*/ Symbol{"fedex-priority-overnight", 0, 490, 250, BarcodeFormat::PDF417,
                   ExpressMessage("2275 OLD MILL RD", "DORIAN FELSTED", "SUITE 140") + "K" "SO-88213" + GS + kExpressTail},
    /*  2*/ Symbol{"fedex-priority-overnight", 0, 1008, 214, BarcodeFormat::Code128, kExpressOneDee},
    // the COD return label: its own message and 1D code
    /*  3*/ Symbol{"fedex-cod-secured-user-commands", 1, 490, 250, BarcodeFormat::PDF417,
                   "[)>" + RS + "01" + GS + "02" "30071" + GS + "840" + GS + "56" + GS + "794612345671" "0202" + GS +
                   "FDE" + GS + "123456789" + GS + "073" + GS + GS + "1/1" + GS + "0.00" "LB" + GS + "N" + GS +
                   "4410 PEACHTREE INDUSTRIAL" + GS + "NORCROSS" + GS + "GA" + GS + "BRAMBLEWOOD OUTFITTERS" + RS +
                   "06" + GS + "10Z" "ED007" + GS + "11Z" "BRAMBLEWOOD OUTFITTERS" + GS + "12Z" "7705550142" + GS +
                   "14Z" "DOCK 3" + GS + "15Z" "1234567" + GS + kCodPieces + "31Z" "1001900000560007946123456710030071" +
                   GS + "32Z" "CR" + GS + "34Z" "06" + GS + "39Z" "ATLR" + GS + RS + EOT},
    /*  4*/ Symbol{"fedex-cod-secured-user-commands", 1, 1005, 214, BarcodeFormat::Code128,
                   "1001900000560007946123456710030071"},
    // quotes and a backslash of the job escaped for the printer come back as they were
    /*  5*/ Symbol{"fedex-quotes", 0, 448, 42, BarcodeFormat::Code128, "7" "2275 \"OLD\" MILL\\RD"},
    /*  6*/ Symbol{"fedex-quotes", 0, 490, 250, BarcodeFormat::PDF417,
                   "[)>" + RS + "01" + GS + "02" + "28202" + GS + "840" + GS + "01" + GS + "794612345670" "02\"1" + GS +
                   "FDE" + GS + "123456789" + GS + "073" + GS + GS + "1/1" + GS + "12.50" "LB" + GS + "N" + GS +
                   "2275 \"OLD\" MILL\\RD" + GS + "CHARLOTTE" + GS + "NC" + GS + "DORIAN \"DF\" FELSTED" + RS +
                   "06" + GS + "10Z" "ED007" + GS + "11Z" "HARROW & FINCH SUPPLY" + GS + "12Z" "7045550199" + GS +
                   "14Z" "SUITE\\140" + GS + "15Z" "1234567" + GS + kCodPieces + kExpressTail}
));

INSTANTIATE_TEST_SUITE_P(Cn22, GoldenDecode, testing::Values(
    // the form's own tracking number (S10: sets B, C, B) and the IMpb code after FNC1
    /*  0*/ Symbol{"cn22-4x4-edition4-gift-one-item", 0, 12, 118, BarcodeFormat::Code128, "LZ123456789US"},
    /*  1*/ Symbol{"cn22-4x6-edition3-impb-ten-items", 0, 12, 118, BarcodeFormat::Code128, "92055901649173123456789012"},
    /*  2*/ Symbol{"cn22-quotes", 0, 12, 118, BarcodeFormat::Code128, "L\"123456789US"}
));
// clang-format on

// The FNC1 after Start C marks the IMpb code as GS1 data.
TEST(GoldenDecodeCn22, FunctionOneMarksTheImpbCode) {
    auto rendered = RenderStream(GoldenStream("cn22-4x6-edition3-impb-ten-items"));
    ASSERT_EQ(rendered.labels.size(), 1u);
    auto decoded = DecodeRegion(rendered.labels[0], 0, 12, rendered.labels[0].width, 118, BarcodeFormat::Code128);
    ASSERT_TRUE(decoded.found);
    EXPECT_EQ(decoded.symbology, "]C1");
}

}  // namespace
