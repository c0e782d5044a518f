// The fault guard of the MaxiCode routines of the UPS formatting.
#pragma once

#include <exception>

#include "common/ErrorCodes.h"
#include "common/Modules.h"

namespace zal::detail {

// A fault inside a routine (a C++ exception here) is reported as a job
// fault with the routine's name; the routine then answers fallback.
template <typename Result, typename Body>
Result GuardedMaxiCode(const char *routine, Result fallback, Body body) {
    try {
        return body();
    } catch (const std::exception &error) {
        ReportJobCppException(error, kLibUpsModule, routine);
        return fallback;
    }
}

}  // namespace zal::detail
