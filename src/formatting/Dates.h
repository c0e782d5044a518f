// Dates of the job file: "MM/DD/YYYY" (any separators) or "MM/DD/YY".
#pragma once

namespace zal {

// Day of the year (1-366) of a 10-character "MM/DD/YYYY" or an 8-character
// "MM/DD/YY" date (year 2000 + YY); 0 for any other length or when a field
// is not a number.  Out-of-range fields roll over as the C library's local
// time conversion does (13/01/2024 is a day in January 2025).
int DayOfYearFromDate(const char *date);

// Rewrites a 10-character "MM/DD/YYYY" date in place as "DDMONYYYY" with
// the English month abbreviation in capitals (12/04/2026 -> 04DEC2026),
// whatever the process locale.  Other texts are left unchanged.
void FormatDateDayMonYear(char *date);

}  // namespace zal
