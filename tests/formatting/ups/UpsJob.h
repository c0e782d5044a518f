// UPS job files and records for the UPS formatting tests.
#pragma once

#include <memory>
#include <string>

#include "formatting/CommonData.h"
#include "formatting/ups/LibUPS.h"
#include "support/LabelFixture.h"

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

using UpsFormatter = bool (*)(UpsData &, CommonData &, LabelContext &);

// The UPS records the formatting makes of kUpsBaseJob after the given lines.
struct UpsRun : LabelJob {
    explicit UpsRun(const std::string &lines, UpsFormatter format = LibUPSFormatData) : LabelJob(lines + kUpsBaseJob) {
        ok = format(*ups, *common, label);
    }
    UpsDataPtr ups = NewUpsData();
    std::unique_ptr<CommonData> common = std::make_unique<CommonData>();
    bool ok = false;
};

}  // namespace zal::test
