#include <gtest/gtest.h>

#include <string>

#include "formatting/ups/LibUPS.h"
#include "formatting/ups/UpsJob.h"

namespace zal {
namespace {

using test::FormatUpsJob;
using test::TempDir;

constexpr const char *kPic26 = "92612999897543581234567890";

TEST(UpsUspsTest, HandOffTexts) {
    struct Row { std::string job; const char *barcodeTitle; const char *picText; const char *digits; const char *classText; const char *endorsement; const char *routing; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"TrackingNumber=1Z12345EYP05271688\nBRDYear=2012\nEndorsement=r\nUSPSDelToZip5=30328\nUSPSPICNumber=" + std::string(kPic26) + "\n",
                 "USPS TRACKING # eVS", "9261 2999 8975 4358 1234 5678 90", "612", " PS LIGHTWEIGHT ", "Return Service Requested", "GA 303 9-20 X"},
        /*  1*/ {"TrackingNumber=1Z12345EYN05271688\nBRDYear=2011\nEndorsement=A\nUSPSDelToZip5=30328\nUSPSPICNumber=" + std::string(kPic26) + "\n",
                 "ZIP - USPS DELIVERY CONFIRMATION eVS", "420 30328 9261 2999 8975 4358 1234 56", "612", "   PRSRT STD    ", "Address Service Requested", "GA 303 9-20 C"},
        /*  2*/ {"TrackingNumber=1Z12345E3H05271688\nEndorsement=L\nUSPSPICNumber=9261\n",
                 "USPS TRACKING # eVS", "9261 ", "61", "PRSRT MEDIA MAIL", "Carrier-Leave If No Response", "GA 303 9-20 X"},
        // a PIC number shorter than its slices: only the characters it has
        /*  3*/ {"TrackingNumber=1Z12345E3A05271688\nUSPSPICNumber=9\n",
                 "USPS TRACKING # eVS", "9 ", "", "   PRSRT BPM    ", "", "GA 303 9-20 X"},
        /*  4*/ {"TrackingNumber=1Z12345E3A05271688\nUSPSPICNumber=\nRoutingCode=ABCDEFGHIJKLMN\n",
                 "USPS TRACKING # eVS", "", "", "   PRSRT BPM    ", "", "ABCDEFGHIJKLMN"},
        // PT keeps the older number layout in every year
        /*  5*/ {"TrackingNumber=1Z12345EPT05271688\nBRDYear=2020\nUSPSDelToZip5=30328\nUSPSPICNumber=" + std::string(kPic26) + "\n",
                 "ZIP - USPS DELIVERY CONFIRMATION e-VS", "420 30328 9261 2999 8975 4358 1234 56", "612", " PARCEL SELECT  ", "CARRIER - LEAVE", "GA 303 9-20"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        TempDir dir;
        auto run = FormatUpsJob(dir, row.job);
        ASSERT_TRUE(run.ok) << "row " << i;
        const UpsData &ups = *run.ups;
        EXPECT_STREQ(ups.USPSBarcodeTitle, row.barcodeTitle) << "row " << i;
        EXPECT_STREQ(ups.USPSPICText, row.picText) << "row " << i;
        EXPECT_STREQ(ups.USPSPICDigits, row.digits) << "row " << i;
        EXPECT_STREQ(ups.USPSClassText, row.classText) << "row " << i;
        EXPECT_STREQ(ups.EndorsementText, row.endorsement) << "row " << i;
        EXPECT_STREQ(ups.RoutingCode, row.routing) << "row " << i;
        EXPECT_STREQ(ups.USPSDeliverToTitle, "USPS DELIVER TO:") << "row " << i;
        EXPECT_STREQ(ups.USPSPostagePaidText, "U.S. POSTAGE PAID") << "row " << i;
        EXPECT_STREQ(ups.USPSWeightTitle, "DWT: ") << "row " << i;
    }
}

TEST(UpsUspsTest, ParcelReturnService) {
    struct Row { int year; const char *title; const char *serviceClass; const char *sender; const char *picText; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {2012, "NDC ZIP - USPS PARCEL RTN SVC", "PARCEL SELECT RTN SVC", "UPS INC", "9261 2999 8975 4358 1234 5678 90"},
        /*  1*/ {2011, "NDC ZIP - USPS PARCEL RETURN SVC", "PARCEL SELECT RETURN SVC", "UPS RETURNS", "420 56902 9261 2999 8975 4358 1234 56"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        TempDir dir;
        auto run = FormatUpsJob(dir, "TrackingNumber=1Z12345E9005271688\nBRDYear=" + std::to_string(row.year) +
                                         "\nUSPSPICNumber=" + kPic26 + "\nUSPSDelToZip5=30328\n"
                                         "FromCountry=Puerto Rico\nFrom1=ABCDEFGHIJKLMNOPQRSTUVWXYZ\n"
                                         "UPSFlexToCompanyOrName=Returns Center Building Number 4\n"
                                         "UPSFlexToStreetAddress=\nShipTo6=KEPT\n");
        ASSERT_TRUE(run.ok) << "row " << i;
        const UpsData &ups = *run.ups;
        EXPECT_STREQ(ups.USPSBarcodeTitle, row.title) << "row " << i;
        EXPECT_STREQ(ups.ReturnServiceClass, row.serviceClass) << "row " << i;
        EXPECT_STREQ(ups.ReturnSender1, row.sender) << "row " << i;
        EXPECT_STREQ(ups.USPSPICText, row.picText) << "row " << i;
        EXPECT_STREQ(ups.USPSDelToZip5, "56902") << "row " << i;
        EXPECT_STREQ(ups.PuertoRicoSender, "Y") << "row " << i;
        EXPECT_STREQ(ups.RFAShowLogo, "Y") << "row " << i;
        EXPECT_STREQ(ups.ReturnPermit, "PERMIT NO. 77002") << "row " << i;
        EXPECT_STREQ(ups.ReturnMailed, "MAILED IN THE U.S.") << "row " << i;
        EXPECT_STREQ(run.common->From1, "ABCDEFGHIJKLMNOPQRST") << "row " << i;
        EXPECT_STREQ(run.common->ShipTo4, "Returns Center Building N") << "row " << i;
        // present but empty replaces; absent keeps the ship-to line
        EXPECT_STREQ(run.common->ShipTo5, "") << "row " << i;
        EXPECT_STREQ(run.common->ShipTo6, "") << "row " << i;
    }

    // without a PIC number code 90 is no USPS return
    TempDir dir;
    auto run = FormatUpsJob(dir, "TrackingNumber=1Z12345E9005271688\nShipTo4=KEPT\n");
    ASSERT_TRUE(run.ok);
    EXPECT_STREQ(run.ups->ReturnSender1, "");
    EXPECT_STREQ(run.common->ShipTo4, "KEPT");
}

}  // namespace
}  // namespace zal
