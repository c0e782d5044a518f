// The CN22 customs form, in its 4x4 and 4x6 shapes: printed for carrier
// "CN22", on the CN22 device, and after other carriers' labels that ask for it.
#pragma once

#include <cstdint>

#include "job/LabelContext.h"

namespace zal {

int32_t PrintCn22Form4x4(LabelContext &label);
int32_t PrintCn22Form4x6(LabelContext &label);

}  // namespace zal
