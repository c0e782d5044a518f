// zalprint diag: the library's diagnostics dialog for a device of a profile
// file, as a form on the terminal, or its buttons pressed from the command
// line.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Commands.h"
#include "DialogHost.h"
#include "Host.h"
#include "zal2443/zal2443.h"

namespace zalprint {

int RunDiag(const Args &args) {
    DialogOptions o;
    std::string presses;
    for (std::size_t i = 0; i < args.size(); ++i) {
        int taken = TakeDialogOption(args, i, o);
        if (taken == kExitUsage) return taken;
        if (taken == 1) continue;
        if (args[i] != "--button") return DialogUsage("unknown option " + args[i]);
        if (i + 1 >= args.size()) return DialogUsage("--button needs config, network or status");
        const std::string &button = args[++i];
        if (button != "config" && button != "network" && button != "status") {
            return DialogUsage("--button takes config, network or status, not \"" + button + "\"");
        }
        presses += (presses.empty() ? "" : ",") + button;
    }
    if (int rc = CheckDialogOptions(o)) return rc;
    if (presses.empty()) {
        if (!TerminalAtHand()) return DialogUsage("no terminal for the diagnostics form; press buttons with --button");
        if (std::getenv("ZAL2443_PROMPT") == nullptr) SetEnvironment("ZAL2443_PROMPT", "ask");
    } else {
        SetEnvironment("ZAL2443_DIAG_ANSWERS", presses);
    }
    DialogHost host(o);
    int32_t rc = ZALDevDiagA(host.Job(), host.Peripheral());
    return rc == 1 ? kExitOk : kExitFailed;
}

}  // namespace zalprint
