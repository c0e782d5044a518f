#include "formatting/PdfData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "support/LabelFixture.h"

namespace zal {
namespace {

// One piece: prefix, literal text, key, maximum length, separator after it.
struct Piece { const char *prefix; const char *text; const char *key; int32_t maxLength; const char *suffix; };

const char *const kJob =
    "PDFCity=Atlanta Georgia\n"
    "PDFTabbed=A\tB\n"
    "PDFPay=123456789\n"
    "PDFEmpty=\n";

constexpr const char *RS = "\x1E";
constexpr const char *GS = "\x1D";
constexpr const char *FS = "\x1C";

std::vector<PdfDataEntry> Entries(const std::vector<Piece> &pieces, const JobFile &job) {
    std::vector<PdfDataEntry> entries(pieces.size());
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Piece &p = pieces[i];
        EXPECT_TRUE(FillPDFData(&entries[i], p.prefix, p.text, p.maxLength, p.key, p.suffix, job));
    }
    return entries;
}

TEST(PdfDataTest, ProcessPDF417Data) {
    struct Row { std::vector<Piece> pieces; const char *initial; std::size_t size; bool ok; std::string expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {{{"10Z", "ED007", "", 6, GS}}, "", 64, true, "10ZED007\x1D"},
        /*  1*/ {{{"", "ABCDEFGH", "", 3, RS}}, "", 64, true, "ABC\x1E"},
        /*  2*/ {{{"", "ABC", "", 0, GS}}, "", 64, true, "\x1D"},
        // key values come unclean and cut to the maximum
        /*  3*/ {{{"17Z", "", "PDFCity", 7, GS}}, "", 64, true, "17ZAtlanta\x1D"},
        /*  4*/ {{{"", "", "PDFTabbed", 30, ""}}, "", 64, true, "A\tB"},
        /*  5*/ {{{"12Z", "", "PDFMissing", 14, GS}, {"", "N", "", 1, RS}}, "", 64, true, "12Z\x1DN\x1E"},
        // appended to what the destination holds
        /*  6*/ {{{"", "06", "", 2, GS}}, "[)>\x1E", 64, true, "[)>\x1E" "06\x1D"},
        // exactly full, then one byte too many: the earlier pieces stay
        /*  7*/ {{{"", "ABCD", "", 4, GS}}, "", 6, true, "ABCD\x1D"},
        /*  8*/ {{{"", "ABCD", "", 4, GS}, {"", "E", "", 1, ""}}, "", 6, false, "ABCD\x1D"},
        /*  9*/ {{{"", "ABCDE", "", 5, GS}}, "", 6, false, "ABCDE"},
        /* 10*/ {{}, "X", 2, true, "X"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LabelJob job(kJob);
        auto entries = Entries(row.pieces, job.file);
        std::string buffer(row.size + 4, '#');
        std::copy(row.initial, row.initial + std::strlen(row.initial) + 1, buffer.begin());
        EXPECT_EQ(ProcessPDF417Data(entries.data(), static_cast<int>(entries.size()), buffer.data(), row.size),
                  row.ok) << "row " << i;
        EXPECT_EQ(std::string(buffer.c_str()), row.expected) << "row " << i;
        EXPECT_EQ(buffer.substr(row.size), "####") << "row " << i;
    }
}

TEST(PdfDataTest, FillPDFDataCutsToTheFields) {
    PdfDataEntry entry;
    std::string longText(150, 'T');
    const JobFile job("job.ini");
    ASSERT_TRUE(FillPDFData(&entry, "PREFIX-ABCDEF", longText.c_str(), 100, nullptr, "SUFFIX-ABCDEF", job));
    EXPECT_STREQ(entry.Prefix, "PREFIX-ABC");
    EXPECT_EQ(std::string(entry.Text), std::string(100, 'T'));
    EXPECT_STREQ(entry.Suffix, "SUFFIX-ABC");
    EXPECT_STREQ(entry.KeyName, "");
    EXPECT_EQ(entry.Job, &job);
    EXPECT_EQ(entry.MaxLength, 100);
    EXPECT_FALSE(FillPDFData(nullptr, "", "", 0, "", "", job));
}

TEST(PdfDataTest, RemoveBlankPDFEntries) {
    struct Row { std::vector<Piece> pieces; std::string expected; };
    // clang-format off
    const Row rows[] = {
        // RS always stays
        /*  0*/ {{{"", "", "PDFEmpty", 5, RS}}, "\x1E"},
        // FS: cleared unless the next entry carries something; its GS partner follows suit
        /*  1*/ {{{"18Z", "", "PDFMissing", 9, FS}, {"", "", "", 2, GS}}, ""},
        /*  2*/ {{{"18Z", "", "PDFMissing", 9, FS}, {"", "01", "", 2, GS}}, "18Z\x1C" "01\x1D"},
        /*  3*/ {{{"18Z", "", "PDFPay", 9, FS}, {"", "", "PDFEmpty", 2, GS}}, "18Z123456789\x1C\x1D"},
        /*  4*/ {{{"20Z", "", "PDFEmpty", 9, FS}}, ""},
        // GS: cleared unless it follows an FS
        /*  5*/ {{{"11Z", "", "PDFMissing", 30, GS}}, ""},
        /*  6*/ {{{"", "X", "", 1, GS}, {"12Z", "", "PDFEmpty", 14, GS}, {"", "", "", 0, RS}}, "X\x1D\x1E"},
        // entries that carry something and other separators stay
        /*  7*/ {{{"10Z", "ED007", "", 6, GS}}, "10ZED007\x1D"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::LabelJob job(kJob);
        auto entries = Entries(rows[i].pieces, job.file);
        ASSERT_TRUE(RemoveBlankPDFEntries(entries.data(), static_cast<int>(entries.size()))) << "row " << i;
        char message[128] = "";
        ASSERT_TRUE(ProcessPDF417Data(entries.data(), static_cast<int>(entries.size()), message, sizeof message));
        EXPECT_EQ(std::string(message), rows[i].expected) << "row " << i;
    }
}

}  // namespace
}  // namespace zal
