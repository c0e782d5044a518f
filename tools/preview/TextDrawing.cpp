#include "TextDrawing.h"

namespace zal::preview {

int64_t DrawText(Canvas &canvas, const Placement &at, const ResidentFont &font, int fontNumber, const std::string &text,
                 CodePage codePage, int hMult, int vMult, bool reverse) {
    int64_t cellW = int64_t(font.cellWidth) * hMult, cellH = int64_t(font.cellHeight) * vMult;
    int64_t u = 0;
    for (char byte : text) {
        char32_t c = ToUnicode(uint8_t(byte), codePage);
        if (fontNumber == 5 && c >= U'a' && c <= U'z')  // font 5 has capitals only
            c -= U'a' - U'A';
        if (reverse)
            at.Fill(canvas, u, 0, cellW, cellH, Ink::Black);
        if (c != 0 && c != U' ') {
            const uint32_t *rows = GlyphRows(font, c);
            for (int y = 0; rows && y < font.cellHeight; ++y) {
                // runs of set dots become one rectangle each
                for (int x = 0; x < font.cellWidth;) {
                    if (!(rows[y] & (0x80000000u >> x))) {
                        ++x;
                        continue;
                    }
                    int start = x;
                    while (x < font.cellWidth && (rows[y] & (0x80000000u >> x)))
                        ++x;
                    at.Fill(canvas, u + int64_t(start) * hMult, int64_t(y) * vMult, int64_t(x - start) * hMult, vMult,
                            reverse ? Ink::White : Ink::Black);
                }
            }
        }
        u += cellW;
    }
    return u;
}

}  // namespace zal::preview
