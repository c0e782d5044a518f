#include "common/Strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "common/Heap.h"
#include "support/TestSupport.h"

namespace zal {
namespace {

// A buffer of `size` bytes followed by guard bytes that must survive (the
// guard moves behind an initial text that is longer than the buffer).
class Guarded {
public:
    Guarded(const char *text, std::size_t size)
        : _size(std::max(size, std::strlen(text) + 1)), _bytes(_size + kGuard, '#') {
        std::memcpy(_bytes.data(), text, std::strlen(text) + 1);
    }
    char *data() { return _bytes.data(); }
    std::string text() const { return std::string(_bytes.data()); }
    bool GuardIntact() const { return std::string(_bytes.data() + _size, kGuard) == std::string(kGuard, '#'); }

private:
    static constexpr std::size_t kGuard = 8;
    std::size_t _size;
    std::vector<char> _bytes;
};

// An edit of buffer b of n bytes and its result (0 for the routines without one).
using Edit = std::function<int(char *b, std::size_t n)>;
#define RESULT(call) [](char *b, std::size_t n) { return static_cast<int>(call); }
#define EDIT(call) [](char *b, std::size_t n) { (void)n, (void)(call); return 0; }

// Every edit stays inside its buffer.
TEST(StringsTest, EditsInTheirBuffer) {
    struct Row { const char *initial; std::size_t size; Edit edit; int result; const char *expected; };
    // clang-format off
    const Row rows[] = {
        // appending, copying and joining whole texts: 34 when one does not fit
        /*  0*/ {"ABCDEF", 10, RESULT(AppendStrings(b, n, {"XYZ", "Q"})),          34, "ABCDEFXYZ"},
        /*  1*/ {"",        4, RESULT(AppendStrings(b, n, {"AB", "C"})),           0,  "ABC"},
        /*  2*/ {"",        4, RESULT(AppendStrings(b, n, {"ABCD"})),              34, ""},
        /*  3*/ {"AB",      8, RESULT(AppendStrings(b, n, {"X", nullptr, "Y"})),   0,  "ABX"},
        /*  4*/ {"ABC",     4, RESULT(AppendStrings(b, n, {""})),                  34, "ABC"},
        /*  5*/ {"OLD",     4, RESULT(CopyStrings(b, n, {"ABCD"})),                34, ""},
        /*  6*/ {"OLD",     8, RESULT(CopyStrings(b, n, {"ABCD", "EFGH"})),        34, "ABCD"},
        /*  7*/ {"",       16, RESULT(JoinWithSeparator(b, n, '|', false, {"A", "", "|B", "C|"})), 0, "A|C|"},
        /*  8*/ {"",       16, RESULT(JoinWithSeparator(b, n, '|', true, {"|B"})), 0,  "|B|"},
        /*  9*/ {"X|",     16, RESULT(JoinWithSeparator(b, n, '|', false, {"A"})), 0,  "X|A|"},
        /* 10*/ {"",        3, RESULT(JoinWithSeparator(b, n, '|', false, {"AB"})), 34, ""},
        /* 11*/ {"",        3, RESULT(JoinWithSeparator(b, n, '|', false, {"A|"})), 0,  "A|"},
        /* 12*/ {"A|",      5, RESULT(JoinWithSeparator(b, n, '|', false, {"B", "C"})), 34, "A|B|"},
        // padding and centring
        /* 13*/ {"42",      6, EDIT(PadL(b, n, 5)),        0, "   42"},
        /* 14*/ {"42",      8, EDIT(PadL(b, n, 1)),        0, "42"},
        /* 15*/ {"42",      4, EDIT(PadL(b, n, 4)),        0, "42"},
        /* 16*/ {"42",      0, EDIT(PadL(b, n, 5)),        0, "42"},
        /* 17*/ {"AB",     16, EDIT(CenterText(b, n, 5)),  0, " AB  "},
        /* 18*/ {" ABCD\t",16, EDIT(CenterText(b, n, 4)),  0, "ABCD"},
        /* 19*/ {"ABCDEF", 16, EDIT(CenterText(b, n, 4)),  0, "ABCD"},
        /* 20*/ {"AB",      4, EDIT(CenterText(b, n, 6)),  0, " AB"},
        /* 21*/ {" \t AB C\r\n\v\f", 16, EDIT(TrimWhitespace(b, 32)), 0, "AB C"},
        /* 22*/ {"AB  CD  ",16, EDIT(TrimWhitespace(b, 4)), 0, "AB"},
        /* 23*/ {"ABCDEFG", 8, RESULT(EncloseInBrackets(b, n)), 1, "[ABCDE]"},
        /* 24*/ {"",        3, RESULT(EncloseInBrackets(b, n)), 1, "[]"},
        /* 25*/ {"A",       2, RESULT(EncloseInBrackets(b, n)), 0, "A"},
        // filters and replacements
        /* 26*/ {"",       16, EDIT(CopyWithoutChar(b, n, "12 345 6", 16, ' ')), 0, "123456"},
        /* 27*/ {"",       16, EDIT(CopyWithoutChar(b, n, "ABCDEF", 4, 'X')),    0, "ABC"},
        /* 28*/ {"",        4, EDIT(CopyWithoutChar(b, n, "ABCDEF", 16, 'X')),   0, "ABC"},
        /* 29*/ {"12 MAIN St.  #4", 64, EDIT(NormalizeBlanks(b, n)), 0, "12 MAIN S 4"},
        /* 30*/ {" A  B ", 64, EDIT(NormalizeBlanks(b, n)), 0, " A B"},
        /* 31*/ {"...",    64, EDIT(NormalizeBlanks(b, n)), 0, ""},
        /* 32*/ {"a\"b'c", 32, RESULT(ReplaceAll(b, n, "\"", "\\\"")), 1, "a\\\"b'c"},
        /* 33*/ {"xab",     5, RESULT(ReplaceAll(b, n, "x", "yy")),     1, "yyab"},
        /* 34*/ {"xab",     4, RESULT(ReplaceAll(b, n, "x", "yy")),     0, "xab"},
        /* 35*/ {"ab",     32, RESULT(ReplaceAll(b, n, "", "q")),       0, "ab"},
        /* 36*/ {"aXbX",   32, RESULT(ReplaceAll(b, n, "X", "")),       1, "ab"},
        /* 37*/ {"say \"hi\"", 16, EDIT(QuotesToApostrophes(b, 15)),    0, "say 'hi'"},
        /* 38*/ {"",       32, EDIT(InsertThousandsSeparators("1234567.89", b, n)), 0, "1,234,567.89"},
        /* 39*/ {"$",      32, EDIT(InsertThousandsSeparators("1234.56", b, n)),    0, "$1,234.56"},
        /* 40*/ {"",        5, EDIT(InsertThousandsSeparators("1234567.89", b, n)), 0, "1,"},
        // word wrap: the number of lines
        /* 41*/ {"ABCDEFGHIJ", 32, RESULT(WordWrap(b, n, 4)), 3, "ABCD\nEFGH\nIJ\n"},
        /* 42*/ {"AB CDEFG",   32, RESULT(WordWrap(b, n, 4)), 3, "AB\nCDEF\nG\n"},
        /* 43*/ {"  AB",       32, RESULT(WordWrap(b, n, 4)), 1, "AB\n"},
        /* 44*/ {"   ",        32, RESULT(WordWrap(b, n, 4)), 0, ""},
        /* 45*/ {"AB CD",      32, RESULT(WordWrap(b, n, 0)), 0, "AB CD"},
        /* 46*/ {"ABCDEFG",     8, RESULT(WordWrap(b, n, 4)), 2, "ABCD\nEF"},
    };
    // clang-format on
    test::LogCapture capture;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        Guarded buffer(row.initial, row.size);
        EXPECT_EQ(row.edit(buffer.data(), row.size), row.result) << "row " << i;
        EXPECT_EQ(buffer.text(), row.expected) << "row " << i;
        EXPECT_TRUE(buffer.GuardIntact()) << "row " << i;
    }
}

TEST(StringsTest, BadArgumentsAndHeapFailuresLeaveTheTextAlone) {
    char buffer[8] = "AB";
    EXPECT_EQ(AppendStrings(nullptr, 8, {"A"}), kStrInvalid);
    EXPECT_EQ(CopyStrings(buffer, 0, {"A"}), kStrInvalid);
    EXPECT_EQ(JoinWithSeparator(buffer, 8, '\0', false, {"A"}), kStrInvalid);
    EXPECT_EQ(TrimWhitespace(nullptr, 8), nullptr);
    test::LogCapture capture;
    FailNextHeapAllocations(1);
    PadL(buffer, sizeof buffer, 5);
    FailNextHeapAllocations(1);
    EXPECT_FALSE(EncloseInBrackets(buffer, sizeof buffer));
    FailNextHeapAllocations(1);
    EXPECT_FALSE(IsUsbPortName("USB 1"));
    FailNextHeapAllocations(0);
    EXPECT_STREQ(buffer, "AB");
}

TEST(StringsTest, CopiesBetweenTexts) {
    char out[40];
    KeepAlphanumeric("a-B 1_2!", out, 3);
    EXPECT_STREQ(out, "aB1");
    KeepDigits(out, "(555) 123-4567 x");
    EXPECT_STREQ(out, "5551234567");
    char text[16] = "A\xA0" "B\xA0";
    ReplaceChar(text, text, '\xA0', '\n');
    EXPECT_STREQ(text, "A\nB\n");
    std::vector<char> cut(3001, '#');
    ReplaceChar(cut.data(), std::string(3000, 'a').c_str(), 'a', 'b');
    EXPECT_EQ(std::string(cut.data()), std::string(2048, 'b'));
}

TEST(StringsTest, Predicates) {
    const std::string longA = std::string(1023, 'a') + "x", longB = std::string(1023, 'A') + "y";
    // clang-format off
    const struct { bool value, expected; } rows[] = {
        /*  0*/ {IsBlankText(nullptr, 5), true},
        /*  1*/ {IsBlankText("  x", 5), false},
        /*  2*/ {IsBlankText("  x", 2), true},
        /*  3*/ {IsBlankText("\t", 5), false},
        /*  4*/ {IsDigitsSpacesDashes(nullptr, 5), false},
        /*  5*/ {IsDigitsSpacesDashes("12-34 5", 9), true},
        /*  6*/ {IsDigitsSpacesDashes("12a", 3), false},
        /*  7*/ {IsDigitsSpacesDashes("12a", 2), true},
        /*  8*/ {EqualsNoCase("abc", "ABC"), true},
        /*  9*/ {EqualsNoCase("abc", "ABCD"), false},
        /* 10*/ {EqualsNoCase("\xE4", "\xC4"), false},                // ASCII letters only
        /* 11*/ {EqualsNoCase(longA.c_str(), longB.c_str()), true},  // copies hold 1023 characters
        /* 12*/ {IsUsbPortName("usb 001"), true},
        /* 13*/ {IsUsbPortName("USB001"), false},
        /* 14*/ {IsUsbPortName("USB"), false},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(rows[i].value, rows[i].expected) << "row " << i;
    char text[16] = "ab-Zz1\xE9";
    UpperCase(text);
    EXPECT_STREQ(text, "AB-ZZ1\xE9");
}

}  // namespace
}  // namespace zal
