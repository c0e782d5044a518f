// The frame shared by the string-built labels: the whole EPL2 stream is
// assembled as text in a 20000-byte buffer (memory command, header, user
// commands, body elements, version line, print command) and handed to the
// device output in one piece.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/Strings.h"
#include "device/JobContext.h"

namespace zal {

// The label memory command each layout family opens with on printers that
// have label memory.
enum class MemoryCommand : uint8_t { M132, M154, M156, M160 };

// Form A: N, Q1230,24, R<h>,<v>, ZB.  Form B (DHL terms pages, PCD): the
// memory command in the same call and two empty lines before ZB.
enum class HeaderForm : uint8_t { A, B };

// One piece of an element's value: a text field of the record or a literal.
template <typename Record>
class TextPiece {
public:
    using Getter = const char *(*)(const Record &);
    constexpr TextPiece() = default;
    constexpr TextPiece(Getter getter) : _getter(getter) {}
    constexpr TextPiece(const char *literal) : _literal(literal) {}
    const char *Of(const Record &record) const { return _getter ? _getter(record) : (_literal ? _literal : ""); }

private:
    Getter _getter = nullptr;
    const char *_literal = nullptr;
};

namespace legacy {
template <typename T>
struct MemberOwner;
template <typename Owner, typename Member>
struct MemberOwner<Member Owner::*> {
    using Type = Owner;
};

template <auto Member>
const char *FieldText(const typename MemberOwner<decltype(Member)>::Type &record) {
    return record.*Member;
}
}  // namespace legacy

// A record's text field as a piece of a table row: FieldOf<&CommonData::From1>.
template <auto Member>
inline constexpr auto FieldOf = &legacy::FieldText<Member>;

// One text element of a layout table: the template (ending in the opening
// quote) and up to three pieces printed one after the other.
template <typename Record>
struct TextRow {
    const char *Template;
    TextPiece<Record> Values[3];
};

class LegacyLabel {
public:
    static constexpr std::size_t kSize = 20000;
    // Pieces a text element takes between its template and its closing quote.
    static constexpr std::size_t kMaxValues = 4;

    LegacyLabel() = default;
    LegacyLabel(const LegacyLabel &) = delete;
    LegacyLabel &operator=(const LegacyLabel &) = delete;

    // Clears the buffer and writes the memory command (with headerPrefix)
    // and the header; the offsets are the printer option settings.
    void Begin(MemoryCommand memory, HeaderForm form, bool headerPrefix);

    // A user command text (xlabelc1 ... xlabelc4): nothing when empty, and a
    // line feed after it unless it ends in one.
    bool UserCommands(const char *text);
    // Template, the values one after the other, closing quote and line feed.
    bool Text(const char *textTemplate, TextList values);
    template <typename Record, std::size_t N>
    void Texts(const TextRow<Record> (&rows)[N], const Record &record);
    // A complete literal line: "LE015,210,780,4\n".
    bool Line(const char *literal);
    // Pieces written as they stand; the caller supplies the closing quote
    // and line feed (bar codes whose template carries part of the data).
    bool Element(TextList pieces);
    // The dispatch's open version line, the layout's form date, "\"\n".
    bool VersionLine(const char *formDate);

    // The closing user commands, "P1\n", the device output and the log
    // line; returns the device output's result.
    int32_t Finish(const char *userCommands, JobContext *context);

    const char *Data() const { return _buffer; }
    std::size_t Length() const;

private:
    // Every element goes in whole or not at all, and never into the room
    // kept for the print command, so a full buffer still prints.
    bool Append(TextList pieces);

    char _buffer[kSize] = {};
    std::size_t _length = 0;  // characters in _buffer, kept so appends need not measure it
};

template <typename Record, std::size_t N>
void LegacyLabel::Texts(const TextRow<Record> (&rows)[N], const Record &record) {
    for (const TextRow<Record> &row : rows) {
        Text(row.Template, {row.Values[0].Of(record), row.Values[1].Of(record), row.Values[2].Of(record)});
    }
}

}  // namespace zal
