// The string-built label: the whole EPL2 stream assembled as text in a
// 20000-byte buffer (memory command, header, user commands, body elements,
// version line, print command) and handed to the device output in one
// piece.  Every element goes in whole or not at all, and room for the print
// command is always kept, so a full label still prints.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/Strings.h"
#include "device/JobContext.h"

namespace zal::ZalLib {

// The label memory command each layout family opens with on printers that
// have label memory.
enum class MemoryCommand : uint8_t { M132, M154, M156, M160 };

// Form A: N, Q1230,24, R<h>,<v>, ZB.  Form B (DHL terms pages, PCD): the
// memory command in the same call and two empty lines before ZB.
enum class HeaderForm : uint8_t { A, B };

class LegacyDoc {
public:
    static constexpr std::size_t kSize = 20000;

    LegacyDoc() = default;
    LegacyDoc(const LegacyDoc &) = delete;
    LegacyDoc &operator=(const LegacyDoc &) = delete;

    // Clears the buffer and writes the memory command (with headerPrefix)
    // and the header with the job's offsets.
    void Begin(MemoryCommand memory, HeaderForm form, bool headerPrefix, const char *horizontalOffset,
               const char *verticalOffset);
    // A user command text (xlabelc1 ... xlabelc4): nothing when empty, and a
    // line feed after it unless it ends in one.
    bool UserCommands(const char *text);
    // The pieces one after the other, as one element; false (nothing
    // written) when they do not all fit.
    bool Append(TextList pieces);
    bool Append(const char *const *pieces, std::size_t count);
    // The closing user commands, "P1\n", the device output and the log
    // line; returns the device output's result.
    int32_t Finish(const char *userCommands, JobContext *context);

    const char *Data() const { return _buffer; }
    std::size_t Length() const { return _length; }

private:
    char _buffer[kSize];  // zeroed by Begin
    std::size_t _length = 0;  // characters in _buffer, kept so appends need not measure it
};

}  // namespace zal::ZalLib
