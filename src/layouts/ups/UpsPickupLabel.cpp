// The UPS pickup summary label (carrier "UPS PICKUP").
// Not part of this build yet: the dispatch prints the generic label instead.
#include "common/ErrorCodes.h"
#include "common/Log.h"
#include "job/LabelContext.h"

namespace zal {

int32_t PrintUpsPickupLabel(LabelContext &) {
    log::LogInfoText("This carrier's layout is not part of this build.");
    return ZALERR_JOB_UNSUPCARRIER;
}

}  // namespace zal
