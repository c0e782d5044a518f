#include "Code39.h"

#include <cstring>

namespace zal::preview {

static const char kAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";

// clang-format off
// Nine elements per character, the first in the highest bit; a set bit is a wide element.
static const unsigned short kPatterns[44] = {
    0x034, 0x121, 0x061, 0x160, 0x031, 0x130, 0x070, 0x025, 0x124, 0x064,
    0x109, 0x049, 0x148, 0x019, 0x118, 0x058, 0x00D, 0x10C, 0x04C, 0x01C,
    0x103, 0x043, 0x142, 0x013, 0x112, 0x052, 0x007, 0x106, 0x046, 0x016,
    0x181, 0x0C1, 0x1C0, 0x091, 0x190, 0x0D0, 0x085, 0x184, 0x0C4, 0x0A8,
    0x0A2, 0x08A, 0x02A,
    0x094, // "*"
};

// Full ASCII pairs for the characters 0..127 that the 43 lack ("" where a character stands for itself).
static const char* const kFullAscii[128] = {
    "%U", "$A", "$B", "$C", "$D", "$E", "$F", "$G", "$H", "$I", "$J", "$K", "$L", "$M", "$N", "$O",
    "$P", "$Q", "$R", "$S", "$T", "$U", "$V", "$W", "$X", "$Y", "$Z", "%A", "%B", "%C", "%D", "%E",
    "",   "/A", "/B", "/C", "/D", "/E", "/F", "/G", "/H", "/I", "/J", "/K", "/L", "",   "",   "/O",
    "",   "",   "",   "",   "",   "",   "",   "",   "",   "",   "/Z", "%F", "%G", "%H", "%I", "%J",
    "%V", "",   "",   "",   "",   "",   "",   "",   "",   "",   "",   "",   "",   "",   "",   "",
    "",   "",   "",   "",   "",   "",   "",   "",   "",   "",   "",   "%K", "%L", "%M", "%N", "%O",
    "%W", "+A", "+B", "+C", "+D", "+E", "+F", "+G", "+H", "+I", "+J", "+K", "+L", "+M", "+N", "+O",
    "+P", "+Q", "+R", "+S", "+T", "+U", "+V", "+W", "+X", "+Y", "+Z", "%P", "%Q", "%R", "%S", "%T",
};
// clang-format on

static int IndexOf(char c) {
    const char *p = c ? std::strchr(kAlphabet, c) : nullptr;
    return p ? int(p - kAlphabet) : -1;
}

static void Append(Code39Symbol &symbol, int index) {
    if (!symbol.wide.empty())
        symbol.wide.push_back(false);  // gap between characters
    for (int bit = 8; bit >= 0; --bit)
        symbol.wide.push_back(kPatterns[index] >> bit & 1);
}

Code39Symbol EncodeCode39(const std::string &data, bool checkDigit) {
    bool standard = true;
    for (char c : data)
        standard &= IndexOf(c) >= 0;

    std::string chars;
    Code39Symbol symbol;
    for (char c : data) {
        auto byte = static_cast<unsigned char>(c);
        if (standard)
            chars += c;
        else if (byte < 128)
            chars += *kFullAscii[byte] ? kFullAscii[byte] : std::string(1, c);
        else
            symbol.skipped = true;
        if (byte < 128)
            symbol.text += c;
    }
    if (checkDigit) {
        int sum = 0;
        for (char c : chars)
            sum += IndexOf(c);
        chars += kAlphabet[sum % 43];
    }
    Append(symbol, 43);
    for (char c : chars)
        Append(symbol, IndexOf(c));
    Append(symbol, 43);
    return symbol;
}

}  // namespace zal::preview
