#include "Canvas.h"

#include <algorithm>

namespace zal::preview {

void Canvas::Resize(int width, int height) {
    std::vector<uint8_t> pixels(size_t(width) * height);
    for (int y = 0; y < std::min(height, _height); ++y)
        std::copy_n(_pixels.begin() + size_t(y) * _width, std::min(width, _width), pixels.begin() + size_t(y) * width);
    _width = width;
    _height = height;
    _pixels.swap(pixels);
}

void Canvas::Clear() { std::fill(_pixels.begin(), _pixels.end(), 0); }

void Canvas::Fill(int64_t x, int64_t y, int64_t w, int64_t h, Ink ink) {
    int64_t x0 = std::max<int64_t>(x, 0), y0 = std::max<int64_t>(y, 0);
    int64_t x1 = std::min<int64_t>(x + std::max<int64_t>(w, 0), _width);
    int64_t y1 = std::min<int64_t>(y + std::max<int64_t>(h, 0), _height);
    for (int64_t row = y0; row < y1; ++row) {
        uint8_t *p = _pixels.data() + row * _width;
        for (int64_t col = x0; col < x1; ++col)
            p[col] = ink == Ink::Black ? 1 : ink == Ink::White ? 0 : p[col] ^ 1;
    }
}

Image Canvas::ToImage(bool turned) const {
    Image image{_width, _height, _pixels};
    if (turned)
        std::reverse(image.pixels.begin(), image.pixels.end());
    return image;
}

void Placement::Fill(Canvas &canvas, int64_t u, int64_t v, int64_t w, int64_t h, Ink ink) const {
    switch (rotation & 3) {
        case 0: canvas.Fill(x + u, y + v, w, h, ink); break;
        case 1: canvas.Fill(x - v - h, y + u, h, w, ink); break;
        case 2: canvas.Fill(x - u - w, y - v - h, w, h, ink); break;
        case 3: canvas.Fill(x + v, y - u - w, h, w, ink); break;
    }
}

}  // namespace zal::preview
