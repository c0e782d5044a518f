// The CN22 customs form.
// Not part of this build yet: the dispatch prints the generic label instead.
#include "layouts/cn22/Cn22Form.h"

#include "common/ErrorCodes.h"
#include "common/Log.h"

namespace zal {

int32_t PrintCn22Form4x4(LabelContext &) {
    log::LogInfoText("This carrier's layout is not part of this build.");
    return ZALERR_JOB_UNSUPCARRIER;
}

int32_t PrintCn22Form4x6(LabelContext &label) { return PrintCn22Form4x4(label); }

}  // namespace zal
