#include "ResidentFont.h"

#include <algorithm>

namespace zal::preview {

extern const ResidentFont kResidentFonts[5];  // ResidentFontData.cpp, generated

const ResidentFont *FindResidentFont(int number) {
    return number >= 1 && number <= 5 ? &kResidentFonts[number - 1] : nullptr;
}

static const uint32_t *Find(const ResidentFont &font, char32_t c) {
    auto end = font.codePoints + font.glyphCount;
    auto it = std::lower_bound(font.codePoints, end, c);
    if (it == end || *it != c)
        return nullptr;
    return font.rows + (it - font.codePoints) * font.cellHeight;
}

const uint32_t *GlyphRows(const ResidentFont &font, char32_t c) {
    if (auto rows = Find(font, c))
        return rows;
    return Find(font, U'?');
}

}  // namespace zal::preview
