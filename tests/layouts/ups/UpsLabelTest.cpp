#include "layouts/ups/UpsLabel.h"

#include <gtest/gtest.h>

#include <string>

#include "common/Heap.h"
#include "common/Log.h"
#include "support/LabelFixture.h"

namespace zal {
namespace {

const std::string kDomestic =
    "Carrier=UPS\nShipTo7=Charlotte NC\nShipToZip=28202\nStreetAddress=2275 Old Mill Rd\nCity=Charlotte\nState=NC\n";
const std::string kAccessPoint = "Carrier=UPSAP\nShipTo7=Lawrenceville GA\nAccessPointIndicator=R\n";

// The UPS labels through their carrier rows: the saved copy under the job
// tag and the label's name, a job the formatting refuses, a document that
// cannot be started.
TEST(UpsLabelTest, CopiesAndFaults) {
    const std::string domestic = "UPS Domestic Smart Label\x99 GTL 2020 v1.0";
    const std::string accessPoint = "UPS Access Point\x99 GTL 2020 v1.0";
    // copy: the saved copy's file name; empty: nothing sent
    struct Row { std::string keys; bool noMemory; int32_t result; std::string copy, name, error; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {kDomestic + "TrackingNumber=1Z7281040133852173\n", false, 0, "J1." + domestic + ".txt", domestic, ""},
        /*  1*/ {kAccessPoint + "TrackingNumber=1Z3F6W210355209139\n", false, 0, "J1-AP." + accessPoint + ".txt", accessPoint, ""},
        /*  2*/ {kDomestic + "TrackingNumber=1Z728104013385217\n", false, -406, "", "",
                 "Error while formatting UPS common data."},
        /*  3*/ {kAccessPoint + "TrackingNumber=1Z3F6W21035520913\n", false, -406, "", "",
                 "Error while formatting UPS Access Point data."},
        /*  4*/ {kAccessPoint + "TrackingNumber=1Z3F6W210355209139\n", true, -1030, "", "",
                 "EPLDoc::InitDoc Failed (Allocation failure)"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LogCapture log;
        log::SetJobTag("J1");
        test::LabelJob job(row.keys);
        job.label.copies = {true, log.dir().path() + test::Separator()};
        const CarrierRoute &route = LookupCarrier(row.keys.substr(8, row.keys.find('\n') - 8).c_str()).route;
        if (row.noMemory) FailNextHeapAllocations(1000000);
        const int32_t result = route.print(job.label);
        FailNextHeapAllocations(0);
        log::SetJobTag(" ");
        EXPECT_EQ(result, row.result) << "row " << i;
        if (row.copy.empty()) {
            EXPECT_EQ(job.Sent(), "") << "row " << i;
            EXPECT_TRUE(log.HasErrorMessage(row.error)) << "row " << i;
        } else {
            test::ExpectSavedCopy(log.dir().file(row.copy), row.name, job.Sent());
        }
    }
}

}  // namespace
}  // namespace zal
