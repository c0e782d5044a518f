// The eleven exported functions.  Nothing thrown crosses them.
#include "api/Library.h"
#include "zal2443/zal2443.h"

extern "C" {

int32_t ZALAPI ZALGetLibraryType(void) { return 1; }

int32_t ZALAPI ZALGetLibraryInfoASizes(_LibraryInfoA *info) {
    return zal::api::Guard([&] { return zal::api::GetLibraryInfoASizes(info); }, "ZALGetLibraryInfoASizes");
}

int32_t ZALAPI ZALGetLibraryInfoA(_LibraryInfoA *info) {
    return zal::api::Guard([&] { return zal::api::GetLibraryInfoA(info); }, "ZALGetLibraryInfoA");
}

void ZALAPI ZALSetDebugA(_LoggingConfigA config) {
    zal::api::Guard([&] { zal::api::SetDebugA(config); return 0; }, "ZALSetDebugA");
}

void ZALAPI ZALSetDebugW(_LoggingConfigW config) {
    zal::api::Guard([&] { zal::api::SetDebugW(config); return 0; }, "ZALSetDebugW");
}

int32_t ZALAPI ZALStartup(void) {
    return zal::api::Guard([] { return zal::api::Startup(); }, "ZALStartup");
}

int32_t ZALAPI ZALShutdown(void) {
    return zal::api::Guard([] { return zal::api::Shutdown(); }, "ZALShutdown");
}

int32_t ZALAPI ZALProcessJobA(_JobInfoA *job, _PeripheralInfoA *peripheral) {
    return zal::api::ProcessJobA(job, peripheral);
}

int32_t ZALAPI ZALDevConfExA(_JobInfoA *job, _PeripheralInfoA *peripheral) {
    return zal::api::Guard([&] { return zal::api::DevConfExA(job, peripheral); }, "ZALDevConfExA");
}

int32_t ZALAPI ZALDevConfExW(_JobInfoW *job, const _PeripheralInfoW *peripheral) {
    return zal::api::Guard([&] { return zal::api::DevConfExW(job, peripheral); }, "ZALDevConfExW");
}

int32_t ZALAPI ZALDevDiagA(_JobInfoA *job, _PeripheralInfoA *peripheral) {
    return zal::api::Guard([&] { return zal::api::DevDiagA(job, peripheral); }, "ZALDevDiagA");
}

}  // extern "C"
