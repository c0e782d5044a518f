#include "documents/ZALDoc.h"

#include <cstring>

#include "common/Format.h"
#include "common/Log.h"

namespace zal::ZalLib {
namespace {

constexpr int16_t kDefaultDots = 600;  // the area before any media is known
constexpr float kDefaultDocutabLength = 0.75f;

}  // namespace

ZALDoc::ZALDoc() : Name{}, ClassName{}, Initialized(false), Ended(false), Media{}, Dims{}, StartTicks(0), EndTicks(0),
                   TimerRunning(false) {
    CopyText(Name, "Untitled");
    CopyText(ClassName, "ZALDoc");
    Media.Type.DocutabLength = kDefaultDocutabLength;
    Dims.Right = Dims.Bottom = Dims.Width = Dims.Height = kDefaultDots;
    Dims.MediaWidth = Dims.MediaLength = kDefaultDots;
    Dims.DocutabGap = 5;
}

ZALDoc::~ZALDoc() {
    log::LogMessage(log::kDebug, "Destroying ZALDoc...");
    ZALDoc::Reset();
}

void ZALDoc::ResetMediaType() {
    Media.Type = MediaType{};
    Media.Type.DocutabLength = kDefaultDocutabLength;
}

void ZALDoc::Reset() {
    log::LogMessage(log::kDebug, "ZALDoc::Reset()");
    Initialized = false;
    Ended = false;
    ResetMediaType();
    Name[0] = '\0';
    StartTicks = EndTicks = 0;
    TimerRunning = false;
    Dims.Left = Dims.Top = 0;
    Dims.Right = Dims.Bottom = Dims.Width = Dims.Height = kDefaultDots;
}

}  // namespace zal::ZalLib
