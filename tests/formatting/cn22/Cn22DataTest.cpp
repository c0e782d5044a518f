#include "formatting/cn22/Cn22Data.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/LabelFixture.h"

namespace zal {
namespace {

const std::string kJob = "Carrier=CN22\nCN22TrackingNumber=LZ123456789US\n";

struct Formatted {
    explicit Formatted(const std::string &keys) : job(keys + kJob) { ok = FormatCN22Data(*cn22, *common, job.label); }
    test::LabelJob job;
    std::unique_ptr<Cn22Data> cn22 = std::make_unique<Cn22Data>();
    std::unique_ptr<CommonData> common = std::make_unique<CommonData>();
    bool ok = false;
};

constexpr const char *kLengthRefusal = "Tracking number must be 13, 18 or 26 characters in length.";
constexpr const char *kOwnBarcodeRefusal = "Tracking number must be 13 characters in length.";

// The printed forms of the tracking number, by the flags and the form's
// edition; a number of the wrong length is refused.
TEST(Cn22DataTest, TrackingNumbers) {
    const std::string pic = "92055901649173123456789012";
    const std::string ups = "1Z999AA10123456784";
    // description: the refusal written into the job file
    struct Row {
        std::string keys;
        bool ok;
        const char *description, *tracking, *trackingText, *picText, *upsText, *zip;
    };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"CN22TrackingNumber=LZ123456789U\n",  false, kLengthRefusal, "", "", "", "", ""},
        // 27 characters are refused, not cut to 26
        /*  1*/ {"CN22TrackingNumber=" + pic + "1\n",  false, kLengthRefusal, "", "", "", "", ""},
        /*  2*/ {"CN22TrackingNumber=\n",              false, kLengthRefusal, "", "", "", "", ""},
        // the IMpb code; the ship-to ZIP cut to 5
        /*  3*/ {"CN22TrackingNumber=" + pic + "\nCN22PrintIMpbFlag=Y\nUSPSPICNumber=" + pic + "\nShipToZip=75007-1234\n",
                 true, "", "", "", "9205 5901 6491 7312 3456 7890 12", "", "75007"},
        /*  4*/ {"CN22PrintIMpbFlag=Y\nUSPSPICNumber=9205590164917312345671\n",
                 true, "", "", "", "9205 5901 6491 7312 3456 71 ", "", ""},
        // an empty PIC: the form's own number
        /*  5*/ {"CN22PrintIMpbFlag=Y\nShipToZip=75007-1234\n", true, "", "LZ123456789US", "LZ 123 456 789 US", "", "", "75007-123"},
        // the UPS number is read only with its flag, an upper-case one
        /*  6*/ {"BRDYear=2016\nCN22PrintUPSMMIFlag=y\nTrackingNumber=" + ups + "\n",
                 true, "", "LZ123456789US", "LZ 123 456 789 US", "", "", ""},
        // the form's own bar code encodes 13 characters only
        /*  7*/ {"CN22TrackingNumber=" + ups + "\n", false, kOwnBarcodeRefusal, "", "", "", "", ""},
        /*  8*/ {"CN22TrackingNumber=" + pic + "\nCN22PrintUPSMMIFlag=Y\n", true, "", "9205590164917",
                 "92 055 901 649 17", "", "", ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        Formatted f("From1=Acme\n" + row.keys);
        EXPECT_EQ(f.ok, row.ok) << "row " << i;
        EXPECT_EQ(f.job.Error(), row.description) << "row " << i;
        EXPECT_STREQ(f.cn22->TrackingNumber, row.tracking) << "row " << i;
        EXPECT_STREQ(f.cn22->TrackingNumberText, row.trackingText) << "row " << i;
        EXPECT_STREQ(f.cn22->PICNumberText, row.picText) << "row " << i;
        EXPECT_STREQ(f.cn22->UpsTrackingText, row.upsText) << "row " << i;
        if (row.ok) {
            EXPECT_STREQ(f.cn22->ShipToZip, row.zip) << "row " << i;
        }
        // a number of the wrong length stops the formatting before anything else is read
        EXPECT_STREQ(f.common->From1, row.description == std::string(kLengthRefusal) ? "" : "ACME") << "row " << i;
    }
}

// The edition by form year: its signature caption, the legal lines the
// form prints, and how many line items it takes.
TEST(Cn22DataTest, Editions) {
    std::string fiveItems = "CN22LineItemCount=5\n";
    for (int i = 1; i <= 5; ++i) fiveItems += "CN22LineItem0" + std::to_string(i) + "=1|Item|0|1|1\n";
    struct Row { std::string keys; int32_t version, items; const char *line1, *line5; };
    // clang-format off
    const Row rows[] = {
        // the first year of edition 2 (goldens cn22-* hold the other editions)
        /*  0*/ {"BRDYear=2012\n", 2, 5, "I certify the particulars given in this customs declaration",
                 "requirements under the Foreign Trade Regulations."},
        // only a SurePost label's form keeps ten items and the edition-2 lines
        /*  1*/ {"BRDYear=2021\nCarrier=surepost\n", 4, 3,
                 "I certify the particulars given in this customs declaration are correct.", ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Formatted f(rows[i].keys + fiveItems);
        ASSERT_TRUE(f.ok) << "row " << i;
        EXPECT_EQ(f.cn22->FormVersion, rows[i].version) << "row " << i;
        EXPECT_EQ(f.cn22->LineItemCount, rows[i].items) << "row " << i;
        EXPECT_STREQ(f.cn22->SignatureCaption, "Sender's Signature and Date") << "row " << i;
        EXPECT_STREQ(f.cn22->LegalLine1, rows[i].line1) << "row " << i;
        EXPECT_STREQ(f.cn22->LegalLine5, rows[i].line5) << "row " << i;
    }
    // more items than the form takes; fewer than none
    EXPECT_EQ(Formatted("CN22LineItemCount=11\n").cn22->LineItemCount, 10);
    EXPECT_EQ(Formatted("CN22LineItemCount=-2\n").cn22->LineItemCount, 0);
}

// A line item "quantity|description|pounds|ounces|value": numbers written
// again, cut and right-aligned; the first item's value with "$".
TEST(Cn22DataTest, LineItems) {
    struct Row { std::string item; int index; const char *qty, *description, *lbs, *oz, *value; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"1|Gold bar|20|0|123456.7",               1, "   1", "Gold bar", " 20", " 0", "$123,456.7"},
        // empty fields do not count; missing fields stay empty
        /*  1*/ {"3||Mugs|||2",                            1, "   3", "Mugs", "  2", "  ", "         "},
        /*  2*/ {"12345678|A description of more than thirty-six characters|12345|678|9",
                 2, "12345", "A description of more than thirty-si", "1234", "678", "     9.00"},
        /*  3*/ {"x|Socks|y|z|w",                          2, "   0", "Socks", "  0", " 0", "     0.00"},
        // five characters or fewer: skipped
        /*  4*/ {"1|A|2",                                  1, "", "", "", "", ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LogCapture log;
        log.Unwrap();
        const std::string keys = "BRDYear=2019\nCN22LineItemCount=2\nCN22LineItem0" + std::to_string(row.index) +
                                 "=" + row.item + "\n";
        Formatted f(keys);
        ASSERT_TRUE(f.ok) << "row " << i;
        const int n = row.index;
        EXPECT_STREQ(f.cn22->ItemQty[n], row.qty) << "row " << i;
        EXPECT_STREQ(f.cn22->ItemDescription[n], row.description) << "row " << i;
        EXPECT_STREQ(f.cn22->ItemLbs[n], row.lbs) << "row " << i;
        EXPECT_STREQ(f.cn22->ItemOz[n], row.oz) << "row " << i;
        EXPECT_STREQ(f.cn22->ItemValue[n], row.value) << "row " << i;
        // the other item is missing: skipped with its warning, its place kept
        const int other = 3 - n;
        EXPECT_STREQ(f.cn22->ItemQty[other], "") << "row " << i;
        EXPECT_TRUE(log.Logged("LibCN22FormatData: Line item #" + std::to_string(other) +
                               " contains invalid data from field \"CN22LineItem0" + std::to_string(other) + "\"."))
            << "row " << i;
    }
}

// Totals, tariff number and country of origin, the addresses, the export
// text with the printer's section sign.
TEST(Cn22DataTest, TotalsOriginAndTexts) {
    using Field = const char *(*)(const Cn22Data &, const CommonData &);
    struct Row { std::string keys; Field field; const char *expected; };
    auto weight = [](const Cn22Data &d, const CommonData &) -> const char * { return d.TotalWeight; };
    auto value = [](const Cn22Data &d, const CommonData &) -> const char * { return d.TotalValue; };
    auto tariff = [](const Cn22Data &d, const CommonData &) -> const char * { return d.HSTariffNumber; };
    auto origin = [](const Cn22Data &d, const CommonData &) -> const char * { return d.CountryOfOrigin; };
    auto other = [](const Cn22Data &d, const CommonData &) -> const char * { return d.OtherDescription; };
    auto sed = [](const Cn22Data &d, const CommonData &) -> const char * { return d.SEDText; };
    auto city = [](const Cn22Data &, const CommonData &c) -> const char * { return c.ShipTo7; };
    const std::string longOrigin = "UNITED STATES OF AMERICA INCLUDING PUERTO RICO";
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"CN22TotalLbs=2\"\nCN22TotalOZs=3\n",     weight, "  2' Lbs 3 Oz"},
        /*  1*/ {"CN22TotalLbs=12345\nCN22TotalOZs=3\n",   weight, "  12345 Lbs 3"},
        /*  2*/ {"CN22TotalVal=123456.7\n",                value,  "$123,456.70"},
        /*  3*/ {"CN22CountryOfOrigin=,US\n",              origin, ",US"},
        /*  4*/ {"CN22HSTariffNum=6109.10,6109.90\n",      tariff, "6109.10"},
        // a long origin: 25 characters beside a tariff number (else 35)
        /*  5*/ {"CN22HSTariffNum=6109.10\nCN22CountryOfOrigin=" + longOrigin + "\n", origin, "UNITED STATES OF AMERICA "},
        /*  6*/ {"CN22OtherDescription=12\" records\n",    other, "12' records"},
        // the section sign becomes the printer's 0x15; other bytes are cleaned as usual
        /*  7*/ {"CN22SEDText=\xA7\xA7\xE9\xA9\t30.37\n",  sed,    "\x15\x15\xA9" "30.37"},
        /*  8*/ {"CN22SEDText=NOEEI 30.37(\"a\")\n",       sed,    "NOEEI 30.37(\"a\")"},
        // the city line takes the postal code, even an empty one
        /*  9*/ {"ShipTo7=Paris\n",                        city,   "PARIS "},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Formatted f(rows[i].keys);
        ASSERT_TRUE(f.ok) << "row " << i;
        EXPECT_STREQ(rows[i].field(*f.cn22, *f.common), rows[i].expected) << "row " << i;
    }
}

}  // namespace
}  // namespace zal
