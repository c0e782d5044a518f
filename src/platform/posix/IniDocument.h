// A profile (INI) file held in memory: its bytes, split into lines and
// read the way GetPrivateProfileStringA reads a file on Windows.
//   * A line ends at CR, LF or CRLF; lines are trimmed of blanks.
//   * "[name]" up to the last ']' is a header; lines before the first
//     header belong to no section.
//   * A key is the text before the first '=', its value the rest.
//   * Names match without regard to ASCII case; the first section block
//     and, inside it, the first key of a name win.
//   * The text is code page 1252 bytes; a UTF-8 BOM is just bytes of line 1.
// Edits change only the lines they touch (header, key line, or the lines
// of a deleted section) and leave every other byte as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zal::platform::posix {

class IniDocument {
public:
    IniDocument() = default;
    explicit IniDocument(std::string text);

    const std::string &text() const { return _text; }

    // The value of key in the first block of section: trimmed, and without
    // a pair of matching quotes around it.  False when the section or the
    // key is missing (a line without '=' has no value).
    bool FindValue(std::string_view section, std::string_view key, std::string_view &value) const;
    // The key names of the first block of section, each followed by a NUL;
    // lines without '=' and names starting with ';' are left out.  False
    // when there is no such section.
    bool KeyList(std::string_view section, std::string &list) const;
    // Every key line of the first block of section, in file order: its name
    // and its value as FindValue gives it.
    template <typename F>
    void ForEachKey(std::string_view section, F each) const;
    // The same over a text that is not kept as a document: one pass, no
    // memory per line (a job file is read once and may be hostile).  False
    // when the text has no such section.
    template <typename F>
    static bool ScanSection(std::string_view text, std::string_view section, F each);
    // The named sections in file order, each followed by a NUL.
    std::string SectionList() const;

    // Sets key to value: replaces the first matching key line, else adds
    // the key after the last line of the section, else appends the section.
    // Each edit returns true when the text changed.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);
    bool DeleteKey(std::string_view section, std::string_view key);
    // Removes the header and every line up to the next header.
    bool DeleteSection(std::string_view section);

    // Blanks around a name or value: space and tab.
    static std::string_view Trim(std::string_view s);
    static bool SameName(std::string_view a, std::string_view b);
    // Names compare with ASCII letters folded to lower case; FNV-1a of the
    // folded name.
    static char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
    static uint32_t FoldedHash(std::string_view name);

    enum class Kind : uint8_t { Blank, Header, Key, Text };
    // One line as the profile calls read it: where it lies, what it is, its
    // header or key name (trimmed) and its key value (trimmed, quotes kept).
    struct ScannedLine {
        std::size_t begin = 0;
        std::size_t end = 0;   // before the line break
        std::size_t next = 0;  // first byte of the next line
        Kind kind = Kind::Blank;
        std::string_view name;
        std::string_view value;
    };
    // Reads the line at pos and moves pos past it; false at the end.
    static bool NextLine(std::string_view text, std::size_t &pos, ScannedLine &line);
    // A key's value without a pair of matching quotes around it.
    static std::string_view Unquoted(std::string_view value);

private:
    struct Line {
        std::size_t begin = 0;  // first byte
        std::size_t end = 0;    // end of the text, before the line break
        std::size_t next = 0;   // first byte of the next line
        Kind kind = Kind::Blank;
        std::size_t nameBegin = 0;  // header name or key name, trimmed
        std::size_t nameSize = 0;
        std::size_t valueBegin = 0;  // key value, trimmed
        std::size_t valueSize = 0;
    };
    struct Section {
        std::size_t header = 0;   // line index of the header
        std::size_t endLine = 0;  // one past its last line
    };
    // Key lines of every section by the hash of their folded name, sorted by
    // (section, hash, line), so a lookup is a binary search instead of a
    // walk over the section (a job reads some 150 keys of one file).
    struct KeyEntry {
        uint32_t section;
        uint32_t hash;
        uint32_t line;
        bool operator<(const KeyEntry &o) const {
            return section != o.section ? section < o.section : hash != o.hash ? hash < o.hash : line < o.line;
        }
    };

    void Parse();
    std::string_view Name(const Line &line) const { return {_text.data() + line.nameBegin, line.nameSize}; }
    // A key line's value, without a pair of matching quotes around it.
    std::string_view Value(const Line &line) const;
    const Section *FindSection(std::string_view name) const;
    const Line *FindKey(const Section &section, std::string_view key) const;
    void Index() const;
    void Replace(std::size_t begin, std::size_t end, std::string_view with);

    std::string _text;
    std::vector<Line> _lines;
    std::vector<Section> _sections;
    mutable std::vector<KeyEntry> _keys;
    mutable bool _indexed = false;
};

// GetPrivateProfileIntA's reading of a value: blanks, a sign, a prefix 0x,
// 0o or 0b, then digits up to the first other character; wraps modulo 2^32.
uint32_t ParseProfileInt(std::string_view value);

template <typename F>
bool IniDocument::ScanSection(std::string_view text, std::string_view section, F each) {
    section = Trim(section);
    std::size_t pos = 0;
    ScannedLine line;
    bool inside = false;
    bool found = false;
    while (NextLine(text, pos, line)) {
        if (line.kind == Kind::Header) {
            if (inside) return true;  // only the first block of the section counts
            inside = SameName(line.name, section);
            found = found || inside;
        } else if (inside && line.kind == Kind::Key) {
            each(line.name, Unquoted(line.value));
        }
    }
    return found;
}

template <typename F>
void IniDocument::ForEachKey(std::string_view section, F each) const {
    const Section *s = FindSection(section);
    if (s == nullptr) return;
    for (std::size_t i = s->header + 1; i < s->endLine; ++i) {
        const Line &line = _lines[i];
        if (line.kind == Kind::Key) each(Name(line), Value(line));
    }
}

}  // namespace zal::platform::posix
