// The UPS international and Puerto Rico smart labels (carriers "UPSINT" and
// "UPSPR"), each followed by the paperless invoice where the job asks.
// Not part of this build yet: the dispatch prints the generic label instead.
#include "common/ErrorCodes.h"
#include "common/Log.h"
#include "job/LabelContext.h"

namespace zal {

int32_t PrintUpsInternationalLabel(LabelContext &) {
    log::LogInfoText("This carrier's layout is not part of this build.");
    return ZALERR_JOB_UNSUPCARRIER;
}

int32_t PrintUpsPuertoRicoLabel(LabelContext &label) { return PrintUpsInternationalLabel(label); }

}  // namespace zal
