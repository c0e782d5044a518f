// The FedEx International record (carrier "FDXINT"): the texts of the air
// waybill copies and of the package label, and the package label's PDF417
// message, filled from the job file.  The host's shipping system computes
// the service, routing and bar code values (keys beginning with Lbl or PDF);
// this record takes them as they stand and derives the customs, payment,
// broker and hold lines and the two legal statements.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formatting/CommonData.h"
#include "job/LabelContext.h"

namespace zal {

// Widths include the terminator.  Cleared by FdxIntlFormatData.
struct FedExIntlData {
    char OriginLine[16];            // "ORIGIN ID: " and 4 characters
    char ShipDateLine[24];          // "SHIP DATE: 04DEC26"
    char CadLine[30];               // "CAD: " powership number "/" software version
    char AccountLine[30];           // "Account: S " and the account number
    char WeightLine[30];            // "ACTWGT: %3i KG" or "... LB"
    char DimensionsLine[40];        // "DIMMED %d X %d X %d IN"
    char EciMark[4];                // "ECI"
    char TrackingNumber[30];        // LblTrackingNumber
    char TrackingCaption[30];       // LblTrackingNumberLabel
    char ShipmentMasterNumber[13];  // MasterTrackingNum
    char HandlingCodes[40];         // right-aligned in 20
    char ServiceType[34];           // right-aligned in 22
    char Reference[66];             // upper case
    char CustomsDesc1[66];
    char CustomsDesc2[66];
    char CustomsDesc3[66];
    char CustomsDesc4[66];
    char CountryOfManufacture[21];
    char ExportStatement[1024];
    char LiabilityStatement[1024];
    char CarriageValueText[17];  // right-aligned in 16
    char CustomsValueText[17];   // right-aligned in 16
    char PaymentType[20];        // "S", "R" or "O"
    char PaymentAccount[12];
    char DutyType[2];     // "S", "R" or "O"
    char DutyAccount[12];  // only a 9-character account
    char CarriageCurrency[4];
    char CustomsCurrency[4];
    char FormId[5];
    char LabelType[4];
    char DocFlag[2];
    char FtsrText[40];
    int32_t CurrentLabel;
    char Signature[26];
    char DestinationRamp[8];
    char MasterFormId[5];
    char ZipStateCountry[18];
    char RoutingCode[9];
    char PieceLine[15];  // "%3d of %3d"
    char MasterTrackingNumber[21];
    char BookingCaption[11];  // "Booking#: " beside a booking number
    char BookingNumber[13];
    char PieceCount[11];
    char BrokerCaption[31];
    char BrokerName[39];
    char BrokerPhone[31];
    char BrokerCityZipCountry[31];
    char DryIceLine[30];
    char ReferenceLine1[41];  // "Ref#1: <data>", when the job has the data
    char ReferenceLine2[41];
    char ReferenceLine3[41];
    char ReferenceLine4[41];
    char ReferenceLine5[41];
    char VersionIdentifier[16];
    char ZipOnly[13];
    char Pdf417Message[1001];
    char ReleaseNumber[40];
    char EinVatLine[36];
    char BrokerSelectMark[4];  // "BSO"
    char NdrSedTitle[7];       // a blank when the job names one
    char SlacNumber[33];
    char PaymentText[21];  // "BILL SENDER", "BILL RECIPIENT", "BILL THIRD PARTY"
    char DeliveryAddress[31];
    char CopyCaption[41];  // set for each air waybill copy
    char PackageTypeText[19];
    char ReleaseCaption[5];  // "REL#"
    char PlannedServiceLevel[21];  // right-aligned in 20
    char OneDeeBarcode[41];
    char TrackingBarcodeData[30];  // tracking number and form id
    int32_t FsmsVersion;
};

// The package label's one-dimensional bar code has this length; any other
// prints the air waybill copies alone.
constexpr std::size_t kFdxIntlOneDeeLength = 34;

// Clears the record and the common record and fills both from the job
// (FormatCommonData first).  False only when the common data could not be
// read (a fault, reported there).
bool FdxIntlFormatData(FedExIntlData &data, CommonData &common, LabelContext &label);

// The message reaches the printer with its control bytes written as text:
// GS "_1D", RS "_1E", FS "_1C", EOT "_04".  False (message unchanged) when
// the escaped text does not fit the field.
bool FdxIntlEscapePdf417(char (&message)[sizeof(FedExIntlData::Pdf417Message)]);

}  // namespace zal
