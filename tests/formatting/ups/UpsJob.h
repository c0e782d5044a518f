// UPS job files and records for the UPS formatting tests.
#pragma once

#include <memory>
#include <string>

#include "formatting/CommonData.h"
#include "formatting/JobFile.h"
#include "formatting/ups/LibUPS.h"
#include "platform/Platform.h"

namespace zal::test {

// A domestic 2nd Day Air job; the lines a test gives come first, and the
// first of two equal keys is the one read.
inline const char *const kUpsBaseJob =
    "TrackingNumber=1Z12345E0205271688\n"
    "Carrier=UPS\n"
    "ShipTo2=ACME WIDGETS\n"
    "ShipTo7=ATLANTA GA\n"
    "ShipToZip=30328\n"
    "State=GA\n"
    "City=ATLANTA\n"
    "StreetAddress=1 MAIN ST\n"
    "RouteFound=Y\n"
    "RoutingCode=GA 303 9-20\n";

struct UpsRun {
    std::unique_ptr<UpsData> ups = std::make_unique<UpsData>();
    std::unique_ptr<CommonData> common = std::make_unique<CommonData>();
    std::string jobFile;
    bool ok = false;

    std::string Error() const {
        char text[256] = {};
        platform::GetPrivateProfileString("Error", "Description", "", text, sizeof text, jobFile.c_str());
        return text;
    }
};

inline UpsRun FormatUpsJob(const TempDir &dir, const std::string &lines) {
    UpsRun run;
    run.jobFile = WriteJob(dir, lines + kUpsBaseJob);
    run.ok = LibUPSFormatData(*run.ups, *run.common, run.jobFile.c_str());
    return run;
}

inline _JobInfoA JobRecord(const std::string &jobFile) {
    _JobInfoA job{};
    job.JobTag = "UPSTEST";
    job.JobFile = jobFile.c_str();
    return job;
}

}  // namespace zal::test
