// The USPS and SmartPost labels as the library prints them (their golden
// streams), rendered without a warning, their bar codes read back with
// ZXing: the data must be what the label says.

#include "PreviewTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace zal::preview;
using namespace zal::preview::test;
using ZXing::BarcodeFormat;

namespace {

const std::string GS = "\x1D";

std::string GoldenStream(const std::string &name) {
    const auto path = std::filesystem::path(__FILE__).parent_path().parent_path() / "golden" / "cases" / name /
                      "expected.epl";
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file.good()) << path;
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

struct LabelBarcode {
    const char *goldenCase;
    int y, height;  // the strip the symbol is drawn in
    BarcodeFormat format;
    std::string bytes;
    const char *symbology;  // "" when not checked
};

class UspsSmartPostDecode : public testing::TestWithParam<LabelBarcode> {};

TEST_P(UspsSmartPostDecode, BarcodeCarriesTheLabelsData) {
    const LabelBarcode &c = GetParam();
    auto rendered = RenderStream(GoldenStream(c.goldenCase));
    ASSERT_EQ(rendered.labels.size(), 1u) << c.goldenCase;
    EXPECT_TRUE(rendered.warnings.empty()) << c.goldenCase << ": " << rendered.warnings[0];
    const Image &label = rendered.labels[0];
    auto decoded = DecodeRegion(label, 0, c.y, label.width, c.height, c.format);
    ASSERT_TRUE(decoded.found) << c.goldenCase;
    EXPECT_EQ(decoded.bytes, c.bytes) << c.goldenCase;
    if (c.symbology[0] != '\0') {
        EXPECT_EQ(decoded.symbology, c.symbology) << c.goldenCase;
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Labels, UspsSmartPostDecode, testing::Values(
    // IMpb: GS1-128 of AI 420 with the ZIP, FNC1, the tracking number
    /*  0*/ LabelBarcode{"usps-priority-impb", 880, 200, BarcodeFormat::Code128,
                         "42028202" + GS + "92055901649173123456789012", "]C1"},
    /*  1*/ LabelBarcode{"usps-express-waiver", 880, 200, BarcodeFormat::Code39, "EA123456789US", ""},
    /*  2*/ LabelBarcode{"usps-media-mail-routing9", 820, 200, BarcodeFormat::Code128, "420303281234", "]C1"},
    /*  3*/ LabelBarcode{"smartpost-ground-913-paid", 600, 185, BarcodeFormat::Code128,
                         "42030328" + GS + "9241901001304123456780", "]C1"},
    /*  4*/ LabelBarcode{"smartpost-ground-913-paid", 870, 320, BarcodeFormat::Code128,
                         "9612019123456712345678", "]C1"}
));
// clang-format on

}  // namespace
