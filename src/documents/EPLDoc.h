// The EPL2 label document: header, one command line per drawing call, the
// print command.  Every command line ends with a single line feed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/Format.h"
#include "documents/RawZALDoc.h"

namespace zal::ZalLib {

class EPLDoc : public RawZALDoc {
public:
    EPLDoc();

    // The same text as RawZALDoc, after four comment lines (label name and
    // time of the save) that a printer ignores.
    bool SaveToFile(const char *path) override;

    // Text: blank text (empty or only spaces) is skipped with a warning; the
    // position is shifted by the margins when it lies inside the printable
    // area and written as given otherwise.  font is the EPL2 font text, for
    // example "4,1,1".
    bool PrintText(int x, int y, const char *font, const char *text) override;
    bool PrintTextEx(int x, int y, const FontDescriptor &font, const char *text) override;
    // PrintText with the rotation of the A command (0 to 3, a quarter turn
    // each).
    bool PrintText(int x, int y, int rotation, const char *font, const char *text);
    // The pieces are joined (127 characters at most, else nothing is written).
    bool PrintTextParts(int x, int y, const char *font, TextPieces pieces) override;
    bool PrintTextExParts(int x, int y, const FontDescriptor &font, TextPieces pieces) override;

    // Graphics and bar codes: absolute dots on the media, no margin shift.
    bool DrawLine(int x, int y, int width, int height) override;
    bool DrawFullWidthLine(int y, int thickness) override;
    bool DrawHorizontalLine(int x, int y, int width, int height) override;
    bool DrawBox(int x, int y, int width, int height, int thickness) override;
    bool DrawFilledBox(int x, int y, int width, int height) override;
    bool EraseBox(int x, int y, int width, int height) override;
    bool AddComment(const char *text) override;

    bool InitDoc(const LabelFormat *format);
    bool EndDoc();
    bool PrintInverseText(int x, int y, const char *font, const char *text, int rotation = 0);
    bool DrawXorBox(int x, int y, int width, int height);
    bool DrawBarcode(int x, int y, const BarcodeDescriptor &barcode, const char *data);
    // Always at x 5; at most kMaxicodeDataSize data characters.
    bool DrawMaxicodeBarcode(int y, const MaxicodeDescriptor &maxicode, const char *data);
    bool DrawDataMatrixBarcode(int x, int y, const DataMatrixDescriptor &matrix, const char *data, uint32_t length);
    // At most kPdf417DataSize data characters.
    bool DrawPDF417Barcode(int x, int y, const Pdf417Descriptor &pdf, const char *data);

private:
    // Formats one line within limit bytes (terminator included) and appends
    // it; a line that does not fit is not appended.
    template <typename Line>
    bool AppendCommand(const Line &line);
    bool AppendLine(std::size_t limit, const char *format, ...) ZAL_PRINTF(3, 4);
    // False for a null or blank text (the blank one with its warning).
    bool IsPrintable(const char *operation, int x, int y, const char *text) const;
    // The data part of a two-dimensional bar code: at most limit characters,
    // then the closing quote.
    bool AppendBarcodeData(const char *data, uint32_t limit);
};

}  // namespace zal::ZalLib
