#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/ErrorCodes.h"
#include "formatting/fedex/FedExInternationalJob.h"

namespace zal {

int32_t PrintFedExInternationalLabels(LabelContext &label);

namespace {

constexpr const char *kOrigin = "ORIGIN AWB COPY - PLEASE PLACE IN POUCH";
constexpr const char *kShipper = "SHIPPER AWB COPY";

std::vector<std::string> Labels(const std::string &sent) {
    std::vector<std::string> labels;
    for (std::size_t start = 0, end; (end = sent.find("P1\n", start)) != std::string::npos; start = end + 3) {
        labels.push_back(sent.substr(start, end + 3 - start));
    }
    return labels;
}

// Each label as its first line and what it is: a copy caption or "package".
std::string Summary(const std::string &sent) {
    std::string summary;
    for (const std::string &label : Labels(sent)) {
        std::string kind = label.find(kShipper) != std::string::npos  ? "shipper"
                           : label.find(kOrigin) != std::string::npos ? "origin"
                           : label.find("\nb020,427,P,") != std::string::npos ? "package"
                                                                              : "?";
        summary += (summary.empty() ? "" : " | ") + label.substr(0, label.find('\n')) + " " + kind;
    }
    return summary;
}

TEST(FedExIntlLabelsTest, CopiesAndPackageLabel) {
    struct Row { const char *keys; bool memory; const char *expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"", true, "M132,5,5 origin | M132,5,5 shipper | M154,5,5 package"},
        /*  1*/ {"DocFlag=Y\n", true, "M132,5,5 origin | M154,5,5 package"},
        /*  2*/ {"CurrentLabel=2\n", true, "M132,5,5 origin | M154,5,5 package"},
        // a bar code one character short: the copies alone, and success
        /*  3*/ {"OneDeeBarcode=100190178172000079461234567800000\n", true, "M132,5,5 origin | M132,5,5 shipper"},
        /*  4*/ {"OneDeeBarcode=\nDocFlag=Y\n", true, "M132,5,5 origin"},
        /*  5*/ {"", false, "N origin | N shipper | N package"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::FdxIntlJob job(rows[i].keys);
        job.label.headerPrefix = rows[i].memory;
        EXPECT_EQ(PrintFedExInternationalLabels(job.label), ZALERR_SUCCESS) << "row " << i;
        EXPECT_EQ(Summary(job.Sent()), rows[i].expected) << "row " << i;
    }
}

TEST(FedExIntlLabelsTest, FailedFirstCopyEndsTheJob) {
    test::LogCapture log;
    test::FdxIntlJob job("");
    CopyText(job.context.OutputFile, job.dir.file("missing/out.epl").c_str());
    EXPECT_EQ(PrintFedExInternationalLabels(job.label), ZALERR_PRINTER_OPENFAIL);
    int sends = 0;
    for (const std::string &line : log.DebugMessages()) {
        sends += line.find("Completed with result") != std::string::npos;
    }
    EXPECT_EQ(sends, 1);
}

TEST(FedExIntlLabelsTest, Elements) {
    struct Row { const char *keys; int label; std::vector<std::string> present; std::vector<std::string> absent; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"BrokerFlag=Y\nBrokerName=Harbour\n", 0, {"A515,580,0,1,2,2,N,\"BSO\"\n", "A490,640,0,1,1,2,N,\"Harbour\"\n"}, {}},
        /*  1*/ {"BrokerFlag=Y\n", 0, {}, {"A515,580", "A490,"}},
        /*  2*/ {"", 0, {}, {"A040,775"}},
        /*  3*/ {"Reference=o\"k\n", 0, {"A040,775,0,2,1,1,N,\"REF: O'K\"\n"}, {}},
        /*  4*/ {"RoutingCode=URSAEXP\n", 0, {"A515,475,0,3,2,2,N,\"URSAEXP\"\n"}, {}},
        /*  5*/ {"RoutingCode=URSAEXP\n", 2, {"A135,903,0,4,2,2,N,\"EXPIRED\"\n", "A175,953,0,4,2,2,N,\"URSA\"\n"}, {"A20,909"}},
        /*  6*/ {"", 2, {"A20,909,0,4,3,4,N,\"LHRA\"\n"}, {"EXPIRED"}},
        // the piece count from the first of several packages, the master form id from the second
        /*  7*/ {"ExpectedCount=1\n", 2, {}, {"A100,795", "A020,877", "X350,876"}},
        /*  8*/ {"LblPieceCount=1 of 3\nExpectedCount=3\n", 2, {"A100,795,0,4,1,1,N,\"1 of 3\"\n", "A020,877,"}, {"X350,876", "A355,881"}},
        /*  9*/ {"LblMasterFormID=0201\nOrderCount=2\nExpectedCount=3\n", 2, {"X350,876,1,395,897\n", "A355,881,0,1,1,1,N,\"0201\"\n"}, {}},
        // quotes print as apostrophes; the PDF417 message keeps its escape texts
        /* 10*/ {"ShipTo2=The \"Engine\" Room\n", 2, {"A065,193,0,3,1,1,N,\"THE 'ENGINE' ROOM\"\n", "[)>_1E01_1D02SW1Y4JH_1D"}, {"\x1D"}},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::FdxIntlJob job(rows[i].keys);
        ASSERT_EQ(PrintFedExInternationalLabels(job.label), ZALERR_SUCCESS) << "row " << i;
        std::vector<std::string> labels = Labels(job.Sent());
        ASSERT_GT(labels.size(), static_cast<std::size_t>(rows[i].label)) << "row " << i;
        const std::string &label = labels[rows[i].label];
        for (const std::string &text : rows[i].present) {
            EXPECT_NE(label.find(text), std::string::npos) << "row " << i << ": " << text;
        }
        for (const std::string &text : rows[i].absent) {
            EXPECT_EQ(label.find(text), std::string::npos) << "row " << i << ": " << text;
        }
    }
}

// Only the first three lines of each statement fit: the long export
// statement loses its end on both labels.
TEST(FedExIntlLabelsTest, StatementsKeepThreeLines) {
    test::FdxIntlJob job("FSMS_Ver=170\nOneDeeBarcode=1001901781720000794612345678000000\nDocFlag=Y\n");
    ASSERT_EQ(PrintFedExInternationalLabels(job.label), ZALERR_SUCCESS);
    std::vector<std::string> labels = Labels(job.Sent());
    ASSERT_EQ(labels.size(), 2u);
    const std::string awb =
        "A020,1050,0,1,1,1,N,\"These items are controlled by the U.S. Government and authorized for export\"\n"
        "A020,1070,0,1,1,1,N,\"only to the country of ultimate destination for use by the ultimate consignee\"\n"
        "A020,1090,0,1,1,1,N,\"or end-user(s) herein identified. They may not be resold, transferred, or\"\n"
        "A020,1115,0,1,1,1,N,\"The Montreal or Warsaw Convention may apply and will govern and in most cases\"\n"
        "A020,1135,0,1,1,1,N,\"limit the liability of Federal Express for loss or delay of or damage to your\"\n"
        "A020,1155,0,1,1,1,N,\"shipment.  Subject to the conditions of the contract on the reverse.\"\n";
    const std::string package =
        "A020,734,0,1,1,1,N,\"These items are controlled by the U.S. Government and\"\n"
        "A020,747,0,1,1,1,N,\"authorized for export only to the country of ultimate\"\n"
        "A020,760,0,1,1,1,N,\"destination for use by the ultimate consignee or end-user(s)\"\n"
        "A600,430,";
    EXPECT_NE(labels[0].find(awb), std::string::npos) << labels[0];
    EXPECT_NE(labels[1].find(package), std::string::npos) << labels[1];
    EXPECT_EQ(job.Sent().find("regulations."), std::string::npos);
}

}  // namespace
}  // namespace zal
