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

TEST(SmartPostLabelTest, RefusalsAndTheCustomsFormNotYetPrinted) {
    const char *const cn22 = "SmartPostPrintLabel_110x: CN22 support not complete. Returning error ZALERR_NOTCODED.";
    struct Row { const char *lines; bool portFails; int32_t result; bool printed; const char *description, *errorLine; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"SmartPostTrackNum=42030328924190100130412345678\n", false, ZALERR_LABEL_DATAERROR, false,
                 "Tracking number must be 30 characters in length.",
                 "PrintSmartPostLabel: The SmartPost label data could not be formatted. Printing cancelled."},
        // an old FSMS server is refused after formatting, without a reason in the job file
        /*  1*/ {"FSMS_Ver=109\n",  false, ZALERR_UNSUPFSMSVER, false, "",
                 "PrintSmartPostLabel: FSMS server version 109 is not supported (110 or later). Printing cancelled."},
        /*  2*/ {"FSMS_Ver=\n",     false, ZALERR_UNSUPFSMSVER, false, "",
                 "PrintSmartPostLabel: FSMS server version 0 is not supported (110 or later). Printing cancelled."},
        // the customs form is asked for: the label prints, then the job fails
        /*  3*/ {"PrintCN22Flag=Y\n", false, ZALERR_NOTCODED, true, "", cn22},
        // the port's failure is the answer, not the missing form
        /*  4*/ {"PrintCN22Flag=Y\n", true,  ZALERR_PRINTER_OPENFAIL, false, "", nullptr},
        /*  5*/ {"PrintCN22Flag=y\n", false, ZALERR_SUCCESS, true, "", nullptr},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LogCapture log;
        test::PostalLabelJob job(row.lines + kJob);
        if (row.portFails) CopyText(job.context.OutputFile, job.dir.file("missing/out.epl").c_str());
        EXPECT_EQ(PrintSmartPostLabel(job.label), row.result) << "row " << i;
        EXPECT_EQ(!job.Sent().empty(), row.printed) << "row " << i;
        EXPECT_EQ(job.Error(), row.description) << "row " << i;
        if (row.errorLine != nullptr) {
            EXPECT_TRUE(log.HasErrorMessage(row.errorLine)) << "row " << i;
        }
        if (row.result != ZALERR_NOTCODED) {
            EXPECT_FALSE(log.HasErrorMessage(cn22)) << "row " << i;
        }
    }
}

}  // namespace
}  // namespace zal
