// One label's job as the job entry prepares it: the job file in a fresh
// folder and its view, a FILE port on 4 x 6 inch portrait media, and the
// label's context with the job's carrier code and the options 7, 4, 0, 0.
#pragma once

#include <cstdint>
#include <string>

#include "api/Dispatch.h"
#include "api/Library.h"
#include "carriers/CarrierTable.h"
#include "common/Format.h"
#include "common/JobFile.h"
#include "job/LabelContext.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

namespace zal::test {

// The "FILE" port: every label sent is appended to out.epl in a fresh folder.
class FilePort {
public:
    FilePort() : context{} {
        CopyText(context.PortText, "FILE");
        CopyText(context.OutputFile, dir.file("out.epl").c_str());
        context.Media = api::kMediaTypes[0];
        context.Orientation = api::kOrientations[0];
    }
    std::string Sent() const { return FileExists(dir.file("out.epl")) ? ReadFile(dir.file("out.epl")) : ""; }

    TempDir dir;
    JobContext context;
};

struct LabelJob {
    explicit LabelJob(const std::string &keys)
        : path(WriteJob(port.dir, keys)), file(path.c_str()), label(file, port.context) {
        char carrier[64] = "";
        file.Raw("Carrier", "", carrier);
        label.carrier = LookupCarrier(carrier).code;
        label.options = PrinterOptions{"7", "4", "0", "0"};
        record.JobFile = path.c_str();
    }
    // The reason a refusal wrote into the job file.
    std::string Error() const {
        char text[256] = "";
        platform::GetPrivateProfileString("Error", "Description", "", text, sizeof text, path.c_str());
        return text;
    }
    // The whole dispatch of the job; the job file is deleted afterwards.
    int32_t Dispatch() { return DoPeripheral(&record, label); }
    std::string Sent() const { return port.Sent(); }

    FilePort port;
    std::string path;
    JobFile file;
    LabelContext label;
    _JobInfoA record{};
};

// The copy of a sent label saved in the log folder: a comment header with
// the label's name, then the label (text mode: CR LF line ends on Windows).
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
