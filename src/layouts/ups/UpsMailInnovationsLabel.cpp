// The UPS Mail Innovations label (carrier "UPSMI"), followed by the CN22 form where the job asks.
// Not part of this build yet: the dispatch prints the generic label instead.
#include "common/ErrorCodes.h"
#include "common/Log.h"
#include "job/LabelContext.h"

namespace zal {

int32_t PrintUpsMailInnovationsLabel(LabelContext &) {
    log::LogInfoText("This carrier's layout is not part of this build.");
    return ZALERR_JOB_UNSUPCARRIER;
}

}  // namespace zal
