// The FedEx International labels as the library sends them (the golden
// streams), read back with ZXing: the air waybill's Codabar tracking code,
// the package label's PDF417 symbol and its Code 128 package code.

#include "PreviewTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace zal::preview;
using namespace zal::preview::test;
using ZXing::BarcodeFormat;

namespace {

std::string GoldenStream(const std::string &name) {
    const auto path =
        std::filesystem::path(__FILE__).parent_path().parent_path() / "golden" / "cases" / name / "expected.epl";
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

// The message's separators travel as escape texts: _1E RS, _1D GS, _1C FS, _04 EOT.
const std::string RS = "_1E", GS = "_1D", FS = "_1C", EOT = "_04";

}  // namespace

TEST(FedExIntlDecode, AirWaybillAndPackageLabel) {
    // second of three packages, third party pays: one air waybill copy and the package label
    auto rendered = RenderStream(GoldenStream("fedex-intl-third-party-broker"));
    ASSERT_EQ(rendered.labels.size(), 2u);
    const Image &awb = rendered.labels[0];
    const Image &package = rendered.labels[1];

    // Codabar with start B and stop D: the tracking number and the form id
    auto tracking = DecodeRegion(awb, 0, 470, 500, 125, BarcodeFormat::Codabar);
    ASSERT_TRUE(tracking.found);
    EXPECT_EQ(tracking.bytes, "B7946123456780430D");

    const std::string header = "[)>" + RS + "01" + GS + "02" + "D2 " + GS + "826" + GS + "01" + GS + "794612345678" +
                               GS + "FDE" + GS + "123456789" + GS + "338" + GS + GS + "2/3" + GS + "12.50" + "LB" +
                               GS + "N" + GS + "12 ST JAMES SQUARE" + GS + "LONDON" + GS + "LN" + GS + "ADA LOVELACE" +
                               RS;
    const std::string parcel = "06" + GS + "10ZEIO05" + GS + "11ZRECEIVING DOCK" + GS + "12Z442079460000" + GS +
                               "14ZUNIT 4" + GS + "15Z1234567" + GS + "18Z222333444" + FS + "E3" + GS + "KPO-88" + GS +
                               "28Z794612345678" + GS + "29Z3034257BF7194E4000001A85" + GS +
                               "31Z1001901781720000794612345678000000" + GS + "32ZECI" + GS;
    const std::string customs = "99ZEI0005" + FS + "US" + FS + "1234567.89" + FS + "USD" + FS + "BRASS GEARS" + FS +
                                "001" + FS + "Y" + FS + FS + "350.00" + FS + "222333444" + GS + RS;
    auto pdf = DecodeRegion(package, 0, 420, 590, 300, BarcodeFormat::PDF417);
    ASSERT_TRUE(pdf.found);
    EXPECT_EQ(pdf.bytes, header + parcel + customs + EOT);

    auto oneDee = DecodeRegion(package, 0, 1005, package.width, package.height - 1005, BarcodeFormat::Code128);
    ASSERT_TRUE(oneDee.found);
    EXPECT_EQ(oneDee.bytes, "1001901781720000794612345678000000");
}

TEST(FedExIntlDecode, HeldShipmentCarriesTheLocation) {
    // first of three packages held at a carrier location: two copies, then the package label
    auto rendered = RenderStream(GoldenStream("fedex-intl-hold-ursa"));
    ASSERT_EQ(rendered.labels.size(), 3u);
    auto pdf = DecodeRegion(rendered.labels[2], 0, 420, 590, 300, BarcodeFormat::PDF417);
    ASSERT_TRUE(pdf.found);
    const std::string address = GS + "N" + GS + "1 Dockside Road" + GS + "LONDON" + GS + "ZZ" + GS +
                                "FedEx Station LCYA" + RS + "06" + GS + "10ZEIO05" + GS + "11ZHold for Ada Lovelace" +
                                GS + "12Z442070005555" + GS + "15Z";
    EXPECT_NE(pdf.bytes.find(address), std::string::npos) << pdf.bytes;
    EXPECT_EQ(pdf.bytes.rfind(EOT), pdf.bytes.size() - EOT.size());
}
