#include "Renderer.h"

#include "ResidentFont.h"
#include "TextDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>

namespace zal::preview {

namespace {

// A size that is no positive number (NaN too) gives the 4 x 6 inch default.
int Dots(double inches, double fallback, int max) {
    if (!(inches > 0))
        inches = fallback;
    return int(std::lround(std::clamp(inches * kDotsPerInch, 1.0, double(max))));
}

// Images kept at most, in dots: some 200 labels of 4 x 6 inches.
constexpr int64_t kPixelBudget = int64_t(200) * 812 * 1218;

}  // namespace

Renderer::Renderer(const Options &options)
    : _options(options),
      _canvas(Dots(options.widthInches, 4, kMaxWidth), Dots(options.lengthInches, 6, kMaxLength)),
      _pixelsLeft(kPixelBudget) {}

std::vector<Image> Renderer::Run(std::string_view stream) {
    CommandReader reader(stream);
    Command command;
    while (!_stopped && reader.Next(command)) {
        try {
            Execute(command);
        } catch (const std::exception &e) {  // out of memory in an encoder: the label goes on without it
            Warn(command, std::string("skipped: ") + e.what());
        }
    }
    return std::move(_labels);
}

void Renderer::Warn(const Command &command, const std::string &message) const {
    if (_options.warn)
        _options.warn("line " + std::to_string(command.line) + ": " + std::string(command.name) + ": " + message);
}

bool Renderer::Numbers(const Command &command, std::string_view args, size_t count,
                       std::vector<int64_t> &values) const {
    auto fields = SplitFields(args, count);
    values.assign(count, 0);
    if (fields.size() < count) {
        Warn(command, "needs " + std::to_string(count) + " parameters; skipped");
        return false;
    }
    for (size_t i = 0; i < count; ++i)
        if (!ParseNumber(fields[i], values[i])) {
            Warn(command,
                 "parameter " + std::to_string(i + 1) + " \"" + std::string(fields[i]) + "\" is not a number; skipped");
            return false;
        }
    return true;
}

void Renderer::Execute(const Command &c) {
    const std::string_view n = c.name;
    if (n.empty())
        UnknownCommand(c);
    else if (n == "A")
        Text(c);
    else if (n == "B")
        Barcode(c);
    else if (n == "b")
        Barcode2D(c);
    else if (n == "LO")
        Line(c, Ink::Black);
    else if (n == "LE")
        Line(c, Ink::Invert);
    else if (n == "LW")
        Line(c, Ink::White);
    else if (n == "LS")
        DiagonalLine(c);
    else if (n == "X")
        Box(c);
    else if (n == "GW")
        Graphic(c);
    else if (n == "N")
        _canvas.Clear();
    else if (n == "P")
        Print(c);
    else if (n == "Q")
        FormLength(c);
    else if (n == "q")
        LabelWidth(c);
    else if (n == "R")
        ReferencePoint(c);
    else if (n == "ZB" || n == "ZT")
        _topFirst = n == "ZT";
    else if (n == "I")
        CharacterSet(c);
    else if (n == "S" || n == "D" || n == "M" || n[0] == 'U' || n[0] == 'O' || n[0] == 'o' || n == "JF" || n == "JB")
        ;  // speed, density, memory, configuration and status, options: nothing to draw
    else
        UnknownCommand(c);
}

void Renderer::UnknownCommand(const Command &command) const {
    // named by the letters it starts with, as far as they go; a line without any by its first bytes
    std::string name(command.name);
    for (char ch : command.args) {
        bool letter = (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
        if (name.size() >= 12 || (!letter && !command.name.empty()))
            break;
        if (ch >= ' ' && ch <= '~') {
            name += ch;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof(hex), "\\x%02X", unsigned(uint8_t(ch)));
            name += hex;
        }
    }
    if (_options.warn)
        _options.warn("line " + std::to_string(command.line) + ": unknown command \"" + name + "\"; skipped");
}

void Renderer::Print(const Command &command) {
    if (_options.onLabel) {
        if (!_options.onLabel(_canvas.ToImage(_topFirst))) _stopped = true;
        return;
    }
    if (int(_labels.size()) >= _options.maxLabels || _pixelsLeft < int64_t(_canvas.width()) * _canvas.height()) {
        Warn(command, "too many labels; skipped");
        return;
    }
    _pixelsLeft -= int64_t(_canvas.width()) * _canvas.height();
    _labels.push_back(_canvas.ToImage(_topFirst));
}

void Renderer::FormLength(const Command &command) {
    int64_t length;
    auto fields = SplitFields(command.args, 1);
    if (fields.empty() || !ParseNumber(fields[0], length) || length < 1) {
        Warn(command, "no form length; skipped");
        return;
    }
    if (length > kMaxLength)
        Warn(command, "form length cut to " + std::to_string(kMaxLength) + " dots");
    if (_options.sizeFromStream)
        _canvas.Resize(_canvas.width(), int(std::min<int64_t>(length, kMaxLength)));
}

void Renderer::LabelWidth(const Command &command) {
    int64_t width;
    auto fields = SplitFields(command.args, 1);
    if (fields.empty() || !ParseNumber(fields[0], width) || width < 1) {
        Warn(command, "no label width; skipped");
        return;
    }
    if (width > kMaxWidth)
        Warn(command, "label width cut to " + std::to_string(kMaxWidth) + " dots");
    if (_options.sizeFromStream)
        _canvas.Resize(int(std::min<int64_t>(width, kMaxWidth)), _canvas.height());
}

void Renderer::ReferencePoint(const Command &command) {
    std::vector<int64_t> v;
    if (Numbers(command, command.args, 2, v)) {
        _refX = v[0];
        _refY = v[1];
    }
}

void Renderer::CharacterSet(const Command &command) {
    auto fields = SplitFields(command.args, 2);
    std::string_view page = fields.size() >= 2 ? fields[1] : std::string_view{};
    if (page == "0")
        _codePage = CodePage::Dos437;
    else if (page == "A")
        _codePage = CodePage::Windows1252;
    else
        Warn(command, "character set \"" + std::string(page) + "\" is drawn as code page 437");
}

void Renderer::Text(const Command &command) {
    std::string_view data;
    auto f = SplitFields(command.args, 7, &data);
    int64_t x, y, rotation, hMult, vMult, font;
    if (f.size() < 7 || !ParseNumber(f[0], x) || !ParseNumber(f[1], y) || !ParseNumber(f[2], rotation) ||
        !ParseNumber(f[4], hMult) || !ParseNumber(f[5], vMult)) {
        Warn(command, "malformed; skipped");
        return;
    }
    if (rotation < 0 || rotation > 3 || hMult < 1 || hMult > 9 || vMult < 1 || vMult > 9) {
        Warn(command, "rotation or multiplier out of range; skipped");
        return;
    }
    const ResidentFont *resident = ParseNumber(f[3], font) ? FindResidentFont(int(font)) : nullptr;
    if (!resident) {
        Warn(command, "font \"" + std::string(f[3]) + "\" is not a resident font; skipped");
        return;
    }
    bool reverse = f[6] == "R";
    if (!reverse && f[6] != "N")
        Warn(command, "\"" + std::string(f[6]) + "\" is neither N nor R; drawn as N");
    std::vector<std::string> notes;
    std::string text = ItemBytes(ParseDataField(data, notes));
    for (auto &note : notes)
        Warn(command, note);
    DrawText(_canvas, {x + _refX, y + _refY, int(rotation)}, *resident, int(font), text, _codePage, int(hMult),
             int(vMult), reverse);
}

void Renderer::Line(const Command &command, Ink ink) {
    std::vector<int64_t> v;
    if (Numbers(command, command.args, 4, v))
        _canvas.Fill(v[0] + _refX, v[1] + _refY, v[2], v[3], ink);
}

// The box's outer edge runs from the start to the end position; the lines lie inside it.
void Renderer::Box(const Command &command) {
    std::vector<int64_t> v;
    if (!Numbers(command, command.args, 5, v))
        return;
    int64_t x0 = std::min(v[0], v[3]) + _refX, x1 = std::max(v[0], v[3]) + _refX;
    int64_t y0 = std::min(v[1], v[4]) + _refY, y1 = std::max(v[1], v[4]) + _refY, t = v[2];
    _canvas.Fill(x0, y0, x1 - x0, t, Ink::Black);
    _canvas.Fill(x0, y1 - t, x1 - x0, t, Ink::Black);
    _canvas.Fill(x0, y0, t, y1 - y0, Ink::Black);
    _canvas.Fill(x1 - t, y0, t, y1 - y0, Ink::Black);
}

// LS: from the start to the end position, `thickness` dots tall.
void Renderer::DiagonalLine(const Command &command) {
    std::vector<int64_t> v;
    if (!Numbers(command, command.args, 5, v))
        return;
    int64_t x0 = v[0] + _refX, y0 = v[1] + _refY, x1 = v[3] + _refX, y1 = v[4] + _refY;
    int64_t steps = std::min<int64_t>(std::max(std::abs(x1 - x0), std::abs(y1 - y0)), 4 * kMaxLength);
    for (int64_t i = 0; i <= steps; ++i) {
        int64_t x = steps ? x0 + (x1 - x0) * i / steps : x0, y = steps ? y0 + (y1 - y0) * i / steps : y0;
        _canvas.Fill(x, y, 1, v[2], Ink::Black);
    }
}

// GW: rows of dot bytes, highest bit first; a 0 bit prints black.
void Renderer::Graphic(const Command &command) {
    std::vector<int64_t> v;
    if (!Numbers(command, command.args, 4, v))
        return;
    if (command.binary.empty()) {
        Warn(command, "no graphic data; skipped");
        return;
    }
    int64_t rowBytes = v[2];
    if (rowBytes < 1)
        return;
    for (size_t i = 0; i < command.binary.size(); ++i) {
        auto byte = static_cast<uint8_t>(command.binary[i]);
        for (int bit = 0; bit < 8; ++bit)
            if (!(byte & (0x80 >> bit)))
                _canvas.Set(v[0] + _refX + int64_t(i % rowBytes) * 8 + bit, v[1] + _refY + int64_t(i / rowBytes),
                            Ink::Black);
    }
}

void Renderer::Interpretation(const Placement &at, int64_t barsWidth, int64_t height, int narrow,
                              const std::string &text) {
    int fontNumber = narrow >= 3 ? 3 : 2;
    const ResidentFont &font = *FindResidentFont(fontNumber);
    int64_t textWidth = int64_t(text.size()) * font.cellWidth;
    Placement line = at;
    // the text's top left corner in bar code coordinates, turned with the bar code
    int64_t u = std::max<int64_t>((barsWidth - textWidth) / 2, 0), v = height + 4;
    switch (at.rotation & 3) {
        case 0:
            line.x += u;
            line.y += v;
            break;
        case 1:
            line.x -= v;
            line.y += u;
            break;
        case 2:
            line.x -= u;
            line.y -= v;
            break;
        case 3:
            line.x += v;
            line.y -= u;
            break;
    }
    DrawText(_canvas, line, font, fontNumber, text, _codePage, 1, 1, false);
}

std::vector<Image> Render(std::string_view stream, const Options &options) {
    try {
        return Renderer(options).Run(stream);
    } catch (const std::exception &e) {  // out of memory for the image buffer itself
        if (options.warn)
            options.warn(std::string("preview failed: ") + e.what());
        return {};
    }
}

}  // namespace zal::preview
