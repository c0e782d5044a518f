// The fault guard of the formatting library's common routines.
#pragma once

#include <exception>

#include "common/ErrorCodes.h"
#include "common/Modules.h"

namespace zal::detail {

// Faults inside these routines can only be C++ exceptions here (GCC has no
// structured exceptions); they are reported as job faults and the routine
// answers false, which the carrier formatter turns into its job error.
template <typename Body>
bool GuardedLibCommon(const char *routine, Body body) {
    try {
        return body();
    } catch (const std::exception &error) {
        ReportJobCppException(error, kLibCommonModule, routine);
        return false;
    }
}

}  // namespace zal::detail
