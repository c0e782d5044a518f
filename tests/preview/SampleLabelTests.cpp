// A whole UPS domestic label as the library sends it. Its image goes to a folder under the temporary
// directory for a person to see.

#include "PreviewTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace zal::preview;
using namespace zal::preview::test;
using ZXing::BarcodeFormat;

namespace {

const std::string GS = "\x1D", RS = "\x1E", EOT = "\x04";

const std::string kMaxiData = "[)>" + RS + "01" + GS + "96" + "303280000" + GS + "840" + GS + "001" + GS +
                              "1Z12345678" + GS + "UPSN" + GS + "12345E" + GS + "089" + GS + "SHIP123" + GS + "1/1" +
                              GS + "10" + GS + "N" + GS + "42 ELM AVE" + GS + "ATLANTA" + GS + "GA" + RS + EOT;

std::string UpsDomesticStream() {
    return "\nZB\nR0,0\nS4\nD10\nN\n"
           "A013,0002,0,2,1,1,N,\"SHIPPING DEPT\"\n"
           "A013,0022,0,2,1,1,N,\"217-555-0100\"\n"
           "A013,0042,0,2,1,1,N,\"ACME SHIPPING CO\"\n"
           "A013,0062,0,2,1,1,N,\"100 MAIN STREET\"\n"
           "A013,0082,0,2,1,1,N,\"SPRINGFIELD IL 62701\"\n"
           "A158,0143,0,1,2,2,N,\"SHIP\"\n"
           "A170,0173,0,1,2,2,N,\"TO:\"\n"
           "A253,0143,0,4,1,1,N,\"JOHN Q PUBLIC\"\n"
           "A253,0167,0,4,1,1,N,\"WIDGET WORKS\"\n"
           "A253,0191,0,4,1,1,N,\"ATTN RECEIVING\"\n"
           "A253,0215,0,4,1,1,N,\"42 ELM AVE\"\n"
           "A253,0264,0,2,2,2,N,\"ATLANTA GA 30328\"\n"
           "A403,0005,0,2,2,2,N,\"10 LBS\"\n"
           "A673,0005,0,1,2,2,N,\"1 OF 1\"\n"
           "A563,0050,0,2,1,1,N,\"DWT: 12,10,8\"\n"
           "A690,0183,0,2,3,2,N,\"P\"\n"
           "A747,0337,0,5,1,1,N,\"P\"\n"
           "LE729,0327,075,072\n"
           "LO000,0275,232,003\n"
           "LO232,0275,003,240\n"
           "LO232,0323,572,003\n"
           "LO000,0515,804,003\n"
           "LO000,0582,804,003\n"
           "LO000,0759,804,003\n"
           "LO000,0865,804,001\n"
           "b005,0294,M,m2,\"" +
           kMaxiData +
           "\"\n"
           "A288,0330,0,3,2,3,N,\"GA 303 9-01\"\n"
           "B270,0395,0,1A,3,6,102,N,\"420303281234\"\n"
           "A013,0523,0,2,2,2,N,\"UPS GROUND\"\n"
           "A013,0557,0,4,1,1,N,\"TRACKING #: 1Z 123 45E 03 1234 5678\"\n"
           "LO734,0516,066,066\n"
           "B095,0599,0,1,3,3,145,N,\"1Z12345E0312345678\"\n"
           "A013,0767,0,4,1,1,N,\"BILLING: P/P\"\n"
           "A013,0791,0,4,1,1,N,\"REF 1: ORDER 4711\"\n"
           "A517,0850,0,1,1,1,N,\"OV v23.03.01 XOL 23.04.00 03/2023\"\n"
           "A013,0881,0,2,1,1,N,\"PO # 4500012345\"\n"
           "P1\n";
}

std::filesystem::path SampleFolder() {
    auto folder = std::filesystem::temp_directory_path() / "zal-preview-samples";
    std::filesystem::create_directories(folder);
    return folder;
}

std::string ReadFile(const std::filesystem::path &path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

uint32_t BigEndian(const std::string &s, size_t at) {
    return uint32_t(uint8_t(s[at])) << 24 | uint32_t(uint8_t(s[at + 1])) << 16 | uint32_t(uint8_t(s[at + 2])) << 8 |
           uint8_t(s[at + 3]);
}

}  // namespace

TEST(PreviewSamples, UpsDomesticLabelBarcodesDecode) {
    auto rendered = RenderStream(UpsDomesticStream());
    ASSERT_EQ(rendered.labels.size(), 1u);
    EXPECT_TRUE(rendered.warnings.empty()) << rendered.warnings[0];
    const Image &label = rendered.labels[0];
    EXPECT_EQ(label.width, 812);
    EXPECT_EQ(label.height, 1218);

    auto maxi = DecodeRegion(label, 0, 285, 232, 228, BarcodeFormat::MaxiCode, true);
    ASSERT_TRUE(maxi.found);
    EXPECT_EQ(maxi.bytes, kMaxiData);
    auto postal = DecodeRegion(label, 236, 390, 576, 112, BarcodeFormat::Code128);
    ASSERT_TRUE(postal.found);
    EXPECT_EQ(postal.bytes, "420303281234");
    auto tracking = DecodeRegion(label, 0, 590, 812, 160, BarcodeFormat::Code128);
    ASSERT_TRUE(tracking.found);
    EXPECT_EQ(tracking.bytes, "1Z12345E0312345678");
    // the proactive-response "P" stands white in its black box
    EXPECT_GT(CountBlack(label, 729, 327, 75, 72), 75 * 72 / 2);
    EXPECT_LT(CountBlack(label, 729, 327, 75, 72), 75 * 72);
}

TEST(PreviewSamples, WrittenForPeopleToSee) {
    auto folder = SampleFolder();
    auto rendered = RenderStream(UpsDomesticStream());
    ASSERT_EQ(rendered.labels.size(), 1u);
    auto path = folder / "ups-domestic.png";
    ASSERT_TRUE(WritePng(rendered.labels[0], path.string())) << path;
    std::string png = ReadFile(path);
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1A\n");
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(BigEndian(png, 16), 812u);
    EXPECT_EQ(BigEndian(png, 20), 1218u);

    auto pdf = folder / "labels.pdf";
    ASSERT_TRUE(WritePdf({rendered.labels[0], rendered.labels[0]}, pdf.string()));
    std::string text = ReadFile(pdf);
    EXPECT_EQ(text.substr(0, 8), "%PDF-1.4");
    EXPECT_NE(text.find("/Count 2"), std::string::npos);
    EXPECT_NE(text.find("/MediaBox [0 0 288.00 432.00]"), std::string::npos);  // 812 x 1218 dots: 4 x 6 inches
    EXPECT_EQ(text.substr(text.size() - 6), "%%EOF\n");
    EXPECT_FALSE(WritePng(Image{}, (folder / "empty.png").string()));
    EXPECT_FALSE(WritePdf({}, (folder / "empty.pdf").string()));
}
