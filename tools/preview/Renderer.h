#pragma once

#include "Canvas.h"
#include "CodePages.h"
#include "CommandReader.h"
#include "Preview.h"

#include <string>
#include <string_view>
#include <vector>

namespace zal::preview {

// Runs the commands of a stream on an image buffer the way the printer does and keeps an image of
// the buffer at every P.
class Renderer {
public:
    explicit Renderer(const Options &options);
    std::vector<Image> Run(std::string_view stream);

private:
    void Execute(const Command &command);
    void Warn(const Command &command, const std::string &message) const;
    void UnknownCommand(const Command &command) const;
    bool Numbers(const Command &command, std::string_view args, size_t count, std::vector<int64_t> &values) const;

    void Print(const Command &command);
    void FormLength(const Command &command);
    void LabelWidth(const Command &command);
    void ReferencePoint(const Command &command);
    void CharacterSet(const Command &command);
    void Text(const Command &command);
    void Line(const Command &command, Ink ink);
    void Box(const Command &command);
    void DiagonalLine(const Command &command);
    void Graphic(const Command &command);
    void Barcode(const Command &command);    // LinearBarcode.cpp
    void Barcode2D(const Command &command);  // MatrixBarcode.cpp

    // Human-readable line of a bar code, centred below it.
    void Interpretation(const Placement &at, int64_t barsWidth, int64_t height, int narrow, const std::string &text);

    Options _options;
    Canvas _canvas;
    int64_t _refX = 0, _refY = 0;
    bool _topFirst = false;  // ZT
    bool _stopped = false;   // the label sink asked to stop
    CodePage _codePage = CodePage::Dos437;
    std::vector<Image> _labels;
    int64_t _pixelsLeft;
};

// Largest image the preview makes, in dots (12 x 40 inches).
constexpr int kMaxWidth = 12 * kDotsPerInch, kMaxLength = 40 * kDotsPerInch;

}  // namespace zal::preview
