// zalprint settings and diag on Windows: there the library shows its
// dialogs in the host application's window, over the host's device list.
#include <cstdio>

#include "Commands.h"

namespace zalprint {

static int Missing(const char *command) {
    std::fprintf(stderr,
                 "zalprint: %s is a Linux form; on Windows the library shows its dialog in the host "
                 "application's window\n",
                 command);
    return kExitUsage;
}

int RunSettings(const Args &) { return Missing("settings"); }
int RunDiag(const Args &) { return Missing("diag"); }

}  // namespace zalprint
