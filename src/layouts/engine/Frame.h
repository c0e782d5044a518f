// The frames a label table is printed in, and the drawing of a table.
//
// Document frame: an EPL document with its header (memory command, ZB or
// ZT, R, S, D, N), the user commands before and after the body, "P1", the
// saved copy of the label when the log flags ask for it, the print.
// String-built frame: the 20000-byte label with the legacy header, the
// user commands, the body, the version line with the layout's form date,
// "P1".  In both, every text printed by an A command has its double quotes
// printed as apostrophes (a quote would end the command's text); bar code
// data keep their own escaping and user command texts pass as they stand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <string>
#include <type_traits>
#include <utility>

#include "common/ErrorCodes.h"
#include "documents/LegacyDoc.h"
#include "job/LabelContext.h"
#include "layouts/engine/Canvas.h"
#include "layouts/engine/Element.h"

namespace zal::layout {

struct DocumentFrame {
    const char *name;      // the label's name in its document and saved copy
    const char *copyName;  // the saved copy: a format of the folder, the job tag and the name
    const char *module;    // what faults are reported under
    const char *routine;
    int32_t documentFault;  // the result when the document cannot be started or ended
    bool announcesSend;     // "Generated EPLDoc ..." and a plain send, else the document's own print
};

struct LegacyFrame {
    ZalLib::MemoryCommand memory;
    ZalLib::HeaderForm header;
    const char *formDate;  // after the version line; null: the label prints no version line
};

// A callable taking the canvas, without an allocation.
class Body {
public:
    template <typename F>
    Body(F &&f)  // NOLINT: a body is passed where it is written
        : _object(const_cast<void *>(static_cast<const void *>(&f))),
          _call([](void *o, Canvas &c) { (*static_cast<std::remove_reference_t<F> *>(o))(c); }) {}
    void operator()(Canvas &canvas) const { _call(_object, canvas); }

private:
    void *_object;
    void (*_call)(void *, Canvas &);
};

// The frames; userBefore and userAfter are the job's xlabelc1 and xlabelc2
// (null for a label that prints none).
int32_t PrintDocument(const DocumentFrame &frame, LabelContext &label, const char *userBefore, const char *userAfter,
                      Body body);
int32_t PrintLegacy(const LegacyFrame &frame, LabelContext &label, const char *userBefore, const char *userAfter,
                    Body body);

// Runs a label's routine; a C++ exception escaping it is reported under the
// module and routine and gives ZALERR_LABEL_GENERATIONERR.
template <typename F>
int32_t Guarded(const char *module, const char *routine, F &&routineBody);

// ---------------------------------------------------------------- drawing

namespace detail {
// A double quote would end the text of an A command: it prints as an
// apostrophe.  Only a field that holds one is copied.
const char *WithoutQuotes(const char *text, char *scratch, std::size_t size);
// Bar code data inside quotes (kQuotedData): a backslash before each double
// quote and backslash.  Only a field that holds one is copied, into scratch.
const char *QuotedData(const char *text, std::string &scratch);
void ReportException(const std::exception &error, const char *module, const char *routine);
}  // namespace detail

template <typename R>
void Draw(Canvas &canvas, const Element<R> *elements, std::size_t count, const R &records) {
    constexpr std::size_t kScratch = 1024;
    for (std::size_t i = 0; i < count; ++i) {
        const Element<R> &e = elements[i];
        if (e.when != nullptr && !e.when(records)) continue;
        if (e.op == Op::Include) {
            Draw(canvas, e.table, e.count, records);
            continue;
        }
        if (e.op == Op::Call) {
            e.draw(canvas, records);
            continue;
        }
        const ZalLib::MediaDims &area = canvas.Area();
        int x = e.x;
        if (e.flags & kFromRight) x = area.Right - e.x;
        if (e.flags & kAreaCentre) x += area.Left + static_cast<int>(area.Width * 0.5f + 0.5f);
        int yDigits = (e.flags & kPadY4) ? 4 : 3;

        Pieces pieces;
        char scratch[kMaxPieces][kScratch];
        std::string quoted[kMaxPieces];
        std::size_t length = 0;
        for (std::size_t p = 0; p < kMaxPieces && !e.pieces[p].Empty(); ++p) {
            const char *text = e.pieces[p].Of(records);
            if (e.op == Op::Text && e.pieces[p].IsField()) text = detail::WithoutQuotes(text, scratch[p], kScratch);
            if ((e.flags & kQuotedData) && e.pieces[p].IsField()) text = detail::QuotedData(text, quoted[p]);
            pieces.text[pieces.count++] = text;
            length += std::strlen(text);
        }

        switch (e.op) {
            case Op::Text: {
                if (e.align != Align::Left) {
                    int n = static_cast<int>(length);
                    x = e.align == Align::Right ? x - e.width * n : x - e.width * n / 2;
                    if (x < 1) x = 1;
                }
                canvas.Text({x, e.y, e.rotation, e.font, (e.flags & kInverse) != 0, e.xDigits, yDigits, pieces});
                break;
            }
            case Op::Line:
            case Op::XorLine:
            case Op::Box: {
                int width = (e.flags & kFullWidth) ? area.Width : (e.flags & kToRightEdge) ? area.Right - x : e.width;
                char command = e.op == Op::Line ? 'O' : e.op == Op::XorLine ? 'E' : 'X';
                canvas.Shape({command, x, e.y, width, e.height, e.thickness, e.xDigits, yDigits});
                break;
            }
            case Op::Barcode:
                canvas.Barcode(x, e.y, e.xDigits, yDigits,
                               *static_cast<const ZalLib::BarcodeDescriptor *>(e.descriptor), pieces);
                break;
            case Op::Maxicode:
                canvas.Maxicode(e.y, *static_cast<const ZalLib::MaxicodeDescriptor *>(e.descriptor), pieces.text[0]);
                break;
            case Op::Pdf417:
                canvas.Pdf417(x, e.y, *static_cast<const ZalLib::Pdf417Descriptor *>(e.descriptor), pieces.text[0]);
                break;
            case Op::DataMatrix:
                canvas.DataMatrix(x, e.y, *static_cast<const ZalLib::DataMatrixDescriptor *>(e.descriptor),
                                  pieces.text[0]);
                break;
            case Op::Include:
            case Op::Call:
                break;
        }
    }
}

// A computed element's text, under the quote rule of every A command.
bool DrawText(Canvas &canvas, int x, int y, const char *font, const char *text);

template <typename R, std::size_t N>
void Draw(Canvas &canvas, const Element<R> (&table)[N], const R &records) {
    Draw(canvas, table, N, records);
}

template <typename F>
int32_t Guarded(const char *module, const char *routine, F &&routineBody) {
    try {
        return routineBody();
    } catch (const std::exception &error) {
        detail::ReportException(error, module, routine);
        return ZALERR_LABEL_GENERATIONERR;
    }
}

}  // namespace zal::layout
