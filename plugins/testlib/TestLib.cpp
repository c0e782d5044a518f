// A small library loaded by the tests of the device-library cache and of
// the version query.
#include <cstdint>

#include "common/VersionSection.h"

ZAL_VERSION_SECTION("2.4.6.8", "Test Library", "Test Company", "Cache test library", "None")

#if defined(_WIN32)
#define TESTLIB_EXPORT extern "C" __declspec(dllexport)
#else
#define TESTLIB_EXPORT extern "C" __attribute__((visibility("default")))
#endif

TESTLIB_EXPORT int32_t ZALGetLibraryType() { return 7; }
TESTLIB_EXPORT int32_t TestLibAnswer() { return 42; }
