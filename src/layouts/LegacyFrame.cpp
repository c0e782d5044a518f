#include "layouts/LegacyFrame.h"

#include <cstring>

#include "common/JobState.h"
#include "common/Log.h"
#include "common/PrinterOptions.h"
#include "device/DeviceOutput.h"

namespace zal {
namespace {

// clang-format off
// Indexed by MemoryCommand; without the line feed, which form B writes in
// the header's own call.
const char *const kMemoryCommands[] = {"M132,5,5", "M154,5,5", "M156,5,5", "M160,5,5"};
// clang-format on

constexpr const char *kPrintCommand = "P1\n";
// The print command and its terminator always fit after the body.
constexpr std::size_t kBodyLimit = LegacyLabel::kSize - 3;

const char *Safe(const char *text) { return text ? text : ""; }

}  // namespace

std::size_t LegacyLabel::Length() const { return _length; }

void LegacyLabel::Begin(MemoryCommand memory, HeaderForm form, bool headerPrefix) {
    std::memset(_buffer, 0, kSize);
    const PrinterOptions &options = CurrentPrinterOptions();
    const char *h = options.horizontalOffset;
    const char *v = options.verticalOffset;
    const char *command = kMemoryCommands[static_cast<int>(memory)];
    if (form == HeaderForm::A) {
        if (headerPrefix) AppendStrings(_buffer, kBodyLimit, {command, "\n"});
        AppendStrings(_buffer, kBodyLimit, {"N\n", "Q1230,24\n", "R", h, ",", v, "\n", "ZB\n"});
    } else {
        const char *prefix = headerPrefix ? command : "";
        const char *prefixEnd = headerPrefix ? "\n" : "";
        AppendStrings(_buffer, kBodyLimit,
                      {prefix, prefixEnd, "N", "\n", "Q1230,24", "\n", "R", h, ",", v, "\n", "\n", "\n", "ZB", "\n"});
    }
    _length = TextLength(_buffer, kSize);
}

bool LegacyLabel::Append(TextList pieces) {
    // The rule of AppendStrings within kBodyLimit, decided before anything is
    // copied: every piece needs free room (even an empty one) and must fit.
    std::size_t used = _length;
    for (const char *piece : pieces) {
        if (piece == nullptr) break;
        std::size_t n = std::strlen(piece);
        if (used + 1 >= kBodyLimit || n > kBodyLimit - 1 - used) {
            log::LogDebug(log::kJob, "LegacyLabel: The label text is full; an element is left out.");
            return false;
        }
        used += n;
    }
    for (const char *piece : pieces) {
        if (piece == nullptr) break;
        std::size_t n = std::strlen(piece);
        std::memcpy(_buffer + _length, piece, n);
        _length += n;
    }
    _buffer[_length] = '\0';
    return true;
}

bool LegacyLabel::UserCommands(const char *text) {
    if (text == nullptr || text[0] == '\0') return true;
    std::size_t length = std::strlen(text);
    return Append({text, text[length - 1] == '\n' ? "" : "\n"});
}

bool LegacyLabel::Text(const char *textTemplate, TextList values) {
    if (values.size() > kMaxValues) return false;
    const char *v[kMaxValues] = {"", "", "", ""};
    std::size_t i = 0;
    for (const char *value : values) v[i++] = Safe(value);
    return Append({Safe(textTemplate), v[0], v[1], v[2], v[3], "\"\n"});
}

bool LegacyLabel::Line(const char *literal) { return Append({Safe(literal)}); }

bool LegacyLabel::Element(TextList pieces) { return Append(pieces); }

bool LegacyLabel::VersionLine(const char *formDate) {
    return Append({::zal::VersionLine(), Safe(formDate), "\"\n"});
}

int32_t LegacyLabel::Finish(const char *userCommands, JobContext *context) {
    UserCommands(userCommands);
    // Room for the print command is always kept (kBodyLimit).
    std::memcpy(_buffer + _length, kPrintCommand, 4);
    _length += 3;
    int32_t result = SendToDevice(context, _buffer, static_cast<int>(_length));
    log::LogDebug(0, "Completed with result %d", static_cast<int>(result));
    return result;
}

}  // namespace zal
