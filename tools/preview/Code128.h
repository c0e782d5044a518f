#pragma once

#include "CommandReader.h"

#include <vector>

namespace zal::preview {

// The Code 128 selections of the B command: 1 (automatic), 1A, 1B, 1C and 1E (UCC/EAN-128, which
// starts with FNC1).
enum class Code128Subset { Auto, A, B, C, Ean128 };

struct Code128Symbol {
    std::vector<int> codewords;  // start, data, check character and stop (106)
    bool outsideSubset = false;  // some data could not be written in the selected subset
};

// Encodes the data with the fewest symbol characters. The bytes 0xC4..0xCD are the printer's Code 128
// function bytes: they stand for the symbol characters 96..105 themselves (FNC3, FNC2, Shift,
// Code C, Code B/FNC4, Code A/FNC4, FNC1, Start A, Start B, Start C), and data that holds one
// is written character by character as they direct.
Code128Symbol EncodeCode128(const DataItems &items, Code128Subset subset);

// Bar and space widths in modules, starting with a bar.
std::vector<int> Code128Widths(const std::vector<int> &codewords);

}  // namespace zal::preview
