// What an element is drawn on: an EPL document (the document frame) or the
// string-built label (the legacy frame).  The element's values arrive
// resolved; each canvas writes them by its frame's rules:
//
// - document: a blank text is skipped (with its warning), a text position
//   inside the printable area is shifted by the margins, numbers are
//   written as the document's commands write them (y with 4 digits);
// - string-built: every element is written, an empty value included, with
//   the digits its template gives, whole or not at all.
#pragma once

#include <cstddef>
#include <cstdint>

#include "documents/EPLDoc.h"
#include "documents/LabelFormat.h"
#include "documents/LegacyDoc.h"

namespace zal::layout {

// The pieces of one element, after the quote rule, with a null at the end.
struct Pieces {
    const char *text[6] = {};
    std::size_t count = 0;
};

struct TextItem {
    int x;
    int y;
    int rotation;
    const char *font;
    bool inverse;
    int xDigits;
    int yDigits;
    const Pieces &pieces;
};

struct ShapeItem {
    char command;  // 'O' a black line (LO), 'E' exclusive-or (LE), 'X' an outline
    int x;
    int y;
    int width;
    int height;
    int thickness;
    int xDigits;
    int yDigits;
};

class Canvas {
public:
    virtual ~Canvas() = default;
    // The printable area (a string-built label has the full 4 by 6 inch
    // media at 203 dots per inch).
    virtual const ZalLib::MediaDims &Area() const = 0;
    virtual bool Text(const TextItem &text) = 0;
    virtual bool Shape(const ShapeItem &shape) = 0;
    virtual bool Barcode(int x, int y, int xDigits, int yDigits, const ZalLib::BarcodeDescriptor &barcode,
                         const Pieces &data) = 0;
    virtual bool Maxicode(int y, const ZalLib::MaxicodeDescriptor &maxicode, const char *data) = 0;
    virtual bool Pdf417(int x, int y, const ZalLib::Pdf417Descriptor &pdf, const char *data) = 0;
    virtual bool DataMatrix(int x, int y, const ZalLib::DataMatrixDescriptor &matrix, const char *data) = 0;
};

class DocumentCanvas final : public Canvas {
public:
    explicit DocumentCanvas(ZalLib::EPLDoc &doc) : _doc(doc) {}
    const ZalLib::MediaDims &Area() const override { return _doc.Dims; }
    bool Text(const TextItem &text) override;
    bool Shape(const ShapeItem &shape) override;
    bool Barcode(int x, int y, int xDigits, int yDigits, const ZalLib::BarcodeDescriptor &barcode,
                 const Pieces &data) override;
    bool Maxicode(int y, const ZalLib::MaxicodeDescriptor &maxicode, const char *data) override;
    bool Pdf417(int x, int y, const ZalLib::Pdf417Descriptor &pdf, const char *data) override;
    bool DataMatrix(int x, int y, const ZalLib::DataMatrixDescriptor &matrix, const char *data) override;

private:
    ZalLib::EPLDoc &_doc;
};

class LegacyCanvas final : public Canvas {
public:
    explicit LegacyCanvas(ZalLib::LegacyDoc &doc);
    const ZalLib::MediaDims &Area() const override { return _area; }
    bool Text(const TextItem &text) override;
    bool Shape(const ShapeItem &shape) override;
    bool Barcode(int x, int y, int xDigits, int yDigits, const ZalLib::BarcodeDescriptor &barcode,
                 const Pieces &data) override;
    bool Maxicode(int y, const ZalLib::MaxicodeDescriptor &maxicode, const char *data) override;
    bool Pdf417(int x, int y, const ZalLib::Pdf417Descriptor &pdf, const char *data) override;
    bool DataMatrix(int x, int y, const ZalLib::DataMatrixDescriptor &matrix, const char *data) override;

private:
    ZalLib::LegacyDoc &_doc;
    ZalLib::MediaDims _area{};
};

}  // namespace zal::layout
