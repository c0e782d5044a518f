#include "layouts/engine/Canvas.h"

#include <cstring>

namespace zal::layout {
namespace {

// The pieces joined; the document's joined texts hold at most 127 characters.
bool Join(const Pieces &pieces, char (&out)[128]) {
    std::size_t used = 0;
    for (std::size_t i = 0; i < pieces.count; ++i) {
        std::size_t length = std::strlen(pieces.text[i]);
        if (length > sizeof(out) - 1 - used) return false;
        std::memcpy(out + used, pieces.text[i], length);
        used += length;
    }
    out[used] = '\0';
    return true;
}

// A command's opening, built as "%0*d" would write its numbers (at least
// digits characters, zero-padded, a minus sign counted) without parsing a
// format for every element.
class Numbers {
public:
    Numbers &Add(const char *text) {
        while (*text != '\0') Put(*text++);
        return *this;
    }
    Numbers &Add(int value, int digits = 1) {
        char reversed[12];
        int n = 0;
        unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
        do {
            reversed[n++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (value < 0) {
            Put('-');
            --digits;
        }
        for (int pad = digits - n; pad > 0; --pad) Put('0');
        while (n > 0) Put(reversed[--n]);
        return *this;
    }
    const char *Text() {
        _text[_length] = '\0';
        return _text;
    }

private:
    void Put(char c) {
        if (_length + 1 < sizeof _text) _text[_length++] = c;
    }
    char _text[160];
    std::size_t _length = 0;
};

}  // namespace

// ---------------------------------------------------------------- document

bool DocumentCanvas::Text(const TextItem &t) {
    if (t.pieces.count == 1 && !t.inverse) return _doc.PrintText(t.x, t.y, t.rotation, t.font, t.pieces.text[0]);
    char joined[128];
    if (!Join(t.pieces, joined)) return false;
    if (t.inverse) return _doc.PrintInverseText(t.x, t.y, t.font, joined, t.rotation);
    return _doc.PrintText(t.x, t.y, t.rotation, t.font, joined);
}

bool DocumentCanvas::Shape(const ShapeItem &s) {
    switch (s.command) {
        case 'O': return _doc.DrawLine(s.x, s.y, s.width, s.height);
        case 'E': return _doc.DrawXorBox(s.x, s.y, s.width, s.height);
        default: return _doc.DrawBox(s.x, s.y, s.width, s.height, s.thickness);
    }
}

bool DocumentCanvas::Barcode(int x, int y, int, int, const ZalLib::BarcodeDescriptor &barcode, const Pieces &data) {
    if (data.count == 1) return _doc.DrawBarcode(x, y, barcode, data.text[0]);
    char joined[128];
    return Join(data, joined) && _doc.DrawBarcode(x, y, barcode, joined);
}

bool DocumentCanvas::Maxicode(int y, const ZalLib::MaxicodeDescriptor &maxicode, const char *data) {
    return _doc.DrawMaxicodeBarcode(y, maxicode, data);
}

bool DocumentCanvas::Pdf417(int x, int y, const ZalLib::Pdf417Descriptor &pdf, const char *data) {
    return _doc.DrawPDF417Barcode(x, y, pdf, data);
}

bool DocumentCanvas::DataMatrix(int x, int y, const ZalLib::DataMatrixDescriptor &matrix, const char *data) {
    return _doc.DrawDataMatrixBarcode(x, y, matrix, data, static_cast<uint32_t>(std::strlen(data)));
}

// ---------------------------------------------------------------- string-built

LegacyCanvas::LegacyCanvas(ZalLib::LegacyDoc &doc) : _doc(doc) {
    // 4 by 6 inches at 203 dots per inch, no margins.
    _area.Right = _area.Width = _area.MediaWidth = 812;
    _area.Bottom = _area.Height = _area.MediaLength = 1218;
}

bool LegacyCanvas::Text(const TextItem &t) {
    Numbers opening;
    opening.Add("A").Add(t.x, t.xDigits).Add(",").Add(t.y, t.yDigits).Add(",").Add(t.rotation).Add(",");
    opening.Add(t.font).Add(t.inverse ? ",R,\"" : ",N,\"");
    const char *list[8] = {opening.Text()};
    std::size_t n = 1;
    for (std::size_t i = 0; i < t.pieces.count; ++i) list[n++] = t.pieces.text[i];
    list[n++] = "\"\n";
    return _doc.Append(list, n);
}

bool LegacyCanvas::Shape(const ShapeItem &s) {
    Numbers line;
    if (s.command == 'X') {
        // X<x>,<y>,<thickness>,<right>,<bottom>: the right edge with 3 digits,
        // the bottom as it is ("X380,010,2,760,85")
        line.Add("X").Add(s.x, s.xDigits).Add(",").Add(s.y, s.yDigits).Add(",").Add(s.thickness).Add(",");
        line.Add(s.x + s.width, 3).Add(",").Add(s.y + s.height).Add("\n");
    } else {
        line.Add(s.command == 'O' ? "LO" : "LE").Add(s.x, s.xDigits).Add(",").Add(s.y, s.yDigits).Add(",");
        line.Add(s.width).Add(",").Add(s.height).Add("\n");
    }
    return _doc.Append({line.Text()});
}

bool LegacyCanvas::Barcode(int x, int y, int xDigits, int yDigits, const ZalLib::BarcodeDescriptor &b,
                           const Pieces &data) {
    char type[sizeof b.Type + 1] = {};
    std::memcpy(type, b.Type, sizeof b.Type);
    Numbers opening;
    opening.Add("B").Add(x, xDigits).Add(",").Add(y, yDigits).Add(",0,").Add(type).Add(",").Add(b.NarrowBar);
    opening.Add(",").Add(b.WideBar).Add(",").Add(b.BarHeight).Add(b.HumanReadable != 0 ? ",Y," : ",N,");
    if (b.Quoted != 0) opening.Add("\"");
    const char *list[9] = {opening.Text()};
    std::size_t n = 1;
    for (std::size_t i = 0; i < data.count; ++i) list[n++] = data.text[i];
    list[n++] = b.Quoted != 0 ? "\"\n" : "\n";
    return _doc.Append(list, n);
}

bool LegacyCanvas::Maxicode(int y, const ZalLib::MaxicodeDescriptor &maxicode, const char *data) {
    char mode[sizeof maxicode.Mode + 1] = {};
    std::memcpy(mode, maxicode.Mode, sizeof maxicode.Mode);
    Numbers opening;
    opening.Add("b005,").Add(y, 3).Add(",M,").Add(mode).Add(",\"");
    return _doc.Append({opening.Text(), data, "\"", "\n"});
}

bool LegacyCanvas::Pdf417(int x, int y, const ZalLib::Pdf417Descriptor &p, const char *data) {
    Numbers opening;
    opening.Add("b").Add(x, 3).Add(",").Add(y, 3).Add(",P,").Add(p.MaxWidth, 3).Add(",").Add(p.MaxHeight, 3);
    opening.Add(",s").Add(p.Security).Add(",c").Add(p.Compression).Add(",f").Add(p.Flag).Add(",x").Add(p.ModuleWidth);
    opening.Add(",y").Add(p.BarHeight).Add(",r").Add(p.Rows).Add(",l").Add(p.Columns).Add(",\"");
    return _doc.Append({opening.Text(), data, "\"", "\n"});
}

bool LegacyCanvas::DataMatrix(int x, int y, const ZalLib::DataMatrixDescriptor &matrix, const char *data) {
    Numbers opening;
    opening.Add("b").Add(x, 3).Add(",").Add(y, 3).Add(",D,h").Add(matrix.HValue).Add(",\"");
    return _doc.Append({opening.Text(), data, "\"", "\n"});
}

}  // namespace zal::layout
