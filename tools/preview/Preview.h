#pragma once

// Preview of EPL2 label streams: renders each printed label as a 203 dpi bitmap, without a printer.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zal::preview {

constexpr int kDotsPerInch = 203;

struct Image;

struct Options {
    // Media size; 4 x 6 inches gives 812 x 1218 dots.
    double widthInches = 4.0, lengthInches = 6.0;
    // A "q" (label width) or "Q" (form length) in the stream sets the image size, as on the printer;
    // false keeps the media size above.
    bool sizeFromStream = true;
    // Labels rendered at most; further P commands are skipped with a warning.
    int maxLabels = 100;
    // Receives one line per skipped or doubtful command; nullptr: warnings are dropped.
    std::function<void(const std::string &)> warn;
    // When set, each label is handed over as soon as its P command is run and is not kept: memory
    // stays that of one label, and maxLabels does not apply.  Returning false stops the rendering.
    std::function<bool(Image &&)> onLabel;
};

struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;  // row-major, 0 white, 1 black

    bool black(int x, int y) const { return pixels[size_t(y) * width + x] != 0; }
};

// One image per P command of the stream, in order. Never throws for any input.
std::vector<Image> Render(std::string_view stream, const Options &options = {});

// 1-bit grey PNG with the resolution set to 203 dpi.
bool WritePng(const Image &image, const std::string &path);

// One page per image, each page the size of its label.
bool WritePdf(const std::vector<Image> &images, const std::string &path);

// File of label `index` (0-based): "label.png", "label-2.png", "label-3.png", ...
std::string LabelFileName(const std::string &first, size_t index);

}  // namespace zal::preview
