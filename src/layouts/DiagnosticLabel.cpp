// The diagnostic label: one command that makes the printer print its own
// configuration.  No header, no media setting, no print command.
#include "common/Log.h"
#include "device/DeviceOutput.h"
#include "job/LabelContext.h"

namespace zal {

int32_t PrintDiagnosticLabel(LabelContext &label) {
    log::LogInfoText("Sending Print Configuration Label command 'U' to printer...");
    int32_t result = SendToDevice(&label.device, "U\n", 2);
    log::LogInfo("Completed with result %d", static_cast<int>(result));
    return result;
}

}  // namespace zal
