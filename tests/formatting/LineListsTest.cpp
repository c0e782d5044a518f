#include "formatting/LineLists.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace zal {
namespace {

using Lines = std::vector<std::string>;

// Runs a parser on a table pre-filled with junk; returns the lines as text.
template <std::size_t N, std::size_t M>
Lines Parse(int (*fill)(char (*)[M], char *), const char *list, int &count) {
    char table[N][M];
    for (auto &l : table) std::strcpy(l, "junk");
    std::vector<char> copy;
    if (list != nullptr) copy.assign(list, list + std::strlen(list) + 1);
    count = fill(table, list != nullptr ? copy.data() : nullptr);
    return Lines(std::begin(table), std::end(table));
}
using Parser = Lines (*)(const char *, int &);
const Parser Billing = [](const char *list, int &count) { return Parse<kAddlBillingLines>(FillAddlBillingLines, list, count); };
const Parser Package = [](const char *list, int &count) { return Parse<kPkgInfoLines>(FillPkgInfoLines, list, count); };
const Parser Customer = [](const char *list, int &count) {
    return Parse<kCustomerDataLines>(FillCustomerDataLines, list, count);
};

TEST(LineListsTest, Parsers) {
    const std::string p70(70, 'p');
    const std::string billingLong = "A|" + p70;
    const std::string packageLong = p70 + "|B";
    struct Row { Parser parse; std::string list; int count; Lines lines; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {Billing, "1|2|3|4|5|6|7|8|9|10", 8, {"1", "2", "3", "4", "5", "6", "7", "8"}},
        /*  1*/ {Billing, "|A|", 1, {"A", "", "", "", "", "", "", ""}},
        /*  2*/ {Billing, "", 0, {"", "", "", "", "", "", "", ""}},
        /*  3*/ {Billing, billingLong, 2, {"A", std::string(65, 'p'), "", "", "", "", "", ""}},
        /*  4*/ {Package, "1|2|3|4|5|6|7", 6, {"1", "2", "3", "4", "5", "6"}},
        /*  5*/ {Package, packageLong, 2, {std::string(20, 'p'), "B", "", "", "", ""}},
        /*  6*/ {Customer, "PO # 1|NOTE|REF", 3, {"PO # 1", "NOTE", "REF", "", ""}},
        /*  7*/ {Customer, p70, 1, {std::string(64, 'p'), "", "", "", ""}},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        int count = -1;
        EXPECT_EQ(rows[i].parse(rows[i].list.c_str(), count), rows[i].lines) << "row " << i;
        EXPECT_EQ(count, rows[i].count) << "row " << i;
    }
    int count = -1;
    EXPECT_EQ(Customer(nullptr, count), Lines(5, ""));
    EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace zal
