#include "documents/RawZALDoc.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "common/Heap.h"
#include "common/Log.h"
#include "common/Seams.h"
#include "common/Settings.h"
#include "device/DeviceOutput.h"
#include "platform/Platform.h"

namespace zal::ZalLib {
namespace {

constexpr const char *kSourceName = "RawZALDoc::_Source";
constexpr uint32_t kMinimumFree = 1024;  // every append asks for this much free room at least
constexpr uint32_t kJobDebug = log::kJob;
constexpr uint32_t kMemoryJobDebug = log::kJob | log::kMemory | log::kDebug;
constexpr int kSaveAttempts = 3;
constexpr uint32_t kSaveRetryMs = 100;
constexpr int16_t kFallbackDots = 600;
constexpr int kMinimumBottom = 600;  // a short label still gets 600 dot rows

bool IsAllocated(const char *source) { return source != nullptr && source != FreedMarker(); }

// clang-format off
struct DpiRow { int dpi; float dotsPerMm; };
constexpr DpiRow kResolutions[] = {
    {152, 6.0f},
    {203, 8.0f},
    {300, 11.8f},  // taken as the single-precision value
    {608, 24.0f},
};
// clang-format on

// Nearest whole number, halves up; a negative value is cut towards zero.
int16_t RoundDots(double value) {
    if (std::isnan(value)) return 0;
    double whole = value >= 0 ? std::floor(value) + (value - std::floor(value) >= 0.5 ? 1.0 : 0.0) : std::trunc(value);
    return static_cast<int16_t>(std::clamp(whole, -32768.0, 32767.0));
}

int16_t InchesToDots(float inches, float dotsPerMm) {
    return RoundDots(static_cast<double>(inches) * 25.4 * static_cast<double>(dotsPerMm));
}

// Half of a margin sum, single precision, halves away from zero.
int16_t HalfMargin(int16_t margin) { return margin > 0 ? static_cast<int16_t>(std::lround(margin * 0.5f)) : 0; }

int16_t AtLeast(int value, int minimum) { return static_cast<int16_t>(std::max(value, minimum)); }

}  // namespace

RawZALDoc::RawZALDoc() : _Source(nullptr), _SourceSize(0), _SourceCount(0) {
    if (HeapAllocHlpr(&_Source, kMinimumFree, kSourceName)) {
        _SourceSize = kMinimumFree;
    } else {
        _Source = nullptr;  // the first EnsureSpace allocates
    }
}

RawZALDoc::~RawZALDoc() { RawZALDoc::Reset(); }

void RawZALDoc::Reset() {
    log::LogMessage(log::kDebug, "RawZALDoc::Reset()");
    Initialized = false;
    Ended = false;
    if (IsAllocValid(&_Source, kSourceName)) HeapFreeHlpr(&_Source, kSourceName);
    _Source = nullptr;
    _SourceSize = 0;
    _SourceCount = 0;
    ZALDoc::Reset();
}

bool RawZALDoc::EnsureSpace(uint32_t additional) {
    // 64 bits: additional near 4 GiB must fail, not wrap to a small request
    uint64_t needed = std::max<uint64_t>(uint64_t(additional) + 1, kMinimumFree);
    log::LogMessage(kMemoryJobDebug, "RawZALDoc::EnsureSpace -> _SourceCount=%u, _SourceSize=%u, addlsize=%u, sizeneeded=%u.",
                    _SourceCount, _SourceSize, additional, static_cast<unsigned>(needed));
    if (!IsAllocated(_Source)) {
        log::LogMessage(kJobDebug, "RawZALDoc::EnsureSpace -> Warning: source buffer is unexpectedly unallocated.");
        _Source = nullptr;
        if (needed > UINT32_MAX || !HeapAllocHlpr(&_Source, static_cast<std::size_t>(needed), kSourceName)) {
            _Source = nullptr;
            log::LogError("RawZALDoc::EnsureSpace -> _Source buffer could not be allocated.");
            return false;
        }
        _SourceCount = 0;
        _SourceSize = static_cast<uint32_t>(needed);
        log::LogMessage(kMemoryJobDebug, "RawZALDoc::EnsureSpace -> _SourceSize now is %u.", _SourceSize);
        return true;
    }
    if (_SourceCount + needed <= _SourceSize) {
        log::LogMessage(kMemoryJobDebug, "RawZALDoc::EnsureSpace -> _SourceSize is already adequate.");
        return true;
    }
    uint64_t newSize = _SourceSize + needed;
    if (newSize > UINT32_MAX || !HeapReAllocHlpr(&_Source, static_cast<std::size_t>(newSize), kSourceName)) {
        log::LogError("RawZALDoc::EnsureSpace -> _Source buffer could not be reallocated.");
        return false;
    }
    _SourceSize = static_cast<uint32_t>(newSize);
    log::LogMessage(kMemoryJobDebug, "RawZALDoc::EnsureSpace -> _SourceSize now is %u.", _SourceSize);
    return true;
}

bool RawZALDoc::Write(const char *text, std::size_t length) {
    if (!IsAllocated(_Source) || _SourceCount >= _SourceSize || length >= _SourceSize - _SourceCount) return false;
    std::memcpy(_Source + _SourceCount, text, length);
    _SourceCount += static_cast<uint32_t>(length);
    _Source[_SourceCount] = '\0';
    return true;
}

bool RawZALDoc::Append(const char *text, std::size_t length) {
    return length < UINT32_MAX && EnsureSpace(static_cast<uint32_t>(length)) && Write(text, length);
}

bool RawZALDoc::AppendRawText(const char *text) {
    if (text != nullptr && Append(text, std::strlen(text))) return true;
    log::LogMessage(log::kInfo, "RawZALDoc::AppendRawText Failed");
    return false;
}

bool RawZALDoc::GetMediaDims(const DocumentMedia *media, int dpi, int16_t horizontalMargin, int16_t verticalMargin,
                             MediaDims *dims) {
    if (dims == nullptr) {
        log::LogError("RawZALDoc::GetMediaDims() -> ERROR: Cannot calculate media dots (printer dimensions). Invalid "
                      "null layout patameter.");
        return false;
    }
    MediaDims &d = *dims;
    d.Top = HalfMargin(verticalMargin);
    d.Left = HalfMargin(horizontalMargin);

    const DpiRow *row = std::find_if(std::begin(kResolutions), std::end(kResolutions),
                                     [dpi](const DpiRow &r) { return r.dpi == dpi; });
    if (row == std::end(kResolutions)) {
        log::LogError("RawZALDoc::GetMediaDims() -> ERROR: Cannot calculate media dots (printer dimensions). Invalid "
                      "DPI specified: %d",
                      dpi);
        d.MediaWidth = d.MediaLength = kFallbackDots;
        d.Right = AtLeast(kFallbackDots - d.Left, 1);
        d.Bottom = AtLeast(kFallbackDots - d.Top, 1);
        d.Height = AtLeast(d.Bottom - d.Top, 1);
        d.Width = AtLeast(d.Right - d.Left, 1);
        return false;
    }
    if (media == nullptr) return false;

    d.MediaWidth = InchesToDots(media->Type.Width, row->dotsPerMm);
    d.MediaLength = InchesToDots(media->Type.Length, row->dotsPerMm);
    log::LogMessage(kJobDebug, " -> Calculated Media Dots: %d X by %d Y.", d.MediaWidth, d.MediaLength);

    d.Right = AtLeast(d.MediaWidth - 2 * d.Left, 1);
    if (media->Type.Docutab != 0) {
        d.DocutabHeight = InchesToDots(media->Type.DocutabLength, row->dotsPerMm);
        d.Docutab = true;
        d.DocutabStart = static_cast<int16_t>(d.MediaLength - 2 * d.Top - d.DocutabHeight);
        d.Bottom = AtLeast(d.DocutabStart - d.DocutabGap, kMinimumBottom);
        log::LogMessage(kJobDebug, " -> Adjusted Media for Docutab: Docutab starts at %d and is %d dots in height.",
                        d.DocutabStart, d.DocutabHeight);
    } else {
        d.Docutab = false;
        d.DocutabStart = d.DocutabHeight = 0;
        d.Bottom = AtLeast(d.MediaLength - 2 * d.Top, kMinimumBottom);
    }
    d.Height = AtLeast(d.Bottom - d.Top, 1);
    d.Width = AtLeast(d.Right - d.Left, 1);
    log::LogMessage(kJobDebug, " -> Adjusted Document Layout (Dots): %u,%u to %u,%u. Total size: %u X by %u Y.",
                    static_cast<unsigned>(d.Left), static_cast<unsigned>(d.Top), static_cast<unsigned>(d.Right),
                    static_cast<unsigned>(d.Bottom), static_cast<unsigned>(d.Width), static_cast<unsigned>(d.Height));
    return true;
}

bool RawZALDoc::ValidateCoords(int &x, int &y) const {
    if (!Initialized) return false;
    int limit = Dims.Docutab ? Dims.DocutabStart + Dims.DocutabHeight : Dims.Height;
    bool yOutside = y > limit;
    if (yOutside) {
        log::LogMessage(kJobDebug,
                        "%s::ValidateCoords -> Warning: Requested Y position (%d) exceeds maximum vertical position (%d).",
                        ClassName, y, limit);
    }
    if (x > Dims.Width) {
        log::LogMessage(kJobDebug,
                        "%s::ValidateCoords -> Warning: Requested X position (%d) exceeds maximum horizontal position (%d).",
                        ClassName, x, static_cast<int>(Dims.Width));
        return false;
    }
    if (yOutside) return false;
    x += Dims.Left;
    y += Dims.Top;
    return true;
}

int16_t RawZALDoc::GetCenterX() const {
    return static_cast<int16_t>(Dims.Left + std::lround(Dims.Width * 0.5f));
}

int RawZALDoc::Print(JobContext *context) {
    log::LogMessage(kJobDebug, "RawZALDoc::Print -> Sending RAW data to printer...");
    StartTicks = seams::TickCount();
    EndTicks = 0;
    TimerRunning = true;
    // a reset document has no buffer: it sends nothing
    const char *bytes = IsAllocated(_Source) ? _Source : "";
    int32_t code = SendToDevice(context, bytes, static_cast<int>(std::strlen(bytes)));
    if (TimerRunning) {
        EndTicks = seams::TickCount();
        TimerRunning = false;
    }
    if (log::ShouldLog(log::Flags(), kJobDebug)) {  // the lookup only for a line that is written
        char name[32] = "";
        char message[1024] = "";
        unsigned long long elapsed = EndTicks > StartTicks ? EndTicks - StartTicks : 0;
        if (GetErrorCodeText(code, name, message) > 0) {
            log::LogMessage(kJobDebug, "RawZALDoc::Print -> Print result (%llu ms): Code %d (%s) %s", elapsed,
                            static_cast<int>(code), name, message);
        } else {
            log::LogMessage(kJobDebug, "RawZALDoc::Print -> Print result (%llu ms): Code %d", elapsed,
                            static_cast<int>(code));
        }
    }
    return code;
}

std::FILE *RawZALDoc::OpenForSave(const char *path, const char *caller) {
    if (path == nullptr) return nullptr;
    log::LogInfo("%s::SaveToFile -> \"%s\"", caller, path);
    if (FileExist(path) != 0) platform::DeleteFile(path);
    for (int attempt = 0; attempt < kSaveAttempts; ++attempt) {
        if (std::FILE *file = platform::OpenFile(path, "a+")) return file;
        seams::Sleep(kSaveRetryMs);
    }
    return nullptr;
}

bool RawZALDoc::FinishSave(std::FILE *file) {
    std::size_t length = IsAllocated(_Source) ? TextLength(_Source, _SourceSize) : 0;
    bool written = length == 0 || std::fwrite(_Source, 1, length, file) == length;
    // a full disk shows at the flush: report it, not success
    bool closed = std::fclose(file) == 0;
    return written && closed;
}

bool RawZALDoc::SaveToFile(const char *path) {
    if (_SourceCount == 0) return true;
    std::FILE *file = OpenForSave(path, "ZALDoc");
    return file != nullptr && FinishSave(file);
}

}  // namespace zal::ZalLib
