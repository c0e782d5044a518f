// Media and label formats shared by the document tests.
#pragma once

#include <cstdint>
#include <string>

#include "documents/EPLDoc.h"
#include "support/TestSupport.h"

namespace zal::ZalLib::test {

inline DocumentMedia MakeMedia(float width, float length, bool docutab = false, uint16_t orientation = 1) {
    DocumentMedia media{};
    media.Type.Id = 1230;
    media.Type.Kind = 2;
    media.Type.Width = width;
    media.Type.Length = length;
    media.Type.Docutab = docutab ? 1 : 0;
    media.Type.DocutabLength = 0.75f;
    media.Orientation.Id = orientation;
    return media;
}

// What every layout fills: 203 dpi, margins 6 and 0, 4 x 6 inch Portrait.
inline LabelFormat MakeFormat(const DocumentMedia &media = MakeMedia(4.0f, 6.0f)) {
    LabelFormat format{};
    format.Dpi = 203;
    format.HorizontalMargin = 6;
    format.VerticalMargin = 0;
    format.Reserved6 = 1;
    format.Media = media;
    return format;
}

}  // namespace zal::ZalLib::test
