// Parsers of the bar-delimited line lists ("A|B|C") that fill the line
// tables of the carrier records.
#pragma once

#include <cstddef>

namespace zal {

constexpr std::size_t kAddlBillingLines = 8;
constexpr std::size_t kAddlBillingLineSize = 66;
constexpr std::size_t kPkgInfoLines = 6;
constexpr std::size_t kPkgInfoLineSize = 21;
constexpr std::size_t kCustomerDataLines = 5;
constexpr std::size_t kCustomerDataLineSize = 65;

// Each parser takes the first line of its table (8 x 66, 6 x 21 and 5 x 65
// bytes) and the list, which it tokenises in place.  Piece k goes to line k
// (empty pieces between adjacent bars are skipped), pieces beyond the last
// line are ignored, a piece longer than its line is cut, and lines without
// a piece are emptied.  Returns the number of lines filled; a null list
// counts as empty.  Every step is logged on the job channel.
int FillAddlBillingLines(char (*lines)[kAddlBillingLineSize], char *list);
int FillPkgInfoLines(char (*lines)[kPkgInfoLineSize], char *list);
int FillCustomerDataLines(char (*lines)[kCustomerDataLineSize], char *list);

}  // namespace zal
