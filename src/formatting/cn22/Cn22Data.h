// The CN22 customs declaration record (PS Form 2976): the tracking number
// and its printed forms, up to ten line items, totals, tariff number and
// country of origin, the delivery address, and every caption and legal text
// of the form in the edition the job's form year asks for.  Read by the
// CN22 form and by the labels that print the form after their own.
#pragma once

#include <cstdint>

#include "formatting/CommonData.h"
#include "job/LabelContext.h"

namespace zal {

// The line items of a form: entries 1 to kCn22MaxLineItems (entry 0 unused).
constexpr int kCn22MaxLineItems = 10;

// Widths include the terminator.  Zeroed by the caller.
struct Cn22Data {
    char TrackingNumber[14];      // the 13-character tracking number
    char TrackingNumberText[18];  // "LZ 123 456 789 US"
    char PICNumber[27];           // IMpb package identification code
    char PICNumberText[33];       // six groups of 4 and one of 2
    char UpsTrackingNumber[19];
    char UpsTrackingText[24];   // "1 Z999AA 101 2345678 4"
    char OtherDescription[51];  // 30 characters
    char TotalWeight[14];       // "   2 Lbs 3 Oz"
    char TotalValue[12];        // "  $1,234.50"
    char HSTariffNumber[256];
    char CountryOfOrigin[256];
    char DeliverTo1[31];
    char DeliverTo2[31];
    char DeliverTo3[31];
    char DeliverToCityStZip[31];
    char ItemQty[kCn22MaxLineItems + 1][31];
    char ItemDescription[kCn22MaxLineItems + 1][101];
    char ItemLbs[kCn22MaxLineItems + 1][31];
    char ItemOz[kCn22MaxLineItems + 1][31];
    char ItemValue[kCn22MaxLineItems + 1][31];
    // captions of the form
    char FromCaption[5];
    char ShipToCaption[8];
    char PostalServiceCaption[29];
    char CustomsDeclarationCaption[20];
    char Cn22Caption[6];
    char OpenedOfficiallyCaption[25];
    char GiftCaption[21];
    char CommercialSampleCaption[21];
    char DocumentsCaption[21];
    char OtherCaption[21];
    char QtyCaption[36];
    char DescriptionCaption[36];
    char LbsCaption[36];
    char OzCaption[36];
    char ValueCaption[36];
    char WeightCaption[36];
    char TariffCaption1[51];
    char TariffCaption2[51];
    char TotalWeightCaption[13];
    char TotalValueCaption[12];
    char UsDollarCaption[7];
    char SignatureCaption[28];
    char Certification[288];
    char LegalLine1[128];
    char LegalLine2[128];
    char LegalLine3[128];
    char LegalLine4[128];
    char LegalLine5[128];
    char ExemptionCaption[31];
    char SEDText[41];         // the section sign as the printer's 0x15
    char PrintIMpbFlag[2];    // "Y": the IMpb package identification code is printed
    char PrintUPSMMIFlag[2];  // "Y": the UPS tracking number is printed
    char ShipToZip[10];
    char IntlFlag[2];
    int32_t TypeOfGoods;    // 0 gift, 1 commercial sample, 2 documents, 3 other
    int32_t LineItemCount;  // after the limit of the edition
    int32_t FormVersion;    // edition 1 to 4, from BRDYear
    int32_t BRDYear;
    char Carrier[10];
    bool IsSurePost;
    char PrintCN22Flag[2];
    bool IsMFlag;
};

// Reads the customs data of the job into the record and the common record
// (FormatCommonData).  False after a refusal (the reason is in the job
// file's "Error" section) or a fault (reported).
bool LibCN22FormatData(Cn22Data &cn22, CommonData &common, LabelContext &label);
// LibCN22FormatData, then the texts made safe for the printer and the
// legal lines of the form chosen; its result is LibCN22FormatData's.
bool FormatCN22Data(Cn22Data &cn22, CommonData &common, LabelContext &label);

}  // namespace zal
