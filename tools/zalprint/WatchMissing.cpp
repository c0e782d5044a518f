// zalprint watch needs Linux's inotify; the Windows build says so.
#include <cstdio>

#include "Commands.h"

namespace zalprint {

int RunWatch(const Args &) {
    std::fprintf(stderr, "zalprint: watch is not available on this system (it needs Linux)\n");
    return kExitUsage;
}

}  // namespace zalprint
