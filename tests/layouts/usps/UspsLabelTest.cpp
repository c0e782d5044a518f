#include <gtest/gtest.h>

#include <string>

#include "common/ErrorCodes.h"
#include "formatting/usps/PostalLabelJob.h"

namespace zal {

int32_t PrintUspsLabel(LabelContext &label);  // layouts/usps/UspsLabel.cpp

namespace {

const std::string kJob =
    "Carrier=POS\nUSPSYear=2012\nService=PRIORITY MAIL\nShipTo1=Dorian Felsted\nShipTo7=Charlotte NC\n"
    "ShipToZip=28202\nTrackingNumber=9400190164917312345671\nPermitNumber=1234\n";

// A refused job prints nothing and writes no reason into the job file.
TEST(UspsLabelTest, RefusedJobsPrintNothing) {
    struct Row { const char *lines; int32_t result; const char *description, *errorLine; };
    // clang-format off
    const Row rows[] = {
        // an unreadable year is 0 (goldens usps-year-2011 and usps-year-missing hold the others)
        /*  0*/ {"USPSYear=next\n", ZALERR_LABEL_DATAERROR, "",
                 "PrintUspsLabel: USPS labels before the 2012 generation are not supported (USPSYear 0). Printing cancelled."},
        /*  1*/ {"USPSYear=2024\n", ZALERR_SUCCESS,         "", nullptr},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LogCapture log;
        test::PostalLabelJob job(row.lines + kJob);
        EXPECT_EQ(PrintUspsLabel(job.label), row.result) << "row " << i;
        EXPECT_EQ(job.Error(), row.description) << "row " << i;
        EXPECT_EQ(job.Sent().empty(), row.result != ZALERR_SUCCESS) << "row " << i;
        if (row.errorLine != nullptr) {
            EXPECT_TRUE(log.HasErrorMessage(row.errorLine)) << "row " << i;
        }
    }
}

}  // namespace
}  // namespace zal
