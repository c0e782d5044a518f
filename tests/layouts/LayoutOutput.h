// A job context that prints into a file, and the printer option settings a
// layout test runs with.
#pragma once

#include <cstring>
#include <string>

#include "api/Library.h"
#include "common/Format.h"
#include "common/PrinterOptions.h"
#include "device/JobContext.h"
#include "support/TestSupport.h"

namespace zal::test {

// The "FILE" port: every label sent is appended to out.epl in a fresh folder.
class FilePort {
public:
    FilePort() : context{} {
        CopyText(context.PortText, "FILE");
        CopyText(context.OutputFile, dir.file("out.epl").c_str());
        context.Media = api::kMediaTypes[0];          // 4 x 6 inches
        context.Orientation = api::kOrientations[0];  // portrait
    }
    std::string Sent() const { return FileExists(dir.file("out.epl")) ? ReadFile(dir.file("out.epl")) : ""; }

    TempDir dir;
    JobContext context;
};

// Sets the four option texts for one test and restores the previous ones.
class OptionsScope {
public:
    OptionsScope(const char *heat, const char *speed, const char *vertical, const char *horizontal)
        : _saved(CurrentPrinterOptions()) {
        PrinterOptions &o = CurrentPrinterOptions();
        CopyText(o.heat, heat);
        CopyText(o.speed, speed);
        CopyText(o.verticalOffset, vertical);
        CopyText(o.horizontalOffset, horizontal);
    }
    ~OptionsScope() { CurrentPrinterOptions() = _saved; }

private:
    PrinterOptions _saved;
};

}  // namespace zal::test
