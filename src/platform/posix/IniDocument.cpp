#include "platform/posix/IniDocument.h"

#include <algorithm>
#include <utility>

namespace zal::platform::posix {
namespace {

// Line breaks the profile functions write, whatever the file uses.
constexpr std::string_view kBreak = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

uint32_t IniDocument::FoldedHash(std::string_view name) {
    uint32_t h = 2166136261u;
    for (char c : name) {
        h ^= static_cast<unsigned char>(Fold(c));
        h *= 16777619u;
    }
    return h;
}

std::string_view IniDocument::Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool IniDocument::SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Fold(a[i]) != Fold(b[i])) return false;
    }
    return true;
}

IniDocument::IniDocument(std::string text) : _text(std::move(text)) { Parse(); }

bool IniDocument::NextLine(std::string_view text, std::size_t &pos, ScannedLine &line) {
    const char *data = text.data();
    const std::size_t size = text.size();
    if (pos >= size) return false;
    line = ScannedLine{};
    line.begin = pos;
    std::size_t end = pos;
    while (end < size && data[end] != '\r' && data[end] != '\n') ++end;
    line.end = end;
    line.next = end;
    if (end < size) {
        bool crlf = data[end] == '\r' && end + 1 < size && data[end + 1] == '\n';
        line.next = end + (crlf ? 2 : 1);
    }
    pos = line.next;
    std::string_view body = Trim(text.substr(line.begin, line.end - line.begin));
    if (body.empty()) {
        line.kind = Kind::Blank;
    } else if (body.front() == '[' && body.rfind(']') != std::string_view::npos) {
        line.kind = Kind::Header;
        line.name = Trim(body.substr(1, body.rfind(']') - 1));
    } else if (std::size_t eq = body.find('='); eq != std::string_view::npos) {
        line.kind = Kind::Key;
        line.name = Trim(body.substr(0, eq));
        line.value = Trim(body.substr(eq + 1));
    } else {
        line.kind = Kind::Text;
    }
    return true;
}

std::string_view IniDocument::Unquoted(std::string_view value) { return Unquote(value); }

void IniDocument::Parse() {
    _lines.clear();
    _sections.clear();
    const char *data = _text.data();
    std::size_t pos = 0;
    ScannedLine scanned;
    while (NextLine(_text, pos, scanned)) {
        Line line;
        line.begin = scanned.begin;
        line.end = scanned.end;
        line.next = scanned.next;
        line.kind = scanned.kind;
        if (scanned.kind == Kind::Header || scanned.kind == Kind::Key) {
            line.nameBegin = static_cast<std::size_t>(scanned.name.data() - data);
            line.nameSize = scanned.name.size();
        }
        if (scanned.kind == Kind::Key) {
            line.valueBegin = static_cast<std::size_t>(scanned.value.data() - data);
            line.valueSize = scanned.value.size();
        }
        if (line.kind == Kind::Header) {
            if (!_sections.empty()) _sections.back().endLine = _lines.size();
            _sections.push_back({_lines.size(), 0});
        }
        _lines.push_back(line);
    }
    if (!_sections.empty()) _sections.back().endLine = _lines.size();
    _keys.clear();
    _indexed = false;
}

const IniDocument::Section *IniDocument::FindSection(std::string_view name) const {
    name = Trim(name);
    for (const Section &section : _sections) {
        if (SameName(Name(_lines[section.header]), name)) return &section;
    }
    return nullptr;
}

// The key index is made at the first look-up: a reader that walks the
// keys itself (ProfileSection) never pays for it.
void IniDocument::Index() const {
    if (_indexed) return;
    for (std::size_t s = 0; s < _sections.size(); ++s) {
        for (std::size_t i = _sections[s].header + 1; i < _sections[s].endLine; ++i) {
            if (_lines[i].kind != Kind::Key) continue;
            _keys.push_back({static_cast<uint32_t>(s), FoldedHash(Name(_lines[i])), static_cast<uint32_t>(i)});
        }
    }
    std::sort(_keys.begin(), _keys.end());
    _indexed = true;
}

const IniDocument::Line *IniDocument::FindKey(const Section &section, std::string_view key) const {
    Index();
    key = Trim(key);
    const KeyEntry probe{static_cast<uint32_t>(&section - _sections.data()), FoldedHash(key), 0};
    // Entries of equal hash come in line order: the first name that matches
    // is the first key of that name in the section.
    for (auto it = std::lower_bound(_keys.begin(), _keys.end(), probe);
         it != _keys.end() && it->section == probe.section && it->hash == probe.hash; ++it) {
        if (SameName(Name(_lines[it->line]), key)) return &_lines[it->line];
    }
    return nullptr;
}

std::string_view IniDocument::Value(const Line &line) const {
    return Unquote(std::string_view(_text.data() + line.valueBegin, line.valueSize));
}

bool IniDocument::FindValue(std::string_view section, std::string_view key, std::string_view &value) const {
    const Section *s = FindSection(section);
    const Line *line = s != nullptr ? FindKey(*s, key) : nullptr;
    if (line == nullptr) return false;
    value = Value(*line);
    return true;
}

bool IniDocument::KeyList(std::string_view section, std::string &list) const {
    list.clear();
    const Section *s = FindSection(section);
    if (s == nullptr) return false;
    for (std::size_t i = s->header + 1; i < s->endLine; ++i) {
        const Line &line = _lines[i];
        std::string_view name = Name(line);
        if (line.kind != Kind::Key || (!name.empty() && name.front() == ';')) continue;
        list.append(name);
        list.push_back('\0');
    }
    return true;
}

std::string IniDocument::SectionList() const {
    std::string list;
    for (const Section &section : _sections) {
        std::string_view name = Name(_lines[section.header]);
        // "[]" cannot be listed: its NUL would end the list.
        if (name.empty()) continue;
        list.append(name);
        list.push_back('\0');
    }
    return list;
}

void IniDocument::Replace(std::size_t begin, std::size_t end, std::string_view with) {
    _text.replace(begin, end - begin, with.data(), with.size());
    Parse();
}

bool IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    key = Trim(key);
    const Section *s = FindSection(section);
    if (s == nullptr) {
        std::string added;
        if (!_text.empty() && _text.back() != '\r' && _text.back() != '\n') added = kBreak;
        added.append("[").append(Trim(section)).append("]").append(kBreak);
        added.append(key).append("=").append(value).append(kBreak);
        Replace(_text.size(), _text.size(), added);
        return true;
    }
    if (const Line *line = FindKey(*s, key)) {
        // The file's spelling of the key stays.
        std::string text(Name(*line));
        text.append("=").append(value);
        if (std::string_view(_text.data() + line->begin, line->end - line->begin) == text) return false;
        Replace(line->begin, line->end, text);
        return true;
    }
    // After the last line of the section that is not blank, so that blank
    // lines before the next header stay where they are.
    std::size_t last = s->header;
    for (std::size_t i = s->header + 1; i < s->endLine; ++i) {
        if (_lines[i].kind != Kind::Blank) last = i;
    }
    const Line &after = _lines[last];
    std::string added;
    if (after.next == after.end) added = kBreak;  // the last line of a file without a final break
    added.append(key).append("=").append(value).append(kBreak);
    Replace(after.next, after.next, added);
    return true;
}

bool IniDocument::DeleteKey(std::string_view section, std::string_view key) {
    const Section *s = FindSection(section);
    const Line *line = s != nullptr ? FindKey(*s, key) : nullptr;
    if (line == nullptr) return false;
    Replace(line->begin, line->next, {});
    return true;
}

bool IniDocument::DeleteSection(std::string_view section) {
    const Section *s = FindSection(section);
    if (s == nullptr) return false;
    std::size_t end = s->endLine < _lines.size() ? _lines[s->endLine].begin : _text.size();
    Replace(_lines[s->header].begin, end, {});
    return true;
}

uint32_t ParseProfileInt(std::string_view value) {
    std::size_t i = 0;
    while (i < value.size() && static_cast<unsigned char>(value[i]) <= ' ') ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
    uint32_t base = 10;
    if (i + 1 < value.size() && value[i] == '0') {
        char prefix = value[i + 1];
        base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
        if (base != 10) i += 2;
    }
    uint32_t total = 0;
    for (; i < value.size(); ++i) {
        char c = value[i];
        uint32_t digit = c >= '0' && c <= '9'   ? static_cast<uint32_t>(c - '0')
                         : c >= 'a' && c <= 'z' ? static_cast<uint32_t>(c - 'a' + 10)
                         : c >= 'A' && c <= 'Z' ? static_cast<uint32_t>(c - 'A' + 10)
                                                : 99u;
        if (digit >= base) break;
        total = total * base + digit;
    }
    return negative ? 0u - total : total;
}

}  // namespace zal::platform::posix
