#pragma once

#include "Preview.h"

#include <cstdint>
#include <vector>

namespace zal::preview {

enum class Ink { Black, White, Invert };

// The printer's image buffer: one byte per dot, 1 black.
class Canvas {
public:
    Canvas(int width, int height) { Resize(width, height); }

    int width() const { return _width; }
    int height() const { return _height; }

    // Keeps what is drawn at the top left.
    void Resize(int width, int height);
    void Clear();

    // Clipped to the canvas; any extent is safe.
    void Fill(int64_t x, int64_t y, int64_t w, int64_t h, Ink ink);
    void Set(int64_t x, int64_t y, Ink ink) { Fill(x, y, 1, 1, ink); }
    bool Black(int x, int y) const { return _pixels[size_t(y) * _width + x] != 0; }

    Image ToImage(bool turned) const;

private:
    int _width = 0, _height = 0;
    std::vector<uint8_t> _pixels;
};

// Where an element goes: its anchor and the EPL2 rotation (0..3, quarter turns clockwise about the
// anchor). Element coordinates u run along the element, v across it, from its top left corner.
struct Placement {
    int64_t x = 0, y = 0;
    int rotation = 0;

    void Fill(Canvas &canvas, int64_t u, int64_t v, int64_t w, int64_t h, Ink ink) const;
};

}  // namespace zal::preview
