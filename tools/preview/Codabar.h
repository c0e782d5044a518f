#pragma once

#include <string>
#include <vector>

namespace zal::preview {

struct CodabarSymbol {
    std::vector<bool> wide;  // as Code39Symbol
    std::string text;
    bool skipped = false;
};

// Codabar ("K"): the data carry their start and stop characters (A..D); data without them get A.
CodabarSymbol EncodeCodabar(const std::string &data);

}  // namespace zal::preview
