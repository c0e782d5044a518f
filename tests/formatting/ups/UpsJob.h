// UPS job files and records for the UPS formatting tests.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include "formatting/CommonData.h"
#include "formatting/ups/LibUPS.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

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

// A job file of kUpsBaseJob after the given lines, in a folder of its own.
struct UpsRun {
    explicit UpsRun(const std::string &lines) : jobFile(WriteJob(*dir, lines + kUpsBaseJob)) {}

    std::string Error() const {
        char text[256] = {};
        platform::GetPrivateProfileString("Error", "Description", "", text, sizeof text, jobFile.c_str());
        return text;
    }

    std::unique_ptr<TempDir> dir = std::make_unique<TempDir>();
    std::string jobFile;
    std::unique_ptr<UpsData> ups = std::make_unique<UpsData>();
    std::unique_ptr<CommonData> common = std::make_unique<CommonData>();
    bool ok = false;
};

// Texts joined by " | ", to compare the fields of a record at once.
inline std::string Joined(std::initializer_list<std::string> texts) {
    std::string out;
    for (const std::string &text : texts) out += (&text == texts.begin() ? "" : " | ") + text;
    return out;
}

// The UPS data of the job's lines, as LibUPSFormatData makes it.
inline UpsRun FormatUpsJob(const std::string &lines) {
    UpsRun run(lines);
    run.ok = LibUPSFormatData(*run.ups, *run.common, run.jobFile.c_str());
    return run;
}

}  // namespace zal::test
