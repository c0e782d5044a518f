// The test mode stamp of the carrier labels: the job's test identifier in a
// large font and, 65 dots below it, "ZAL2443.DLL - <label name>", both
// centred on the printable area; lower on media of at least 6 inches.  A
// layout includes it under its own test-mode condition:
//   Include(TestStamp<R, &CommonData::TestID, 650>).When(InTestMode)
// (a label whose stamp stands elsewhere on tall media names that row too)
#pragma once

#include "layouts/engine/Element.h"
#include "zal2443/zal2443.h"

namespace zal::layout {

// Dots per character used to centre the lines: font 3 at double width for
// the identifier, font 1 for the name line.
constexpr int kStampIdCharWidth = 34;
constexpr int kStampNameCharWidth = 9;
constexpr int kStampNameLineOffset = 65;
constexpr int kStampTallMediaRow = 1100;

template <typename R>
bool TallMedia(const R &r) {
    return r.label.device.Media.Length >= 6.0f;
}
template <typename R>
bool ShortMedia(const R &r) {
    return !TallMedia(r);
}
template <typename R>
const char *LabelName(const R &r) {
    return r.name;
}

// clang-format off
template <typename R, auto TestId, int ShortMediaRow, int TallMediaRow = kStampTallMediaRow>
constexpr Element<R> TestStamp[] = {
    AlignedText<R>(Align::Centre, 0, TallMediaRow, "3,2,3", kStampIdCharWidth, &FieldText<TestId, R>)
        .Flag(kAreaCentre).When(TallMedia<R>),
    AlignedText<R>(Align::Centre, 0, TallMediaRow + kStampNameLineOffset, "1,1,1", kStampNameCharWidth,
                   ZAL2443_MODULE_NAME " - ", LabelName<R>).Flag(kAreaCentre).When(TallMedia<R>),
    AlignedText<R>(Align::Centre, 0, ShortMediaRow, "3,2,3", kStampIdCharWidth, &FieldText<TestId, R>)
        .Flag(kAreaCentre).When(ShortMedia<R>),
    AlignedText<R>(Align::Centre, 0, ShortMediaRow + kStampNameLineOffset, "1,1,1", kStampNameCharWidth,
                   ZAL2443_MODULE_NAME " - ", LabelName<R>).Flag(kAreaCentre).When(ShortMedia<R>),
};
// clang-format on

}  // namespace zal::layout
