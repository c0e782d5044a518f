// The UPS MaxiCode message and its compression.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formatting/CommonData.h"
#include "formatting/ups/UpsData.h"
#include "job/LabelContext.h"

namespace zal {

// Builds the MaxiCode data (plain message, or compressed data when the job
// asks for compression) into destination (400 bytes).
bool LibUPSFormatMaxicode(char *destination, std::size_t size, CommonData &common, UpsData &ups,
                          const LabelContext &label);

}  // namespace zal
