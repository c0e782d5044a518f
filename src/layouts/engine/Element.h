// A label as data: a table of elements, each an operation at a position
// with its font or size, what it prints (fields of the label's records or
// constant texts) and the condition under which it is printed.  A frame
// (Frame.h) renders a table into an EPL document or a string-built label.
//
//   constexpr Element<GenericRecords> kBody[] = {
//       Text(780, 30, "4,1,1", Field<&CommonData::From1>).Rotated(1),
//       Text(110, 245, "2,2,2", Field<&CommonData::ShipToCountry>).Rotated(1).When(PrintsCountry),
//   };
#pragma once

#include <cstddef>
#include <cstdint>
#include <tuple>
#include <type_traits>

#include "documents/LabelFormat.h"
#include "job/LabelContext.h"

namespace zal::layout {

class Canvas;

// ---------------------------------------------------------------- records

// The records a label prints from: the job's context (and its job-wide
// values) and the formatted records of the carrier, each read by type.
template <typename... Parts>
struct Records {
    Records(const LabelContext &context, const char *labelName, const Parts &...records)
        : label(context), name(labelName), parts(&records...) {}

    template <typename T>
    const T &Of() const {
        if constexpr (std::is_same_v<T, JobWideValues>) {
            return label.jobWide;
        } else {
            return *std::get<const T *>(parts);
        }
    }

    const LabelContext &label;
    const char *name;  // the label's own name, as its document carries it
    std::tuple<const Parts *...> parts;
};

namespace detail {
template <typename T>
struct MemberOf;
template <typename Owner, typename Member>
struct MemberOf<Member Owner::*> {
    using Type = Owner;
};
}  // namespace detail

// A text field of one of the records: Field<&CommonData::From1>.
template <auto Member, typename R>
const char *FieldText(const R &records) {
    using Owner = typename detail::MemberOf<decltype(Member)>::Type;
    return records.template Of<Owner>().*Member;
}

// ---------------------------------------------------------------- pieces

// One piece of what an element prints: a field of the records or a constant.
template <typename R>
class Piece {
public:
    using Getter = const char *(*)(const R &);
    constexpr Piece() = default;
    constexpr Piece(Getter getter) : _getter(getter) {}
    constexpr Piece(const char *constant) : _constant(constant) {}
    constexpr bool Empty() const { return _getter == nullptr && _constant == nullptr; }
    constexpr bool IsField() const { return _getter != nullptr; }
    const char *Of(const R &records) const {
        const char *text = _getter != nullptr ? _getter(records) : _constant;
        return text != nullptr ? text : "";
    }

private:
    Getter _getter = nullptr;
    const char *_constant = nullptr;
};

// ---------------------------------------------------------------- elements

enum class Op : uint8_t {
    Text,        // A command; the pieces printed one after the other
    Line,        // LO: a black line or bar
    XorLine,     // LE: exclusive-or over the area
    Box,         // X: an outline of the given thickness
    Barcode,     // B: a one-dimensional bar code
    Maxicode,    // b ... M
    Pdf417,      // b ... P
    DataMatrix,  // b ... D
    Include,     // the elements of another table, in their order
    Call,        // a computed element: a function draws it
};

// Where a text stands against its x.
enum class Align : uint8_t {
    Left,    // starts at x
    Centre,  // centred on x, by a fixed width per character
    Right,   // ends at x
};

enum ElementFlags : uint8_t {
    kInverse = 1,     // text printed white on black (R)
    kFromRight = 2,   // x counts leftwards from the printable area's right edge
    kAreaCentre = 4,  // x counts from the centre of the printable area
    kFullWidth = 8,   // a line as wide as the printable area
    kPadY4 = 16,      // string-built labels: y written with at least 4 digits
    kToRightEdge = 32,  // a line from x to the printable area's right edge
    // Bar codes: a double quote or a backslash in a field of the data gets a
    // backslash before it, so it neither ends the quoted data nor escapes
    // its closing quote (the printer reads it back as the character).
    kQuotedData = 64,
};

constexpr std::size_t kMaxPieces = 5;

template <typename R>
struct Element {
    using Condition = bool (*)(const R &);
    using Drawer = void (*)(Canvas &, const R &);

    Op op = Op::Text;
    int16_t x = 0;
    int16_t y = 0;
    int16_t width = 0;   // lines and boxes; the width per character of aligned text
    int16_t height = 0;  // lines and boxes: height or thickness
    int16_t thickness = 0;
    uint8_t rotation = 0;
    uint8_t flags = 0;
    uint8_t xDigits = 3;  // string-built labels: the digits x is written with
    Align align = Align::Left;
    const char *font = nullptr;  // text: font and multipliers, "2,1,1"
    const void *descriptor = nullptr;  // bar codes: their descriptor of documents/LabelFormat.h
    Piece<R> pieces[kMaxPieces] = {};
    Condition when = nullptr;
    const Element *table = nullptr;  // Include
    std::size_t count = 0;
    Drawer draw = nullptr;  // Call

    // Modifiers, for the table rows.
    constexpr Element When(Condition condition) const {
        Element e = *this;
        e.when = condition;
        return e;
    }
    constexpr Element Rotated(uint8_t r) const {
        Element e = *this;
        e.rotation = r;
        return e;
    }
    constexpr Element Flag(uint8_t f) const {
        Element e = *this;
        e.flags = static_cast<uint8_t>(e.flags | f);
        return e;
    }
    // String-built labels whose templates write x with other than 3 digits.
    constexpr Element XDigits(uint8_t digits) const {
        Element e = *this;
        e.xDigits = digits;
        return e;
    }
};

// ---------------------------------------------------------------- builders

template <typename R, typename... P>
constexpr Element<R> Text(int x, int y, const char *font, P... pieces) {
    static_assert(sizeof...(P) >= 1 && sizeof...(P) <= kMaxPieces, "a text prints one to five pieces");
    Element<R> e;
    e.op = Op::Text;
    e.x = static_cast<int16_t>(x);
    e.y = static_cast<int16_t>(y);
    e.font = font;
    Piece<R> list[] = {Piece<R>(pieces)...};
    for (std::size_t i = 0; i < sizeof...(P); ++i) e.pieces[i] = list[i];
    return e;
}

// A text placed by a fixed width per character: centred on x, or ending at x.
template <typename R, typename... P>
constexpr Element<R> AlignedText(Align align, int x, int y, const char *font, int charWidth, P... pieces) {
    Element<R> e = Text<R>(x, y, font, pieces...);
    e.align = align;
    e.width = static_cast<int16_t>(charWidth);
    return e;
}

template <typename R>
constexpr Element<R> Shape(Op op, int x, int y, int width, int height, int thickness = 0) {
    Element<R> e;
    e.op = op;
    e.x = static_cast<int16_t>(x);
    e.y = static_cast<int16_t>(y);
    e.width = static_cast<int16_t>(width);
    e.height = static_cast<int16_t>(height);
    e.thickness = static_cast<int16_t>(thickness);
    return e;
}
template <typename R>
constexpr Element<R> Line(int x, int y, int width, int height) {
    return Shape<R>(Op::Line, x, y, width, height);
}
template <typename R>
constexpr Element<R> XorLine(int x, int y, int width, int height) {
    return Shape<R>(Op::XorLine, x, y, width, height);
}
// An outline: its corner, width and height, and the thickness of its lines.
template <typename R>
constexpr Element<R> Box(int x, int y, int width, int height, int thickness) {
    return Shape<R>(Op::Box, x, y, width, height, thickness);
}

template <typename R, typename... P>
constexpr Element<R> Barcode(int x, int y, const ZalLib::BarcodeDescriptor &barcode, P... pieces) {
    Element<R> e = Text<R>(x, y, nullptr, pieces...);
    e.op = Op::Barcode;
    e.descriptor = &barcode;
    return e;
}
template <typename R>
constexpr Element<R> Maxicode(int y, const ZalLib::MaxicodeDescriptor &maxicode, Piece<R> data) {
    Element<R> e = Text<R>(0, y, nullptr, data);
    e.op = Op::Maxicode;
    e.descriptor = &maxicode;
    return e;
}
template <typename R>
constexpr Element<R> Pdf417(int x, int y, const ZalLib::Pdf417Descriptor &pdf, Piece<R> data) {
    Element<R> e = Text<R>(x, y, nullptr, data);
    e.op = Op::Pdf417;
    e.descriptor = &pdf;
    return e;
}
// Data Matrix data are text: they end at their first zero byte.
template <typename R>
constexpr Element<R> DataMatrix(int x, int y, const ZalLib::DataMatrixDescriptor &matrix, Piece<R> data) {
    Element<R> e = Text<R>(x, y, nullptr, data);
    e.op = Op::DataMatrix;
    e.descriptor = &matrix;
    return e;
}

template <typename R, std::size_t N>
constexpr Element<R> Include(const Element<R> (&table)[N]) {
    Element<R> e;
    e.op = Op::Include;
    e.table = table;
    e.count = N;
    return e;
}

template <typename R>
constexpr Element<R> Call(typename Element<R>::Drawer draw) {
    Element<R> e;
    e.op = Op::Call;
    e.draw = draw;
    return e;
}

}  // namespace zal::layout
