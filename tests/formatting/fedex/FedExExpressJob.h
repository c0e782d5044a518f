// A FedEx Express job as the dispatch hands it to the label routine: the
// job file (the keys under test first: the first of two equal keys counts),
// its view, and a context whose "FILE" port collects what is sent.
#pragma once

#include <string>

#include "common/Format.h"
#include "common/JobFile.h"
#include "job/LabelContext.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

namespace zal::test {

struct ExpressLabelJob {
    explicit ExpressLabelJob(const std::string &keys)
        : path(WriteJob(dir, keys)), file(path.c_str()), context{}, label(file, context) {
        CopyText(context.PortText, "FILE");
        CopyText(context.OutputFile, dir.file("out.epl").c_str());
        label.options = PrinterOptions{"7", "4", "0", "0"};
    }
    std::string Sent() const { return FileExists(dir.file("out.epl")) ? ReadFile(dir.file("out.epl")) : ""; }
    // The reason a refusal wrote into the job file.
    std::string Error() const {
        char text[256] = "";
        platform::GetPrivateProfileString("Error", "Description", "", text, sizeof text, path.c_str());
        return text;
    }

    TempDir dir;
    std::string path;
    JobFile file;
    JobContext context;
    LabelContext label;
};

}  // namespace zal::test
