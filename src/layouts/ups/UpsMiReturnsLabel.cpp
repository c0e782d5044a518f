// The UPS Mail Innovations returns label (carrier "UPSMIR").
// Not part of this build yet: the dispatch prints the generic label instead.
#include "common/ErrorCodes.h"
#include "common/Log.h"
#include "job/LabelContext.h"

namespace zal {

int32_t PrintUpsMiReturnsLabel(LabelContext &) {
    log::LogInfoText("This carrier's layout is not part of this build.");
    return ZALERR_JOB_UNSUPCARRIER;
}

}  // namespace zal
