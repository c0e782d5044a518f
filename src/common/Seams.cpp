#include "common/Seams.h"

#include "common/Prompt.h"
#include "platform/Platform.h"

namespace zal::seams {
namespace {

Hooks Defaults() {
    Hooks h;
    h.tickCount = &platform::TickCount64;
    h.sleep = &platform::SleepMs;
    h.processId = &platform::ProcessId;
    h.localDateTime = &platform::LocalDateTime;
    h.messageBox = &PolicyMessageBox;
    return h;
}

Hooks g_hooks = Defaults();

}  // namespace

Hooks &Current() { return g_hooks; }
void Reset() { g_hooks = Defaults(); }

}  // namespace zal::seams
