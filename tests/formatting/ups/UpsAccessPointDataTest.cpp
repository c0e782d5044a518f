#include "formatting/ups/UpsAccessPoint.h"

#include <gtest/gtest.h>

#include <string>

#include "formatting/ups/UpsJob.h"

namespace zal {
namespace {


// A refusal writes its reason into the job file.
TEST(UpsAccessPointDataTest, IndicatorTrackingNumberAndCityLine) {
    // the job's lines come before a valid tracking number, Oleander Pike of Lawrenceville GA
    // fields: error description, AccessPointCode, AccessPointFlag, ShipTo7 (only when formatted)
    struct Row { const char *lines; bool ok; const char *fields; };
    // clang-format off
    const Row rows[] = {
        // upper-cased before the lookup, only the first character read
        /*  0*/ {"AccessPointIndicator=bX\n",                  true,  " | D2R/D2A | Y | LAWRENCEVILLE GA"},
        /*  1*/ {"AccessPointIndicator=R\nShipTo7=\nShipToZip=300462217\n", true, " | D2R | Y |  300462217"},
        /*  2*/ {"",                                           false, "Missing required Access Point indicator. |  | "},
        /*  3*/ {"AccessPointIndicator=X\n",                   false, "Missing required Access Point indicator. |  | "},
        /*  4*/ {"TrackingNumber=1Z3F6W21035520913\nAccessPointIndicator=R\n", false,
                 "Tracking number must be 18 characters in length. |  | "},
        /*  5*/ {"TrackingNumber=\nAccessPointIndicator=R\n",  false, "Tracking number must be 18 characters in length. |  | "},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LabelJob job(std::string(row.lines) +
                           "TrackingNumber=1Z3F6W210355209139\nShipTo1=Oleander Pike\nShipTo7=Lawrenceville GA\n");
        auto ups = NewUpsData();
        auto common = std::make_unique<CommonData>();
        EXPECT_EQ(upsAccessPointFormatData(*ups, *common, job.label), row.ok) << "row " << i;
        std::string fields = test::Joined({job.Error(), ups->AccessPointCode, ups->AccessPointFlag});
        if (row.ok) fields += " | " + std::string(common->ShipTo7);
        EXPECT_EQ(fields, row.fields) << "row " << i;
    }
}

}  // namespace
}  // namespace zal
