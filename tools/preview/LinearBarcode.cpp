// The B command: one-dimensional bar codes.

#include "Code128.h"
#include "Code39.h"
#include "Codabar.h"
#include "Renderer.h"

namespace zal::preview {

namespace {

struct Bars {
    std::vector<int64_t> widths;  // bar, space, bar, ... in dots
    std::string text;             // human-readable line
};

Bars FromWide(const std::vector<bool> &wide, int64_t narrow, int64_t wideWidth) {
    Bars bars;
    for (bool w : wide)
        bars.widths.push_back(w ? wideWidth : narrow);
    return bars;
}

// clang-format off
const struct { const char* type; Code128Subset subset; } kCode128Types[] = {
    {"1", Code128Subset::Auto}, {"1A", Code128Subset::A}, {"1B", Code128Subset::B}, {"1C", Code128Subset::C},
    {"1E", Code128Subset::Ean128},
};
// clang-format on

}  // namespace

void Renderer::Barcode(const Command &command) {
    std::string_view data;
    auto f = SplitFields(command.args, 8, &data);
    int64_t x, y, rotation, narrow, wide, height;
    if (f.size() < 8 || !ParseNumber(f[0], x) || !ParseNumber(f[1], y) || !ParseNumber(f[2], rotation) ||
        !ParseNumber(f[4], narrow) || !ParseNumber(f[5], wide) || !ParseNumber(f[6], height)) {
        Warn(command, "malformed; skipped");
        return;
    }
    if (rotation < 0 || rotation > 3 || narrow < 1 || narrow > 100 || wide < 1 || wide > 300 || height < 1) {
        Warn(command, "rotation, bar width or height out of range; skipped");
        return;
    }
    std::vector<std::string> notes;
    DataItems items = ParseDataField(data, notes);
    for (auto &note : notes)
        Warn(command, note);

    const std::string_view type = f[3];
    Bars bars;
    bool known = false;
    for (auto &t : kCode128Types)
        if (type == t.type) {
            known = true;
            Code128Symbol symbol = EncodeCode128(items, t.subset);
            if (symbol.outsideSubset)
                Warn(command, "data outside subset " + std::string(type) + ": the subset changes where needed");
            for (int modules : Code128Widths(symbol.codewords))
                bars.widths.push_back(modules * narrow);
            for (int item : items)
                if (item < 0xC4 || (item > 0xCD && item < 0x100))
                    bars.text += char(item);
        }
    if (type == "3" || type == "3C") {
        known = true;
        Code39Symbol symbol = EncodeCode39(ItemBytes(items), type == "3C");
        if (symbol.skipped)
            Warn(command, "characters Code 39 cannot hold are left out");
        bars = FromWide(symbol.wide, narrow, wide);
        bars.text = symbol.text;
    } else if (type == "K") {
        known = true;
        CodabarSymbol symbol = EncodeCodabar(ItemBytes(items));
        if (symbol.skipped)
            Warn(command, "characters Codabar cannot hold are left out");
        bars = FromWide(symbol.wide, narrow, wide);
        bars.text = symbol.text;
    }
    if (!known) {
        Warn(command, "bar code type \"" + std::string(type) + "\" is not drawn; skipped");
        return;
    }

    Placement at{x + _refX, y + _refY, int(rotation)};
    int64_t u = 0;
    for (size_t i = 0; i < bars.widths.size(); ++i) {
        if (i % 2 == 0)
            at.Fill(_canvas, u, 0, bars.widths[i], height, Ink::Black);
        u += bars.widths[i];
    }
    if (f[7] == "B" || f[7] == "Y")
        Interpretation(at, u, height, int(narrow), bars.text);
    else if (f[7] != "N")
        Warn(command, "\"" + std::string(f[7]) + "\" is neither B nor N; no human-readable line");
}

}  // namespace zal::preview
