// This zalprint was built without the label preview (it needs zint, libpng
// and the bitmap fonts; never on Windows).
#include <cstdio>
#include <string>

#include "Commands.h"

namespace zalprint {

bool PreviewAvailable() { return false; }

int RenderPreview(const std::string &, const std::string &, double, double, bool, const std::string &) {
    std::fprintf(stderr, "zalprint: this build has no label preview\n");
    return kExitFailed;
}

int RunPreview(const Args &) { return RenderPreview("", "", 0, 0, false, ""); }

}  // namespace zalprint
