#include "documents/LegacyDoc.h"

#include <cstring>
#include <iterator>

#include "common/Log.h"
#include "device/DeviceOutput.h"

namespace zal::ZalLib {
namespace {

// clang-format off
// Indexed by MemoryCommand; without the line feed, which form B writes in
// the header's own call.
const char *const kMemoryCommands[] = {"M132,5,5", "M154,5,5", "M156,5,5", "M160,5,5"};
// clang-format on

constexpr const char *kPrintCommand = "P1\n";
// The print command and its terminator always fit after the body.
constexpr std::size_t kBodyLimit = LegacyDoc::kSize - 3;

}  // namespace

void LegacyDoc::Begin(MemoryCommand memory, HeaderForm form, bool headerPrefix, const char *h, const char *v) {
    std::memset(_buffer, 0, kSize);
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

bool LegacyDoc::Append(const char *const *pieces, std::size_t count) {
    // The rule of AppendStrings within kBodyLimit, decided before anything is
    // copied: every piece needs free room (even an empty one) and must fit.
    std::size_t used = _length;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t n = std::strlen(pieces[i]);
        if (used + 1 >= kBodyLimit || n > kBodyLimit - 1 - used) {
            log::LogDebug(log::kJob, "LegacyLabel: The label text is full; an element is left out.");
            return false;
        }
        used += n;
    }
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t n = std::strlen(pieces[i]);
        std::memcpy(_buffer + _length, pieces[i], n);
        _length += n;
    }
    _buffer[_length] = '\0';
    return true;
}

bool LegacyDoc::Append(TextList pieces) {
    const char *list[16];
    std::size_t count = 0;
    for (const char *piece : pieces) {
        if (piece == nullptr) break;
        if (count == std::size(list)) return false;  // more pieces than an element holds: none goes in
        list[count++] = piece;
    }
    return Append(list, count);
}

bool LegacyDoc::UserCommands(const char *text) {
    if (text == nullptr || text[0] == '\0') return true;
    std::size_t length = std::strlen(text);
    return Append({text, text[length - 1] == '\n' ? "" : "\n"});
}

int32_t LegacyDoc::Finish(const char *userCommands, JobContext *context) {
    UserCommands(userCommands);
    // Room for the print command is always kept (kBodyLimit).
    std::memcpy(_buffer + _length, kPrintCommand, 4);
    _length += 3;
    int32_t result = SendToDevice(context, _buffer, static_cast<int>(_length));
    log::LogDebug(0, "Completed with result %d", static_cast<int>(result));
    return result;
}

}  // namespace zal::ZalLib
