#include "formatting/ups/Maxicode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "formatting/ups/MaxiCodeFields.h"
#include "formatting/ups/MaxiCodeJob.h"

namespace zal {
namespace {

using test::BuildMaxicode;
using test::Fields;
using test::MaxiJob;
using test::SplitMessage;
using test::Visible;

std::string Secondary(MaxiJob &j, MaxiCodeFields &fields) {
    char secondary[kMaxiSecondarySize] = {};
    EXPECT_TRUE(LibUPSFormatMaxiSecondary(secondary, sizeof secondary, *j.common, *j.ups, fields, j.label));
    return secondary;
}

TEST(MaxicodeTest, PrimaryMessage) {
    struct Row {
        const char *carrier;
        const char *iso;
        const char *zip;
        bool padding;
        bool intlMode2;
        const char *postal;
        int mode;
        const char *country;
    };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"UPS",    "",    "30328",         false, false, "30328",     2, "840"},
        /*  1*/ {"UPS",    "",    "3032812345678", true,  false, "303281234", 2, "840"},
        /*  2*/ {"UPSINT", "276", "10115",         true,  true,  "101150000", 2, "276"},
        /*  3*/ {"UPSINT", "036", "2000",          true,  false, "2000  ",    3, "036"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        MaxiJob j;
        j.Carrier(r.carrier);
        CopyText(j.ups->ISOCode, r.iso);
        CopyText(j.common->ShipToZip, r.zip);
        MaxiCodeFields fields = Fields();
        fields.AllowPadding = r.padding;
        fields.AllowIntlMode2 = r.intlMode2;
        char primary[kMaxiPrimarySize] = {};
        ASSERT_TRUE(LibUPSFormatMaxiPrimary(primary, *j.common, *j.ups, fields, j.label)) << "row " << i;
        EXPECT_EQ(fields.Mode, r.mode) << "row " << i;
        EXPECT_EQ(j.ups->MaxiCodeMode, r.mode) << "row " << i;
        EXPECT_EQ(std::string(primary), std::string(r.postal) + "\x1D" + r.country + "\x1D" + "002\x1D") << "row " << i;
    }
    // the class of service: three digits, 000 outside 0 to 999
    const std::pair<int32_t, const char *> classes[] = {{-1, "000"}, {1000, "000"}, {1, "001"}, {698, "698"}};
    for (const auto &[serviceClass, text] : classes) {
        MaxiJob j;
        j.ups->MaxiServiceClass = serviceClass;
        MaxiCodeFields fields = Fields();
        char primary[kMaxiPrimarySize] = {};
        ASSERT_TRUE(LibUPSFormatMaxiPrimary(primary, *j.common, *j.ups, fields, j.label));
        EXPECT_STREQ(fields.ClassOfService, text) << serviceClass;
    }
}

TEST(MaxicodeTest, SecondaryFields) {
    using Get = const char *(*)(const MaxiCodeFields &);
#define FIELD(name) [](const MaxiCodeFields &f) -> const char * { return f.name; }
    struct Row { const char *lines, *weight; int32_t order, expected; Get field; const char *value; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"PackageType=L\nIsLetterOverweight=Y\n", "2.2",     1, 1, FIELD(Weight),      "3"},
        /*  1*/ {"",                                      "10.002",  1, 1, FIELD(Weight),      "11"},
        /*  2*/ {"",                                      "",        3, 2, FIELD(PackageNofX), "1/1"},
        /*  3*/ {"",                                      "",        1, 0, FIELD(PackageNofX), "1/1"},
        /*  4*/ {"City=St. Louis\n",                      "",        1, 1, FIELD(ShipToCity),  "ST LOUIS"},
        /*  5*/ {"City=  new-york  \n",                   "",        1, 1, FIELD(ShipToCity),  "NEW YORK"},
        /*  6*/ {"City=ABCDEFGHIJKLMNOPQRSTUVWXYZ\n",     "",        1, 1, FIELD(ShipToCity),  "ABCDEFGHIJKLMNOPQRST"},
    };
    // clang-format on
#undef FIELD
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        MaxiJob j(r.lines);
        CopyText(j.label.jobWide.ActualWeight, r.weight);
        j.label.jobWide.OrderCount = r.order;
        j.label.jobWide.ExpectedCount = r.expected;
        MaxiCodeFields fields = Fields(2);
        Secondary(j, fields);
        EXPECT_STREQ(r.field(fields), r.value) << "row " << i;
    }
}

TEST(MaxicodeTest, EmptyState) {
    struct Row { const char *carrier; const char *iso; bool padding; const char *state; bool warning; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"UPSPR",  "840", true,  "PR", true},
        /*  1*/ {"UPSPR",  "630", true,  "",   false},
        /*  2*/ {"UPS",    "840", true,  "  ", true},
        /*  3*/ {"UPS",    "840", false, "",   true},
        /*  4*/ {"UPSINT", "124", true,  "  ", false},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        test::LogCapture log;
        MaxiJob j("City=Boston\n");
        j.Carrier(r.carrier);
        CopyText(j.ups->ISOCode, r.iso);
        MaxiCodeFields fields = Fields();
        fields.AllowPadding = r.padding;
        fields.Mode = 2;
        Secondary(j, fields);
        EXPECT_STREQ(fields.ShipToState, r.state) << "row " << i;
        EXPECT_EQ(log.Logged("Warning-- Possible invalid data encountered for \"State\"."), r.warning) << "row " << i;
    }
}

TEST(MaxicodeTest, PlainMessageIsFittedToTheSymbol) {
    // street, city, weight, package n of x; shipment id and street in the message, its size, the warning
    struct Row { const char *street, *city, *weight; int32_t order, expected; const char *shipmentId, *address; std::size_t size; const char *warning; };
    const std::string longStreet = "12345 PEACHTREE INDUSTRIAL BOULEVAR";  // 35
    const char *cut =
        "LibUPSFormatMaxiSecondary: Warning-- Street Address Line 1 was truncated to maintain data "
        "maximums. Compression is recommended.";
    const char *omittedId = "LibUPSFormatMaxiSecondary: Warning-- Shipment ID was omitted to maintain data maximums.";
    const char *omittedStreet =
        "LibUPSFormatMaxiSecondary: Warning-- Street Address Line 1 was omitted due to maximum "
        "barcode data size reached. Compression is recommended.";
    // clang-format off
    const Row rows[] = {
        // blocks A 27, B 10, C 26 and 27 for header and primary leave 9 of 99 for the street
        /*  0*/ {longStreet.c_str(), "ABCDEFGHIJKLMNOPQRST", "10.2",     2,   3,   "",         "12345 PEA",       99,  cut},
        // 7 of 99 left: the street fits, the 8-character shipment id does not
        /*  1*/ {"100 MAIN STREET",  "ATLANTA",              "10.2",     2,   3,   "",         "100 MAIN STREET", 92,  omittedId},
        // block B of 20 leaves nothing for the street
        /*  2*/ {longStreet.c_str(), "ABCDEFGHIJKLMNOPQRST", "99999998", 100, 200, "",         "",                100, omittedStreet},
        /*  3*/ {"1 MAIN",           "ATLANTA",              "10.2",     2,   3,   "SHP12345", "1 MAIN",          91,  nullptr},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        test::LogCapture log;
        MaxiJob j("StreetAddress=" + std::string(r.street) + "\nCity=" + r.city + "\nState=GA\n");
        CopyText(j.label.jobWide.ActualWeight, r.weight);
        j.label.jobWide.OrderCount = r.order;
        j.label.jobWide.ExpectedCount = r.expected;
        std::string message = BuildMaxicode(j);
        std::vector<std::string> fields = SplitMessage(message);
        ASSERT_EQ(fields.size(), 15u) << "row " << i << ": " << Visible(message);
        EXPECT_EQ(fields[7], r.shipmentId) << "row " << i;
        EXPECT_EQ(fields[11], r.address) << "row " << i;
        EXPECT_EQ(fields[12], r.city) << "row " << i;
        EXPECT_EQ(fields[14], "<EOT>") << "row " << i;
        EXPECT_EQ(message.size(), r.size) << "row " << i;
        if (r.warning != nullptr) {
            EXPECT_TRUE(log.HasDebugMessage(r.warning)) << "row " << i;
        }
    }
}

TEST(MaxicodeTest, ModeThreeCapacity) {
    // mode 3: 96 bytes, 24 for header and primary; 27 + 10 + 26 leave 9
    MaxiJob j("StreetAddress=12345 PEACHTREE INDUSTRIAL BLVD\nCity=ABCDEFGHIJKLMNOPQRST\nState=ON\n");
    j.Carrier("UPSINT");
    CopyText(j.ups->ISOCode, "124");
    CopyText(j.common->ShipToZip, "K1A 0B1");
    std::string message = BuildMaxicode(j);
    std::vector<std::string> fields = SplitMessage(message);
    ASSERT_EQ(fields.size(), 15u) << Visible(message);
    EXPECT_EQ(fields[0], "K1A0B1");
    EXPECT_EQ(fields[11], "12345 PEA");
    EXPECT_EQ(message.size(), 96u);
}

TEST(MaxicodeTest, AddressLines) {
    struct Row { const char *lines, *zip, *verification, *compress, *address, *error; };
    const char *noStreet =
        "LibUPSFormatMaxiSecondary: Invalid data encountered for \"StreetAddress\". Data is empty, "
        "and field is required for Maxicode barcode.";
    const char *noPrimary =
        "LibUPSFormatMaxiSecondary: Invalid data encountered for \"PrimaryAddressNumber\". Data is "
        "empty, and field is required for Maxicode barcode with address validation.";
    const char *noCity =
        "LibUPSFormatMaxiSecondary: Invalid data encountered for \"City\". Data is empty, and field "
        "is required for Maxicode barcode.";
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"StreetAddress=1 Elm St.\nCity=X\n",                         "30328",     "Y", "N", "1 ELM ST.",     nullptr},
        /*  1*/ {"PrimaryAddressNumber=12a\nSecondaryAddressNumber=apt #4\nCity=X\n",
                                                                             "303281234", "Y", "N", "12A\x1C" "APT 4", nullptr},
        /*  2*/ {"SecondaryAddressNumber=4\nCity=X\n",                        "303281234", "Y", "N", "\x1C" "4",      noPrimary},
        /*  3*/ {"City=X\n",                                                  "30328",     "N", "N", "",              noStreet},
        /*  4*/ {"StreetAddress=1 Elm\n",                                     "30328",     "N", "N", "1 ELM",         noCity},
        // validation needs exactly 9 characters
        /*  5*/ {"StreetAddress=1 Elm\nPrimaryAddressNumber=1\nCity=X\n",      "30328-1234", "Y", "N", "1 ELM",        nullptr},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &r = rows[i];
        test::LogCapture log;
        MaxiJob j(r.lines);
        CopyText(j.common->ShipToZip, r.zip);
        CopyText(j.ups->AddressVerificationFlag, r.verification);
        CopyText(j.ups->CompressMaxicode, r.compress);
        MaxiCodeFields fields = Fields(2);
        Secondary(j, fields);
        EXPECT_STREQ(fields.ShipToAddress1, r.address) << "row " << i;
        if (r.error != nullptr) {
            EXPECT_TRUE(log.HasErrorMessage(r.error)) << "row " << i;
        }
    }
}

// Without the format 05 block and the street (golden ups-compress-fields
// prints a compressed secondary with both).
TEST(MaxicodeTest, CompressedSecondaryWithoutFormat05BlockOrStreet) {
    MaxiJob j("ShipDate=02/01/2026\nStreetAddress=100 Main St\nCity=Atlanta\nState=GA\nAddressLine2=Suite 5\n");
    CopyText(j.ups->CompressMaxicode, "Y");
    MaxiCodeFields fields = Fields(2);
    fields.IncludeFmt05 = false;
    fields.IncludeAddr1 = false;
    EXPECT_EQ(Visible(Secondary(j, fields)),
              "1Z05271688<GS>UPSN<GS>12345E<GS>032<GS>SHP12345<GS>2/3<GS>11<GS>N<GS><GS>ATLANTA<GS>GA<RS><EOT>");
}

TEST(MaxicodeTest, MissingInputsFail) {
    MaxiJob j;
    JobFile none(nullptr);
    LabelContext noJob(none, j.port.context);
    char destination[400] = {};
    MaxiCodeFields fields = Fields();
    EXPECT_FALSE(LibUPSFormatMaxicode(nullptr, 400, *j.common, *j.ups, j.label));
    EXPECT_FALSE(LibUPSFormatMaxicode(destination, sizeof destination, *j.common, *j.ups, noJob));
    EXPECT_FALSE(LibUPSFormatMaxiPrimary(nullptr, *j.common, *j.ups, fields, j.label));
    EXPECT_FALSE(LibUPSFormatMaxiSecondary(destination, sizeof destination, *j.common, *j.ups, fields, noJob));
}

}  // namespace
}  // namespace zal
