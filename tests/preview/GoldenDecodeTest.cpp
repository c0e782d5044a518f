// The golden labels as the library sends them, rendered and their bar codes
// read back with ZXing: each symbol must carry the data the job gave (the
// EPL escapes of quotes and backslashes undone): the bar codes of at least
// one label of each carrier, 1D codes as well as the structured symbols.

#include "PreviewTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace zal::preview;
using namespace zal::preview::test;
using ZXing::BarcodeFormat;

namespace {

const std::string RS = "\x1E", GS = "\x1D", FS = "\x1C", EOT = "\x04", TAB = "\t";

struct Symbol {
    const char *golden;
    std::size_t label;      // the label of the stream
    int x, y, w, h;         // the area the symbol is drawn in (w 0: to the right edge)
    BarcodeFormat format;
    std::string bytes;
    const char *symbology;  // "" when not checked
};

class GoldenDecode : public testing::TestWithParam<Symbol> {};

TEST_P(GoldenDecode, SymbolCarriesTheJobsData) {
    const Symbol &s = GetParam();
    auto rendered = RenderStream(GoldenStream(s.golden));
    ASSERT_GT(rendered.labels.size(), s.label) << s.golden;
    EXPECT_TRUE(rendered.warnings.empty()) << s.golden << ": " << rendered.warnings[0];
    const Image &label = rendered.labels[s.label];
    const int w = s.w ? s.w : label.width - s.x;
    Decoded decoded;
    if (s.format == BarcodeFormat::DataMatrix) {
        // the reader looks for it from the middle of the image: give it the symbol alone
        const Box box = InkBox(label, s.x, s.y, w, s.h);
        decoded = DecodeRegion(label, box.left, box.top, box.right - box.left + 1, box.bottom - box.top + 1,
                               s.format, true);
    } else {
        decoded = DecodeRegion(label, s.x, s.y, w, s.h, s.format, s.format == BarcodeFormat::MaxiCode);
    }
    ASSERT_TRUE(decoded.found) << s.golden << " y " << s.y;
    EXPECT_EQ(decoded.bytes, s.bytes) << s.golden << " y " << s.y;
    if (s.symbology[0] != '\0') {
        EXPECT_EQ(decoded.symbology, s.symbology) << s.golden << " y " << s.y;
    }
}

const std::string kExpressOneDee = "1001900000000007946123456702820200";
const std::string kCodOneDee = "1001900000560007946123456710030071";
const std::string kCodPieces = "20Z" "1250.50" + FS + GS + "25Z" "2" + FS + "01" + GS + "K" "SO-88213" + GS;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Ups, GoldenDecode, testing::Values(
    // domestic: mode 2 with the ZIP+4, the postal code and the tracking number
    /*  0*/ Symbol{"ups-nt-proactive", 0, 0, 285, 232, 228, BarcodeFormat::MaxiCode,
                   "[)>" + RS + "01" + GS + "96" "282021234" + GS + "840" + GS + "698" + GS + "1Z11904425" + GS + "UPSN" +
                   GS + "728104" + GS + "073" + GS + GS + "1/1" + GS + "6" + GS + "N" + GS + "2275 OLD MILL RD" + GS +
                   "CHARLOTTE" + GS + "NC" + RS + EOT, ""},
    /*  1*/ Symbol{"ups-nt-proactive", 0, 236, 390, 576, 112, BarcodeFormat::Code128, "420282021234", ""},
    /*  2*/ Symbol{"ups-ground-cod-billing", 0, 0, 590, 0, 160, BarcodeFormat::Code128, "1Z7281047208411751", ""},
    // international: mode 3 with the Canadian postal code; the paperless invoice's PDF417 message
    /*  3*/ Symbol{"ups-intl-express-canada-paperless", 0, 0, 280, 231, 234, BarcodeFormat::MaxiCode,
                   "[)>" + RS + "01" + GS + "96" "K1P5B7" + GS + "124" + GS + "066" + GS + "1Z12345674" + GS + "UPSN" +
                   GS + "5R8X47" + GS + "073" + GS + "5R8X47QZ7WM" + GS + "1/2" + GS + "5" + GS + "N" + GS +
                   "88 SPARKS ST" + GS + "OTTAWA" + GS + "ON" + RS + EOT, ""},
    /*  4*/ Symbol{"ups-intl-express-canada-paperless", 0, 240, 390, 572, 115, BarcodeFormat::Code128, "421124K1P5B", ""},
    /*  5*/ Symbol{"ups-intl-express-canada-paperless", 0, 0, 590, 0, 160, BarcodeFormat::Code128, "1Z5R8X476612345674", ""},
    /*  6*/ Symbol{"ups-intl-express-canada-paperless", 1, 0, 100, 0, 220, BarcodeFormat::PDF417,
                   "01\t07\t{)>\t1Z5R8X476612345674\t5R8X47QZ7WM\r02\tBRAMBLEWOOD OUTFITTERS\tNORCROSS\tGA\t30071\tUS\r"
                   "03\tMODEL KIT \"SPITFIRE\"\t2\tEA\t24.50\r03\tPAINT SET O'KEEFE\t1\tEA\t9.99\r10\tUSD\t58.99\r99\r", ""},
    // Puerto Rico: the padded ZIP and country 630, the street in place of the shipment number;
    // the code set switches are data to the printer's Code 128 as to the preview's
    /*  7*/ Symbol{"ups-pr-return-no-iso-postal-title-test-6in", 0, 0, 280, 231, 234, BarcodeFormat::MaxiCode,
                   "[)>" + RS + "01" + GS + "96" "009010000" + GS + "630" + GS + "087" + GS + "1Z12345672" + GS + "UPSN" +
                   GS + "5R8X47" + GS + "073" + GS + GS + "1/1" + GS + "6" + GS + "N" + GS + "77 CALLE DEL CRISTO" + GS +
                   "SAN JUAN" + GS + RS + EOT, ""},
    /*  8*/ Symbol{"ups-pr-return-no-iso-postal-title-test-6in", 0, 240, 400, 572, 100, BarcodeFormat::Code128,
                   ">;42100901>6", ""},
    /*  9*/ Symbol{"ups-pr-return-no-iso-postal-title-test-6in", 0, 0, 590, 0, 160, BarcodeFormat::Code128,
                   "1Z5R8X478712345672", ""},
    // SurePost: the postal code, the tracking number, and AI 420 with the PIC, opened without FNC1
    /* 10*/ Symbol{"ups-surepost-yp-routed-dim-weight", 0, 250, 320, 560, 115, BarcodeFormat::Code128, "42028202", ""},
    /* 11*/ Symbol{"ups-surepost-yn-zip9-letter-shipper-test-mode", 0, 0, 560, 0, 155, BarcodeFormat::Code128,
                   "1Z72E104YN87654321", ""},
    /* 12*/ Symbol{"ups-surepost-yp-routed-dim-weight", 0, 0, 990, 0, 150, BarcodeFormat::Code128,
                   "42028202" + GS + "92748901234567890123456789", "]C0"},
    // Mail Innovations: the Data Matrix message, quotes and apostrophes unescaped; the PIC after FNC1
    /* 13*/ Symbol{"ups-mi-quotes", 0, 10, 370, 178, 176, BarcodeFormat::DataMatrix,
                   "3" + TAB + "MI9284150000890123" + TAB + "I92841" + TAB + "ONEIL" + TAB + "2275 \"OLD\" MILL RD" + TAB +
                   TAB + "O'FALLON" + TAB + "MO" + TAB + "63366" + TAB + "US" + TAB + "PK9" + TAB + "3.0000" + TAB +
                   "10,1" + TAB + "4206336692490901234567890123456789", ""},
    /* 14*/ Symbol{"ups-mi-quotes", 0, 0, 650, 0, 150, BarcodeFormat::Code128,
                   "42063366" + GS + "92490901234567890123456789", "]C1"},
    // without a PIC, the tracking number of an international parcel
    /* 15*/ Symbol{"ups-mi-intl-tracking-block-test-mode", 0, 0, 625, 0, 120, BarcodeFormat::Code128,
                   "MI9284150000345678", ""},
    // returns: the Data Matrix message and the PIC of the returns' ZIP
    /* 16*/ Symbol{"ups-mir-2020-mailer-id", 0, 380, 12, 190, 160, BarcodeFormat::DataMatrix,
                   "05" + TAB + "MI9284150000654321" + TAB + "I92841" + TAB + "12,1" + TAB + "EAST7" + TAB + "RTN0042" +
                   TAB + "4205693592023901234567890123456789" + TAB + "56935", ""},
    /* 17*/ Symbol{"ups-mir-2020-mailer-id", 0, 0, 245, 0, 150, BarcodeFormat::Code128,
                   "42056935" + GS + "92023901234567890123456789", "]C1"},
    // pickup summary: the envelope with its separators, an empty field keeping its identifier
    /* 18*/ Symbol{"ups-pickup-quotes-defaults", 0, 540, 70, 272, 172, BarcodeFormat::DataMatrix,
                   "[)>" + RS + "06" + GS + "0Y" + GS + "30S15" + GS + "10YPSR" + GS + "21D000" + GS + "16SSD \"7\" O'Da" +
                   GS + "11Y " + RS + "06" + GS + "1Y" + GS + "20Y91" + GS + "15V7281" + GS + "21Y" + GS + "QSM0" + GS +
                   "22Y3" + RS + EOT, ""}
));

INSTANTIATE_TEST_SUITE_P(FedEx, GoldenDecode, testing::Values(
    // Express: the delivery address and the PDF417 message with the job's quotes and backslashes, the 1D code
    /*  0*/ Symbol{"fedex-quotes", 0, 0, 448, 0, 42, BarcodeFormat::Code128, "7" "2275 \"OLD\" MILL\\RD", ""},
    /*  1*/ Symbol{"fedex-quotes", 0, 0, 490, 590, 250, BarcodeFormat::PDF417,
                   "[)>" + RS + "01" + GS + "02" + "28202" + GS + "840" + GS + "01" + GS + "794612345670" "02\"1" + GS +
                   "FDE" + GS + "123456789" + GS + "073" + GS + GS + "1/1" + GS + "12.50" "LB" + GS + "N" + GS +
                   "2275 \"OLD\" MILL\\RD" + GS + "CHARLOTTE" + GS + "NC" + GS + "DORIAN \"DF\" FELSTED" + RS +
                   "06" + GS + "10Z" "ED007" + GS + "11Z" "HARROW & FINCH SUPPLY" + GS + "12Z" "7045550199" + GS +
                   "14Z" "SUITE\\140" + GS + "15Z" "1234567" + GS + kCodPieces + "31Z" + kExpressOneDee + GS + "32Z" "DSR" +
                   GS + "34Z" "01" + GS + "39Z" "ATLR" + GS + RS + EOT, ""},
    /*  2*/ Symbol{"fedex-quotes", 0, 0, 1008, 0, 214, BarcodeFormat::Code128, kExpressOneDee, ""},
    // the COD return label: its own message and 1D code
    /*  3*/ Symbol{"fedex-cod-secured-user-commands", 1, 0, 490, 590, 250, BarcodeFormat::PDF417,
                   "[)>" + RS + "01" + GS + "02" "30071" + GS + "840" + GS + "56" + GS + "794612345671" "0202" + GS +
                   "FDE" + GS + "123456789" + GS + "073" + GS + GS + "1/1" + GS + "0.00" "LB" + GS + "N" + GS +
                   "4410 PEACHTREE INDUSTRIAL" + GS + "NORCROSS" + GS + "GA" + GS + "BRAMBLEWOOD OUTFITTERS" + RS +
                   "06" + GS + "10Z" "ED007" + GS + "11Z" "BRAMBLEWOOD OUTFITTERS" + GS + "12Z" "7705550142" + GS +
                   "14Z" "DOCK 3" + GS + "15Z" "1234567" + GS + kCodPieces + "31Z" + kCodOneDee + GS + "32Z" "CR" + GS +
                   "34Z" "06" + GS + "39Z" "ATLR" + GS + RS + EOT, ""},
    /*  4*/ Symbol{"fedex-cod-secured-user-commands", 1, 0, 1005, 0, 214, BarcodeFormat::Code128, kCodOneDee, ""},
    // International: the air waybill's Codabar (start B, stop D); the package label's PDF417 message,
    // whose separators travel as escape texts, and its 1D code
    /*  5*/ Symbol{"fedex-intl-third-party-broker", 0, 0, 470, 500, 125, BarcodeFormat::Codabar, "B7946123456780430D", ""},
    /*  6*/ Symbol{"fedex-intl-third-party-broker", 1, 0, 420, 590, 300, BarcodeFormat::PDF417,
                   "[)>_1E01_1D02D2 _1D826_1D01_1D794612345678_1DFDE_1D123456789_1D338_1D_1D2/3_1D12.50LB_1DN_1D"
                   "12 ST JAMES SQUARE_1DLONDON_1DLN_1DADA LOVELACE_1E06_1D10ZEIO05_1D11ZRECEIVING DOCK_1D"
                   "12Z442079460000_1D14ZUNIT 4_1D15Z1234567_1D18Z222333444_1CE3_1DKPO-88_1D28Z794612345678_1D"
                   "29Z3034257BF7194E4000001A85_1D31Z1001901781720000794612345678000000_1D32ZECI_1D99ZEI0005_1CUS_1C"
                   "1234567.89_1CUSD_1CBRASS GEARS_1C001_1CY_1C_1C350.00_1C222333444_1D_1E_04", ""},
    /*  7*/ Symbol{"fedex-intl-third-party-broker", 1, 0, 1005, 0, 213, BarcodeFormat::Code128,
                   "1001901781720000794612345678000000", ""}
));

INSTANTIATE_TEST_SUITE_P(Postal, GoldenDecode, testing::Values(
    // CN22: the form's own number (S10: sets B, C, B), its quote escaped; the IMpb code after FNC1
    /*  0*/ Symbol{"cn22-4x4-edition4-gift-one-item", 0, 0, 12, 0, 118, BarcodeFormat::Code128, "LZ123456789US", ""},
    /*  1*/ Symbol{"cn22-quotes", 0, 0, 12, 0, 118, BarcodeFormat::Code128, "L\"123456789US", ""},
    /*  2*/ Symbol{"cn22-4x6-edition3-impb-ten-items", 0, 0, 12, 0, 118, BarcodeFormat::Code128,
                   "92055901649173123456789012", "]C1"},
    // USPS: IMpb as GS1-128 of AI 420, the ZIP, FNC1 and the number; Express in Code 39
    /*  3*/ Symbol{"usps-priority-impb", 0, 0, 880, 0, 200, BarcodeFormat::Code128,
                   "42028202" + GS + "92055901649173123456789012", "]C1"},
    /*  4*/ Symbol{"usps-express-waiver", 0, 0, 880, 0, 200, BarcodeFormat::Code39, "EA123456789US", ""},
    /*  5*/ Symbol{"usps-media-mail-routing9", 0, 0, 820, 0, 200, BarcodeFormat::Code128, "420303281234", "]C1"},
    // SmartPost: the USPS code and the ground code
    /*  6*/ Symbol{"smartpost-ground-913-paid", 0, 0, 600, 0, 185, BarcodeFormat::Code128,
                   "42030328" + GS + "9241901001304123456780", "]C1"},
    /*  7*/ Symbol{"smartpost-ground-913-paid", 0, 0, 870, 0, 320, BarcodeFormat::Code128, "9612019123456712345678", "]C1"}
));
// clang-format on

// The SurePost label's MaxiCode reaches below the rule at y 446, which
// covers its last row: its command is read back on a label of its own.
TEST(GoldenDecodeSurePost, MaxiCodeCarriesTheJobsData) {
    const std::string stream = GoldenStream("ups-surepost-yp-routed-dim-weight");
    const std::size_t start = stream.find("\nb005,0238,M,m2,");
    ASSERT_NE(start, std::string::npos);
    const std::string command = stream.substr(start + 1, stream.find('\n', start + 1) - start);
    auto rendered = RenderStream("N\n" + command + "P1\n");
    ASSERT_EQ(rendered.labels.size(), 1u);
    EXPECT_TRUE(rendered.warnings.empty()) << rendered.warnings[0];
    auto decoded = DecodeRegion(rendered.labels[0], 0, 230, 250, 240, BarcodeFormat::MaxiCode, true);
    ASSERT_TRUE(decoded.found);
    EXPECT_EQ(decoded.bytes, "[)>" + RS + "01" + GS + "96" "282020000" + GS + "840" + GS + "982" + GS + "1Z12345678" + GS +
                                 "UPSN" + GS + "728104" + GS + "073" + GS + GS + "1/1" + GS + "1" + GS + "N" + GS +
                                 "2275 OLD MILL RD" + GS + "CHARLOTTE" + GS + "NC" + RS + EOT);
}

std::string ReadBytes(const std::filesystem::path &path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

uint32_t BigEndian(const std::string &s, size_t at) {
    return uint32_t(uint8_t(s[at])) << 24 | uint32_t(uint8_t(s[at + 1])) << 16 | uint32_t(uint8_t(s[at + 2])) << 8 |
           uint8_t(s[at + 3]);
}

// A domestic label as PNG and PDF in a folder under the temporary directory,
// for a person to see.
TEST(GoldenSamples, WrittenForPeopleToSee) {
    auto folder = std::filesystem::temp_directory_path() / "zal-preview-samples";
    std::filesystem::create_directories(folder);
    auto rendered = RenderStream(GoldenStream("ups-nt-proactive"));
    ASSERT_EQ(rendered.labels.size(), 1u);
    auto path = folder / "ups-domestic.png";
    ASSERT_TRUE(WritePng(rendered.labels[0], path.string())) << path;
    std::string png = ReadBytes(path);
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1A\n");
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(BigEndian(png, 16), 812u);
    EXPECT_EQ(BigEndian(png, 20), 1218u);

    auto pdf = folder / "labels.pdf";
    ASSERT_TRUE(WritePdf({rendered.labels[0], rendered.labels[0]}, pdf.string()));
    std::string text = ReadBytes(pdf);
    EXPECT_EQ(text.substr(0, 8), "%PDF-1.4");
    EXPECT_NE(text.find("/Count 2"), std::string::npos);
    EXPECT_NE(text.find("/MediaBox [0 0 288.00 432.00]"), std::string::npos);  // 812 x 1218 dots: 4 x 6 inches
    EXPECT_EQ(text.substr(text.size() - 6), "%%EOF\n");
    EXPECT_FALSE(WritePng(Image{}, (folder / "empty.png").string()));
    EXPECT_FALSE(WritePdf({}, (folder / "empty.pdf").string()));
}

}  // namespace
