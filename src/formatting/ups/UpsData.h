// The UPS record: every text, barcode payload and flag the UPS layouts
// print, filled from the job file.  Widths include the terminator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "documents/LabelFormat.h"

namespace zal {

struct UpsData {
    char ShipTitle[5];
    char PostalAI[5];
    char PostalCode[20];
    char PostalTitle[40];
    char PostalBarcodeData[20];
    char PostalBarcodeNumeric[16];
    char PostalBarcodeTail[16];
    char PostalReadable[20];
    char TrackingNumber[20];
    char ServiceName[40];
    char TrackingText[40];
    char TrackingBarcodeHead[20];
    char TrackingBarcodeTail[20];
    char ServiceLevel[10];
    char MaxiCodeData[ZalLib::kMaxicodeDataSize];
    int32_t MaxiCodeMessageLength;
    int32_t MaxiCodeCompressedLength;
    int32_t MaxiCodeLength;
    bool MaxiCodeCompressed;
    bool MaxiCodeReady;
    int16_t MaxiCodeMode;
    char BillingLines[8][66];
    int16_t BillingLineCount;
    char DocumentIndicator[16];
    char CustomsDocuments[16];
    char WeightText[18];
    char PackageCountText[15];
    char POLine[128];
    char Carrier[7];
    char ISOCode[4];
    char ShipmentNumber[14];
    char ShipmentWeight[5];
    char ShipmentDate[12];
    char ShipmentRef1[41];
    char ShipmentRef2[41];
    char RoutingCode[15];
    char RoutingVersion[6];
    char RoutingDate[8];
    char DimensionalWeight[10];
    char HandlingText[8];
    char ShipmentDimWeight[6];
    char ServiceMark[4];
    char AddressVerificationFlag[2];
    char RouteFound[2];
    bool RouteValid;
    char CompressMaxicode[2];
    char DimWeightText[30];
    int32_t MaxiServiceClass;
    char USPSServiceType[2];
    char PrintCN22Flag[2];
    char PrintPIFlag[2];
    char AccessPointFlag[2];
    char AccessPointCode[8];
    // USPS hand-off.
    char USPSDeliverToTitle[21];
    char USPSDelToLine1[31];
    char USPSDelToLine2[31];
    char USPSDelToLine3[31];
    char USPSDelToCityStZip[31];
    char USPSDelToZip5[6];
    char Endorsement[2];
    char EndorsementText[31];
    char EndorsementText2[31];
    char USPSClassText[21];
    char USPSPostagePaidText[21];
    char USPSUpsText[21];
    char USPSeVSText[21];
    char USPSBarcodeTitle[51];
    char USPSPICNumber[31];
    char USPSPICText[51];
    char USPSPICDigits[4];
    char LaneText[21];
    char USPSWeightTitle[21];
    char AESText[46];
    char EINText[26];
    char ISCFlag[2];
    char ISCText[11];
    char HeavyFlag[2];
    char ToTitle[4];
    char FromTitle[6];
    char ProactiveMark[4];
    char RefrigerationMark[4];
    char ReturnServiceText[15];
    char PaperlessFlag[2];
    char PDF417Data[ZalLib::kPdf417DataSize];
    int32_t PDF417Length;
    // Paperless invoice backup document texts.
    char BackupTrackingTitle[21];
    char BackupShipmentTitle[21];
    char BackupDocumentText[51];
    char BackupSignatureTitle[21];
    char BackupDateTitle[21];
    char BackupTrackingNumber[31];
    bool PDF417TooLong;
    bool PDF417Reduced;
    // Fixed texts of the USPS parcel return service.
    char ReturnServiceTitle[51];
    char ReturnServiceClass[31];
    char ReturnSender1[21];
    char ReturnSender2[21];
    char ReturnGivenTo[51];
    char ReturnUps[21];
    char ReturnUnitedStates[21];
    char ReturnPostalService[21];
    char ReturnRS[4];
    char ReturnPermit[31];
    char ReturnParcelService[31];
    char ReturnB02[4];
    char ReturnNoPostage[21];
    char ReturnNecessary[21];
    char ReturnMailed[31];
    char PuertoRicoSender[2];
    char TestModeFlag[2];
    char TestID[11];
    char RFAShowLogo[2];
    char ImagePath[501];
    char CarbonNeutralText[51];
    int32_t BRDYear;
    char Attention[36];
    char TermsLines[15][128];
    int16_t TermsLineCount;
    char PkgInfoLines[6][21];
    int16_t PkgInfoLineCount;
    char CustomerDataLines[5][65];
    int16_t CustomerDataLineCount;
};

// Returns records to a one-record pool instead of to the allocator: the
// record is larger than the allocator's threshold for mapping memory, so
// each job would otherwise map and unmap it afresh.
struct UpsDataRelease {
    void operator()(UpsData *ups) const;
};
using UpsDataPtr = std::unique_ptr<UpsData, UpsDataRelease>;

// A zeroed record (it is some 230 KB).  The PDF417 message is only ever
// read up to its terminator, so of its 220,001 bytes only the first is
// cleared.
UpsDataPtr NewUpsData();

}  // namespace zal
