#pragma once

#include "Canvas.h"
#include "CodePages.h"
#include "ResidentFont.h"

#include <string>

namespace zal::preview {

// Draws text in a resident font, one cell per byte, each dot of the cell enlarged to hMult x vMult
// dots. Normal text blackens the dots of the glyphs; reverse text turns the whole cells black and
// the glyphs white. Returns the length of the text in dots.
int64_t DrawText(Canvas &canvas, const Placement &at, const ResidentFont &font, int fontNumber, const std::string &text,
                 CodePage codePage, int hMult, int vMult, bool reverse);

}  // namespace zal::preview
