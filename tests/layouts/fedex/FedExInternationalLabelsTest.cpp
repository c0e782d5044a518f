#include <gtest/gtest.h>

#include <string>

#include "common/ErrorCodes.h"
#include "formatting/fedex/FedExInternationalJob.h"

namespace zal {

int32_t PrintFedExInternationalLabels(LabelContext &label);

namespace {

// A document without a bar code: the origin copy alone, and success; a job
// without a reference prints no reference line.
TEST(FedExIntlLabelsTest, OriginCopyAlone) {
    test::FdxIntlJob job("OneDeeBarcode=\nDocFlag=Y\n");
    ASSERT_EQ(PrintFedExInternationalLabels(job.label), ZALERR_SUCCESS);
    const std::string sent = job.Sent();
    EXPECT_EQ(sent.find("P1\n"), sent.size() - 3) << sent;
    EXPECT_EQ(sent.rfind("M132,5,5\n", 0), 0u);
    EXPECT_NE(sent.find("ORIGIN AWB COPY - PLEASE PLACE IN POUCH"), std::string::npos);
    EXPECT_EQ(sent.find("A040,775"), std::string::npos);
}

TEST(FedExIntlLabelsTest, FailedFirstCopyEndsTheJob) {
    test::LogCapture log;
    test::FdxIntlJob job("");
    CopyText(job.port.context.OutputFile, job.port.dir.file("missing/out.epl").c_str());
    EXPECT_EQ(PrintFedExInternationalLabels(job.label), ZALERR_PRINTER_OPENFAIL);
    int sends = 0;
    for (const std::string &line : log.DebugMessages()) {
        sends += line.find("Completed with result") != std::string::npos;
    }
    EXPECT_EQ(sends, 1);
}

}  // namespace
}  // namespace zal
