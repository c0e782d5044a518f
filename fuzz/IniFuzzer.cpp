// The INI reader and writer of the Linux profile calls.  The input is
//   SECTION '\n' KEY '\n' VALUE '\0' TEXT
// (without a NUL, all of it is the text and the edit is Begin/Carrier/FUZZ;
// a NUL in the text reads as byte 1).
// Checked on every input:
//   * the one-pass scan of a job file finds the same keys and values as the
//     document's own walk, section by section;
//   * a look-up finds the first key of a name in the section's first block;
//   * what SetValue writes reads back, and no other key's value moves.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/posix/IniDocument.h"

using zal::platform::posix::IniDocument;

namespace {

// A broken rule names itself before the abort that libFuzzer reports.
void Fail(const char *rule, int line) {
    std::fprintf(stderr, "%s:%d: %s\n", __FILE__, line, rule);
    std::abort();
}
#define CHECK(rule) ((rule) ? (void)0 : Fail(#rule, __LINE__))

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs Walk(const IniDocument &doc, std::string_view section) {
    Pairs pairs;
    doc.ForEachKey(section, [&](std::string_view n, std::string_view v) { pairs.emplace_back(n, v); });
    return pairs;
}

std::vector<std::string> Sections(const IniDocument &doc) {
    std::vector<std::string> names;
    const std::string list = doc.SectionList();
    for (std::size_t at = 0; at < list.size(); at = list.find('\0', at) + 1) names.emplace_back(list.c_str() + at);
    return names;
}

// What the profile call finds for a key, as the pairs of the walk tell it.
const std::string *FirstOf(const Pairs &pairs, std::string_view key) {
    for (const auto &pair : pairs) {
        if (IniDocument::SameName(pair.first, IniDocument::Trim(key))) return &pair.second;
    }
    return nullptr;
}

void CheckReads(const IniDocument &doc) {
    for (const std::string &section : Sections(doc)) {
        const Pairs walked = Walk(doc, section);
        Pairs scanned;
        const bool found = IniDocument::ScanSection(doc.text(), section, [&](std::string_view n, std::string_view v) {
            scanned.emplace_back(n, v);
        });
        CHECK(found);
        CHECK(scanned == walked);
        for (const auto &pair : walked) {
            std::string_view value;
            CHECK(doc.FindValue(section, pair.first, value));
            CHECK(value == *FirstOf(walked, pair.first));
            (void)zal::platform::posix::ParseProfileInt(value);
        }
        std::string keys;
        CHECK(doc.KeyList(section, keys));
    }
}

bool Writable(std::string_view text) { return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos; }

// A key and section the profile writer can put in a file and find again: a
// key line is not a header, and a key holds no '='.
bool Representable(std::string_view section, std::string_view key, std::string_view value) {
    std::string_view name = IniDocument::Trim(key);
    return Writable(section) && Writable(key) && Writable(value) && !name.empty() && name.front() != '[' &&
           name.find('=') == std::string_view::npos && !IniDocument::Trim(section).empty();
}

void CheckWrite(const IniDocument &before, std::string_view section, std::string_view key, std::string_view value) {
    if (!Representable(section, key, value)) return;
    IniDocument after(before.text());
    after.SetValue(section, key, value);
    // The written value reads back as the reader gives any value: trimmed,
    // a pair of quotes around it removed.
    std::string_view expected = IniDocument::Trim(value);
    if (expected.size() >= 2 && (expected.front() == '"' || expected.front() == '\'') && expected.back() == expected.front())
        expected = expected.substr(1, expected.size() - 2);
    std::string_view read;
    CHECK(after.FindValue(section, key, read));
    CHECK(read == expected);
    // From the text alone, as the next process reads the file.
    IniDocument reread(after.text());
    CHECK(reread.FindValue(section, key, read));
    CHECK(read == expected);
    // Every other key reads as before.
    for (const std::string &name : Sections(before)) {
        for (const auto &pair : Walk(before, name)) {
            if (IniDocument::SameName(name, IniDocument::Trim(section)) &&
                IniDocument::SameName(pair.first, IniDocument::Trim(key)))
                continue;
            std::string_view was, now;
            CHECK(before.FindValue(name, pair.first, was));
            CHECK(reread.FindValue(name, pair.first, now));
            CHECK(was == now);
        }
    }
    CheckReads(reread);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string_view input(reinterpret_cast<const char *>(data), size);
    std::string_view section = "Begin", key = "Carrier", value = "FUZZ", text = input;
    if (std::size_t nul = input.find('\0'); nul != std::string_view::npos) {
        std::string_view edit = input.substr(0, nul);
        text = input.substr(nul + 1);
        std::size_t a = edit.find('\n');
        std::size_t b = a == std::string_view::npos ? a : edit.find('\n', a + 1);
        if (b == std::string_view::npos) return 0;
        section = edit.substr(0, a);
        key = edit.substr(a + 1, b - a - 1);
        value = edit.substr(b + 1);
    }
    // The profile calls take names as C strings: a NUL in the text would cut
    // a name short, so the text has none.
    std::string bytes(text);
    for (char &c : bytes) {
        if (c == '\0') c = '\x01';
    }
    IniDocument doc{std::move(bytes)};
    CheckReads(doc);
    CheckWrite(doc, section, key, value);
    return 0;
}
