// Layout routines whose real bodies are being written; each is removed
// from here when its own file lands.
#include "common/ErrorCodes.h"
#include "layouts/Layouts.h"

namespace zal {

int32_t PrintUpsDomesticLabel(_JobInfoA *, JobContext *, bool) { return ZALERR_JOB_UNSUPCARRIER; }
int32_t PrintUpsAccessPointLabel(_JobInfoA *, JobContext *, bool) { return ZALERR_JOB_UNSUPCARRIER; }

}  // namespace zal
