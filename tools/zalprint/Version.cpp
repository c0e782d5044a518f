// zalprint --version: this program's release and the library's, the latter
// as the library file it runs with says, so a program and a library of
// different releases show as such.
#include <cstdio>

#include "Commands.h"
#include "Host.h"
#include "zal2443/zal2443.h"

namespace zalprint {

int RunVersion() {
    RunningLibrary library = FindRunningLibrary();
    std::string version = library.fileVersion;
    if (version.empty()) {
        // No version information in the file: the version the library
        // answers a host with.
        _LibraryInfoA info{};
        ZALGetLibraryInfoA(&info);
        version = info.Version;
    }
    std::printf("zalprint %s (%s %s)\n", ZAL2443_VERSION_TEXT, library.name.c_str(), version.c_str());
    return kExitOk;
}

}  // namespace zalprint
