// FormatUspsData: the job file becomes the USPS record of the USPS label
// (2012 generation): service and trademark texts, indicia and permit,
// grouped tracking number, the Priority Mail Express and drop-shipment
// blocks, and the banner above the IMpb bar code.
#include "formatting/usps/UspsData.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "common/Log.h"
#include "common/Strings.h"

namespace zal {
namespace {

constexpr const char *kLibUspsModule = "Shared/ZALLib/LibUSPS";
constexpr const char *kExpressService = "PRIORITY MAIL EXPRESS";

// ---------------------------------------------------------------- tables

struct ServiceClass {
    const char *service;
    const char *classCode;
    const char *trademark;  // upper-cased and centred before it is printed
};
// clang-format off
const ServiceClass kServiceClasses[] = {
    {"PRIORITY MAIL",          "P",   "Priority Mail is a registered trademark of the U.S. Postal Service"},
    {"FIRST-CLASS MAIL",       "FCM", "First Class Mail is a registered trademark of the U.S. Postal Service"},
    {"FIRST-CLASS PKG",        "F",   " "},
    {"PARCEL POST",            "PP",  "Parcel Post is a registered trademark of the U.S. Postal Service"},
    {"PARCEL SELECT",          "PS",  "Parcel Select is a registered trademark of the U.S. Postal Service"},
    {"PARCEL SELECT GND",      "PS",  "Parcel Select is a registered trademark of the U.S. Postal Service"},
    {"PARCEL SELECT NPS",      "PS",  "Parcel Select is a registered trademark of the U.S. Postal Service"},
    {"PS LIGHTWEIGHT",         "PS",  " "},
    {"PRSRT FIRST-CLASS MAIL", "FCM", "First Class Mail is a registered trademark of the U.S. Postal Service"},
    {"PRIORITY MAIL EXPRESS",  "E",   "Priority Mail Express is a registered trademark of the U.S. Postal Service"},
    {"GROUND ADVANTAGE",       "G",   " "},
};
// clang-format on

// The IMpb service type codes (tracking-number characters 3 to 5) by the
// banner printed above the bar code.  A code is searched as a substring of
// each list in row order; the first list holding it decides.
struct ServiceTypeRow {
    const char *lists[7];  // up to the first null
    const char *banner;
};
// clang-format off
const ServiceTypeRow kServiceTypes[] = {
    {{"001,019,020,025,040,042,055,056,058,059,112,113,117,134,135,162,164,165,209,211,216,259,265,269,346",
      "359,361,362,363,366,378,383,389,390,396,402,419,431,432,458,467,473,490,502,503,521,528,534,551,563",
      "564,582,589,595,612,624,625,642,667,669,671,675,678,702,703,704,705,706,740,741,742,760,761,790",
      "791,793,794"}, "USPS TRACKING #"},
    {{"021,041,043,061,062,065,066,067,068,069,070,072,073,074,078,079,108,114,115,116,118,119,120,136",
      "167,172,173,174,175,177,189,190,191,212,213,214,215,217,218,219,248,253,255,256,257,285,286,288,306",
      "307,308,349,352,365,367,368,375,376,377,379,382,385,386,387,388,391,392,393,394,395,397,398,399,401",
      "422,423,435,437,449,452,453,454,455,456,457,468,469,470,493,494,506,508,514,515,516,517,518,519,520",
      "529,530,531,554,555,567,569,575,576,577,578,579,580,581,590,591,592,615,616,628,630,636,637,638,639",
      "640,641,650,651,652,668,670,672,674,676,677,710,711,712,713,716,717,718,719,762,763,764,765,792,795",
      "796,797,835,893,894,895,896,897,914,915,936,937,938,939,944,945,955,958,962,965,976,977,978,979,980"},
     "USPS SIGNATURE TRACKING #"},
    {{"033,034,035,039,046,047,048,049,052,053,152,153,157,158,159,160,168,169,170,171,347,348,353,354",
      "355,356,357,371,372,373,374,420,421,424,425,426,427,446,447,448,491,492,495,496,497,498,511,512,513",
      "552,553,556,557,558,559,572,573,574,613,614,617,618,619,620,633,634,635,714,715,720,721,912,935,944",
      "957,961,964"}, "USPS COD SIGNATURE TRACKING #"},
    {{"026,027,028,029,030,031,032,071,081,147,148,149,154,155,156,693"}, "USPS CERTIFIED MAIL"},
    {{"088,098,100,101,102,103,104,105,106,107,179,184,186,187,192,193,194,195,203,204,205,206,207,910",
      "208,940"}, "USPS REGISTERED MAIL"},
    {{"089,180,181,182,183,185,202,406,477,538,679,680,913,923,924,925,926,985"}, "USPS REGISTERED MAIL COD"},
    {{"681,683,687,689,691,696,698,724,726,729,731,766,767,768,772,774,776,778,780,782,810,812,814"},
     "USPS ADULT SIGNATURE"},
    {{"682,684,688,690,692,697,699,725,727,730,732,769,770,771,773,775,777,779,781,783,811,813,815"},
     "USPS ADULT SIG/RESTR DEL"},
    {{"023, 044"}, "USPS PARCEL RETURN SERVICE"},
    {{"024"}, "USPS RECYCLE RETURN SERVICE"},
    {{"123,723"}, "USPS SCAN ON ARRIVAL"},
    {{"750,757"}, "USPS SCAN AT ACCEPTANCE"},
    {{"745,746,747,748,786,787,788,789,800,801,802,803,807,808"}, "USPS TRACKING #"},
    {{"707,708,709,743,744,749,784,785,804,805,806,809"}, "USPS SIGNATURE TRACKING #"},
};
// clang-format on
constexpr const char *kDefaultServiceTypeBanner = "USPS TRACKING #";

// The charges whose sum makes the indicia read "AND FEES"; the registered
// charge has its own fee line.
struct Charges {
    char Insurance[14];
    char Cod[14];
    char ReturnReceipt[14];
    char RestrictedDelivery[14];
    char SpecialDelivery[14];
    char Certified[14];
    char SpecialHandling[14];
    char ParcelAirlift[14];
    char Registered[14];
    char Total[14];  // read, never printed
};

// Keys of the job that the record does not keep.
struct JobKeys {
    Charges charges;
    char PermitNumber[14];
    char ReferenceNumber[35];
    char ReturnReceipt[2];
    char PackageType[2];
    char CompanyPermitName[31];
};

// ---------------------------------------------------------------- helpers

// A USPS key as the host wrote it, at most `chars` characters and never
// more than the field holds.
template <std::size_t N>
void ReadKey(const JobFile &job, const char *key, std::size_t chars, const char *defaultValue, char (&field)[N]) {
    job.Raw(key, defaultValue, field, static_cast<uint32_t>(std::min(chars + 1, N)));
}

template <std::size_t N>
void Centre(char (&field)[N], std::size_t width) {
    CenterText(field, N, width);
}

bool Is(const char *text, const char *value) { return std::strcmp(text, value) == 0; }

// An amount of the job; a value that is not a number counts as 0.
double Amount(const char *text) { return std::atof(text); }

// Characters `from` to `to` (1-based, inclusive), as far as the text reaches.
std::string Slice(const char *text, std::size_t from, std::size_t to) {
    std::size_t length = std::strlen(text);
    if (from > length) return "";
    return std::string(text + from - 1, std::min(to, length) - from + 1);
}

// The groups of the text joined by single blanks; a group beyond the end of
// the text is empty and keeps its blank.
template <std::size_t N>
std::string Grouped(const char *text, const std::size_t (&groups)[N][2]) {
    std::string joined;
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0) joined += ' ';
        joined += Slice(text, groups[i][0], groups[i][1]);
    }
    return joined;
}

const ServiceClass *FindServiceClass(const char *service) {
    for (const ServiceClass &row : kServiceClasses) {
        if (Is(service, row.service)) return &row;
    }
    return nullptr;
}

// ---------------------------------------------------------------- steps

void ReadJobKeys(UspsData &usps, JobKeys &k, const JobFile &job) {
    ReadKey(job, "InternationalFlag", 1, "N", usps.InternationalFlag);
    ReadKey(job, "EntryPoint", 40, "", usps.EntryPoint);
    ReadKey(job, "ArticleNumber", 41, "", usps.ArticleNumber);
    ReadKey(job, "TrackingNumber", 39, "", usps.TrackingNumber);
    ReadKey(job, "InvoiceNumber", 34, "", usps.InvoiceNumber);
    ReadKey(job, "WaiverFlag", 1, "N", usps.WaiverFlag);
    ReadKey(job, "Carrier", 6, "", usps.Carrier);
    ReadKey(job, "PostalRoutingFlag", 1, "N", usps.PostalRoutingFlag);
    ReadKey(job, "DropFlag", 1, "N", usps.DropFlag);
    ReadKey(job, "CPASFlag", 3, "N", usps.CPASFlag);
    ReadKey(job, "Endorsement", 30, "", usps.Endorsement);
    usps.UspsYear = job.RawInt("USPSYear", 0);

    Charges &c = k.charges;
    ReadKey(job, "CodCharge", 13, "0", c.Cod);
    ReadKey(job, "InsuranceCharge", 13, "0", c.Insurance);
    ReadKey(job, "RegisteredCharge", 13, "0", c.Registered);
    ReadKey(job, "ReturnReceiptCharge", 13, "0", c.ReturnReceipt);
    ReadKey(job, "RestrictedDeliveryCharge", 13, "0", c.RestrictedDelivery);
    ReadKey(job, "SpecialDeliveryCharge", 13, "0", c.SpecialDelivery);
    ReadKey(job, "CertifiedCharge", 13, "0", c.Certified);
    ReadKey(job, "SpecialHandlingCharge", 13, "0", c.SpecialHandling);
    ReadKey(job, "ParcelAirliftCharge", 13, "0", c.ParcelAirlift);
    ReadKey(job, "TotalCharge", 13, "0", c.Total);
    ReadKey(job, "PermitNumber", 13, "", k.PermitNumber);
    ReadKey(job, "ReferenceNumber", 34, "", k.ReferenceNumber);
    ReadKey(job, "ReturnReceipt", 1, "", k.ReturnReceipt);
    ReadKey(job, "PackageType", 1, "", k.PackageType);
    ReadKey(job, "CompanyPermitName", 30, "", k.CompanyPermitName);

    UpperCase(usps.DropFlag);
    UpperCase(usps.Endorsement);
}

void FillCaptions(UspsData &usps) {
    CopyText(usps.ShipCaption, "SHIP");
    CopyText(usps.ToCaption, "TO:");
    CopyText(usps.FromPhoneCaption, "From Ph: ");
    CopyText(usps.PieceCaption, "Piece ID: ");
    CopyText(usps.InvoiceCaption, "Inv: ");
    CopyText(usps.WeightCaption, "Wgt: ");
    CopyText(usps.BoxCaption, "Box: ");
}

void FormatClassAndTrademark(UspsData &usps, bool international) {
    if (const ServiceClass *row = FindServiceClass(usps.Service)) {
        CopyText(usps.ClassCode, row->classCode);
        CopyText(usps.TrademarkLine, row->trademark);
    } else if (!international) {
        CopyText(usps.ClassCode, "D");
    }
    UpperCase(usps.TrademarkLine);
    // "PRIORITY MAIL EXPRESS IS A ... SERVICE" fills the 74 columns the field holds
    Centre(usps.TrademarkLine, 75);
}

void FormatServiceBanner(UspsData &usps, bool international) {
    const char *service = usps.Service;
    bool ownName = (international && (Contains(service, "INTL") || Contains(service, "INTERNATIONAL"))) ||
                   Contains(service, "GLOBAL");
    const char *prefix = ownName ? "" : international ? "INTL " : "USPS ";
    CopyText(usps.ServiceBanner, prefix);
    AppendText(usps.ServiceBanner, service);
    Centre(usps.ServiceBanner, 30);
}

void FormatMachinability(UspsData &usps, const char *packageType) {
    switch (packageType[0]) {
        case 'M': CopyText(usps.MachinabilityLine, "Machinable"); break;
        case 'N': CopyText(usps.MachinabilityLine, "Non-Machinable"); break;
        case 'O': CopyText(usps.MachinabilityLine, "Oversized"); break;
        case 'B': CopyText(usps.MachinabilityLine, "Balloon"); break;
        default: break;
    }
}

void FormatExpress(UspsData &usps, const JobKeys &k, const JobFile &job) {
    Centre(usps.Service, 30);
    usps.ExpressFlag = 'Y';
    CopyText(usps.ServiceTypeBanner, "USPS PRIORITY MAIL EXPRESS");
    ReadKey(job, "ExpressAccount", 30, "", usps.ExpressAccount);
    char shipDate[11] = "";
    ReadKey(job, "ShipDate", 10, "", shipDate);
    ReadKey(job, "NoDeliveryFlag", 1, "N", usps.NoDeliveryFlag);
    CopyText(usps.ExpressTitle, kExpressService);
    CopyText(usps.PostalServiceLine, "UNITED STATES POSTAL SERVICE TM");
    CopyText(usps.ShipDateLine, "SHIP DATE: ");
    AppendText(usps.ShipDateLine, shipDate);
    CopyText(usps.ExpressBoxTitle, kExpressService);
    CopyText(usps.CorporateAccountCaption, "CORP ACCT");
    if (k.ReturnReceipt[0] == 'R') CopyText(usps.ReturnReceiptLine, "RETURN RECEIPT REQUESTED");
    if (usps.WaiverFlag[0] == 'Y') CopyText(usps.ExpressWaiverLine, "WAIVER OF SIGNATURE REQUESTED");
    const char flag = usps.NoDeliveryFlag[0];
    if (flag != '\0' && flag != 'N') {
        CopyText(usps.NoDeliveryLine, "NO DELIVERY ");
        if (flag == 'B') AppendText(usps.NoDeliveryLine, "WEEKEND or HOLIDAY ");
        if (flag == 'H') AppendText(usps.NoDeliveryLine, "HOLIDAY");
        if (flag == 'W') AppendText(usps.NoDeliveryLine, "WEEKEND");
    }
    Centre(usps.ExpressBoxTitle, 30);
    Centre(usps.CorporateAccountCaption, 30);
    Centre(usps.ExpressAccount, 30);
}

// The ZIP closes the last address line; a ZIP+4 written without its hyphen
// gets one.
void AppendZip(CommonData &common) {
    const char *zip = common.ShipToZip;
    std::string appended = " ";
    if (std::strlen(zip) == 9) {
        appended += std::string(zip, 5) + "-" + std::string(zip + 5, 4);
    } else {
        appended += zip;
    }
    AppendText(common.ShipTo7, appended.c_str());
}

void FormatIndiciaAndPermit(UspsData &usps, const JobKeys &k, bool international) {
    const Charges &c = k.charges;
    const double fees = Amount(c.Insurance) + Amount(c.Cod) + Amount(c.ReturnReceipt) +
                        Amount(c.RestrictedDelivery) + Amount(c.SpecialDelivery) + Amount(c.Certified) +
                        Amount(c.SpecialHandling) + Amount(c.ParcelAirlift);
    CopyText(usps.IndiciaLine, fees > 0 ? "U.S. POSTAGE AND FEES PAID" : "U.S. POSTAGE PAID");
    const double registered = Amount(c.Registered);
    if (registered > 0) Format(usps.FeeLine, sizeof usps.FeeLine, "FEE $%.2f", registered);

    if (k.CompanyPermitName[0] == '\0') {
        CopyText(usps.PermitLine, "PERMIT NO. ");
        AppendText(usps.PermitLine, k.PermitNumber);
    } else {
        CopyText(usps.PermitLine, k.CompanyPermitName);
        usps.EntryPoint[0] = '\0';
    }

    // the international indicia box is wider
    const std::size_t width = international ? 34 : 30;
    Centre(usps.IndiciaLine, width);
    if (usps.FeeLine[0] != '\0') Centre(usps.FeeLine, width);
    Centre(usps.EntryPoint, width);
    Centre(usps.PermitLine, width);
}

void FormatTrackingNumber(UspsData &usps) {
    // clang-format off
    // EA 1234 5678 9 US
    static const std::size_t kExpressGroups[][2] = {{1, 2}, {3, 6}, {7, 10}, {11, 11}, {12, 13}};
    // 9205 5901 6491 7312 3456 71 ..: IMpb in groups of four
    static const std::size_t kImpbGroups[][2] = {{1, 4}, {5, 8}, {9, 12}, {13, 16}, {17, 20}, {21, 24}, {25, 26}};
    // clang-format on
    const std::string grouped = Contains(usps.Service, kExpressService) ? Grouped(usps.TrackingNumber, kExpressGroups)
                                                                         : Grouped(usps.TrackingNumber, kImpbGroups);
    CopyText(usps.GroupedTrackingNumber, grouped.c_str());
}

void FormatDropShipment(UspsData &usps, const JobFile &job) {
    ReadKey(job, "DropDestination", 50, "N", usps.DropDestination);
    char dropClass[27] = "";
    ReadKey(job, "DropClass", 26, "N", dropClass);
    UpperCase(usps.DropDestination);
    UpperCase(dropClass);
    CopyText(usps.DropCaption, "OPEN AND DISTRIBUTE AT:");
    CopyText(usps.ClassOfMailLine, "CLASS OF MAIL ENCLOSED: ");
    AppendText(usps.ClassOfMailLine, dropClass);
    Centre(usps.DropDestination, 50);
    Centre(usps.ClassOfMailLine, 50);
}

bool FormatAll(UspsData &usps, CommonData &common, LabelContext &label) {
    const JobFile &job = label.job;
    ReadKey(job, "Service", 50, "", usps.Service);
    if (usps.Service[0] == '\0') {
        job.Refuse("Invalid service description.");
        log::LogErrorText("FormatUspsData: Invalid service description.");
        return false;
    }
    usps.ExpressFlag = 'N';
    if (!FormatCommonData(common, job, label.jobWide)) return false;

    JobKeys k = {};
    ReadJobKeys(usps, k, job);
    FillCaptions(usps);
    const bool international = usps.InternationalFlag[0] == 'Y';

    char serviceType[4] = "";
    CopyText(serviceType, Slice(usps.TrackingNumber, 3, 5).c_str());
    CopyText(usps.ServiceTypeBanner, UspsServiceTypeBanner(serviceType));

    FormatClassAndTrademark(usps, international);
    FormatServiceBanner(usps, international);
    Format(usps.WeightLine, sizeof usps.WeightLine, "%.4f LBS", Amount(label.jobWide.ActualWeight));
    FormatMachinability(usps, k.PackageType);
    if (Is(usps.Service, kExpressService)) {
        FormatExpress(usps, k, job);
    } else {
        UpperCase(usps.EntryPoint);
        if (usps.WaiverFlag[0] == 'Y') CopyText(usps.WaiverLine, "WAIVER OF SIGNATURE REQUESTED");
    }
    AppendZip(common);
    FormatIndiciaAndPermit(usps, k, international);
    FormatTrackingNumber(usps);

    CopyText(usps.ReferenceLine, "REF #:");
    AppendText(usps.ReferenceLine, k.ReferenceNumber);
    Format(usps.PieceCountLine, sizeof usps.PieceCountLine, "%d OF %d", static_cast<int>(label.jobWide.OrderCount),
           static_cast<int>(label.jobWide.ExpectedCount));

    if (usps.DropFlag[0] == 'Y') FormatDropShipment(usps, job);
    // GS1 application identifier of the routing code: domestic or international ZIP
    CopyText(usps.RoutingAI, international ? "421" : "420");
    if (Amount(k.charges.RestrictedDelivery) > 0.0) CopyText(usps.RestrictedDeliveryLine, "Restricted Delivery");

    ReadKey(job, "ArticleNumber", 20, "", usps.PackageId);
    CopyText(usps.PackageIdCaption, "Package ID");
    CopyText(usps.PackageIdLine, "#");
    AppendText(usps.PackageIdLine, usps.PackageId);
    Centre(usps.PackageIdLine, 21);
    return true;
}

}  // namespace

const char *UspsServiceTypeBanner(const char *serviceTypeCode) {
    for (const ServiceTypeRow &row : kServiceTypes) {
        for (const char *list : row.lists) {
            if (list == nullptr) break;
            if (Contains(list, serviceTypeCode)) return row.banner;
        }
    }
    return kDefaultServiceTypeBanner;
}

bool FormatUspsData(UspsData &usps, CommonData &common, LabelContext &label) {
    try {
        return FormatAll(usps, common, label);
    } catch (const std::exception &error) {
        ReportJobCppException(error, kLibUspsModule, "FormatUspsData");
        return false;
    }
}

}  // namespace zal
