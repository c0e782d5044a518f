// Media, label formats and log set-up shared by the document tests.
#pragma once

#include <cstdint>
#include <string>

#include "common/Log.h"
#include "common/PrinterOptions.h"
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

// Sets the process-wide printer options and puts the old ones back.
class OptionsScope {
public:
    OptionsScope(const char *heat, const char *speed, const char *verticalOffset, const char *horizontalOffset)
        : saved_(CurrentPrinterOptions()) {
        PrinterOptions &o = CurrentPrinterOptions();
        CopyText(o.heat, heat);
        CopyText(o.speed, speed);
        CopyText(o.verticalOffset, verticalOffset);
        CopyText(o.horizontalOffset, horizontalOffset);
    }
    ~OptionsScope() { CurrentPrinterOptions() = saved_; }

private:
    PrinterOptions saved_;
};

// A log that keeps each message on one line.
class UnwrappedLog : public zal::test::LogCapture {
public:
    explicit UnwrappedLog(uint32_t flags = 0x1FFFF) : LogCapture(flags) {
        config.WrapWidth = 4000;
        log::ConfigureLogging(config);
    }
};

}  // namespace zal::ZalLib::test
