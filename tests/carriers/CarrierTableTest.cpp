#include "carriers/CarrierTable.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "common/ErrorCodes.h"
#include "support/LabelFixture.h"

namespace zal {
namespace {

TEST(CarrierTableTest, LookupIgnoresCaseButNotBlanks) {
    // clang-format off
    const struct { const char *value; CarrierCode code; } rows[] = {
        /*  0*/ {"UPS", CARRIER_UPS},             /*  1*/ {"uPs", CARRIER_UPS},
        /*  2*/ {"UPS ", CARRIER_UNKNOWN},        /*  3*/ {" UPS", CARRIER_UNKNOWN},
        /*  4*/ {"Ups Pickup", CARRIER_UPS_PLD},  /*  5*/ {"UPSPICKUP", CARRIER_UNKNOWN},
        /*  6*/ {"", CARRIER_UNKNOWN},            /*  7*/ {"FedEx", CARRIER_UNKNOWN},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(LookupCarrier(rows[i].value).code, rows[i].code) << "row " << i;
    }
    EXPECT_NE(LookupCarrier("FedEx").route.flags & kGenericLabel, 0u);
}

// A device form is found in the device's description; the CN22 device
// prints its 4x4 form on media shorter than 6 inches.
TEST(CarrierTableTest, DeviceForms) {
    EXPECT_EQ(FindDeviceForm("Label - Eltron Standard ( EPL II; 203 dpi )"), nullptr);
    EXPECT_EQ(FindDeviceForm("Document - FedEx Ground COD Tag Eltron Standard")->carrier, CARRIER_RPS);
    const DeviceForm *cn22 = FindDeviceForm("Label - CN22 Customs Declaration ( EPL II; 203 dpi )");
    ASSERT_NE(cn22, nullptr);
    EXPECT_EQ(cn22->carrier, CARRIER_CN22);
    test::LabelJob job("Carrier=CN22\n");
    for (float length : {4.25f, 5.99f, 6.0f, 6.75f}) {
        job.port.context.Media.Length = length;
        EXPECT_NE(std::string(cn22->choose(job.label)->logLine).find(length < 6.0f ? " 4x4 " : " 4x6 "),
                  std::string::npos)
            << length;
    }
}

// Every value a host writes reaches a row of its own, and every row has a
// way to print: its routine, a chooser, or a flag that refuses or falls back.
TEST(CarrierTableTest, EveryValueReachesARowThatPrints) {
    const char *values[] = {"GEN",   "CUSTOM", "RECEIPT",  "DEPTSTORE", "RRDL",       "ECON", "UPSBARCODE", "FONTS",
                            "DIAG",  "UPS",    "UPSAP",    "UPSFLEX",   "DHL",        "RPS",  "FXR",        "LONESTAR",
                            "ONTRAC", "PCD",   "RTX",      "UPSMI",     "FDX",        "FDXINT", "POS",      "SMARTPOST",
                            "SUREPOST", "UPSINT", "UPSPR", "UPS PICKUP", "UPSMIR",    "CN22"};
    constexpr unsigned kFallsBack = kUnspecified | kNotBuilt | kRefused | kGenericLabel;
    std::set<CarrierCode> codes;
    for (const char *value : values) {
        const CarrierRow &row = LookupCarrier(value);
        std::string lower = value;
        for (char &c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_NE(row.code, CARRIER_UNKNOWN) << value;
        EXPECT_EQ(&LookupCarrier(lower.c_str()), &row) << value;
        EXPECT_TRUE(row.choose != nullptr || row.route.print != nullptr || (row.route.flags & kFallsBack)) << value;
        EXPECT_TRUE(row.route.logLine != nullptr || row.choose != nullptr) << value;
        codes.insert(row.code);
    }
    EXPECT_EQ(codes.size(), std::size(values));
}

const std::string kUpsJob =
    "TrackingNumber=1Z12345E0205271688\nShipTo7=ATLANTA GA\nShipToZip=30328\nStreetAddress=1 MAIN ST\n"
    "City=ATLANTA\nState=GA\n";
// What each label prints first or always.
constexpr const char *kGeneric = "M132,5,5\nN\nQ1230,24\n";
constexpr const char *kCodTag = "Label - FedEx Ground COD Tag Eltron Standard";
constexpr const char *kCn22 = "Label - CN22 Customs Declaration ( EPL II; 203 dpi )";

// The rows no golden label reaches, through the dispatch: what is printed,
// the result and the information or error line.
TEST(CarrierTableTest, RowsPrintTheirLabelOrFallBack) {
    // sent: a text the output holds, null: nothing sent; line: null, none looked for
    struct Row { std::string keys; const char *device; float length; int32_t result; const char *sent, *line; };
    // clang-format off
    const Row rows[] = {
        // carriers without a format of their own: the generic label instead
        /*  0*/ {"Carrier=DHL\n",          "", 6.0f,  0, kGeneric, "CARRIER_DHL"},
        /*  1*/ {"Carrier=pcd\n",          "", 6.0f,  0, kGeneric, "CARRIER_PCD"},
        /*  2*/ {"Carrier=FedEx\n",        "", 6.0f,  0, kGeneric, "GENERIC LABEL"},
        // the combined Mail Innovations label (flag M, upper case only) needs no media check
        /*  3*/ {"Carrier=UPSMI\nPrintCN22Flag=M\n", "", 4.0f, 0, kGeneric, "CARRIER_UPS_MI"},
        /*  4*/ {"Carrier=UPSMI\nPrintCN22Flag=m\n", "", 4.0f, -1213, nullptr, "DoPeripheral: Media is too small."},
        // device forms: their own carrier only
        /*  5*/ {"Carrier=RPS\n",          kCodTag, 6.0f, 0, kGeneric, "FedEx Ground COD Tag (Label 4x6\")"},
        /*  6*/ {"Carrier=UPS\n" + kUpsJob, kCodTag, 6.0f, -1206, nullptr, nullptr},
        /*  7*/ {"Carrier=CN22\n",         kCn22, 4.0f, -1213, nullptr, "Media length of 4.00\" is too small."},
        /*  8*/ {"Carrier=DHL\n",          kCn22, 6.0f, -1206, nullptr, nullptr},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LogCapture log;
        log.Unwrap();
        test::LabelJob job(row.keys);
        CopyText(job.port.context.DeviceDescription, row.device);
        job.port.context.Media.Length = row.length;
        EXPECT_EQ(job.Dispatch(), row.result) << "row " << i;
        const std::string sent = job.Sent();
        if (row.sent == nullptr) {
            EXPECT_EQ(sent, "") << "row " << i;
        } else {
            EXPECT_NE(sent.find(row.sent), std::string::npos) << "row " << i << ": " << sent.substr(0, 60);
        }
        if (row.line != nullptr) {
            EXPECT_TRUE(log.Logged(row.line)) << "row " << i;
        }
    }
}

}  // namespace
}  // namespace zal
