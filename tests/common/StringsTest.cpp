#include "common/Strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "common/Heap.h"
#include "common/Log.h"
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

using List = std::array<const char *, 4>;  // a null entry ends the list

enum class Op { Append, Copy, Join, JoinKeep };

int Call(Op op, char *buffer, std::size_t size, const List &l) {
    TextList texts = {l[0], l[1], l[2], l[3]};
    switch (op) {
    case Op::Append: return AppendStrings(buffer, size, texts);
    case Op::Copy: return CopyStrings(buffer, size, texts);
    case Op::Join: return JoinWithSeparator(buffer, size, '|', false, texts);
    case Op::JoinKeep: return JoinWithSeparator(buffer, size, '|', true, texts);
    }
    return -1;
}

TEST(StringsTest, AppendFamily) {
    struct Row { Op op; const char *initial; std::size_t size; List texts; int result; const char *expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {Op::Append, "ABCDEF", 10, {"XYZ", "Q"}, 34, "ABCDEFXYZ"},
        /*  1*/ {Op::Append, "ABC", 10, {}, 0, "ABC"},
        /*  2*/ {Op::Append, "", 4, {"AB", "C"}, 0, "ABC"},
        /*  3*/ {Op::Append, "", 4, {"ABCD"}, 34, ""},
        /*  4*/ {Op::Append, "AB", 8, {"X", nullptr, "Y"}, 0, "ABX"},
        /*  5*/ {Op::Append, "ABC", 4, {""}, 34, "ABC"},
        /*  6*/ {Op::Copy, "OLD", 8, {"AB", "CD"}, 0, "ABCD"},
        /*  7*/ {Op::Copy, "OLD", 4, {"ABCD"}, 34, ""},
        /*  8*/ {Op::Copy, "OLD", 8, {"ABCD", "EFGH"}, 34, "ABCD"},
        /*  9*/ {Op::Join, "", 16, {"A", "", "|B", "C|"}, 0, "A|C|"},
        /* 10*/ {Op::JoinKeep, "", 16, {"|B"}, 0, "|B|"},
        /* 11*/ {Op::Join, "X|", 16, {"A"}, 0, "X|A|"},
        /* 12*/ {Op::Join, "", 3, {"AB"}, 34, ""},
        /* 13*/ {Op::Join, "", 4, {"AB"}, 0, "AB|"},
        /* 14*/ {Op::Join, "", 3, {"A|"}, 0, "A|"},
        /* 15*/ {Op::Join, "A|", 5, {"B", "C"}, 34, "A|B|"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        Guarded buffer(row.initial, row.size);
        EXPECT_EQ(Call(row.op, buffer.data(), row.size, row.texts), row.result) << "row " << i;
        EXPECT_EQ(buffer.text(), row.expected) << "row " << i;
        EXPECT_TRUE(buffer.GuardIntact()) << "row " << i;
    }
}

TEST(StringsTest, AppendFamilyRefusesBadArguments) {
    char buffer[8] = "AB";
    EXPECT_EQ(AppendStrings(nullptr, 8, {"A"}), kStrInvalid);
    EXPECT_EQ(CopyStrings(buffer, 0, {"A"}), kStrInvalid);
    EXPECT_EQ(JoinWithSeparator(buffer, 8, '\0', false, {"A"}), kStrInvalid);
    EXPECT_STREQ(buffer, "AB");
}

TEST(StringsTest, PadL) {
    struct Row { const char *text; std::size_t size, width; const char *expected, *error; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"42", 8, 5, "   42", nullptr},
        /*  1*/ {"42", 8, 1, "42", nullptr},
        /*  2*/ {"42", 6, 5, "   42", nullptr},
        /*  3*/ {"42", 4, 4, "42", "PadL failed: size requested (4) is larger than available buffer capacity (3)."},
        /*  4*/ {"42", 0, 5, "42", "PadL failed: size requested (6) is larger than buffer size (0)."},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LogCapture capture;
        Guarded buffer(row.text, row.size);
        PadL(buffer.data(), row.size, row.width);
        EXPECT_EQ(buffer.text(), row.expected) << "row " << i;
        EXPECT_TRUE(buffer.GuardIntact()) << "row " << i;
        EXPECT_EQ(capture.ErrorLines().size(), row.error ? 1u : 0u) << "row " << i;
        if (row.error) {
            EXPECT_TRUE(capture.HasErrorMessage(row.error)) << "row " << i;
        }
    }
}

TEST(StringsTest, CenterText) {
    struct Row { const char *text; std::size_t size, width; const char *expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"AB", 16, 5, " AB  "},
        /*  1*/ {"ABC", 16, 4, " ABC"},
        /*  2*/ {"AB", 16, 6, "  AB  "},
        /*  3*/ {" ABCD\t", 16, 4, "ABCD"},
        /*  4*/ {"ABCDEF", 16, 4, "ABCD"},
        /*  5*/ {"AB", 4, 6, " AB"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Guarded buffer(rows[i].text, rows[i].size);
        CenterText(buffer.data(), rows[i].size, rows[i].width);
        EXPECT_EQ(buffer.text(), rows[i].expected) << "row " << i;
        EXPECT_TRUE(buffer.GuardIntact()) << "row " << i;
    }
}

TEST(StringsTest, TrimWhitespace) {
    struct Row { const char *text; std::size_t maxLength; const char *expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {" \t AB C\r\n\v\f", 32, "AB C"},
        /*  1*/ {"   ", 32, ""},
        /*  2*/ {"", 32, ""},
        /*  3*/ {"AB  CD  ", 4, "AB"},
        /*  4*/ {"ABC", 32, "ABC"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        char text[32];
        std::strcpy(text, rows[i].text);
        EXPECT_EQ(TrimWhitespace(text, rows[i].maxLength), text) << "row " << i;
        EXPECT_STREQ(text, rows[i].expected) << "row " << i;
    }
    EXPECT_EQ(TrimWhitespace(nullptr, 8), nullptr);
}

TEST(StringsTest, EncloseInBrackets) {
    struct Row { const char *text; std::size_t size; bool ok; const char *expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"AB", 8, true, "[AB]"},
        /*  1*/ {"ABCDEFG", 8, true, "[ABCDE]"},
        /*  2*/ {"", 3, true, "[]"},
        /*  3*/ {"A", 2, false, "A"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Guarded buffer(rows[i].text, rows[i].size);
        EXPECT_EQ(EncloseInBrackets(buffer.data(), rows[i].size), rows[i].ok) << "row " << i;
        EXPECT_EQ(buffer.text(), rows[i].expected) << "row " << i;
        EXPECT_TRUE(buffer.GuardIntact()) << "row " << i;
    }
}

TEST(StringsTest, HeapFailuresLeaveTheTextAlone) {
    test::LogCapture capture;
    char text[16] = "42";
    FailNextHeapAllocations(1);
    PadL(text, sizeof text, 5);
    EXPECT_STREQ(text, "42");
    FailNextHeapAllocations(1);
    EXPECT_FALSE(EncloseInBrackets(text, sizeof text));
    EXPECT_STREQ(text, "42");
    FailNextHeapAllocations(1);
    EXPECT_FALSE(IsUsbPortName("USB 1"));
    FailNextHeapAllocations(0);
}

TEST(StringsTest, Filters) {
    char out[40];
    KeepAlphanumeric("a-B 1_2!", out, 3);
    EXPECT_STREQ(out, "aB1");
    KeepAlphanumeric("", out, 3);
    EXPECT_STREQ(out, "");
    KeepAlphanumeric30("0123456789-ABCDEFGHIJ-abcdefghij-XYZ", out);
    EXPECT_STREQ(out, "0123456789ABCDEFGHIJabcdefghij");
    KeepDigits(out, "(555) 123-4567 x");
    EXPECT_STREQ(out, "5551234567");
}

TEST(StringsTest, CopyWithoutChar) {
    struct Row { const char *source; std::size_t size, count; char character; const char *expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"12 345 6", 16, 16, ' ', "123456"},
        /*  1*/ {"ABCDEF", 16, 4, 'X', "ABC"},
        /*  2*/ {"ABCDEF", 4, 16, 'X', "ABC"},
        /*  3*/ {"A-B-C", 16, 3, '-', "AB"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        Guarded buffer("", row.size);
        CopyWithoutChar(buffer.data(), row.size, row.source, row.count, row.character);
        EXPECT_EQ(buffer.text(), row.expected) << "row " << i;
        EXPECT_TRUE(buffer.GuardIntact()) << "row " << i;
    }
}

TEST(StringsTest, NormalizeBlanks) {
    struct Row { std::string text; std::size_t size; std::string expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"12 MAIN St.  #4", 64, "12 MAIN S 4"},
        /*  1*/ {" A  B ", 64, " A B"},
        /*  2*/ {std::string(60, 'A'), 64, std::string(50, 'A')},
        /*  3*/ {"...", 64, ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Guarded buffer(rows[i].text.c_str(), rows[i].size);
        NormalizeBlanks(buffer.data(), rows[i].size);
        EXPECT_EQ(buffer.text(), rows[i].expected) << "row " << i;
        EXPECT_TRUE(buffer.GuardIntact()) << "row " << i;
    }
}

TEST(StringsTest, ReplaceCharAndQuotes) {
    char text[16] = "A\xA0" "B\xA0";
    ReplaceChar(text, text, '\xA0', '\n');
    EXPECT_STREQ(text, "A\nB\n");
    char copy[16] = "#########";
    ReplaceChar(copy, "x-y", '-', '+');
    EXPECT_STREQ(copy, "x+y");
    std::string longText(3000, 'a');
    std::vector<char> out(3001, '#');
    ReplaceChar(out.data(), longText.c_str(), 'a', 'b');
    EXPECT_EQ(std::string(out.data()), std::string(2048, 'b'));

    char quoted[16] = "say \"hi\"";
    QuotesToApostrophes(quoted, 15);
    EXPECT_STREQ(quoted, "say 'hi'");
    QuotesToApostrophes(quoted, 5);
    EXPECT_STREQ(quoted, "say '");
}

TEST(StringsTest, ReplaceAll) {
    struct Row { const char *text; std::size_t size; const char *needle, *replacement; bool ok; const char *expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"a\"b'c", 32, "\"", "\\\"", true, "a\\\"b'c"},
        /*  1*/ {"xx", 32, "x", "yy", true, "yyyy"},
        /*  2*/ {"a\x1D" "b\x1D", 32, "\x1D", "_1D", true, "a_1Db_1D"},
        /*  3*/ {"xab", 5, "x", "yy", true, "yyab"},
        /*  4*/ {"xab", 4, "x", "yy", false, "xab"},
        /*  5*/ {"ab", 32, "", "q", false, "ab"},
        /*  6*/ {"aXbX", 32, "X", "", true, "ab"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        Guarded buffer(row.text, row.size);
        EXPECT_EQ(ReplaceAll(buffer.data(), row.size, row.needle, row.replacement), row.ok) << "row " << i;
        EXPECT_EQ(buffer.text(), row.expected) << "row " << i;
        EXPECT_TRUE(buffer.GuardIntact()) << "row " << i;
    }
}

TEST(StringsTest, InsertThousandsSeparators) {
    struct Row { const char *initial, *amount; std::size_t size; const char *expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"", "1234567.89", 32, "1,234,567.89"},
        /*  1*/ {"", "123.45", 32, "123.45"},
        /*  2*/ {"$", "1234.56", 32, "$1,234.56"},
        /*  3*/ {"", "1234567.89", 5, "1,"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Guarded buffer(rows[i].initial, rows[i].size);
        InsertThousandsSeparators(rows[i].amount, buffer.data(), rows[i].size);
        EXPECT_EQ(buffer.text(), rows[i].expected) << "row " << i;
        EXPECT_TRUE(buffer.GuardIntact()) << "row " << i;
    }
}

TEST(StringsTest, WordWrap) {
    struct Row { const char *text; std::size_t width; const char *expected; int lines; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"ABCDEFGHIJ", 4, "ABCD\nEFGH\nIJ\n", 3},
        /*  1*/ {"ABC DEF", 4, "ABC\nDEF\n", 2},
        /*  2*/ {"AB CDEFG", 4, "AB\nCDEF\nG\n", 3},
        /*  3*/ {"  AB", 4, "AB\n", 1},
        /*  4*/ {"   ", 4, "", 0},
        /*  5*/ {"AB C", 4, "AB\nC\n", 2},
        /*  6*/ {"AB CD", 0, "AB CD", 0},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Guarded buffer(rows[i].text, 32);
        EXPECT_EQ(WordWrap(buffer.data(), 32, rows[i].width), rows[i].lines) << "row " << i;
        EXPECT_EQ(buffer.text(), rows[i].expected) << "row " << i;
    }
    Guarded tight("ABCDEFG", 8);
    EXPECT_EQ(WordWrap(tight.data(), 8, 4), 2);
    EXPECT_EQ(tight.text(), "ABCD\nEF");
    EXPECT_TRUE(tight.GuardIntact());
}

TEST(StringsTest, Predicates) {
    std::string longA = std::string(1023, 'a') + "x";
    std::string longB = std::string(1023, 'A') + "y";
    // clang-format off
    EXPECT_TRUE(IsBlankText(nullptr, 5));
    EXPECT_FALSE(IsBlankText("  x", 5));
    EXPECT_TRUE(IsBlankText("  x", 2));
    EXPECT_FALSE(IsBlankText("\t", 5));

    EXPECT_FALSE(IsDigitsSpacesDashes(nullptr, 5));
    EXPECT_TRUE(IsDigitsSpacesDashes("12-34 5", 9));
    EXPECT_FALSE(IsDigitsSpacesDashes("12a", 3));
    EXPECT_TRUE(IsDigitsSpacesDashes("12a", 2));

    EXPECT_TRUE(EqualsNoCase("abc", "ABC"));
    EXPECT_FALSE(EqualsNoCase("abc", "ABCD"));
    EXPECT_FALSE(EqualsNoCase("\xE4", "\xC4"));  // ASCII letters only
    EXPECT_TRUE(EqualsNoCase(longA.c_str(), longB.c_str()));  // copies hold 1023 characters

    EXPECT_TRUE(IsUsbPortName("usb 001"));
    EXPECT_FALSE(IsUsbPortName("USB001"));
    EXPECT_FALSE(IsUsbPortName("USB"));

    EXPECT_TRUE(IsUPSPR("upsPR"));
    EXPECT_FALSE(IsUPSPR("UPSPR "));

    char text[16] = "ab-Zz1\xE9";
    UpperCase(text);
    EXPECT_STREQ(text, "AB-ZZ1\xE9");
    // clang-format on
}

}  // namespace
}  // namespace zal
