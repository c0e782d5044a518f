// A UPS job for the MaxiCode tests: job file, job record and the records
// the MaxiCode message is built from.
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/Format.h"
#include "common/Log.h"
#include "formatting/CommonData.h"
#include "formatting/JobFile.h"
#include "formatting/ups/UpsData.h"
#include "support/TestSupport.h"
#include "zal2443/zal2443.h"

namespace zal::test {

// clang-format off
constexpr char kHeader[] = "[)>\x1E" "01\x1D" "96";
// clang-format on

struct MaxiJob {
    TempDir dir;
    std::string jobFile;
    std::string archiveFolder;
    _JobProfileEntryA profile{};
    _JobInfoA job{};
    std::unique_ptr<CommonData> common = std::make_unique<CommonData>();
    std::unique_ptr<UpsData> ups = std::make_unique<UpsData>();

    // A domestic next-day shipment to 30328; lines are the job keys.
    explicit MaxiJob(const std::string &lines = "") {
        *common = CommonData{};
        *ups = UpsData{};
        CopyText(common->ShipToZip, "30328");
        CopyText(ups->Carrier, "UPS");
        CopyText(ups->TrackingNumber, "1Z12345E0205271688");
        CopyText(ups->ShipmentNumber, "SHP-123 45");
        CopyText(ups->AddressVerificationFlag, "N");
        ups->MaxiServiceClass = 2;
        JobWideValues &wide = JobWide();
        wide = JobWideValues{};
        CopyText(wide.ActualWeight, "10.2");
        wide.OrderCount = 2;
        wide.ExpectedCount = 3;
        jobFile = WriteJob(dir, lines);
        archiveFolder = dir.path() + Separator();
        CopyText(profile.OptionKeyPrefix, "EltronA");
        job.JobTag = "JOB42";
        job.JobFile = jobFile.c_str();
        job.ArchiveFolder = archiveFolder.c_str();
        job.ProfileEntry = &profile;
    }
    void Rewrite(const std::string &lines) { jobFile = WriteJob(dir, lines); }
};

// The fields of a MaxiCode message after its header, split at GS; a field
// ended by RS or EOT carries "<RS>" or "<EOT>" at its end.
inline std::vector<std::string> SplitMessage(const std::string &message) {
    std::vector<std::string> fields;
    if (message.compare(0, std::strlen(kHeader), kHeader) != 0) return fields;
    std::string field;
    for (std::size_t i = std::strlen(kHeader); i < message.size(); ++i) {
        char c = message[i];
        if (c == '\x1D') {
            fields.push_back(field);
        } else if (c == '\x1E') {
            fields.push_back(field + "<RS>");
        } else if (c == '\x04') {
            fields.push_back(field + "<EOT>");
        } else {
            field += c;
            continue;
        }
        field.clear();
    }
    if (!field.empty()) fields.push_back(field);
    return fields;
}

// Long lines of the debug log stay on one line.
inline void NoWrap(LogCapture &log) {
    log.config.WrapWidth = 1000;
    log::ConfigureLogging(log.config);
}

// Visible form of a message for failure output.
inline std::string Visible(const std::string &text) {
    std::string out;
    for (char c : text) {
        if (c == '\x1D')
            out += "<GS>";
        else if (c == '\x1E')
            out += "<RS>";
        else if (c == '\x1C')
            out += "<FS>";
        else if (c == '\x04')
            out += "<EOT>";
        else
            out += c;
    }
    return out;
}

}  // namespace zal::test
