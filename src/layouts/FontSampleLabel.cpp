// The font sample label: the printer's resident fonts 1 to 4 at 1x1, 1x2,
// 2x1 and 2x2, each printing its own specification.
#include "common/Modules.h"
#include "layouts/engine/Frame.h"

namespace zal {
namespace {

using namespace layout;
using R = Records<>;

// clang-format off
constexpr Element<R> kSamples[] = {
    Text<R>( 10,  10, "1,1,1", "1,1,1 - ABCD abcd"),
    Text<R>( 10,  30, "2,1,1", "2,1,1 - ABCD abcd"),
    Text<R>( 10,  50, "3,1,1", "3,1,1 - ABCD abcd"),
    Text<R>( 10,  72, "4,1,1", "4,1,1 - ABCD abcd"),
    Text<R>(400,  10, "1,1,2", "1,1,2 - ABCD abcd"),
    Text<R>(400,  50, "2,1,2", "2,1,2 - ABCD abcd"),
    Text<R>(400,  90, "3,1,2", "3,1,2 - ABCD abcd"),
    Text<R>(400, 130, "4,1,2", "4,1,2 - ABCD abcd"),
    Text<R>( 10, 180, "1,2,1", "1,2,1 - ABCD abcd"),
    Text<R>( 10, 200, "2,2,1", "2,2,1 - ABCD abcd"),
    Text<R>( 10, 220, "3,2,1", "3,2,1 - ABCD abcd"),
    Text<R>( 10, 240, "4,2,1", "4,2,1 - ABCD abcd"),
    Text<R>( 10, 300, "1,2,2", "1,2,2 - ABCD abcd"),
    Text<R>( 10, 340, "2,2,2", "2,2,2 - ABCD abcd"),
    Text<R>( 10, 380, "3,2,2", "3,2,2 - ABCD abcd"),
    Text<R>( 10, 420, "4,2,2", "4,2,2 - ABCD abcd"),
};
// clang-format on

constexpr DocumentFrame kFrame = {"Font Samples Label", "%s%s.EPLDoc.txt", kCommonLabelsModule, "FontSamplePrint",
                                  ZALERR_LABEL_GENERATIONERR, true};

}  // namespace

// FontSamplePrint
int32_t PrintFontSampleLabel(LabelContext &label) {
    const R records(label, kFrame.name);
    return PrintDocument(kFrame, label, nullptr, nullptr, [&](Canvas &canvas) { Draw(canvas, kSamples, records); });
}

}  // namespace zal
