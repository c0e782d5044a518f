#include "documents/LabelFormat.h"

#include "common/Format.h"
#include "common/PrinterOptions.h"
#include "common/Seams.h"

namespace zal::ZalLib {

bool InitLabelFormat(LabelFormat *format, const char *name, uint8_t headerPrefix, const PrinterOptions &options) {
    if (format == nullptr) return false;
    char date[9];
    char time[9];
    seams::LocalDateTime(date, time);
    Format(format->Created, sizeof(format->Created), "%s %s", date, time);
    format->HeaderPrefix = headerPrefix;
    // each option holds at most 5 characters: it fits its 6-byte field
    CopyText(format->HOffset, options.horizontalOffset);
    CopyText(format->VOffset, options.verticalOffset);
    CopyText(format->Speed, options.speed);
    CopyText(format->Heat, options.heat);
    if (name != nullptr && name[0] != '\0') CopyText(format->Name, name);
    return true;
}

}  // namespace zal::ZalLib
