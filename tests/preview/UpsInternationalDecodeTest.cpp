// The UPS international and Puerto Rico smart labels and the paperless
// invoice as the library sends them (their golden streams), read back with
// ZXing: the MaxiCode message, the postal and tracking codes, the invoice's
// PDF417 message.

#include "PreviewTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace zal::preview;
using namespace zal::preview::test;
using ZXing::BarcodeFormat;

namespace {

const std::string GS = "\x1D", RS = "\x1E", EOT = "\x04";

std::string GoldenStream(const std::string &name) {
    const auto path =
        std::filesystem::path(__FILE__).parent_path().parent_path() / "golden" / "cases" / name / "expected.epl";
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file.good()) << path;
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

struct Symbol {
    int x, y, width, height;  // the area the symbol is drawn in
    BarcodeFormat format;
    std::string bytes;
};

void ExpectSymbols(const Image &label, const std::vector<Symbol> &symbols) {
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        const Symbol &s = symbols[i];
        auto decoded = DecodeRegion(label, s.x, s.y, s.width, s.height, s.format, s.format == BarcodeFormat::MaxiCode);
        ASSERT_TRUE(decoded.found) << "symbol " << i;
        EXPECT_EQ(decoded.bytes, s.bytes) << "symbol " << i;
    }
}

}  // namespace

TEST(UpsInternationalDecode, InternationalLabelAndPaperlessInvoice) {
    auto rendered = RenderStream(GoldenStream("ups-intl-express-canada-paperless"));
    ASSERT_EQ(rendered.labels.size(), 2u);
    EXPECT_TRUE(rendered.warnings.empty()) << rendered.warnings[0];

    // mode 3: the Canadian postal code of six letters and digits
    const std::string maxi = "[)>" + RS + "01" + GS + "96" + "K1P5B7" + GS + "124" + GS + "066" + GS + "1Z12345674" +
                             GS + "UPSN" + GS + "5R8X47" + GS + "073" + GS + "5R8X47QZ7WM" + GS + "1/2" + GS + "5" +
                             GS + "N" + GS + "88 SPARKS ST" + GS + "OTTAWA" + GS + "ON" + RS + EOT;
    ExpectSymbols(rendered.labels[0], {
        {0, 280, 231, 234, BarcodeFormat::MaxiCode, maxi},
        {240, 390, 572, 115, BarcodeFormat::Code128, "421124K1P5B"},
        {0, 590, 812, 160, BarcodeFormat::Code128, "1Z5R8X476612345674"},
    });

    // the escaped quote and apostrophe of the message read back as themselves
    const std::string invoice = "01\t07\t{)>\t1Z5R8X476612345674\t5R8X47QZ7WM\r"
                                "02\tBRAMBLEWOOD OUTFITTERS\tNORCROSS\tGA\t30071\tUS\r"
                                "03\tMODEL KIT \"SPITFIRE\"\t2\tEA\t24.50\r"
                                "03\tPAINT SET O'KEEFE\t1\tEA\t9.99\r"
                                "10\tUSD\t58.99\r99\r";
    ExpectSymbols(rendered.labels[1], {{0, 100, 812, 220, BarcodeFormat::PDF417, invoice}});
}

TEST(UpsInternationalDecode, PuertoRicoLabel) {
    // without a country code the postal data is short enough for the label's width
    auto rendered = RenderStream(GoldenStream("ups-pr-return-no-iso-postal-title-test-6in"));
    ASSERT_EQ(rendered.labels.size(), 1u);
    EXPECT_TRUE(rendered.warnings.empty()) << rendered.warnings[0];

    // mode 2: the padded ZIP, Puerto Rico's country code; the shipment
    // number gives way to the street
    const std::string maxi = "[)>" + RS + "01" + GS + "96" + "009010000" + GS + "630" + GS + "087" + GS + "1Z12345672" +
                             GS + "UPSN" + GS + "5R8X47" + GS + "073" + GS + GS + "1/1" + GS + "6" + GS + "N" + GS +
                             "77 CALLE DEL CRISTO" + GS + "SAN JUAN" + GS + RS + EOT;
    ExpectSymbols(rendered.labels[0], {
        {0, 280, 231, 234, BarcodeFormat::MaxiCode, maxi},
        // the code set switches are data to the printer's code 128 as to the preview's
        {240, 400, 572, 100, BarcodeFormat::Code128, ">;42100901>6"},
        {0, 590, 812, 160, BarcodeFormat::Code128, "1Z5R8X478712345672"},
    });
}
