#pragma once

#include <cstdint>

namespace zal::preview {

// One of the printer's resident fonts 1..5 as a bitmap font of its dot cell. The glyph tables are
// generated at build time (FONTS.md says from what).
struct ResidentFont {
    int cellWidth;
    int cellHeight;
    const char32_t *codePoints;  // ascending
    const uint32_t *rows;        // cellHeight rows per glyph, bit 31 is the left-most dot of the cell
    int glyphCount;
};

// Font 1..5, nullptr for any other number.
const ResidentFont *FindResidentFont(int number);

// The rows of the glyph of c; the glyph of '?' when the font has none for c.
const uint32_t *GlyphRows(const ResidentFont &font, char32_t c);

}  // namespace zal::preview
