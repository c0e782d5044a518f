#include <gtest/gtest.h>

#include <string>

#include "formatting/ups/LibUPS.h"
#include "formatting/ups/UpsJob.h"

namespace zal {
namespace {

using test::Joined;

constexpr const char *kPic26 = "92612999897543581234567890";

TEST(UpsUspsTest, HandOffTexts) {
    struct Row { std::string job; const char *barcodeTitle; const char *picText; const char *digits; const char *classText; const char *endorsement; const char *routing; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"TrackingNumber=1Z12345EYN05271688\nBRDYear=2011\nEndorsement=A\nUSPSDelToZip5=30328\nUSPSPICNumber=" + std::string(kPic26) + "\n",
                 "ZIP - USPS DELIVERY CONFIRMATION eVS", "420 30328 9261 2999 8975 4358 1234 56", "612", "   PRSRT STD    ", "Address Service Requested", "GA 303 9-20 C"},
        /*  1*/ {"TrackingNumber=1Z12345E3H05271688\nEndorsement=L\nUSPSPICNumber=9261\n",
                 "USPS TRACKING # eVS", "9261 ", "61", "PRSRT MEDIA MAIL", "Carrier-Leave If No Response", "GA 303 9-20 X"},
        // a PIC number shorter than its slices: only the characters it has
        /*  2*/ {"TrackingNumber=1Z12345E3A05271688\nUSPSPICNumber=9\n",
                 "USPS TRACKING # eVS", "9 ", "", "   PRSRT BPM    ", "", "GA 303 9-20 X"},
        /*  3*/ {"TrackingNumber=1Z12345E3A05271688\nUSPSPICNumber=\nRoutingCode=ABCDEFGHIJKLMN\n",
                 "USPS TRACKING # eVS", "", "", "   PRSRT BPM    ", "", "ABCDEFGHIJKLMN"},
        // PT keeps the older number layout in every year
        /*  4*/ {"TrackingNumber=1Z12345EPT05271688\nBRDYear=2020\nUSPSDelToZip5=30328\nUSPSPICNumber=" + std::string(kPic26) + "\n",
                 "ZIP - USPS DELIVERY CONFIRMATION e-VS", "420 30328 9261 2999 8975 4358 1234 56", "612", " PARCEL SELECT  ", "CARRIER - LEAVE", "GA 303 9-20"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::UpsRun run(row.job);
        ASSERT_TRUE(run.ok) << "row " << i;
        const UpsData &u = *run.ups;
        EXPECT_EQ(Joined({u.USPSBarcodeTitle, u.USPSPICText, u.USPSPICDigits, u.USPSClassText, u.EndorsementText, u.RoutingCode}),
                  Joined({row.barcodeTitle, row.picText, row.digits, row.classText, row.endorsement, row.routing}))
            << "row " << i;
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
        test::UpsRun run("TrackingNumber=1Z12345E9005271688\nBRDYear=" + std::to_string(row.year) +
                                "\nUSPSPICNumber=" + kPic26 + "\nUSPSDelToZip5=30328\n"
                                "FromCountry=Puerto Rico\nFrom1=ABCDEFGHIJKLMNOPQRSTUVWXYZ\n"
                                "UPSFlexToCompanyOrName=Returns Center Building Number 4\n"
                                "UPSFlexToStreetAddress=\nShipTo6=KEPT\n");
        ASSERT_TRUE(run.ok) << "row " << i;
        const UpsData &u = *run.ups;
        const CommonData &c = *run.common;
        EXPECT_EQ(Joined({u.USPSBarcodeTitle, u.ReturnServiceClass, u.ReturnSender1, u.USPSPICText}),
                  Joined({row.title, row.serviceClass, row.sender, row.picText}))
            << "row " << i;
        // the flex address replaces the ship-to lines, present but empty too
        EXPECT_EQ(Joined({u.USPSDelToZip5, u.PuertoRicoSender, c.From1, c.ShipTo4, c.ShipTo5, c.ShipTo6}),
                  "56902 | Y | ABCDEFGHIJKLMNOPQRST | Returns Center Building N |  | ")
            << "row " << i;
    }

    // without a PIC number code 90 is no USPS return
    test::UpsRun run("TrackingNumber=1Z12345E9005271688\nShipTo4=KEPT\n");
    ASSERT_TRUE(run.ok);
    EXPECT_STREQ(run.ups->ReturnSender1, "");
    EXPECT_STREQ(run.common->ShipTo4, "KEPT");
}

}  // namespace
}  // namespace zal
