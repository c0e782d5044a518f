// The USPS record: every text the USPS label of the 2012 generation prints,
// filled from the job file.  Widths include the terminator.
#pragma once

#include <cstdint>

#include "formatting/CommonData.h"
#include "job/LabelContext.h"

namespace zal {

struct UspsData {
    char InternationalFlag[2];
    char FeeLine[41];
    char Service[51];
    char IndiciaLine[41];
    char EntryPoint[41];
    char PermitLine[41];
    char ArticleNumber[42];
    char TrackingNumber[40];
    char GroupedTrackingNumber[40];
    char ReferenceLine[35];
    char InvoiceNumber[35];
    char PieceCountLine[15];
    char ExpressFlag;  // 'Y' for Priority Mail Express, else 'N'
    char ExpressAccount[31];
    char ExpressTitle[22];
    char PostalServiceLine[32];
    char ShipDateLine[22];
    char WaiverFlag[2];
    char ExpressWaiverLine[30];
    char NoDeliveryFlag[2];
    // "NO DELIVERY WEEKEND or HOLIDAY " is 31 characters: a narrower field
    // would print a meaningless fragment of it.
    char NoDeliveryLine[32];
    char ReturnReceiptLine[25];
    char ExpressBoxTitle[31];
    char CorporateAccountCaption[31];
    char WaiverLine[30];
    char Carrier[7];
    char ClassCode[4];
    char ServiceBanner[51];
    char TrademarkLine[75];
    char WeightLine[15];
    char MachinabilityLine[15];
    char PostalRoutingFlag[2];
    char DropFlag[2];
    char ClassOfMailLine[51];
    char DropDestination[51];
    char DropCaption[51];
    char RoutingAI[4];
    char CPASFlag[4];
    char PackageIdCaption[11];
    char PackageId[21];
    char PackageIdLine[22];
    char ShipCaption[5];
    char ToCaption[5];
    char FromPhoneCaption[11];
    char PieceCaption[11];
    char InvoiceCaption[11];
    char WeightCaption[11];
    char BoxCaption[11];
    char Endorsement[31];
    char RestrictedDeliveryLine[31];
    char ServiceTypeBanner[51];
    int32_t UspsYear;
};

// The first label generation this library formats; earlier jobs are refused.
constexpr int32_t kFirstUspsYear = 2012;

// Fills the USPS record and the common record from the job file (the 2012
// generation).  False when the job is refused: an empty service (the
// reason is written into the job file) or a fault (reported).
bool FormatUspsData(UspsData &usps, CommonData &common, LabelContext &label);

// The banner printed above the IMpb bar code for the service type code
// (tracking-number characters 3 to 5); never null.
const char *UspsServiceTypeBanner(const char *serviceTypeCode);

}  // namespace zal
