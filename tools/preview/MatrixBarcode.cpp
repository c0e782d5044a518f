// The b command: MaxiCode (M), PDF417 (P) and Data Matrix (D).

#include "Renderer.h"
#include "Symbols2D.h"

#include <cmath>
#include <map>

namespace zal::preview {

namespace {

// clang-format off
// MaxiCode at 203 dpi: 1.11 x 1.054 inches, 30 hexagons of kHexWidth across, 33 rows.
constexpr double kHexWidth = 1.11 * kDotsPerInch / 30.5;
constexpr double kSqrt3 = 1.7320508075688772;
constexpr double kRowPitch = kHexWidth * kSqrt3 / 2, kHexHeight = 2 * kHexWidth / kSqrt3;
// Radii of the finder's circles in module widths: light centre, then dark, light, dark, light, dark rings.
constexpr double kFinderRadii[6] = {0.58, 1.34, 2.11, 2.88, 3.64, 4.40};
// clang-format on

void DrawMaxiCode(Canvas &canvas, int64_t x, int64_t y, const ModuleMatrix &m) {
    // a hexagon with its points up and down, drawn a little smaller than its pitch as the printer does
    const double halfWidth = kHexWidth / 2 - 0.35, radius = kHexHeight / 2 - 0.35;
    for (int row = 0; row < m.rows; ++row)
        for (int col = 0; col < m.columns; ++col) {
            if (!m.Dark(row, col))
                continue;
            double cx = kHexWidth / 2 + col * kHexWidth + (row & 1 ? kHexWidth / 2 : 0);
            double cy = kHexHeight / 2 + row * kRowPitch;
            for (int py = int(std::floor(cy - radius)); py <= int(std::ceil(cy + radius)); ++py)
                for (int px = int(std::floor(cx - halfWidth)); px <= int(std::ceil(cx + halfWidth)); ++px) {
                    double dx = std::abs(px + 0.5 - cx), dy = std::abs(py + 0.5 - cy);
                    if (dx <= halfWidth && dy <= radius - dx / kSqrt3)
                        canvas.Set(x + px, y + py, Ink::Black);
                }
        }
    // the finder sits on the module of row 16, column 14
    const double fx = kHexWidth / 2 + 14 * kHexWidth, fy = kHexHeight / 2 + 16 * kRowPitch;
    const double outer = kFinderRadii[5] * kHexWidth;
    for (int py = int(fy - outer) - 1; py <= int(fy + outer) + 1; ++py)
        for (int px = int(fx - outer) - 1; px <= int(fx + outer) + 1; ++px) {
            double r = std::hypot(px + 0.5 - fx, py + 0.5 - fy) / kHexWidth;
            int ring = 0;
            while (ring < 6 && r >= kFinderRadii[ring])
                ++ring;
            if (ring % 2 == 1)
                canvas.Set(x + px, y + py, Ink::Black);
        }
}

void DrawModules(Canvas &canvas, const Placement &at, const ModuleMatrix &m, int64_t moduleWidth,
                 int64_t moduleHeight) {
    for (int row = 0; row < m.rows; ++row)
        for (int col = 0; col < m.columns;) {
            if (!m.Dark(row, col)) {
                ++col;
                continue;
            }
            int start = col;
            while (col < m.columns && m.Dark(row, col))
                ++col;
            at.Fill(canvas, start * moduleWidth, row * moduleHeight, (col - start) * moduleWidth, moduleHeight,
                    Ink::Black);
        }
}

}  // namespace

void Renderer::Barcode2D(const Command &command) {
    // x, y, type, options, then the quoted data
    std::vector<std::string_view> fields;
    std::string_view rest = command.args, data;
    while (!rest.empty()) {
        size_t start = rest.find_first_not_of(' ');
        if (start != std::string_view::npos && rest[start] == '"' && fields.size() >= 3) {
            data = rest.substr(start);
            break;
        }
        std::string_view after;
        auto one = SplitFields(rest, 1, &after);
        fields.push_back(one[0]);
        rest = after;
    }
    int64_t x, y;
    if (fields.size() < 3 || !ParseNumber(fields[0], x) || !ParseNumber(fields[1], y)) {
        Warn(command, "malformed; skipped");
        return;
    }
    x += _refX;
    y += _refY;
    // options: a letter and a number ("s5", "m2"), or plain numbers in order
    std::map<char, int64_t> named;
    std::vector<int64_t> plain;
    for (size_t i = 3; i < fields.size(); ++i) {
        std::string_view field = fields[i];
        while (!field.empty() && field.front() == ' ')
            field.remove_prefix(1);
        int64_t value;
        if (ParseNumber(field, value))
            plain.push_back(value);
        else if (field.size() >= 2 && ParseNumber(field.substr(1), value))
            named[field[0]] = value;
        else
            Warn(command, "option \"" + std::string(field) + "\" not understood");
    }
    auto option = [&](char key, int64_t fallback) { return named.count(key) ? named[key] : fallback; };
    std::vector<std::string> notes;
    std::string bytes = ItemBytes(ParseDataField(data, notes));
    for (auto &note : notes)
        Warn(command, note);

    const std::string_view type = fields[2];
    Encoded symbol;
    if (type == "M") {
        notes.clear();
        MaxiCodeMessage message = SplitMaxiCodeData(bytes, int(option('m', 2)), notes);
        for (auto &note : notes)
            Warn(command, note);
        int number = plain.size() >= 2 ? int(plain[0]) : 0, count = plain.size() >= 2 ? int(plain[1]) : 0;
        symbol = EncodeMaxiCode(message, number, count);
        if (symbol.error.empty())
            DrawMaxiCode(_canvas, x, y, symbol.matrix);
    } else if (type == "P") {
        int64_t moduleWidth = option('x', 2), rowHeight = option('y', 6), rotation = option('o', 0);
        if (moduleWidth < 1 || moduleWidth > 100 || rowHeight < 1 || rowHeight > 300 || rotation < 0 || rotation > 3) {
            Warn(command, "module width, row height or rotation out of range; skipped");
            return;
        }
        symbol = EncodePdf417(bytes, int(option('s', -1)), int(option('l', 0)), option('t', 0) == 1);
        if (symbol.error.empty()) {
            int64_t width = symbol.matrix.columns * moduleWidth, height = symbol.matrix.rows * rowHeight;
            if (plain.size() >= 2 && (width > plain[0] || height > plain[1]))
                Warn(command, "symbol of " + std::to_string(width) + " x " + std::to_string(height) +
                                  " dots is larger than the maximum " + std::to_string(plain[0]) + " x " +
                                  std::to_string(plain[1]));
            DrawModules(_canvas, {x, y, int(rotation)}, symbol.matrix, moduleWidth, rowHeight);
        }
    } else if (type == "D") {
        int64_t module = option('h', 6);
        if (module < 1 || module > 100) {
            Warn(command, "module size out of range; skipped");
            return;
        }
        symbol = EncodeDataMatrix(bytes, int(option('r', 0)), int(option('c', 0)));
        if (symbol.error.empty())
            DrawModules(_canvas, {x, y, 0}, symbol.matrix, module, module);
    } else {
        Warn(command, "symbol type \"" + std::string(type) + "\" is not drawn; skipped");
        return;
    }
    if (!symbol.error.empty())
        Warn(command, "symbol not drawn: " + symbol.error);
}

}  // namespace zal::preview
