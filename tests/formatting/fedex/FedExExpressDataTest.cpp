#include "formatting/fedex/FedExExpressData.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/LabelFixture.h"

namespace zal {
namespace {

const std::string kOneDee = "1001900000000007946123456702820200";
const std::string kJob = "Carrier=FDX\nOneDeeBarcode=" + kOneDee + "\n";

struct Formatted {
    explicit Formatted(const std::string &keys) : job(keys + kJob) {
        ok = FdxFormatData(*fedex, *common, job.label);
    }
    test::LabelJob job;
    std::unique_ptr<FedExExpressData> fedex = std::make_unique<FedExExpressData>();
    std::unique_ptr<CommonData> common = std::make_unique<CommonData>();
    bool ok = false;
};

using Field = const char *(*)(const FedExExpressData &, const CommonData &);
template <auto Member>
const char *Express(const FedExExpressData &f, const CommonData &) {
    return f.*Member;
}
template <auto Member>
const char *Common(const FedExExpressData &, const CommonData &c) {
    return c.*Member;
}
using X = FedExExpressData;

// The lines the record derives from the job's keys.
TEST(FedExExpressDataTest, DerivedLines) {
    struct Row { const char *keys; Field field; const char *expected; };
    // clang-format off
    const Row rows[] = {
        // kilograms for "KGS" only
        /*  0*/ {"WeightType=kgs\nComActualWeight=12.5\n", Express<&X::WeightLine>, "ACTWGT: 12.50 LB"},
        /*  1*/ {"WeightType=KG\nComActualWeight=1e2\n",   Express<&X::WeightLine>, "ACTWGT: 100.00 LB"},
        // at most 4 characters of the weight are read
        /*  2*/ {"ComActualWeight=12345\n",                Express<&X::WeightLine>, "ACTWGT: 1234.00 LB"},
        /*  3*/ {"PaymentMethod=23\n",                     Express<&X::PaymentLine>, "BILL RECIPIENT"},
        // the ship date: day, month and two-digit year; another form keeps its first 5 and its 8th and 9th characters
        /*  4*/ {"ShipDate=3/4/2025\n",                    Express<&X::ShipDateLine>, "SHIP DATE: 3/4/25"},
        /*  5*/ {"",                                       Express<&X::ShipDateLine>, "SHIP DATE: "},
        /*  6*/ {"Length=12\nWidth=10\n",                                  Express<&X::DimensionsLine>, ""},
        /*  7*/ {"DryIceFlag=y\n",                                         Express<&X::DryIceLine>, "DRY ICE: 0.00 KG"},
        /*  8*/ {"DryIceFlag=N\nDryIceWeight=2.5\n",                       Express<&X::DryIceLine>, ""},
        /*  9*/ {"ReleaseFlag=N\nReleaseNumber=R1\n",                      Express<&X::ReleaseNumber>, ""},
        // a reference line only with its data
        /* 10*/ {"Ref2Title=Department\nRef2Data=RECEIVING\n",             Express<&X::ReferenceLine2>, "Depart RECEIVING"},
        /* 11*/ {"Ref5Title=Dept:\n",                                      Express<&X::ReferenceLine5>, ""},
        /* 12*/ {"ShipToCountryFull=UNITED STATES OF AMERICA\nShipToCountry=United States\n",
                 Express<&X::CountryLine>, "UNITED STATES OF AME     UNITED "},
        // the city line takes a ZIP of 5 characters or more
        /* 13*/ {"ShipTo7=Charlotte NC\nShipToZip=2820\n",                 Common<&CommonData::ShipTo7>, "CHARLOTTE NC"},
        // quotes: the printed lines from the ship date to the piece count, and the addresses; not the origin line
        /* 14*/ {"Origin=A\"B\n",                                          Express<&X::OriginLine>, "ORIGIN ID: A\"B"},
        /* 15*/ {"LblTrackingNumberLabel=TRK\"#\n",                        Express<&X::TrackingCaption>, "TRK'#"},
        // COD texts, read only when the COD return label goes with this package
        /* 16*/ {"CodFlag=N\n",                                            Express<&X::CodSecurity>, ""},
        /* 17*/ {"CodFlag=Y\nOrderCount=2\n",                              Express<&X::CodSecurity>, ""},
        /* 18*/ {"CodFlag=Y\nLblCODServiceType=2DAY\n",                    Express<&X::CodServiceType>, "              2DAY"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Formatted f(rows[i].keys);
        ASSERT_TRUE(f.ok) << "row " << i;
        EXPECT_STREQ(rows[i].field(*f.fedex, *f.common), rows[i].expected) << "row " << i;
    }
}

const std::string RS = "\x1E", GS = "\x1D", FS = "\x1C", EOT = "\x04";

// The first list of a message: the shipment and where it goes.
std::string Shipment(const std::string &zipServiceTracking, const std::string &account, const std::string &day,
                     const std::string &pieces, const std::string &weight, const std::string &address) {
    return "[)>" + RS + "01" + GS + "02" + zipServiceTracking + GS + "FDE" + GS + account + GS + day + GS + GS +
           pieces + GS + weight + GS + "N" + GS + address + RS;
}

const std::string kMessageJob =
    "ShipToZip=28202\nTrackingNumber=794612345670\nLblFormID=0201\nShipDate=03/14/2025\nComActualWeight=12.5\n"
    "PDFCountryCode=840\nPDFServiceLevel=01\nPDFAccountNumber=123456789\nPowershipNumber=1234567\n"
    "DeliveryAddress=2275 OLD MILL RD\nPDFCity=CHARLOTTE\nPDFState=NC\nPDFShipToName=DORIAN FELSTED\n";
const std::string kZipServiceTracking = "28202" + GS + "840" + GS + "01" + GS + "794612345670" "0201";
const std::string kAddress = "2275 OLD MILL RD" + GS + "CHARLOTTE" + GS + "NC" + GS + "DORIAN FELSTED";
const std::string kShipment = Shipment(kZipServiceTracking, "123456789", "073", "", "12.50" "LB", kAddress);
// The second list's fixed pieces and its end.
const std::string kOptional = "06" + GS + "10Z" "ED007" + GS;
const std::string kEnd = "31Z" + kOneDee + GS + RS + EOT;

// The Express label's PDF417 message: a list of fixed and job pieces; the
// second list loses the separators of the empty pieces it may leave out.
TEST(FedExExpressDataTest, ExpressMessage) {
    struct Row { std::string keys; std::string message; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"", kShipment + kOptional + "15Z" "1234567" + GS + kEnd},
        // pieces only with both counts
        /*  1*/ {"OrderCount=2\n", kShipment + kOptional + "15Z" "1234567" + GS + kEnd},
        // the payer's account and the payment code around FS, either one alone
        /*  2*/ {"PDFPayAccount=987654321\n",
                 kShipment + kOptional + "15Z" "1234567" + GS + "18Z" "987654321" + FS + GS + kEnd},
        /*  3*/ {"PaymentMethod=3\n", kShipment + kOptional + "15Z" "1234567" + GS + "18Z" + FS + "E3" + GS + kEnd},
        // key values cut to their maximum
        /*  4*/ {"PDFShipToPhoneNumber=704-555-0199-1234\nPDFOrderNumber=SO-88213\nMasterTrackingNumber=794612345600\n",
                 kShipment + kOptional + "12Z" "704-555-0199-1" + GS + "15Z" "1234567" + GS + "K" "SO-88213" + GS +
                 "28Z" "794612345600" + GS + kEnd},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Formatted f(rows[i].keys + kMessageJob);
        ASSERT_TRUE(f.ok) << "row " << i;
        EXPECT_EQ(f.fedex->Pdf417Message, rows[i].message) << "row " << i;
        EXPECT_EQ(f.fedex->Pdf417Length, static_cast<int32_t>(rows[i].message.size())) << "row " << i;
        EXPECT_STREQ(f.fedex->CodPdf417Message, "") << "row " << i;
    }
}

// The one-dimensional bar code must have 34 characters: otherwise the job
// is refused before anything else is read, with the reason in the job file.
TEST(FedExExpressDataTest, OneDimensionalBarcodeLength) {
    // clang-format off
    const struct { std::string value; bool ok; } rows[] = {
        /*  0*/ {kOneDee, true},
        /*  1*/ {kOneDee.substr(1), false},
        /*  2*/ {kOneDee + "5", false},
        // a longer value is not cut to fit
        /*  3*/ {kOneDee + "0123456", false},
        /*  4*/ {"", false},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::LabelJob job("From1=Acme\nOneDeeBarcode=" + rows[i].value + "\n");
        auto fedex = std::make_unique<FedExExpressData>();
        auto common = std::make_unique<CommonData>();
        EXPECT_EQ(FdxFormatData(*fedex, *common, job.label), rows[i].ok) << "row " << i;
        EXPECT_EQ(job.Error(), rows[i].ok ? "" : "FedEx 1D barcode data must be 34 characters in length.") << "row " << i;
        EXPECT_STREQ(common->From1, rows[i].ok ? "ACME" : "") << "row " << i;
    }
}

}  // namespace
}  // namespace zal
