#include "formatting/smartpost/SmartPostData.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "formatting/usps/PostalLabelJob.h"

namespace zal {
namespace {

using test::Bracketed;

// "420", ZIP 30328, then the package number 92 612 ...: service type 612.
constexpr const char *kTracking = "420303289261201001304123456780";

const std::string kJob = std::string("Carrier=SMARTPOST\nFSMS_Ver=110\nShipTo1=Dorian Felsted\nShipTo7=Charlotte NC\n"
                                     "ShipToZip=28202\nServiceClass=913\nSmartPostTrackNum=") +
                         kTracking + "\n";

// The tracking number with the service type code at characters 11 to 13.
std::string WithServiceType(const char *code) {
    std::string tracking = kTracking;
    return tracking.replace(10, 3, code);
}

struct Formatted {
    bool ok = false;
    std::string error;
    std::unique_ptr<SmartPostData> smartPost = std::make_unique<SmartPostData>();
    std::unique_ptr<CommonData> common = std::make_unique<CommonData>();
};

Formatted FormatSmartPost(const std::string &lines) {
    test::PostalLabelJob job(lines + kJob);
    Formatted f;
    *f.smartPost = {};
    *f.common = {};
    f.ok = FormatSmartPostData(*f.smartPost, *f.common, job.label);
    f.error = job.Error();
    return f;
}

TEST(SmartPostDataTest, ServiceNameAndIndiciaByClassAndServiceType) {
    // fields: service name, indicia line (both 20 columns), indicia kind
    struct Row { const char *serviceClass, *code, *fields; };
    // clang-format off
    const Row rows[] = {
        // the second list has one wording whatever the class
        /*  0*/ {"915", "458", "[     PRSRT BPM      ][ U.S. Postage Paid  ][1]"},
        // an unknown class has no name, and the plain wording of the first list
        /*  1*/ {"917", "612", "[                    ][ U.S. Postage Paid  ][1]"},
        // the class is read three characters wide: 0913 is 91
        /*  2*/ {"0913", "419", "[                    ][ U.S. Postage Paid  ][1]"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Formatted f = FormatSmartPost(std::string("ServiceClass=") + rows[i].serviceClass +
                                      "\nSmartPostTrackNum=" + WithServiceType(rows[i].code) + "\n");
        ASSERT_TRUE(f.ok) << "row " << i;
        const SmartPostData &s = *f.smartPost;
        EXPECT_EQ(Bracketed({s.ServiceName, s.IndiciaLine, std::to_string(s.IndiciaKind)}), rows[i].fields)
            << "row " << i;
    }
}

TEST(SmartPostDataTest, GroundCarrierAndEndorsements) {
    // fields: pickup carrier, ground tracking line, endorsement count, CN22 flag, FSMS version
    struct Row { const char *lines, *fields; };
    // clang-format off
    const Row rows[] = {
        // the ground number is read 22 characters wide
        /*  0*/ {"PickupCarrier=g\nFdxGroundTrackNum=961201912345671234567899\n", "[G][(9612019) 1234567 12345678][0][][110]"},
        /*  1*/ {"Endorsement1=A\nEndorsement2=B\nPrintCN22Flag=Yes\n",       "[][][2][Y][110]"},
        /*  2*/ {"FSMS_Ver=120abc\n",                                           "[][][0][][120]"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Formatted f = FormatSmartPost(rows[i].lines);
        ASSERT_TRUE(f.ok) << "row " << i;
        const SmartPostData &s = *f.smartPost;
        EXPECT_EQ(Bracketed({s.PickupCarrier, s.GroundTrackingLine, std::to_string(s.EndorsementCount), s.Cn22Flag,
                          std::to_string(s.FsmsVersion)}),
                  rows[i].fields)
            << "row " << i;
    }
}

// A number of other than 30 characters is refused, a longer one too: it is
// never cut to a valid-looking length.
TEST(SmartPostDataTest, TrackingNumberOfOtherThan30CharactersIsRefused) {
    const std::string tracking = kTracking;
    // clang-format off
    const std::string rows[] = {
        /*  0*/ tracking.substr(0, 29),
        /*  1*/ tracking + "1",
        /*  2*/ "",
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::LogCapture log;
        Formatted f = FormatSmartPost("SmartPostTrackNum=" + rows[i] + "\n");
        EXPECT_FALSE(f.ok) << "row " << i;
        EXPECT_EQ(f.error, "Tracking number must be 30 characters in length.") << "row " << i;
        // refused before the common record is read
        EXPECT_EQ(std::string(f.common->ShipTo7), "") << "row " << i;
    }
}

}  // namespace
}  // namespace zal
