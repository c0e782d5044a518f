#include "common/ErrorCodes.h"
#include "common/Log.h"
#include "layouts/Layouts.h"

namespace zal {

int32_t PrintUnspecifiedLabelA(const char *, JobContext *, bool) { return ZALERR_JOB_UNSUPCARRIER; }
int32_t PrintUnspecifiedLabelB(_JobInfoA *, JobContext *, bool) { return ZALERR_JOB_UNSUPCARRIER; }

int32_t PrintNotBuiltLabelA(const char *, JobContext *, bool) {
    log::LogInfoText("This carrier's layout is not part of this build.");
    return ZALERR_JOB_UNSUPCARRIER;
}

int32_t PrintNotBuiltLabelB(_JobInfoA *, JobContext *, bool) {
    log::LogInfoText("This carrier's layout is not part of this build.");
    return ZALERR_JOB_UNSUPCARRIER;
}

}  // namespace zal
