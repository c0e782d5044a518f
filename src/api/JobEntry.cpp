// ZALProcessJobA: validation, printer options, job context, dispatch.
#include "api/Library.h"

namespace zal::api {

int32_t ProcessJobA(_JobInfoA *, _PeripheralInfoA *) { return ZALERR_NOTCODED; }

}  // namespace zal::api
