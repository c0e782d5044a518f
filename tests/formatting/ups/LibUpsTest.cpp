#include "formatting/ups/LibUPS.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formatting/ups/UpsJob.h"

namespace zal {
namespace {

using test::Joined;

std::vector<std::string> BillingLines(const UpsData &ups) {
    std::vector<std::string> lines;
    for (int i = 0; i < ups.BillingLineCount; ++i) lines.emplace_back(ups.BillingLines[i]);
    return lines;
}

// Bar code head and tail, text, service name and level, MaxiCode class.
TEST(LibUpsTest, TrackingNumberAndService) {
    struct Row { const char *tracking, *fields; };
    // clang-format off
    const Row rows[] = {
        // the first list that holds the code decides: 33 is in the second EARLY row
        /*  0*/ {"1Z9999993300000010", "1Z99 | 99993300000010 | TRACKING #: 1Z 999 999 33 0000 0010 | UPS NEXT DAY AIR EARLY | 1+S | 33"},
        /*  1*/ {"1Z999999ZZ00000010", "1Z99 | 9999ZZ00000010 | TRACKING #: 1Z 999 999 ZZ 0000 0010 |  |  | 1023"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::UpsRun run(std::string("TrackingNumber=") + rows[i].tracking + "\n");
        ASSERT_TRUE(run.ok) << "row " << i;
        const UpsData &u = *run.ups;
        EXPECT_EQ(Joined({u.TrackingBarcodeHead, u.TrackingBarcodeTail, u.TrackingText, u.ServiceName, u.ServiceLevel,
                          std::to_string(u.MaxiServiceClass)}),
                  rows[i].fields)
            << "row " << i;
    }
}

TEST(LibUpsTest, RefusedJobsSayWhyInTheJobFile) {
    struct Row { const char *tracking; const char *error; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"1Z12345E020527168",   "Tracking number must be 18 characters in length."},
        /*  1*/ {"1Z12345E02052716881", "Tracking number must be 18 characters in length."},
        /*  2*/ {"",                    "Tracking number must be 18 characters in length."},
        // B is outside the class-of-service alphabet
        /*  3*/ {"1Z999999BB00000010",  "Invalid Service Code"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::UpsRun run(std::string("TrackingNumber=") + rows[i].tracking + "\n");
        EXPECT_FALSE(run.ok) << "row " << i;
        EXPECT_EQ(run.Error(), rows[i].error) << "row " << i;
    }
}

// Application identifier, bar code data, its numeric part and tail, the
// readable line; and the city line with the postal code.
TEST(LibUpsTest, PostalBarcodeAndCityLine) {
    struct Row { const char *job, *fields; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"State=pr\n",   "421 | 42130328 | 42130328 |  | (421) 30328 | ATLANTA GA 30328"},
        /*  1*/ {"Carrier=UPSINT\nISOCode=276\nShipToZip=\nShipTo7=BERLIN\n", "421 | 421276 | 421276 |  | (421) 276 | BERLIN "},
        /*  2*/ {"Carrier=UPSINT\nISOCode=276\nShipToZip=10115\nShipTo7=BERLIN\nIntlAddressFormat=1\n",
                 "421 | 42127610115 | 421276 | 10115 | (421) 276 10115 | 10115 BERLIN"},
        // without a route the readable line goes, the bar code stays
        /*  3*/ {"RouteFound=N\n",  "420 | 42030328 | 42030328 |  |  | ATLANTA GA 30328"},
        // a city line that fills its field: the code is cut, nothing else moves
        /*  4*/ {"ShipTo7=ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZ12345678\nShipToZip=303281234\n",
                 "420 | 420303281234 | 420303281234 |  | (420) 303281234 | ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZ12345678 30"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::UpsRun run(rows[i].job);
        ASSERT_TRUE(run.ok) << "row " << i;
        const UpsData &u = *run.ups;
        EXPECT_EQ(Joined({u.PostalAI, u.PostalBarcodeData, u.PostalBarcodeNumeric, u.PostalBarcodeTail, u.PostalReadable,
                          run.common->ShipTo7}),
                  rows[i].fields)
            << "row " << i;
        EXPECT_STREQ(u.PostalTitle, u.PostalReadable) << "row " << i;
    }
}

TEST(LibUpsTest, InstructionAndBillingLines) {
    struct Row { const char *job; std::vector<std::string> lines; const char *indicator; };
    // clang-format off
    const Row rows[] = {
        // a huge amount stays within the line
        /*  0*/ {"CodFlag=C\nCodAmount=1e22\n", {"COD CASHIERS CK/MO ONLY $10,000,000,000,000,000,0"}, ""},
        /*  1*/ {"HazardousFlag=Y\nHazModeOfTransport=g\nHazMatNumber1=UN1203\nHazMatNumber3=UN1993\n",
                 {"HAZARDOUS MATERIALS - GROUND ONLY", "HAZ#: UN1203, UN1993"}, ""},
        /*  2*/ {"BillingOption=XYZ\nBillAccount=A12345\n", {"BILLING: P/P A12345"}, ""},
        // nine pieces: the first eight lines are kept
        /*  3*/ {"TrackingNumber=1Z12345E3205271688\nBillingOption=PRE\nCodFlag=Y\nCodAmount=5\nDDOIndicator=D\n"
                 "DeliveryConfirmationFlag=Y\nDescOfGoods=TOYS\nHazardousFlag=Y\nEarliestDelivery=0830\nCarbonNeutralFlag=Y\n",
                 {"BILLING: P/P ", "COD $5.00", "DIRECT DELIVERY ONLY", "SIGNATURE REQUIRED", "DESC: TOYS",
                  "HAZARDOUS MATERIALS - AIR ELIGIBLE", "HAZ#: ", "EARLIEST DELIVERY TIME 08:30"}, ""},
        // a short earliest time gives the characters it has
        /*  4*/ {"TrackingNumber=1Z12345E1505271688\nEarliestDelivery=8\n", {"EARLIEST DELIVERY TIME 8:"}, ""},
        /*  5*/ {"TrackingNumber=1Z12345E8405271688\nShipmentRef1=PO 77\nShipRefTitle1=REF:\nBillingOption=PRE\nDescOfGoods=BOOKS\n",
                 {"BILLING: P/P ", "DESC: BOOKS", "RETURN SERVICE", "REF: PO 77"}, ""},
        // a description title that fills the piece leaves no room for the goods
        /*  6*/ {"DescTitle=DDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDD\nDescOfGoods=BOOKS\n",
                 {"DDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDD"}, ""},
        // export lines; the AES piece holds 24 characters
        /*  7*/ {"Carrier=UPSINT\nSEDFlag=X\nAESNumber=X20230101123456789012345678901234\n", {"AES NOEEI X202301011234"}, ""},
        /*  8*/ {"Carrier=UPSINT\nEINNumber=12345678901234567890\nPowerOfAttorneyFlag=Y\n", {"EIN:  1234567890123"}, ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::UpsRun run(row.job);
        ASSERT_TRUE(run.ok) << "row " << i;
        EXPECT_EQ(BillingLines(*run.ups), row.lines) << "row " << i;
        EXPECT_STREQ(run.ups->DocumentIndicator, row.indicator) << "row " << i;
        for (std::size_t line = row.lines.size(); line < 8; ++line) {
            EXPECT_STREQ(run.ups->BillingLines[line], "") << "row " << i << " line " << line;
        }
    }
}

TEST(LibUpsTest, ServiceMarksAndReturnService) {
    // code 84 is a return service: the shipment counts as one package
    test::UpsRun run("TrackingNumber=1Z12345E8405271688\nOrderCount=2\nExpectedCount=3\nShipmentRef1=R1\n");
    ASSERT_TRUE(run.ok);
    EXPECT_STREQ(run.ups->ServiceMark, "RS");
    EXPECT_STREQ(run.ups->ShipmentRef1, "R1");
    EXPECT_STREQ(run.ups->PackageCountText, "1 OF 1");

    test::UpsRun cod("TrackingNumber=1Z12345E5905271688\nShipmentRef1=R1\n");
    ASSERT_TRUE(cod.ok);
    EXPECT_STREQ(cod.ups->ServiceMark, "COD");
    // a domestic label that is no return service does not read the references
    EXPECT_STREQ(cod.ups->ShipmentRef1, "");
}

TEST(LibUpsTest, InternationalIndicators) {
    // document indicator, customs documents, ISC flag and text, return service text
    struct Row { const char *job, *fields; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"InvoiceFlag=Y\nKeyFlag=Y\n",                                          "INV |  | N |  | "},
        // return services (code 84)
        /*  1*/ {"TrackingNumber=1Z12345E8405271688\nEDIFlag=Y\n",                       "RS |  | N |  | RETURN SERVICE"},
        /*  2*/ {"TrackingNumber=1Z12345E8405271688\nPaperlessFlag=Y\n",                 "EDI |  | N |  | RETURN SERVICE"},
        /*  3*/ {"PowerOfAttorneyFlag=Y\nSEDFlag=U\nCertificateFlag=Y\n",                 " | POA/EEI/CO | N |  | "},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::UpsRun run(std::string(row.job) + "Carrier=UPSINT\nISOCode=124\n");
        ASSERT_TRUE(run.ok) << "row " << i;
        const UpsData &u = *run.ups;
        EXPECT_EQ(Joined({u.DocumentIndicator, u.CustomsDocuments, u.ISCFlag, u.ISCText, u.ReturnServiceText}), row.fields)
            << "row " << i;
    }

    // Puerto Rico: no return-service variants; a service mark drops handling and DWT
    test::UpsRun pr("Carrier=UPSPR\nTrackingNumber=1Z12345E8405271688\nInvoiceFlag=Y\n"
                           "AdditionalHandling=Y\nAdditionalHandlingCount=2\nDimensionalWeight=12\n");
    ASSERT_TRUE(pr.ok);
    EXPECT_STREQ(pr.ups->DocumentIndicator, "INV");
    EXPECT_STREQ(pr.ups->HandlingText, "");
    EXPECT_STREQ(pr.ups->DimWeightText, "");
}

TEST(LibUpsTest, WeightAndPackageCount) {
    struct Row { const char *job; const char *weight; const char *heavy; const char *count; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"PackageType=2\nActualWeight=80\n", "25 KG BOX", "H", "1 OF___"},
        // too wide for the field: cut, the neighbours keep their values
        /*  1*/ {"PackageType=L\nActualWeight=123456789012\n", "123456789012.0 LB", "H", "1 OF___"},
        /*  2*/ {"OrderCount=2147483647\nExpectedCount=2147483647\n", "0 LBS", "", "2147483647 OF "},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::UpsRun run(row.job);
        ASSERT_TRUE(run.ok) << "row " << i;
        EXPECT_EQ(Joined({run.ups->WeightText, run.ups->HeavyFlag, run.ups->PackageCountText}),
                  Joined({row.weight, row.heavy, row.count}))
            << "row " << i;
    }
}

TEST(LibUpsTest, ServiceClassAlphabet) {
    struct Row { const char *code; int32_t expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"02", 2},  /*  1*/ {"NT", 698}, /*  2*/ {"0A", 10}, /*  3*/ {"BB", -1},
        /*  4*/ {"1I", -1}, /*  5*/ {"nt", -1},  /*  6*/ {"", -1},   /*  7*/ {nullptr, -1},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(upsMaxicodeServiceCode(rows[i].code), rows[i].expected) << "row " << i;
    }
}

TEST(LibUpsTest, AddressShiftAndEarlySender) {
    // ShipTo1, ShipTo3, ShipTo6 and From1 after the formatting
    struct Row { const char *job, *fields; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"ShipToPhone=555-1234\nShipTo3=SUITE 5\n",          "ACME WIDGETS | SUITE 5 |  | "},
        /*  1*/ {"ShipToPhone=555-1234\nShipTo2=\nShipTo3=SUITE 5\n", "SUITE 5 | 555-1234 |  | "},
        /*  2*/ {"ShipToPhone=555-1234\nShipTo2=\n",                 " |  | 555-1234 | "},
        /*  3*/ {"ShipTo1=JANE\nShipToPhone=555-1234\n",             "JANE |  |  | "},
        // the Early services print the site contact as the sender's first line
        /*  4*/ {"TrackingNumber=1Z12345E1505271688\nFrom1=Big Co\nSiteContact=Dock 4\n", " |  |  | Dock 4"},
        /*  5*/ {"TrackingNumber=1Z12345E1505271688\nFrom1=Big Co\n", " |  |  | BIG CO"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::UpsRun run(rows[i].job);
        ASSERT_TRUE(run.ok) << "row " << i;
        const CommonData &c = *run.common;
        EXPECT_EQ(Joined({c.ShipTo1, c.ShipTo3, c.ShipTo6, c.From1}), rows[i].fields) << "row " << i;
    }
}

template <std::size_t N, std::size_t M>
std::string Lines(const char (&lines)[N][M], int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += (i > 0 ? "/" : "") + std::string(lines[i]);
    return out;
}

// Handling, dimensional weight, route, backup tracking number (paperless
// invoices only), the package lines and the customer lines.
TEST(LibUpsTest, MarksTitlesAndLines) {
    struct Row { const char *job, *fields; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"AdditionalHandling=Y\nAdditionalHandlingCount=3\nDimensionalWeight=12\nPONumber=PO-9\nRemark=FRAGILE\n"
                 "ShipRef1=R1\nShipRef3=R3\nTrackingNumber=1Z12345EPP05271688\nPaperlessFlag=Y\n",
                 "AH 3 | DWT: 12 LBS | 1 | 1Z 123 45E PP 0527 1688 | DWT: 12 LBS | PO # PO-9/FRAGILE/R1/R3"},
        /*  1*/ {"DimensionalWeight=12,5\nLargePackage=Y\nRouteFound=N\n",
                 "LP | DWT: 12,5 | 0 |  | DWT: 12,5 | "},
        /*  2*/ {"Carrier=UPSINT\nShipmentNumber=ABC123\nShipmentWeight=40\nShipmentDimWeight=45\n"
                 "ShipmentDate=12/01/2026\nDimensionalWeight=12\n",
                 " | DWT: 12 LBS | 1 |  | "
                 "SHP#: ABC123/SHP WT: 40 LBS/SHP DWT: 45 LBS/DATE: 12/01/2026/DWT: 12 LBS | "},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::UpsRun run(rows[i].job);
        ASSERT_TRUE(run.ok) << "row " << i;
        const UpsData &u = *run.ups;
        EXPECT_EQ(Joined({u.HandlingText, u.DimWeightText, std::to_string(u.RouteValid), u.BackupTrackingNumber,
                          Lines(u.PkgInfoLines, u.PkgInfoLineCount),
                          Lines(u.CustomerDataLines, u.CustomerDataLineCount)}),
                  rows[i].fields)
            << "row " << i;
    }
}

// The whole formatting of a domestic job: its MaxiCode message escaped for
// the quoted EPL field; no PDF417 message and no terms notice.
TEST(LibUpsTest, DomesticLabelData) {
    test::UpsRun run("StreetAddress=1 O'HARE DR\n", upsFormatData);
    ASSERT_TRUE(run.ok);
    const std::string maxi = run.ups->MaxiCodeData;
    EXPECT_EQ(maxi.rfind("[)>\x1E" "01\x1D" "96", 0), 0u) << maxi;
    EXPECT_NE(maxi.find("1 O\\'HARE DR"), std::string::npos) << maxi;
    EXPECT_TRUE(run.ups->MaxiCodeReady);
    EXPECT_EQ(run.ups->MaxiCodeLength, static_cast<int32_t>(maxi.size()));
    EXPECT_EQ(run.ups->PDF417Length, 0);
    EXPECT_EQ(run.ups->TermsLineCount, 0);
}

}  // namespace
}  // namespace zal
