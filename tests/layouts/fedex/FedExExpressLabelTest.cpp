#include <gtest/gtest.h>

#include <string>

#include "common/ErrorCodes.h"
#include "support/LabelFixture.h"

namespace zal {
namespace {

const std::string kJob = "Carrier=FDX\nOneDeeBarcode=1001900000000007946123456702820200\n";
const std::string kCod =
    "CodFlag=Y\nLblCodReturnTrackNumLabel=TRK#\nLblCODCodReturnTrackingNumber=7946 1234 5671\n"
    "CodReturnOneDeeBarcode=1001900000560007946123456710030071\n";

int32_t Print(test::LabelJob &job) { return LookupCarrier("FDX").route.print(job.label); }

std::size_t Count(const std::string &text, const std::string &what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The COD return label follows the Express label only when the job orders
// it (its tracking caption and number) for this package: the first one, or
// the last one with "CODPrintLastFlag" (goldens fedex-cod-* print it).
TEST(FedExExpressLabelTest, CodReturnLabelOnlyWhenOrdered) {
    struct Row { std::string keys; std::size_t labels; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"CodFlag=N\n" + kCod, 1},
        // the caption or the number missing
        /*  1*/ {"LblCodReturnTrackNumLabel=\n" + kCod, 1},
        /*  2*/ {"LblCODCodReturnTrackingNumber=\n" + kCod, 1},
        /*  3*/ {"OrderCount=1\nExpectedCount=3\nCODPrintLastFlag=1\n" + kCod, 1},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::LabelJob job(rows[i].keys + kJob);
        EXPECT_EQ(Print(job), ZALERR_SUCCESS) << "row " << i;
        const std::string sent = job.Sent();
        EXPECT_EQ(Count(sent, "P1\n"), rows[i].labels) << "row " << i;
        EXPECT_EQ(Count(sent, "\"COD RETURN\""), rows[i].labels - 1) << "row " << i;
    }
}

// A failed Express label is not followed by its COD return label.
TEST(FedExExpressLabelTest, FailedExpressLabelEndsTheJob) {
    test::LogCapture log;
    log.Unwrap();
    test::LabelJob job(kCod + kJob);
    CopyText(job.port.context.OutputFile, job.port.dir.file("missing/out.epl").c_str());
    const int32_t result = Print(job);
    EXPECT_NE(result, ZALERR_SUCCESS);
    EXPECT_TRUE(log.HasDebugMessage("Completed with result " + std::to_string(result)));
    std::size_t completed = 0;
    for (const std::string &message : log.DebugMessages()) completed += Count(message, "Completed with result");
    EXPECT_EQ(completed, 1u);
}

}  // namespace
}  // namespace zal
