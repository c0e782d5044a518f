#include "formatting/fedex/FedExInternationalData.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "formatting/fedex/FedExInternationalJob.h"

namespace zal {
namespace {

const std::string RS = "\x1E", GS = "\x1D", FS = "\x1C", EOT = "\x04";

struct Formatted {
    explicit Formatted(const std::string &keys) : job(keys) {
        EXPECT_TRUE(FdxIntlFormatData(*data, *common, job.label));
    }
    test::FdxIntlJob job;
    std::unique_ptr<FedExIntlData> data = std::make_unique<FedExIntlData>();
    std::unique_ptr<CommonData> common = std::make_unique<CommonData>();
};

using Field = std::string (*)(const Formatted &);
#define FIELD(expression) [](const Formatted &f) -> std::string { return expression; }

TEST(FedExIntlDataTest, DerivedTexts) {
    struct Row { const char *keys; Field field; const char *expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"ShipDate=\n", FIELD(f.data->ShipDateLine), "SHIP DATE: "},
        /*  1*/ {"WeightType=kgs\n", FIELD(f.data->WeightLine), "ACTWGT:  13 LB"},
        /*  2*/ {"Height=\n", FIELD(f.data->DimensionsLine), ""},
        /*  3*/ {"AccountNumber=\n", FIELD(f.data->AccountLine), ""},
        /*  4*/ {"ExpectedCount=0\n", FIELD(f.data->PieceLine), ""},
        /*  5*/ {"Ref2Data=DEPT 12\nRef1Title=PO#:\n", FIELD(std::string(f.data->ReferenceLine1) + "|" + f.data->ReferenceLine2),
                 "|Ref#2: DEPT 12"},
        /*  6*/ {"BrokerFlag=N\nBrokerName=Harbour\n", FIELD(std::string(f.data->BrokerSelectMark) + f.data->BrokerName), ""},
        // the first code holding the whole value wins
        /*  7*/ {"PackageType=5\n", FIELD(f.data->PackageTypeText), "PKG TYPE: 10KG BOX"},
        /*  8*/ {"PackageType=25\n", FIELD(f.data->PackageTypeText), "PKG TYPE: 25KG BOX"},
        /*  9*/ {"PackageType=99\n", FIELD(f.data->PackageTypeText), "PKG TYPE: CUSTOMER"},
        /* 10*/ {"PackageType=\n", FIELD(f.data->PackageTypeText), "PKG TYPE: CUSTOMER"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Formatted f(rows[i].keys);
        EXPECT_EQ(rows[i].field(f), rows[i].expected) << "row " << i;
    }
}

TEST(FedExIntlDataTest, PaymentAndValues) {
    struct Row { const char *keys; const char *payment; const char *carriage; const char *customs; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"PaymentMethod=\nDutyFlag=\nTotalCustomsValue=\nTotalCarriageValue=\n",
                                                          "S BILL SENDER S",      "           $ USD", "           $ USD"},
        /*  1*/ {"CustomsCurrencyCode=EUR\nTotalCustomsValue=123.45\n", "S BILL SENDER S", "   $1,234.56 USD", "     $123.45 EUR"},
        // a currency that no longer fits the working text is left off
        /*  2*/ {"TotalCustomsValue=1234567.89\n",         "S BILL SENDER S",      "   $1,234.56 USD", "  $1,234,567.89 "},
        /*  3*/ {"TotalCustomsValue=10000000.00\n",        "S BILL SENDER S",      "   $1,234.56 USD", "  $10,000,000.00"},
        // longer amounts are never cut
        /*  4*/ {"TotalCustomsValue=12345678901.23\n",     "S BILL SENDER S",      "   $1,234.56 USD", " $12345678901.23"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Formatted f(rows[i].keys);
        const FedExIntlData &d = *f.data;
        EXPECT_EQ(std::string(d.PaymentType) + " " + d.PaymentText + " " + d.DutyType, rows[i].payment) << "row " << i;
        EXPECT_EQ(d.CarriageValueText, std::string(rows[i].carriage)) << "row " << i;
        EXPECT_EQ(d.CustomsValueText, std::string(rows[i].customs)) << "row " << i;
    }
}

// The message's optional entries: blank ones leave no separators (the
// goldens fedex-intl-* print whole messages).
TEST(FedExIntlDataTest, Pdf417Message) {
    struct Row { const char *keys; std::vector<std::string> present; std::string absent; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"ShipToZip=\n", {"02000" + GS}, "SW1Y"},
        /*  1*/ {"PDFState=PR\n", {"10ZEIO05" + GS}, "ED006"},
        /*  2*/ {"OrderCount=0\n", {"15Z1234567" + GS + "31Z"}, "28Z"},
        /*  3*/ {"PaymentMethod=2\n", {GS + "15Z1234567" + GS + "18Z" + FS + "E2" + GS + "28Z"}, "E3"},
        /*  4*/ {"PDFPayAccount=555\n", {"18Z555" + FS + GS + "28Z"}, "E2"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        std::string message = Formatted(rows[i].keys).data->Pdf417Message;
        for (const std::string &piece : rows[i].present) {
            EXPECT_NE(message.find(piece), std::string::npos) << "row " << i << ": " << message;
        }
        EXPECT_EQ(message.find(rows[i].absent), std::string::npos) << "row " << i << ": " << message;
    }
}

TEST(FedExIntlDataTest, EscapePdf417) {
    char message[sizeof(FedExIntlData::Pdf417Message)] = "[)>\x1E" "01\x1D" "02\x1C" "Y\x04";
    EXPECT_TRUE(FdxIntlEscapePdf417(message));
    EXPECT_STREQ(message, "[)>_1E01_1D02_1CY_04");

    // 400 separators need 1200 characters: the message stays as it was
    std::string full(400, '\x1D');
    CopyText(message, full.c_str());
    EXPECT_FALSE(FdxIntlEscapePdf417(message));
    EXPECT_EQ(std::string(message), full);
}

}  // namespace
}  // namespace zal
