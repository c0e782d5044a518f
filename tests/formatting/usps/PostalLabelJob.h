// A USPS or SmartPost job as the dispatch hands it to the label routine
// (the keys under test first: the first of two equal keys counts).
#pragma once

#include <initializer_list>
#include <string>

#include "support/LabelFixture.h"

namespace zal::test {

using PostalLabelJob = LabelJob;

// Fields of a record, each between brackets (centred ones with their blanks).
inline std::string Bracketed(std::initializer_list<std::string> texts) {
    std::string joined;
    for (const std::string &text : texts) joined += "[" + text + "]";
    return joined;
}

}  // namespace zal::test
