#include "PreviewTestSupport.h"

#include <gtest/gtest.h>

#include <ZXing/ReadBarcode.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace zal::preview::test {

Rendered RenderStream(const std::string &stream, Options options) {
    Rendered result;
    options.warn = [&](const std::string &message) { result.warnings.push_back(message); };
    result.labels = Render(stream, options);
    return result;
}

int CountBlack(const Image &image, int x, int y, int w, int h) {
    int count = 0;
    for (int row = std::max(y, 0); row < std::min(y + h, image.height); ++row)
        for (int col = std::max(x, 0); col < std::min(x + w, image.width); ++col)
            count += image.black(col, row);
    return count;
}

Box InkBox(const Image &image, int x0, int y0, int w, int h) {
    Box box{image.width, image.height, -1, -1};
    const int right = w < 0 ? image.width : std::min(x0 + w, image.width);
    const int bottom = h < 0 ? image.height : std::min(y0 + h, image.height);
    for (int y = std::max(y0, 0); y < bottom; ++y)
        for (int x = std::max(x0, 0); x < right; ++x)
            if (image.black(x, y)) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    if (box.right < 0)
        box = Box{};
    return box;
}

Decoded DecodeRegion(const Image &image, int x, int y, int w, int h, ZXing::BarcodeFormat format, bool pure,
                     bool fullAscii) {
    const int margin = 30;
    int width = w + 2 * margin, height = h + 2 * margin;
    std::vector<uint8_t> lum(size_t(width) * height, 255);
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) {
            int sx = x + col, sy = y + row;
            if (sx >= 0 && sy >= 0 && sx < image.width && sy < image.height && image.black(sx, sy))
                lum[size_t(row + margin) * width + col + margin] = 0;
        }
    ZXing::DecodeHints hints;
    hints.setFormats(format);
    hints.setIsPure(pure);
    hints.setTryHarder(true);
    hints.setTryCode39ExtendedMode(fullAscii);
    hints.setReturnCodabarStartEnd(true);
    auto result = ZXing::ReadBarcode({lum.data(), width, height, ZXing::ImageFormat::Lum}, hints);
    Decoded decoded;
    decoded.found = result.isValid();
    if (decoded.found) {
        decoded.bytes.assign(result.bytes().begin(), result.bytes().end());
        decoded.symbology = result.symbologyIdentifier();
        decoded.sequenceIndex = result.sequenceIndex();
        decoded.sequenceSize = result.sequenceSize();
    }
    return decoded;
}

std::string GoldenStream(const std::string &name) {
    const auto path =
        std::filesystem::path(__FILE__).parent_path().parent_path() / "golden" / "cases" / name / "expected.epl";
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file.good()) << path;
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

}  // namespace zal::preview::test
