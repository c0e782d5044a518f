#include "formatting/Dates.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <ctime>
#include <string>

namespace zal {
namespace {

TEST(DatesTest, DayOfYearFromDate) {
    struct Row { const char *date; int day; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"12/31/2024", 366},
        /*  1*/ {"12/31/2023", 365},
        /*  2*/ {"01/01/24",   1},
        /*  3*/ {"03/01/24",   61},
        /*  4*/ {"03-01-2023", 60},
        /*  5*/ {"07/04/2026", 185},
        /*  6*/ {"12/31/202",  0},
        /*  7*/ {"12/31/20245", 0},
        /*  8*/ {"",           0},
        /*  9*/ {"ab/01/2024", 0},
        /* 10*/ {"13/01/2024", 1},    // rolls over into January 2025
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(DayOfYearFromDate(rows[i].date), rows[i].day) << "row " << i;
    }
    EXPECT_EQ(DayOfYearFromDate(nullptr), 0);
}

TEST(DatesTest, FormatDateDayMonYear) {
    struct Row { const char *date; const char *expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"12/04/2026", "04DEC2026"},
        /*  1*/ {"01-15-2025", "15JAN2025"},
        /*  2*/ {"02/30/2026", "02MAR2026"},
        /*  3*/ {"12/04/26",   "12/04/26"},
        /*  4*/ {"2026-12-04", "2026-12-04"},
        /*  5*/ {"",           ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        char date[12];
        std::strcpy(date, rows[i].date);
        FormatDateDayMonYear(date);
        EXPECT_STREQ(date, rows[i].expected) << "row " << i;
    }
}

// The month abbreviation stays English whatever locale the host set.
TEST(DatesTest, FormatDateDayMonYearIgnoresTheLocale) {
    const char *names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "German_Germany.1252", "French_France.1252",
                           "de-DE", "fr-FR"};
    std::string previous = std::setlocale(LC_ALL, nullptr);
    bool switched = false;
    for (const char *name : names) {
        if (std::setlocale(LC_ALL, name) == nullptr) continue;
        std::tm tm{};
        tm.tm_year = 126;
        tm.tm_mon = 2;  // March: "Mär" / "mars"
        tm.tm_mday = 4;
        char month[32] = {};
        std::strftime(month, sizeof month, "%b", &tm);
        if (std::strcmp(month, "Mar") != 0) {
            switched = true;
            break;
        }
    }
    char date[12] = "03/04/2026";
    FormatDateDayMonYear(date);
    std::setlocale(LC_ALL, previous.c_str());
    if (!switched) GTEST_SKIP() << "no locale with other month names installed";
    EXPECT_STREQ(date, "04MAR2026");
}

}  // namespace
}  // namespace zal
