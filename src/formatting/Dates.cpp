#include "formatting/Dates.h"

#include <cstring>

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

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, for
// any month and day (the civil-date algorithm of H. Hinnant).
long long DaysFromCivil(long long y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, long long &y, int &m, int &d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2);
}

struct Civil {
    long long year;
    int month;      // 1 to 12
    int day;        // 1 to 31
    int dayOfYear;  // 1 to 366
};

// The date as the calendar reads it, out-of-range months and days carried
// over as mktime does ("02/30/2025" is March 2).  No time zone is involved:
// a date has the same day of the year everywhere.  False for a wrong length
// or a field that is no number.
bool ReadCivilDate(const char *date, Civil &civil) {
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
    const long long months = static_cast<long long>(year) * 12 + (month - 1);
    const long long firstYear = months >= 0 ? months / 12 : (months - 11) / 12;
    const int firstMonth = static_cast<int>(months - firstYear * 12) + 1;
    const long long serial = DaysFromCivil(firstYear, firstMonth, 1) + (day - 1);
    CivilFromDays(serial, civil.year, civil.month, civil.day);
    civil.dayOfYear = static_cast<int>(serial - DaysFromCivil(civil.year, 1, 1) + 1);
    return true;
}

}  // namespace

int DayOfYearFromDate(const char *date) {
    Civil civil;
    return ReadCivilDate(date, civil) ? civil.dayOfYear : 0;
}

void FormatDateDayMonYear(char *date) {
    Civil civil;
    if (TextLength(date, kLongDate + 1) != kLongDate || !ReadCivilDate(date, civil)) return;
    char text[12];
    // 9 characters for four-digit years; the 10-character date's buffer holds them
    if (Format(text, sizeof text, "%02d%s%04lld", civil.day, kMonths[civil.month - 1], civil.year) > 10) return;
    CopyText(date, kLongDate + 1, text);
}

}  // namespace zal
