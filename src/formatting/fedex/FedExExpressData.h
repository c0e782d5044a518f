// The FedEx Express record (carrier "FDX"): the texts of the Express label
// and of its COD return label, and the PDF417 message of each, filled from
// the job file.  The host's shipping system computes the service, routing
// and bar code values (keys beginning with Lbl or PDF); they are taken as
// they stand, and the origin, date, weight, payment, hold and COD lines are
// derived here.
#pragma once

#include <cstdint>

#include "formatting/CommonData.h"
#include "job/JobWideValues.h"
#include "job/LabelContext.h"

namespace zal {

// Widths include the terminator.  Zeroed by the label routine.
struct FedExExpressData {
    char OriginLine[16];    // "ORIGIN ID: " and 4 characters
    char ShipDateLine[24];  // "SHIP DATE: 04DEC26"
    char WeightLine[30];    // "ACTWGT: 12.50 LB"
    char DryIceLine[30];    // "DRY ICE: 2.50 KG"
    char PaymentLine[20];   // "BILL SENDER", "BILL RECIPIENT", "BILL THIRD PARTY"
    char ReleaseNumber[40];
    char ServiceType[40];  // right-aligned in 20
    char CadLine[30];      // "CAD: " powership number "/" software version
    char MasterTrackingNumber[30];
    char TrackingNumber[30];
    char TrackingCaption[30];
    char RoutingCode[9];
    char DestinationRamp[8];
    char ZipStateCountry[12];
    char HandlingCodes[40];   // right-aligned in 20
    char DimensionsLine[40];  // "DIMS: 12 X 10 X 8 IN"
    char FormId[12];
    char MasterFormId[5];
    char CodReturnAddress1[31];
    char CodReturnAddress2[31];
    char CodReturnAddress3[31];
    char CodReturnPhone[31];  // 20 characters
    char ToCaption[10];       // "TO:"
    char CodReturnTrackingNumber[30];
    char CodAmountLine[30];  // "COD AMOUNT: $ 125.00"
    char CodZipStateCountry[12];
    char CodSecurity[12];  // "SECURED" or "UNSECURED"
    char PieceCount[11];
    char CodServiceType[40];       // right-aligned in 18
    char DeliveryBarcodeData[32];  // "7" and the delivery address
    char Brand[6];                 // "FedEx"
    char BrandLine2[16];           // "Express"
    char ReferenceLine1[41];       // "Ref#1: <data>", only with data
    char ReferenceLine2[41];
    char ReferenceLine3[41];
    char ReferenceLine4[41];
    char ReferenceLine5[41];
    char ServiceLetter[2];  // "E"
    char VersionIdentifier[16];
    char ZipOnly[13];
    char CodZipOnly[13];
    char Pdf417Message[1001];
    int32_t Pdf417Length;
    char CodReturnCaption[11];        // "COD RETURN"
    char CodDeliveryBarcodeData[32];  // "7" and the COD delivery address
    char CodFormId[5];
    char CodTrackingCaption[5];
    char CountryLine[33];
    char DeliveryAddress[31];
    char CodPdf417Message[1001];
    char ReturnsFlag[2];
    char ReleaseCaption[5];        // "REL#"
    char PlannedServiceLevel[21];  // right-aligned in 20
    char CodServiceLevel[3];       // never filled: the COD return label prints it empty
    char OneDeeBarcode[41];        // exactly 34 characters
    char CodOneDeeBarcode[41];
    char CodReturnName[31];
    char CodReturnAddress2Line2[31];
    int32_t CodPrintLast;  // "CODPrintLastFlag"
};

// The COD return label goes with the first package of the order, or with
// the last one when the job asks for that ("CODPrintLastFlag" not 0).
bool FedExCodGoesWithThisPackage(int32_t codPrintLast, const JobWideValues &jobWide);
// The COD return label is printed after the Express label: the job ordered
// it (its tracking caption and number are filled) and this package takes it.
bool FedExCodReturnLabelOrdered(const FedExExpressData &fedex, const JobWideValues &jobWide);

// Fills the record and the common record (FormatCommonData) from the job
// file and builds the PDF417 messages.  False after a refusal (the reason is
// in the job file's "Error" section) or a fault (reported).
bool LibfdxFormatData_170x(FedExExpressData &fedex, CommonData &common, LabelContext &label);
// LibfdxFormatData_170x, then double quotes of the address lines and of the
// record's printed lines become apostrophes.
bool FdxFormatData(FedExExpressData &fedex, CommonData &common, LabelContext &label);

}  // namespace zal
