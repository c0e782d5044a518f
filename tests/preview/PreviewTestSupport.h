#pragma once

#include "Preview.h"

#include <ZXing/BarcodeFormat.h>

#include <string>
#include <vector>

namespace zal::preview::test {

// The stream's labels, with the warnings it gave.
struct Rendered {
    std::vector<Image> labels;
    std::vector<std::string> warnings;
};
Rendered RenderStream(const std::string &stream, Options options = {});

// Black dots of the image inside the rectangle.
int CountBlack(const Image &image, int x, int y, int w, int h);

struct Box {
    int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; right < left when empty
    bool operator==(const Box &o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};
// The ink of the image, or of the rectangle when one is given.
Box InkBox(const Image &image, int x = 0, int y = 0, int w = -1, int h = -1);

struct Decoded {
    bool found = false;
    std::string bytes;
    std::string symbology;  // "]C1" ...
    int sequenceIndex = -1, sequenceSize = -1;
};
// Decodes the symbol in the rectangle of the image (with a white margin added); `pure` for symbols
// that must be read from pure images (MaxiCode), `fullAscii` to read Code 39 Full ASCII.
Decoded DecodeRegion(const Image &image, int x, int y, int w, int h, ZXing::BarcodeFormat format, bool pure = false,
                     bool fullAscii = false);

// The printer stream of a golden case (tests/golden/cases/<name>/expected.epl).
std::string GoldenStream(const std::string &name);

}  // namespace zal::preview::test
