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
        /*  0*/ {"", FIELD(f.data->ShipDateLine), "SHIP DATE: 04DEC26"},
        /*  1*/ {"ShipDate=\n", FIELD(f.data->ShipDateLine), "SHIP DATE: "},
        /*  2*/ {"WeightType=KGS\nComActualWeight=12.5\n", FIELD(f.data->WeightLine), "ACTWGT:  12 KG"},
        /*  3*/ {"WeightType=kgs\n", FIELD(f.data->WeightLine), "ACTWGT:  13 LB"},
        /*  4*/ {"Height=\n", FIELD(f.data->DimensionsLine), ""},
        /*  5*/ {"AccountNumber=\n", FIELD(f.data->AccountLine), ""},
        /*  6*/ {"", FIELD(f.data->PieceLine), "  1 of   2"},
        /*  7*/ {"ExpectedCount=0\n", FIELD(f.data->PieceLine), ""},
        // the city line carries the ZIP and the country code
        /*  8*/ {"", FIELD(f.common->ShipTo7), "LONDON SW1Y4JH  (GB)"},
        /*  9*/ {"Ref2Data=DEPT 12\nRef1Title=PO#:\n", FIELD(std::string(f.data->ReferenceLine1) + "|" + f.data->ReferenceLine2),
                 "|Ref#2: DEPT 12"},
        /* 10*/ {"LblHandlingCodes=XS\n", FIELD(f.data->HandlingCodes), "                  XS"},
        /* 11*/ {"BrokerFlag=y\nBrokerName=Harbour\n", FIELD(std::string(f.data->BrokerSelectMark) + f.data->BrokerName), "BSOHarbour"},
        /* 12*/ {"BrokerFlag=N\nBrokerName=Harbour\n", FIELD(std::string(f.data->BrokerSelectMark) + f.data->BrokerName), ""},
        /* 13*/ {"NDRSEDTitle=NDR\nFTSRLONG=NO EEI 30.37(a)\n", FIELD(std::string(f.data->NdrSedTitle) + f.data->FtsrText), " NO EEI 30.37(a)"},
        /* 14*/ {"DutyAccount=98765432\n", FIELD(f.data->DutyAccount), ""},
        // the first code holding the whole value wins
        /* 15*/ {"PackageType=03\n", FIELD(f.data->PackageTypeText), "PKG TYPE: BOX"},
        /* 16*/ {"PackageType=5\n", FIELD(f.data->PackageTypeText), "PKG TYPE: 10KG BOX"},
        /* 17*/ {"PackageType=25\n", FIELD(f.data->PackageTypeText), "PKG TYPE: 25KG BOX"},
        /* 18*/ {"PackageType=99\n", FIELD(f.data->PackageTypeText), "PKG TYPE: CUSTOMER"},
        /* 19*/ {"PackageType=\n", FIELD(f.data->PackageTypeText), "PKG TYPE: CUSTOMER"},
        /* 20*/ {"FSMS_Ver=169\n", FIELD(std::string(f.data->ExportStatement).substr(0, 17)), "These commodities"},
        /* 21*/ {"FSMS_Ver=170\n", FIELD(std::to_string(std::string(f.data->ExportStatement).size())), "539"},
        // held: the location from the fourth line on, its ZIP and phone
        /* 22*/ {"HoldFlag=y\nHoldCompany=Station\nHoldCity=LONDON\nHoldState=LN\nHoldZip=E16\nHoldPhone=555\n",
                 FIELD(std::string(f.common->ShipTo1) + "|" + f.common->ShipTo4 + "|" + f.common->ShipTo7 + "|" +
                       f.common->ShipToZip + "|" + f.common->ShipToPhone),
                 "|Station|LONDON LN E16|E16|555"},
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
        /*  0*/ {"PaymentMethod=1\nDutyFlag=1\n",          "S BILL SENDER S",      "   $1,234.56 USD", "   $2,500.00 USD"},
        /*  1*/ {"PaymentMethod=2\nDutyFlag=3\n",          "R BILL RECIPIENT O",   "   $1,234.56 USD", "   $2,500.00 USD"},
        /*  2*/ {"PaymentMethod=3\nDutyFlag=2\n",          "O BILL THIRD PARTY R", "   $1,234.56 USD", "   $2,500.00 USD"},
        /*  3*/ {"PaymentMethod=\nDutyFlag=\nTotalCustomsValue=\nTotalCarriageValue=\n",
                                                          "S BILL SENDER S",      "           $ USD", "           $ USD"},
        /*  4*/ {"CustomsCurrencyCode=EUR\nTotalCustomsValue=123.45\n", "S BILL SENDER S", "   $1,234.56 USD", "     $123.45 EUR"},
        // a currency that no longer fits the working text is left off
        /*  5*/ {"TotalCustomsValue=1234567.89\n",         "S BILL SENDER S",      "   $1,234.56 USD", "  $1,234,567.89 "},
        /*  6*/ {"TotalCustomsValue=10000000.00\n",        "S BILL SENDER S",      "   $1,234.56 USD", "  $10,000,000.00"},
        // longer amounts are never cut
        /*  7*/ {"TotalCustomsValue=123456789.00\n",       "S BILL SENDER S",      "   $1,234.56 USD", " $123,456,789.00"},
        /*  8*/ {"TotalCustomsValue=12345678901.23\n",     "S BILL SENDER S",      "   $1,234.56 USD", " $12345678901.23"},
        // a third-party consignee sees no carriage value
        /*  9*/ {"ThirdPartyConsFlag=y\nTotalCustomsValue=1234567.89\n", "S BILL SENDER S", "     $**********", "    1,234,567.89"},
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

// The message of the job, list by list: header and address, parcel data
// (blank optional entries leave no separators), customs data.
TEST(FedExIntlDataTest, Pdf417Message) {
    const std::string header = "[)>" + RS + "01" + GS + "02" + "SW1Y4JH" + GS + "826" + GS + "01" + GS +
                               "794612345678" + GS + "FDE" + GS + "123456789" + GS + "338" + GS + GS + "1/2" + GS +
                               "12.50" + "LB" + GS + "N" + GS + "12 ST JAMES SQUARE" + GS + "LONDON" + GS + "ZZ" +
                               GS + "ADA LOVELACE" + RS;
    const std::string parcel = "06" + GS + "10ZEIO05" + GS + "12Z442079460000" + GS + "15Z1234567" + GS +
                               "28Z794612345678" + GS + "31Z1001901781720000794612345678000000" + GS;
    const std::string customs = "99ZEI0005" + FS + "US" + FS + "2500.00" + FS + "USD" + FS + "BRASS GEARS" + FS +
                                "001" + FS + "Y" + FS + FS + "1234.5" + FS + "987654321" + GS + RS;
    EXPECT_EQ(Formatted("").data->Pdf417Message, header + parcel + customs + EOT);

    struct Row { const char *keys; std::vector<std::string> present; std::string absent; };
    // clang-format off
    const Row rows[] = {
        // the day of the year of the job's own date, not of the printed one
        /*  0*/ {"ShipDate=12/31/2024\n", {GS + "366" + GS}, GS + "000" + GS},
        /*  1*/ {"ShipToZip=D2\n", {"02D2 " + GS}, "SW1Y"},
        /*  2*/ {"ShipToZip=\n", {"02000" + GS}, "SW1Y"},
        /*  3*/ {"PDFState=PR\nPDFCountryCode=840\n", {"PR" + GS + "ADA LOVELACE" + RS + "06" + GS + "10ZED006" + GS}, "99Z"},
        /*  4*/ {"PDFState=PR\n", {"10ZEIO05" + GS}, "ED006"},
        /*  5*/ {"OrderCount=0\n", {"15Z1234567" + GS + "31Z"}, "28Z"},
        /*  6*/ {"PaymentMethod=2\n", {GS + "15Z1234567" + GS + "18Z" + FS + "E2" + GS + "28Z"}, "E3"},
        /*  7*/ {"PDFPayAccount=555\n", {"18Z555" + FS + GS + "28Z"}, "E2"},
        /*  8*/ {"WeightType=KGS\nActualWeight=6.8\n", {GS + "6.80KG" + GS}, "LB"},
        /*  9*/ {"HoldFlag=Y\nHoldCompany=Station\nHoldAttention=Hold for Ada\nHoldAddress=1 Dock Rd\nHoldCity=LONDON\n"
                 "HoldZip=E16\nPDFHOLDPhoneNumber=4420700\nPDFShipToAddress2=UNIT 4\nPDFState=PR\nPDFCountryCode=840\n",
                 {"02E16" + GS + "840" + GS, "N" + GS + "1 Dock Rd" + GS + "LONDON" + GS + "ZZ" + GS + "Station" + RS +
                  "06" + GS + "10ZEIO05" + GS + "11ZHold for Ada" + GS + "12Z4420700" + GS + "15Z"}, "UNIT 4"},
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
