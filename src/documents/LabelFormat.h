// The records a layout hands to the label documents: the label format that
// starts a document, the printable area a document computes, and the
// descriptors of fonts and bar codes.
#pragma once

#include <cstdint>

#include "common/PrinterOptions.h"
#include "zal2443/zal2443.h"

namespace zal::ZalLib {

// The job's media type followed by its print orientation, copied whole from
// the JobContext.
struct DocumentMedia {
    MediaType Type;
    PrintOrientationDefinition Orientation;
};

constexpr uint16_t kOrientationFlipped = 3;

// Printable area in printer dots.
struct MediaDims {
    int16_t Left;
    int16_t Top;
    int16_t Right;
    int16_t Bottom;
    int16_t Width;
    int16_t Height;
    int16_t MediaWidth;
    int16_t MediaLength;
    bool Docutab;           // the media carries a docutab strip below the label
    int16_t DocutabStart;   // first dot row of the strip
    int16_t DocutabHeight;
    int16_t DocutabGap;     // kept free between the printable area and the strip
};

// Zero-filled by the layout, completed by InitLabelFormat.
struct LabelFormat {
    int16_t Dpi;
    int16_t HorizontalMargin;  // left plus right
    int16_t VerticalMargin;    // top plus bottom
    int16_t Reserved6;         // every layout sets 1; not read
    char Created[32];          // "MM/DD/YY HH:MM:SS"; not read
    char Name[64];
    char HOffset[6];
    char VOffset[6];
    uint8_t MaxLabelWidth;     // only tested for 0
    char Speed[6];
    char Heat[6];
    uint8_t HeaderPrefix;      // not 0: the memory command heads the label
    DocumentMedia Media;
};

// False only for a null record.  Stamps the date, copies the job's printer
// option settings and, when name is not empty, the label name.
bool InitLabelFormat(LabelFormat *format, const char *name, uint8_t headerPrefix, const PrinterOptions &options);

// The most data the two-dimensional bar code commands take, terminator
// included: a MaxiCode text, and the PDF417 text buffer of the labels.
constexpr uint32_t kMaxicodeDataSize = 400;
constexpr uint32_t kPdf417DataSize = 220001;

struct FontDescriptor {
    char Name[16];          // EPL2 font selector
    char Selector[2];
    uint16_t Reserved18[2];
    uint16_t VMult;
    uint16_t HMult;
    uint16_t Reserved26[3];
};
static_assert(sizeof(FontDescriptor) == 32, "font descriptor is 32 bytes");

// clang-format off
inline constexpr FontDescriptor kFont1 = {"1", "1", {6, 0},  1, 1, {18, 0, 0}};
inline constexpr FontDescriptor kFont3 = {"3", "3", {24, 0}, 3, 2, {65, 1, 0}};
// clang-format on

struct BarcodeDescriptor {
    char Type[4];           // EPL2 bar code selection, "1", "1A", "3", ...
    int16_t NarrowBar;
    int16_t WideBar;
    int16_t BarHeight;
    uint8_t Quoted;         // not 0: data between double quotes
    uint8_t HumanReadable;  // not 0: 'Y'
};

struct MaxicodeDescriptor {
    char Mode[8];           // "m2" in the layouts
    int16_t SymbolNumber;
    int16_t SymbolCount;
    uint32_t Reserved12;
};

struct Pdf417Descriptor {
    int16_t Reserved0;
    int16_t MaxWidth;
    int16_t MaxHeight;
    int16_t Security;
    int16_t Compression;
    int16_t Flag;
    int16_t ModuleWidth;
    int16_t BarHeight;
    int16_t Rows;
    int16_t Columns;
};

struct DataMatrixDescriptor {
    int16_t HValue;  // the digit written after "h"
};

}  // namespace zal::ZalLib
