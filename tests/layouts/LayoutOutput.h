// A job context that prints into a file, and the copy of a label saved in
// the log folder.
#pragma once

#include <cstring>
#include <string>

#include "api/Library.h"
#include "common/Format.h"
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

// Checks the copy of a sent label saved in the log folder: a comment
// header with the label's name, then the label (written in text mode: CR LF
// line ends on Windows).
inline void ExpectSavedCopy(const std::string &path, const std::string &name, const std::string &sent) {
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
