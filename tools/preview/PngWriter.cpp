#include "Preview.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace zal::preview {

bool WritePng(const Image &image, const std::string &path) {
    if (image.width <= 0 || image.height <= 0 || image.pixels.size() != size_t(image.width) * image.height)
        return false;
    std::unique_ptr<FILE, int (*)(FILE *)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<png_byte> row((size_t(image.width) + 7) / 8);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), 1, PNG_COLOR_TYPE_GRAY,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const png_uint_32 dotsPerMetre = png_uint_32(kDotsPerInch / 0.0254 + 0.5);
    png_set_pHYs(png, info, dotsPerMetre, dotsPerMetre, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) {
        // grey 1 is white in PNG
        std::fill(row.begin(), row.end(), png_byte(0xFF));
        for (int x = 0; x < image.width; ++x)
            if (image.pixels[size_t(y) * image.width + x])
                row[x / 8] &= png_byte(~(0x80 >> (x % 8)));
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fflush(file.get()) == 0;
}

}  // namespace zal::preview
