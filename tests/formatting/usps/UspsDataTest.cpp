#include "formatting/usps/UspsData.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "formatting/usps/PostalLabelJob.h"

namespace zal {
namespace {

using test::Bracketed;

// A USPS job for Charlotte NC; the row's lines come first and so win.
const std::string kJob =
    "Carrier=POS\nUSPSYear=2012\nService=PRIORITY MAIL\nShipTo1=Dorian Felsted\nShipTo7=Charlotte NC\n"
    "ShipToZip=28202\nTrackingNumber=92055901649173123456789012\nPermitNumber=1234\n";

struct Formatted {
    bool ok = false;
    std::string error;  // the job file's refusal text
    std::unique_ptr<UspsData> usps = std::make_unique<UspsData>();
    std::unique_ptr<CommonData> common = std::make_unique<CommonData>();
};

Formatted FormatUsps(const std::string &lines) {
    test::PostalLabelJob job(lines + kJob);
    Formatted f;
    *f.usps = {};
    *f.common = {};
    f.ok = FormatUspsData(*f.usps, *f.common, job.label);
    f.error = job.Error();
    return f;
}

std::string Trimmed(const char *text) {
    std::string s(text);
    s.erase(0, s.find_first_not_of(' '));
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

TEST(UspsDataTest, ClassBannerIndiciaAndPermit) {
    // fields (trimmed of their centring): class code, service banner, indicia, fee line,
    // entry point, permit line, restricted delivery line
    struct Row { const char *lines, *fields; };
    // clang-format off
    const Row rows[] = {
        // an unlisted international service has no class; only abroad does INTL name the service
        /*  0*/ {"InternationalFlag=Y\nService=FIRST-CLASS MAIL INTL\n", "[][FIRST-CLASS MAIL INTL][U.S. POSTAGE PAID][][][PERMIT NO. 1234][]"},
        /*  1*/ {"Service=FIRST-CLASS MAIL INTL\n", "[D][USPS FIRST-CLASS MAIL INTL][U.S. POSTAGE PAID][][][PERMIT NO. 1234][]"},
        // the flag is compared as written; the banner holds 30 columns
        /*  2*/ {"InternationalFlag=y\nService=PRIORITY MAIL INTERNATIONAL\n",
                 "[D][USPS PRIORITY MAIL INTERNATION][U.S. POSTAGE PAID][][][PERMIT NO. 1234][]"},
        // the fees are summed; a charge that is not a number counts as 0
        /*  3*/ {"CodCharge=2\nCertifiedCharge=-2\n", "[P][USPS PRIORITY MAIL][U.S. POSTAGE PAID][][][PERMIT NO. 1234][]"},
        /*  4*/ {"SpecialHandlingCharge=n/a\nRegisteredCharge=12.345\n",
                 "[P][USPS PRIORITY MAIL][U.S. POSTAGE PAID][FEE $12.35][][PERMIT NO. 1234][]"},
        /*  5*/ {"RestrictedDeliveryCharge=0.01\n",
                 "[P][USPS PRIORITY MAIL][U.S. POSTAGE AND FEES PAID][][][PERMIT NO. 1234][Restricted Delivery]"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Formatted f = FormatUsps(rows[i].lines);
        ASSERT_TRUE(f.ok) << "row " << i;
        const UspsData &u = *f.usps;
        EXPECT_EQ(Bracketed({u.ClassCode, Trimmed(u.ServiceBanner), Trimmed(u.IndiciaLine), Trimmed(u.FeeLine),
                          Trimmed(u.EntryPoint), Trimmed(u.PermitLine), u.RestrictedDeliveryLine}),
                  rows[i].fields)
            << "row " << i;
    }
}

TEST(UspsDataTest, GroupedTrackingNumberAndServiceTypeBanner) {
    struct Row { const char *lines, *grouped, *banner; };
    // clang-format off
    const Row rows[] = {
        // groups beyond a short number stay empty; a short code is searched as it is
        /*  0*/ {"TrackingNumber=9208\n",                          "9208      ",                       "USPS SIGNATURE TRACKING #"},
        /*  1*/ {"TrackingNumber=\n",                              "      ",                           "USPS TRACKING #"},
        /*  2*/ {"Service=PRIORITY MAIL EXPRESS\nTrackingNumber=EA12\n", "EA 12   ",                    "USPS PRIORITY MAIL EXPRESS"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Formatted f = FormatUsps(rows[i].lines);
        EXPECT_EQ(std::string(f.usps->GroupedTrackingNumber), rows[i].grouped) << "row " << i;
        EXPECT_EQ(std::string(f.usps->ServiceTypeBanner), rows[i].banner) << "row " << i;
    }
}

TEST(UspsDataTest, PriorityMailExpressBlock) {
    // fields: express flag, ship date line, waiver line, express waiver line, no-delivery
    // line, return receipt line, express account
    struct Row { const char *lines, *fields; };
    const std::string express = "Service=PRIORITY MAIL EXPRESS\nShipDate=03/14/2025\nExpressAccount=778812\n";
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"NoDeliveryFlag=\n",  "[Y][SHIP DATE: 03/14/2025][][][][][778812]"},
        /*  1*/ {"WaiverFlag=y\nNoDeliveryFlag=b\nReturnReceipt=r\n", "[Y][SHIP DATE: 03/14/2025][][][NO DELIVERY ][][778812]"},
        // other services keep no Express text and have their own waiver line
        /*  2*/ {"Service=PRIORITY MAIL\nWaiverFlag=Y\nNoDeliveryFlag=B\nReturnReceipt=R\n",
                 "[N][][WAIVER OF SIGNATURE REQUESTED][][][][]"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Formatted f = FormatUsps(rows[i].lines + express);
        const UspsData &u = *f.usps;
        EXPECT_EQ(Bracketed({std::string(1, u.ExpressFlag), u.ShipDateLine, u.WaiverLine, u.ExpressWaiverLine,
                          u.NoDeliveryLine, u.ReturnReceiptLine, Trimmed(u.ExpressAccount)}),
                  rows[i].fields)
            << "row " << i;
    }
}

TEST(UspsDataTest, AddressWeightPiecesMachinabilityAndDropShipment) {
    // fields: last address line, weight line, piece count line, machinability
    // line, drop caption, destination and class-of-mail line (both centred to 50)
    struct Row { const char *lines, *fields; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"ActualWeight=2.71828\nPackageType=Balloon\nOrderCount=2\nExpectedCount=3\nShipToZip=\n",
                 "[CHARLOTTE NC ][2.7183 LBS][2 OF 3][Balloon][][][]"},
        // the weight line holds 14 characters, the address line 63: a ZIP that
        // does not fit is cut; the package type is compared as written
        /*  1*/ {"ActualWeight=123456.5\nPackageType=m\nShipTo7=Charlotte North Carolina United States of America Zone 1234\n",
                 "[CHARLOTTE NORTH CAROLINA UNITED STATES OF AMERICA ZONE 1234 282][123456.5000 LB][1 OF 0][][][][]"},
        /*  2*/ {"ActualWeight=heavy\nDropFlag=y\nDropDestination=Atlanta NDC\nDropClass=Standard Mail\n",
                 "[CHARLOTTE NC 28202][0.0000 LBS][1 OF 0][][OPEN AND DISTRIBUTE AT:]"
                 "[                   ATLANTA NDC                    ][      CLASS OF MAIL ENCLOSED: STANDARD MAIL       ]"},
        /*  3*/ {"DropFlag=Y\n", "[CHARLOTTE NC 28202][0.0000 LBS][1 OF 0][][OPEN AND DISTRIBUTE AT:]"
                 "[                        N                         ][            CLASS OF MAIL ENCLOSED: N             ]"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Formatted f = FormatUsps(rows[i].lines);
        const UspsData &u = *f.usps;
        EXPECT_EQ(Bracketed({f.common->ShipTo7, u.WeightLine, u.PieceCountLine, u.MachinabilityLine, u.DropCaption,
                             u.DropDestination, u.ClassOfMailLine}),
                  rows[i].fields)
            << "row " << i;
    }
}

TEST(UspsDataTest, AnEmptyServiceIsRefused) {
    Formatted f = FormatUsps("Service=\n");
    EXPECT_FALSE(f.ok);
    EXPECT_EQ(f.error, "Invalid service description.");
    // refused before the common record is read
    EXPECT_EQ(std::string(f.common->ShipTo7), "");
}

}  // namespace
}  // namespace zal
