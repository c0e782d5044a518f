// zalprint info: the device, media and orientation tables, asked through
// the exported functions exactly as a shipping application asks them.
#include <cstdio>
#include <string>
#include <vector>

#include "Commands.h"
#include "Host.h"
#include "zal2443/zal2443.h"

namespace zalprint {

int RunInfo(const Args &) {
    ZALStartup();
    _LibraryInfoA info{};
    if (ZALGetLibraryInfoASizes(&info) != 0) {
        std::fprintf(stderr, "zalprint: the library refused the size query\n");
        return kExitFailed;
    }
    std::vector<LabelDeviceDescription> devices(info.DevicesSize / sizeof(LabelDeviceDescription) + 1);
    std::vector<MediaType> media(info.MediaTypesSize / sizeof(MediaType) + 1);
    std::vector<PrintOrientationDefinition> orientations(info.OrientationsSize / sizeof(PrintOrientationDefinition) + 1);
    info.Devices = devices.data();
    info.MediaTypes = media.data();
    info.Orientations = orientations.data();
    ZALGetLibraryInfoA(&info);

    std::printf("Library type %d, version %s\n\n", ZALGetLibraryType(), info.Version);
    std::printf("Devices (%u)\n", info.DeviceCount);
    std::printf("  %-4s %-4s %-70s %s\n", "Id", "Kind", "Description", "Library");
    for (unsigned i = 0; i < info.DeviceCount; ++i) {
        const LabelDeviceDescription &d = devices[i];
        std::printf("  %-4u %-4u %-70s %s\n", d.Id, d.DeviceKind, d.Description, d.LibraryFile);
    }
    std::printf("\nMedia types (%u)\n", info.MediaTypeCount);
    std::printf("  %-5s %-24s %6s %6s %s\n", "Id", "Name", "Width", "Length", "Docutab");
    for (unsigned i = 0; i < info.MediaTypeCount; ++i) {
        const MediaType &m = media[i];
        if (m.Id == 0) {
            std::printf("  %-5u %-24s\n", 0u, "(empty slot)");
            continue;
        }
        std::printf("  %-5u %-24s %6.2f %6.2f %s\n", m.Id, m.Name, m.Width, m.Length, m.Docutab ? "yes" : "no");
    }
    std::printf("\nPrint orientations (%u)\n", info.OrientationCount);
    for (unsigned i = 0; i < info.OrientationCount; ++i) {
        std::printf("  %-5u %s\n", orientations[i].Id, orientations[i].Name);
    }
    ZALShutdown();

    // The queues a setup line can name as its port ("CUPS <queue>").
    std::vector<PrintQueue> queues;
    std::string where, error;
    bool listed = ListPrintQueues(queues, where, error);
    std::printf("\nPrint queues of %s (%u)\n", where.empty() ? "the spooler" : where.c_str(),
                static_cast<unsigned>(queues.size()));
    if (!listed) std::printf("  (not available: %s)\n", error.c_str());
    for (const PrintQueue &q : queues) {
        std::printf("  %-24s %-40s %s%s\n", q.name.c_str(), q.device.c_str(), q.state.c_str(),
                    q.isDefault ? " (default)" : "");
    }
    std::fflush(stdout);
    return kExitOk;
}

}  // namespace zalprint
