#include "formatting/LineLists.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>


namespace zal {
namespace {

enum class List { Billing, Package, Customer };

// Runs a parser on tables pre-filled with junk; returns the lines as text.
int Parse(List which, const char *list, std::vector<std::string> &lines) {
    char billing[kAddlBillingLines][kAddlBillingLineSize];
    char package[kPkgInfoLines][kPkgInfoLineSize];
    char customer[kCustomerDataLines][kCustomerDataLineSize];
    for (auto &l : billing) std::strcpy(l, "junk");
    for (auto &l : package) std::strcpy(l, "junk");
    for (auto &l : customer) std::strcpy(l, "junk");
    std::vector<char> copy;
    if (list != nullptr) copy.assign(list, list + std::strlen(list) + 1);
    char *text = list != nullptr ? copy.data() : nullptr;
    int count = 0;
    lines.clear();
    switch (which) {
    case List::Billing:
        count = FillAddlBillingLines(billing, text);
        for (auto &l : billing) lines.emplace_back(l);
        break;
    case List::Package:
        count = FillPkgInfoLines(package, text);
        for (auto &l : package) lines.emplace_back(l);
        break;
    case List::Customer:
        count = FillCustomerDataLines(customer, text);
        for (auto &l : customer) lines.emplace_back(l);
        break;
    }
    return count;
}

using Lines = std::vector<std::string>;

TEST(LineListsTest, Parsers) {
    const std::string p70(70, 'p');
    const std::string billingLong = "A|" + p70;
    const std::string packageLong = p70 + "|B";
    struct Row { List which; std::string list; int count; Lines lines; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {List::Billing, "1|2|3|4|5|6|7|8|9|10", 8, {"1", "2", "3", "4", "5", "6", "7", "8"}},
        /*  1*/ {List::Billing, "|A|", 1, {"A", "", "", "", "", "", "", ""}},
        /*  2*/ {List::Billing, "", 0, {"", "", "", "", "", "", "", ""}},
        /*  3*/ {List::Billing, billingLong, 2, {"A", std::string(65, 'p'), "", "", "", "", "", ""}},
        /*  4*/ {List::Package, "1|2|3|4|5|6|7", 6, {"1", "2", "3", "4", "5", "6"}},
        /*  5*/ {List::Package, packageLong, 2, {std::string(20, 'p'), "B", "", "", "", ""}},
        /*  6*/ {List::Customer, "PO # 1|NOTE|REF", 3, {"PO # 1", "NOTE", "REF", "", ""}},
        /*  7*/ {List::Customer, p70, 1, {std::string(64, 'p'), "", "", "", ""}},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Lines lines;
        EXPECT_EQ(Parse(rows[i].which, rows[i].list.c_str(), lines), rows[i].count) << "row " << i;
        EXPECT_EQ(lines, rows[i].lines) << "row " << i;
    }
    Lines lines;
    EXPECT_EQ(Parse(List::Customer, nullptr, lines), 0);
    EXPECT_EQ(lines, Lines(5, ""));
}

}  // namespace
}  // namespace zal
