#include "formatting/Dates.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "common/Format.h"

namespace zal {
namespace {

constexpr std::size_t kLongDate = 10;   // MM/DD/YYYY
constexpr std::size_t kShortDate = 8;   // MM/DD/YY

// The C locale's abbreviations; "%b" would follow the process locale.
// clang-format off
constexpr const char *kMonths[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                     "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
// clang-format on

bool ReadNumber(const char *text, std::size_t count, int &value) {
    value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

// The date at local midnight, normalised by mktime (daylight saving is the
// platform's call).  False for a wrong length or a field that is no number.
bool LocalMidnight(const char *date, std::tm &tm) {
    if (date == nullptr) return false;
    std::size_t length = TextLength(date, kLongDate + 1);
    if (length != kLongDate && length != kShortDate) return false;
    int month = 0;
    int day = 0;
    int year = 0;
    if (!ReadNumber(date, 2, month) || !ReadNumber(date + 3, 2, day)) return false;
    if (length == kLongDate) {
        if (!ReadNumber(date + 6, 4, year)) return false;
    } else {
        if (!ReadNumber(date + 6, 2, year)) return false;
        year += 2000;
    }
    tm = std::tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_isdst = -1;
    return std::mktime(&tm) != static_cast<std::time_t>(-1);
}

}  // namespace

int DayOfYearFromDate(const char *date) {
    std::tm tm;
    if (!LocalMidnight(date, tm)) return 0;
    char day[4] = {};
    if (std::strftime(day, sizeof day, "%j", &tm) == 0) return 0;
    return std::atoi(day);
}

void FormatDateDayMonYear(char *date) {
    std::tm tm;
    if (TextLength(date, kLongDate + 1) != kLongDate || !LocalMidnight(date, tm)) return;
    if (tm.tm_mon < 0 || tm.tm_mon > 11) return;
    char text[12];
    // 9 characters for four-digit years; the 10-character date's buffer holds them
    if (Format(text, sizeof text, "%02d%s%04d", tm.tm_mday, kMonths[tm.tm_mon], tm.tm_year + 1900) > 10) return;
    CopyText(date, kLongDate + 1, text);
}

}  // namespace zal
