#include "Codabar.h"

#include <cctype>
#include <cstring>

namespace zal::preview {

static const char kAlphabet[] = "0123456789-$:/.+ABCD";

// clang-format off
// Seven elements per character, the first in the highest bit; a set bit is a wide element.
static const unsigned char kPatterns[20] = {
    0x03, 0x06, 0x09, 0x60, 0x12, 0x42, 0x21, 0x24, 0x30, 0x48,
    0x0C, 0x18, 0x45, 0x51, 0x54, 0x15, 0x1A, 0x29, 0x0B, 0x0E,
};
// clang-format on

static int IndexOf(char c) {
    const char *p = c ? std::strchr(kAlphabet, toupper(static_cast<unsigned char>(c))) : nullptr;
    return p ? int(p - kAlphabet) : -1;
}

CodabarSymbol EncodeCodabar(const std::string &data) {
    auto isStartStop = [](char c) { return IndexOf(c) >= 16; };
    std::string chars = data;
    if (chars.size() < 2 || !isStartStop(chars.front()) || !isStartStop(chars.back()))
        chars = "A" + chars + "A";
    CodabarSymbol symbol;
    for (size_t i = 0; i < chars.size(); ++i) {
        int index = IndexOf(chars[i]);
        bool edge = i == 0 || i + 1 == chars.size();
        if (index < 0 || (index >= 16 && !edge)) {
            symbol.skipped = true;
            continue;
        }
        if (!symbol.wide.empty())
            symbol.wide.push_back(false);
        for (int bit = 6; bit >= 0; --bit)
            symbol.wide.push_back(kPatterns[index] >> bit & 1);
        symbol.text += chars[i];
    }
    return symbol;
}

}  // namespace zal::preview
