// The test mode stamp of the carrier labels: the job's test identifier in a
// large font and, below it, the library and label name.
#pragma once

#include "documents/ZALDoc.h"

namespace zal {

// How the stamp's lines sit against x.
enum TestStampAlignment : int {
    kStampLeft = 0,    // both lines start at x (any value other than 1 and 2)
    kStampRight = 1,   // both lines end at x
    kStampCentre = 2,  // both lines are centred on x
};

// Dots per character used to place the lines: font 3 at double width for
// the identifier, font 1 for the name line.
constexpr int kStampIdCharWidth = 34;
constexpr int kStampNameCharWidth = 9;
// The name line sits this far below the identifier.
constexpr int kStampNameLineOffset = 65;

// The x where a line of length characters starts (never below 1).
int TestStampStart(int x, int length, int charWidth, int alignment);

// Prints text at y and "ZAL2443.DLL - <label name>" at y + 65.  True when
// both lines were written.
bool PrintTestStamp(ZalLib::ZALDoc &doc, int x, int y, const char *text, int alignment);

}  // namespace zal
