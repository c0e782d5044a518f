#include "CommandReader.h"

#include <algorithm>
#include <cctype>

namespace zal::preview {

static bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool CommandReader::Next(Command &command) {
    while (_pos < _stream.size()) {
        size_t end = _stream.find('\n', _pos);
        if (end == std::string_view::npos)
            end = _stream.size();
        std::string_view line = _stream.substr(_pos, end - _pos);
        ++_line;
        size_t next = std::min(end + 1, _stream.size());
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        size_t letters = 0;
        while (letters < line.size() && letters < 2 && IsLetter(line[letters]))
            ++letters;
        // A single command letter is followed by its numbers; two letters only name the known pairs.
        if (letters == 2 && line[0] != 'L' && line[0] != 'Z' && line[0] != 'G' && line[0] != 'J' && line[0] != 'O' &&
            line[0] != 'U' && line[0] != 'o')
            letters = 1;
        command = Command{line.substr(0, letters), line.substr(letters), {}, _line};

        if (command.name == "GW") {
            // GWx,y,bytes per row,rows,<data>: the data runs for bytes x rows, whatever it holds.
            std::string_view rest;
            auto fields = SplitFields(_stream.substr(_pos + 2), 4, &rest);
            int64_t rowBytes = 0, rows = 0;
            if (fields.size() == 4 && ParseNumber(fields[2], rowBytes) && ParseNumber(fields[3], rows) &&
                rowBytes > 0 && rows > 0) {
                // Rows as the last thing of the stream leave no rest, and no data.
                size_t dataStart = rest.data() == nullptr ? _stream.size() : size_t(rest.data() - _stream.data());
                size_t length = std::min<size_t>(size_t(rowBytes) * size_t(rows), _stream.size() - dataStart);
                command.args = _stream.substr(_pos + 2, dataStart - _pos - 2);
                command.binary = _stream.substr(dataStart, length);
                size_t after = _stream.find('\n', dataStart + length);
                for (size_t i = dataStart; i < std::min(after, _stream.size()); ++i)
                    _line += _stream[i] == '\n';
                _pos = after == std::string_view::npos ? _stream.size() : after + 1;
                return true;
            }
        }
        _pos = next;
        if (line.find_first_not_of(" \t") == std::string_view::npos || line[0] == ';')
            continue;
        return true;
    }
    return false;
}

std::vector<std::string_view> SplitFields(std::string_view args, size_t count, std::string_view *rest) {
    std::vector<std::string_view> fields;
    size_t pos = 0;
    while (fields.size() < count && pos <= args.size()) {
        size_t comma = args.find(',', pos);
        if (comma == std::string_view::npos) {
            fields.push_back(args.substr(pos));
            pos = args.size() + 1;
            break;
        }
        fields.push_back(args.substr(pos, comma - pos));
        pos = comma + 1;
    }
    if (rest)
        *rest = pos <= args.size() ? args.substr(pos) : std::string_view{};
    return fields;
}

bool ParseNumber(std::string_view text, int64_t &value) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return false;
    int64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = std::min<int64_t>(v * 10 + (c - '0'), 1000000000);
    }
    value = negative ? -v : v;
    return true;
}

DataItems ParseDataField(std::string_view field, std::vector<std::string> &notes) {
    DataItems items;
    size_t i = 0;
    auto digitAt = [&](size_t at) { return at < field.size() && field[at] >= '0' && field[at] <= '9'; };
    while (i < field.size()) {
        char c = field[i];
        if (c == '"') {
            for (++i; i < field.size() && field[i] != '"'; ++i) {
                if (field[i] == '\\' && i + 1 < field.size())
                    ++i;
                items.push_back(static_cast<uint8_t>(field[i]));
            }
            ++i;  // closing quote; a missing one ends the field at the line end
        } else if (c == 'F' && i + 1 < field.size() && field[i + 1] >= '1' && field[i + 1] <= '4') {
            items.push_back(kFnc1 + (field[i + 1] - '1'));
            i += 2;
        } else if (c == 'V' && digitAt(i + 1) && digitAt(i + 2)) {
            notes.push_back("variable " + std::string(field.substr(i, 3)) + " is not filled in");
            i += 3;
        } else if (c == 'C' && digitAt(i + 1)) {
            notes.push_back("counter " + std::string(field.substr(i, 2)) + " is not filled in");
            i += 2;
        } else {
            if (c != ' ' && c != '\t')
                items.push_back(static_cast<uint8_t>(c));
            ++i;
        }
    }
    return items;
}

std::string ItemBytes(const DataItems &items) {
    std::string bytes;
    for (int item : items)
        if (item < 0x100)
            bytes += static_cast<char>(item);
    return bytes;
}

}  // namespace zal::preview
