// The library's own side of the exports: queries, logging switch, start-up
// and shut-down, and the process-wide state they keep.
#pragma once

#include <cstdint>
#include <exception>

#include "common/ErrorCodes.h"
#include "zal2443/zal2443.h"

namespace zal::api {

int32_t GetLibraryInfoASizes(_LibraryInfoA *info);
int32_t GetLibraryInfoA(_LibraryInfoA *info);
void SetDebugA(const _LoggingConfigA &config);
void SetDebugW(const _LoggingConfigW &config);
int32_t Startup();
int32_t Shutdown();
int32_t ProcessJobA(_JobInfoA *job, _PeripheralInfoA *peripheral);
int32_t DevConfExA(_JobInfoA *job, _PeripheralInfoA *peripheral);
int32_t DevConfExW(_JobInfoW *job, const _PeripheralInfoW *peripheral);
int32_t DevDiagA(_JobInfoA *job, _PeripheralInfoA *peripheral);

// Library-wide logging state kept by ZALSetDebugA.
bool DebugLoggingEnabled();
const _LoggingConfigA &CurrentLoggingConfig();
void ResetLibraryStateForTests();

// The library's tables.
extern const LabelDeviceDescription kDevices[3];
extern const MediaType kMediaTypes[5];
extern const PrintOrientationDefinition kOrientations[2];

// Runs an export body; an exception is written to the error log and the
// export returns ZALERR_UNKNOWNFAIL instead of letting it cross the border.
void ReportEscapedException(const std::exception *error, const char *function);
template <typename Body>
int32_t Guard(Body &&body, const char *function) noexcept {
    try {
        return static_cast<int32_t>(body());
    } catch (const std::exception &e) {
        ReportEscapedException(&e, function);
    } catch (...) {
        ReportEscapedException(nullptr, function);
    }
    return ZALERR_UNKNOWNFAIL;
}

}  // namespace zal::api
