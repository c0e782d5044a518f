// A CN22 job as the dispatch hands it to the form: the job file (the keys
// under test first: the first of two equal keys counts), its view, and a
// context on 4 x 6 inch portrait media whose "FILE" port collects what is
// sent; and the check of a saved copy of the form.
#pragma once

#include <string>

#include "api/Library.h"
#include "common/Format.h"
#include "common/JobFile.h"
#include "job/LabelContext.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

namespace zal::test {

struct Cn22Job {
    explicit Cn22Job(const std::string &keys)
        : path(WriteJob(dir, keys)), file(path.c_str()), context{}, label(file, context) {
        CopyText(context.PortText, "FILE");
        CopyText(context.OutputFile, dir.file("out.epl").c_str());
        context.Media = api::kMediaTypes[0];
        context.Orientation = api::kOrientations[0];
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

// The copy saved in the log folder: a comment header with the form's name,
// then what was sent (text mode: CR LF line ends on Windows).
inline void ExpectSavedForm(const std::string &path, const std::string &name, const std::string &sent) {
    ASSERT_TRUE(FileExists(path)) << path;
    std::string saved;
    for (char c : ReadFile(path)) {
        if (c != '\r') saved += c;
    }
    EXPECT_EQ(saved.rfind(";*************************\n; Label Name : " + name + "\n", 0), 0u) << saved;
    ASSERT_GE(saved.size(), sent.size());
    EXPECT_EQ(saved.substr(saved.size() - sent.size()), sent);
}

}  // namespace zal::test
