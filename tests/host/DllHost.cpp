// Loads ZAL2443.DLL by name, resolves the eleven exports by name, and checks
// the library queries: what a 32-bit shipping application does first.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "zal2443/zal2443.h"

namespace {

int g_failures = 0;

void Check(bool ok, const char *what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    if (!ok) ++g_failures;
}

}  // namespace

int main() {
    HMODULE dll = LoadLibraryA("ZAL2443.DLL");
    Check(dll != nullptr, "LoadLibraryA(\"ZAL2443.DLL\")");
    if (dll == nullptr) {
        std::fflush(stdout);
        return 1;
    }
    const char *names[] = {"ZALGetLibraryType", "ZALGetLibraryInfoASizes", "ZALGetLibraryInfoA",
                           "ZALSetDebugA",      ZAL_EXPORT_SETDEBUGW_DECORATED,
                           "ZALStartup",        "ZALShutdown",
                           "ZALProcessJobA",    "ZALDevConfExA",
                           ZAL_EXPORT_DEVCONFEXW_DECORATED, "ZALDevDiagA"};
    FARPROC procs[11] = {};
    for (int i = 0; i < 11; ++i) {
        procs[i] = GetProcAddress(dll, names[i]);
        char what[160];
        std::snprintf(what, sizeof what, "GetProcAddress(\"%s\")", names[i]);
        Check(procs[i] != nullptr, what);
    }
    // The plain names of the two wide forms must not be exported.
    Check(GetProcAddress(dll, "ZALSetDebugW") == nullptr, "no plain ZALSetDebugW export");
    Check(GetProcAddress(dll, "ZALDevConfExW") == nullptr, "no plain ZALDevConfExW export");

    auto type = reinterpret_cast<ZALGetLibraryTypeFn>(reinterpret_cast<void *>(procs[0]));
    auto sizes = reinterpret_cast<ZALGetLibraryInfoAFn>(reinterpret_cast<void *>(procs[1]));
    auto infoFn = reinterpret_cast<ZALGetLibraryInfoAFn>(reinterpret_cast<void *>(procs[2]));
    auto startup = reinterpret_cast<ZALStartupFn>(reinterpret_cast<void *>(procs[5]));
    auto shutdown = reinterpret_cast<ZALStartupFn>(reinterpret_cast<void *>(procs[6]));
    if (g_failures == 0) {
        Check(type() == 1, "ZALGetLibraryType() == 1 before start-up");
        Check(startup() == 0, "ZALStartup() == 0");
        Check(sizes(nullptr) == 6, "ZALGetLibraryInfoASizes(null) == 6");
        _LibraryInfoA info{};
        Check(sizes(&info) == 0, "ZALGetLibraryInfoASizes == 0");
        Check(info.DevicesSize == 1470 && info.MediaTypesSize == 380 && info.OrientationsSize == 52,
              "sizes 1470, 380, 52");
        static unsigned char devices[1470], media[380], orientations[52];
        info.Devices = reinterpret_cast<LabelDeviceDescription *>(devices);
        info.MediaTypes = reinterpret_cast<MediaType *>(media);
        info.Orientations = reinterpret_cast<PrintOrientationDefinition *>(orientations);
        Check(infoFn(&info) == 0, "ZALGetLibraryInfoA == 0");
        Check(info.DeviceCount == 3 && info.MediaTypeCount == 5 && info.OrientationCount == 2, "counts 3, 5, 2");
        Check(std::strcmp(info.Version, "23.03.01") == 0, "version 23.03.01");
        // Byte offsets of the rows as the host sees them.
        Check(std::strcmp(reinterpret_cast<char *>(devices + 490 + 2),
                          "Label - Eltron Standard ( EPL II; 203 dpi; no-mem )") == 0,
              "device row 2 description at byte 492");
        unsigned short kind;
        std::memcpy(&kind, devices + 980 + 488, 2);
        Check(kind == 4, "device row 3 kind 4 at byte 1468");
        Check(std::strcmp(reinterpret_cast<char *>(media + 76 + 4), "Label 4x4.25\"") == 0,
              "media row 2 name at byte 80");
        float length;
        std::memcpy(&length, media + 152 + 56, 4);
        Check(length == 6.75f, "media row 3 length 6.75 at byte 208");
        Check(media[152 + 68] == 1, "media row 3 docutab flag at byte 220");
        Check(std::strcmp(reinterpret_cast<char *>(orientations + 26 + 2), "Flipped") == 0,
              "orientation row 2 name at byte 28");
        Check(shutdown() == 0, "ZALShutdown() == 0");
        Check(type() == 1, "ZALGetLibraryType() == 1 after shut-down");
    }
    FreeLibrary(dll);

    // The version resource a host (or Explorer) reads from the file.
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA("ZAL2443.DLL", &ignored);
    std::vector<char> block(size);
    char *version = nullptr;
    UINT length = 0;
    bool read = size != 0 && GetFileVersionInfoA("ZAL2443.DLL", 0, size, block.data()) &&
                VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\FileVersion",
                               reinterpret_cast<void **>(&version), &length);
    Check(read && std::strcmp(version, "23.03.01") == 0, "version resource FileVersion 23.03.01");
    std::printf("%d failure(s)\n", g_failures);
    std::fflush(stdout);
    return g_failures == 0 ? 0 : 1;
}
