// The abstract label document: one label's printer commands, the media it
// is printed on and the printable area in dots.  Every document operation
// is a virtual slot; the order of the slots is fixed.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "device/JobContext.h"
#include "documents/LabelFormat.h"

namespace zal::ZalLib {

// Text pieces joined by the *Parts operations; a null entry ends the list.
using TextPieces = std::initializer_list<const char *>;

class ZALDoc {
public:
    ZALDoc();
    ZALDoc(const ZALDoc &) = delete;
    ZALDoc &operator=(const ZALDoc &) = delete;

    // clang-format off
    /*  0*/ virtual int Print(JobContext *context) = 0;
    /*  1*/ virtual bool SaveToFile(const char *path) = 0;
    /*  2*/ virtual bool PrintText(int x, int y, const char *font, const char *text) = 0;
    /*  3*/ virtual bool PrintTextEx(int x, int y, const FontDescriptor &font, const char *text) = 0;
    /*  4*/ virtual bool PrintTextParts(int x, int y, const char *font, TextPieces pieces) = 0;
    /*  5*/ virtual bool PrintTextExParts(int x, int y, const FontDescriptor &font, TextPieces pieces) = 0;
    /*  6*/ virtual bool DrawLine(int x, int y, int width, int height) = 0;
    /*  7*/ virtual bool DrawFullWidthLine(int y, int thickness) = 0;
    /*  8*/ virtual bool DrawHorizontalLine(int x, int y, int width, int height) = 0;
    /*  9*/ virtual bool DrawBox(int x, int y, int width, int height, int thickness) = 0;
    /* 10*/ virtual bool DrawFilledBox(int x, int y, int width, int height) = 0;
    /* 11*/ virtual bool EraseBox(int x, int y, int width, int height) = 0;
    /* 12*/ virtual bool AddComment(const char *text) = 0;
    // clang-format on

    // Declared after the slots so that they keep their places.
    virtual ~ZALDoc();

    // Back to the constructed state; the orientation, the media dots and the
    // docutab fields stay.
    void Reset();

    char Name[64];
    char ClassName[8];  // prefixes the ValidateCoords warnings
    bool Initialized;
    bool Ended;
    DocumentMedia Media;
    MediaDims Dims;
    uint64_t StartTicks;
    uint64_t EndTicks;
    bool TimerRunning;

protected:
    void ResetMediaType();
};

}  // namespace zal::ZalLib
