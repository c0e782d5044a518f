#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zal::preview {

// One command line of an EPL2 stream.
struct Command {
    std::string_view name;    // the leading letters: "A", "LO", "ZB", ...
    std::string_view args;    // the rest of the line, without the line end
    std::string_view binary;  // the dot data of GW
    int line = 0;             // 1-based
};

// Cuts a stream into commands: one per line, ended by LF (a CR before it is dropped); empty lines
// and ";" comments are passed over. GW carries binary data that may hold line feeds.
class CommandReader {
public:
    explicit CommandReader(std::string_view stream) : _stream(stream) {}
    bool Next(Command &command);

private:
    std::string_view _stream;
    size_t _pos = 0;
    int _line = 0;
};

// Up to `count` comma-separated fields from the front of `args`; `rest` receives the text after
// the comma that ends the last of them (empty when there are fewer fields).
std::vector<std::string_view> SplitFields(std::string_view args, size_t count, std::string_view *rest = nullptr);

// A decimal number with optional blanks and sign; false for anything else. Values are clamped to
// +-1e9 so that any sum of a few of them stays in range.
bool ParseNumber(std::string_view text, int64_t &value);

// Items of a text or bar code data field: bytes 0..255 and the Code 128 function codes that the
// field writes as F1..F4 outside quotes.
constexpr int kFnc1 = 0x101, kFnc2 = 0x102, kFnc3 = 0x103, kFnc4 = 0x104;
using DataItems = std::vector<int>;

// A data field: quoted strings (a backslash takes the next character as it is), F1..F4, and bare
// characters, which the printer takes as data (blanks between the pieces excepted). Variables (Vnn)
// and counters (Cn) are not filled in: each gives a note.
DataItems ParseDataField(std::string_view field, std::vector<std::string> &notes);

// The bytes of the items, function codes left out.
std::string ItemBytes(const DataItems &items);

}  // namespace zal::preview
