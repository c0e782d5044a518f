#pragma once

#include <string>
#include <vector>

namespace zal::preview {

struct Code39Symbol {
    std::vector<bool>
        wide;          // per element, bars and spaces alternating from the first bar; one narrow gap between characters
    std::string text;  // the characters encoded, without the asterisks
    bool skipped = false;  // some data could not be encoded
};

// Code 39 with start and stop "*": characters outside its 43 are written in Full ASCII pairs
// ("3" selects standard or Full ASCII as the data needs); `checkDigit` adds the modulo 43 digit ("3C").
Code39Symbol EncodeCode39(const std::string &data, bool checkDigit);

}  // namespace zal::preview
