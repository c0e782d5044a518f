#include <gtest/gtest.h>

#include <string>

#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "formatting/usps/PostalLabelJob.h"

namespace zal {

int32_t PrintSmartPostLabel(LabelContext &label);  // layouts/smartpost/SmartPostLabel.cpp

namespace {

// Service type 419 at characters 11 to 13, class 913: the postage paid indicia.
const std::string kJob =
    "Carrier=SMARTPOST\nFSMS_Ver=110\nShipTo1=Dorian Felsted\nShipTo7=Charlotte NC\nShipToZip=30328\n"
    "ServiceClass=913\nSmartPostTrackNum=420303289241901001304123456780\n";

// The customs form is not part of this label: asked for with "Y" the label
// prints and the job reports it (golden smartpost-cn22), unless the port
// failed first; only an upper-case "Y" asks for it.
TEST(SmartPostLabelTest, CustomsFormFlag) {
    const char *const cn22 = "SmartPostPrintLabel_110x: CN22 support not complete. Returning error ZALERR_NOTCODED.";
    struct Row { const char *lines; bool portFails; int32_t result; bool printed; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"PrintCN22Flag=Y\n", true,  ZALERR_PRINTER_OPENFAIL, false},
        /*  1*/ {"PrintCN22Flag=y\n", false, ZALERR_SUCCESS,          true},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LogCapture log;
        test::PostalLabelJob job(row.lines + kJob);
        if (row.portFails) CopyText(job.port.context.OutputFile, job.port.dir.file("missing/out.epl").c_str());
        EXPECT_EQ(PrintSmartPostLabel(job.label), row.result) << "row " << i;
        EXPECT_EQ(!job.Sent().empty(), row.printed) << "row " << i;
        EXPECT_FALSE(log.HasErrorMessage(cn22)) << "row " << i;
    }
}

}  // namespace
}  // namespace zal
