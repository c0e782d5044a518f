#include "formatting/fedex/FedExInternationalData.h"

#include <cstdlib>
#include <cstring>

#include "common/Format.h"
#include "common/Log.h"
#include "common/Strings.h"
#include "formatting/Dates.h"
#include "formatting/PdfData.h"
#include "formatting/Separators.h"

namespace zal {
namespace {

// clang-format off
// The two export statements: the long one is printed for FSMS versions from
// 170 on.  Pieces as the carrier words them, spaces between sentences included.
constexpr const char *kExportStatementLong =
    "These items are controlled by the U.S. Government and authorized "
    "for export only to the country of ultimate destination for use "
    "by the ultimate consignee or end-user(s) herein identified. They may "
    "not be resold, transferred, or otherwise disposed of, to any other "
    "country or to any person other than the authorized ultimate consignee or "
    "end-user(s), either in their original form or after being incorporated "
    "into other items, without first obtaining approval from the U.S. "
    "government or as otherwise authorized by U.S. law and regulations.";
constexpr const char *kExportStatementShort =
    "These commodities, technology or software were exported from the United States "
    "in accordance with the export administration regulations.  Diversion contrary to US law "
    "is prohibited.";
constexpr const char *kLiabilityStatement =
    "The Montreal or Warsaw Convention may apply and will govern and in most cases "
    "limit the liability of Federal Express for loss or delay of or damage to your "
    "shipment.  Subject to the conditions of the contract on the reverse.";
constexpr int32_t kLongExportStatementFrom = 170;

// "PackageType" codes, tried in this order: the first code that contains the
// job's whole value names the package.
struct PackageType { const char *code; const char *text; };
constexpr PackageType kPackageTypes[] = {
    {"01", "PKG TYPE: CUSTOMER"}, {"06", "PKG TYPE: ENV"},      {"02", "PKG TYPE: PAK"},
    {"03", "PKG TYPE: BOX"},      {"04", "PKG TYPE: TUBE"},     {"15", "PKG TYPE: 10KG BOX"},
    {"25", "PKG TYPE: 25KG BOX"},
};
constexpr const char *kDefaultPackageType = "PKG TYPE: CUSTOMER";
// clang-format on

// The customs and carriage values are built in a working text of 14
// characters: a currency that no longer fits after a long amount is left off.
constexpr std::size_t kValueWork = 15;
constexpr std::size_t kValueWidth = 16;
constexpr std::size_t kHandlingWidth = 20;
constexpr std::size_t kServiceWidth = 22;
constexpr std::size_t kPlannedServiceWidth = 20;
constexpr std::size_t kDestinationZipMin = 3;
constexpr std::size_t kDutyAccountLength = 9;
constexpr std::size_t kPdfMessageSize = sizeof(FedExIntlData::Pdf417Message);

// The values of the job the record is derived from and the PDF417 message
// takes, each as long as the job gives it (characters, terminator apart).
struct JobValues {
    char shipDate[12];
    char accountNumber[10];
    char paymentMethod[2];
    char dutyFlag[2];
    char eciFlag[2];
    char dryIceFlag[2];
    char holdFlag[2];
    char brokerFlag[2];
    char releaseFlag[2];
    char thirdPartyConsFlag[2];
    char totalCarriageValue[15];
    char totalCustomsValue[15];
    char weightType[4];
    char comActualWeight[5];
    char trackingNumber[15];
    char shipToCountryCode[3];
    char packageType[5];
    char pdfCountryCode[5];
    char pdfState[3];
    char powershipNumber[8];
    char softwareVersion[14];
    char origin[5];
    char dryIceWeight[10];
    char holdCompany[31];
    char holdAttention[31];
    char holdAddress[31];
    char holdCity[31];
    char holdState[3];
    char holdZip[11];
    char holdPhone[16];
    int32_t expectedCount;
    int32_t orderCount;
    // derived
    bool held;
    char pieceText[24];
    char weightText[48];
    const char *unit;
    const char *paymentCode;
};

bool IsYes(const char *flag) { return std::strcmp(flag, "Y") == 0; }

void ReadJobValues(JobValues &v, const JobFile &job) {
    job.Raw("ShipDate", "", v.shipDate);
    job.Raw("AccountNumber", "", v.accountNumber);
    job.Raw("PaymentMethod", "", v.paymentMethod);
    job.Raw("DutyFlag", "", v.dutyFlag);
    job.Raw("ECIFlag", "", v.eciFlag);
    job.Raw("DryIceFlag", "", v.dryIceFlag);
    job.Raw("HoldFlag", "", v.holdFlag);
    job.Raw("BrokerFlag", "", v.brokerFlag);
    job.Raw("ReleaseFlag", "", v.releaseFlag);
    job.Raw("ThirdPartyConsFlag", "", v.thirdPartyConsFlag);
    for (char *flag : {v.eciFlag, v.dryIceFlag, v.holdFlag, v.brokerFlag, v.releaseFlag, v.thirdPartyConsFlag}) {
        UpperCase(flag);
    }
    job.Raw("TotalCarriageValue", "0", v.totalCarriageValue);
    job.Raw("TotalCustomsValue", "0", v.totalCustomsValue);
    job.Raw("WeightType", "", v.weightType);
    job.Raw("ComActualWeight", "", v.comActualWeight);
    job.Raw("TrackingNumber", "", v.trackingNumber);
    job.Raw("ShipToCountryCode", "", v.shipToCountryCode);
    job.Raw("PackageType", "", v.packageType);
    job.Raw("PDFCountryCode", "", v.pdfCountryCode);
    job.Raw("PowershipNumber", "", v.powershipNumber);
    job.Raw("SoftwareVersion", "", v.softwareVersion);
    job.Raw("Origin", "", v.origin);
    job.Raw("DryIceWeight", "0", v.dryIceWeight);
    job.Raw("HoldCompany", "", v.holdCompany);
    job.Raw("HoldAttention", "", v.holdAttention);
    job.Raw("HoldAddress", "", v.holdAddress);
    job.Raw("HoldCity", "", v.holdCity);
    job.Raw("HoldState", "", v.holdState);
    job.Raw("HoldZip", "", v.holdZip);
    job.Raw("HoldPhone", "", v.holdPhone);
    v.expectedCount = job.RawInt("ExpectedCount", 0);
    v.orderCount = job.RawInt("OrderCount", 0);
    v.held = IsYes(v.holdFlag);
}

void ReadRecordKeys(FedExIntlData &d, const JobFile &job) {
    job.Raw("LblTrackingNumber", "", d.TrackingNumber);
    job.Raw("LblTrackingNumberLabel", "", d.TrackingCaption);
    job.Raw("MasterTrackingNum", "", d.ShipmentMasterNumber);
    job.Raw("LblHandlingCodes", "", d.HandlingCodes);
    job.Raw("LblServiceType", "", d.ServiceType);
    job.Raw("Reference", "", d.Reference);
    UpperCase(d.Reference);
    job.Raw("CustomsDesc1", "", d.CustomsDesc1);
    job.Raw("CustomsDesc2", "", d.CustomsDesc2);
    job.Raw("CustomsDesc3", "", d.CustomsDesc3);
    job.Raw("CustomsDesc4", "", d.CustomsDesc4);
    job.Raw("CountryOfManufacture", "", d.CountryOfManufacture);
    job.Raw("PaymentAccount", "", d.PaymentAccount);
    job.Raw("CarriageCurrencyCode", "USD", d.CarriageCurrency);
    job.Raw("CustomsCurrencyCode", "USD", d.CustomsCurrency);
    job.Raw("LblFormID", "", d.FormId);
    job.Raw("LabelType", "", d.LabelType);
    job.Raw("DocFlag", "", d.DocFlag);
    d.CurrentLabel = job.RawInt("CurrentLabel", 0);
    job.Raw("Signature", "", d.Signature);
    job.Raw("DestinationRampId", "", d.DestinationRamp);
    job.Raw("LblMasterFormID", "", d.MasterFormId);
    job.Raw("LblZipStateCountry", "", d.ZipStateCountry);
    job.Raw("RoutingCode", "", d.RoutingCode);
    job.Raw("LblMasterTrackingNumber", "", d.MasterTrackingNumber);
    job.Raw("LblPieceCount", "", d.PieceCount);
    job.Raw("VersionIdentifier", "", d.VersionIdentifier);
    job.Raw("LblZipOnly", "", d.ZipOnly);
    job.Raw("NDRSEDTitle", "", d.NdrSedTitle);
    job.Raw("SLACNum", "", d.SlacNumber);
    job.Raw("DeliveryAddress", "", d.DeliveryAddress);
    job.Raw("LblPlannedServiceLevel", "", d.PlannedServiceLevel);
    job.Raw("OneDeeBarcode", "", d.OneDeeBarcode);
    d.FsmsVersion = job.RawInt("FSMS_Ver", 0);
}

// "Ref1Title" (default "Ref#1:", 6 characters), a blank and "Ref1Data" (30),
// for each reference that has data.
void ReadReferenceLines(FedExIntlData &d, const JobFile &job) {
    char (*lines[])[41] = {&d.ReferenceLine1, &d.ReferenceLine2, &d.ReferenceLine3, &d.ReferenceLine4,
                           &d.ReferenceLine5};
    for (int n = 1; n <= 5; ++n) {
        char key[16];
        char defaultTitle[8];
        char title[7] = "";
        char data[31] = "";
        Format(key, sizeof key, "Ref%dData", n);
        job.Raw(key, "", data);
        if (data[0] == '\0') continue;
        Format(key, sizeof key, "Ref%dTitle", n);
        Format(defaultTitle, sizeof defaultTitle, "Ref#%d:", n);
        job.Raw(key, defaultTitle, title);
        AppendStrings(*lines[n - 1], sizeof *lines[n - 1], {title, " ", data});
    }
}

// 04DEC2026 is printed 04DEC26: the first 5 characters and characters 8 and 9.
void FormatShipDateLine(FedExIntlData &d, const char *shipDate) {
    char date[12];
    CopyText(date, shipDate);
    FormatDateDayMonYear(date);
    char shortDate[8] = {};
    std::size_t length = std::strlen(date);
    std::size_t n = 0;
    for (std::size_t i = 0; i < 5 && i < length; ++i) shortDate[n++] = date[i];
    for (std::size_t i = 7; i < 9 && i < length; ++i) shortDate[n++] = date[i];
    AppendStrings(d.ShipDateLine, sizeof d.ShipDateLine, {"SHIP DATE: ", shortDate});
}

// The amount with thousands separators; an amount whose grouped form would
// not fit the field stays as the job gives it, so it is never cut.
const char *Grouped(const char *amount, char (&grouped)[32]) {
    grouped[0] = '\0';
    InsertThousandsSeparators(amount, grouped, sizeof grouped);
    return std::strlen(grouped) < sizeof(FedExIntlData::CustomsValueText) ? grouped : amount;
}

// "$", the grouped amount, a blank and the currency, in the working text (a
// currency that no longer fits is left off); then right-aligned in 16.  An
// amount too long for the working text goes into the field with its dollar
// sign where both fit, alone otherwise: the amount itself is never dropped.
void FormatValue(char (&field)[17], const char *amount, const char *currency) {
    char buffer[32];
    const char *grouped = Grouped(amount, buffer);
    field[0] = '\0';
    if (1 + std::strlen(grouped) <= kValueWork - 1) {
        char work[kValueWork] = "";
        AppendStrings(work, sizeof work, {"$", grouped, " ", currency});
        CopyText(field, work);
    } else if (AppendStrings(field, sizeof field, {"$", grouped}) != kStrOk) {
        CopyText(field, grouped);
    }
    PadL(field, sizeof field, kValueWidth);
}

void FormatValues(FedExIntlData &d, const JobValues &v) {
    if (IsYes(v.thirdPartyConsFlag)) {
        // the carriage value is not shown to a third-party consignee
        char buffer[32];
        CopyText(d.CarriageValueText, "$**********");
        CopyText(d.CustomsValueText, Grouped(v.totalCustomsValue, buffer));
        PadL(d.CarriageValueText, sizeof d.CarriageValueText, kValueWidth);
        PadL(d.CustomsValueText, sizeof d.CustomsValueText, kValueWidth);
        return;
    }
    FormatValue(d.CustomsValueText, v.totalCustomsValue, d.CustomsCurrency);
    FormatValue(d.CarriageValueText, v.totalCarriageValue, d.CarriageCurrency);
}

void FormatPayment(FedExIntlData &d, JobValues &v) {
    switch (std::atoi(v.paymentMethod)) {
        case 2:
            CopyText(d.PaymentType, "R");
            CopyText(d.PaymentText, "BILL RECIPIENT");
            v.paymentCode = "E2";
            break;
        case 3:
            CopyText(d.PaymentType, "O");
            CopyText(d.PaymentText, "BILL THIRD PARTY");
            v.paymentCode = "E3";
            break;
        default:
            CopyText(d.PaymentType, "S");
            CopyText(d.PaymentText, "BILL SENDER");
            v.paymentCode = "";
            break;
    }
    int duty = std::atoi(v.dutyFlag);
    CopyText(d.DutyType, duty == 2 ? "R" : duty == 3 ? "O" : "S");
}

// Hold at a carrier location: the ship-to block becomes the hold location
// from its fourth line on, with the location's ZIP and phone.
void HoldAtLocation(CommonData &common, const JobValues &v) {
    for (char *line : {common.ShipTo1, common.ShipTo2, common.ShipTo3, common.ShipTo4, common.ShipTo5,
                       common.ShipTo6, common.ShipTo7}) {
        line[0] = '\0';
    }
    common.ShipToZip[0] = '\0';
    common.ShipToPhone[0] = '\0';
    CopyText(common.ShipTo4, v.holdCompany);
    CopyText(common.ShipTo5, v.holdAttention);
    CopyText(common.ShipTo6, v.holdAddress);
    AppendStrings(common.ShipTo7, sizeof common.ShipTo7, {v.holdCity, " ", v.holdState, " ", v.holdZip});
    CopyText(common.ShipToPhone, v.holdPhone);
    CopyText(common.ShipToZip, v.holdZip);
}

const char *PackageTypeText(const char *packageType) {
    for (const PackageType &type : kPackageTypes) {
        if (Contains(type.code, packageType)) return type.text;
    }
    return kDefaultPackageType;
}

// ---------------------------------------------------------------- PDF417

// The entries of one list, in their order.
class PdfList {
public:
    template <int N>
    PdfList(PdfDataEntry (&entries)[N], const JobFile &job) : _entries(entries), _capacity(N), _job(job) {}
    // A literal text, cut to maxLength.
    void Text(const char *prefix, const char *text, int32_t maxLength, const char *suffix) {
        Add(prefix, text, maxLength, "", suffix);
    }
    // A job key's value, read as it stands when the message is built.
    void Key(const char *prefix, const char *key, int32_t maxLength, const char *suffix) {
        Add(prefix, "", maxLength, key, suffix);
    }
    // A place the list keeps empty.
    void Skip() {
        if (_count < _capacity) ++_count;
    }
    int Count() const { return _count; }

private:
    void Add(const char *prefix, const char *text, int32_t maxLength, const char *key, const char *suffix) {
        if (_count < _capacity) FillPDFData(&_entries[_count++], prefix, text, maxLength, key, suffix, _job);
    }
    PdfDataEntry *_entries;
    int _capacity;
    int _count = 0;
    const JobFile &_job;
};

constexpr const char *RS = kRecordSeparatorText;
constexpr const char *GS = kGroupSeparatorText;
constexpr const char *FS = kFileSeparatorText;

// A shipment to Puerto Rico from the United States carries no customs data.
// (A held shipment has no "PDFState" value.)
bool ToPuertoRico(const JobValues &v) {
    return std::strcmp(v.pdfState, "PR") == 0 && std::strcmp(v.pdfCountryCode, "840") == 0;
}

void BuildPdf417Message(FedExIntlData &d, const CommonData &common, const JobValues &v, const JobFile &job) {
    PdfDataEntry header[20] = {};
    PdfDataEntry parcel[13] = {};
    PdfDataEntry customs[11] = {};

    // the destination ZIP: "000" when there is none, at least 3 characters
    char zip[sizeof common.ShipToZip + kDestinationZipMin] = "";
    CopyText(zip, common.ShipToZip[0] != '\0' ? common.ShipToZip : "000");
    if (std::strlen(zip) < kDestinationZipMin) PadRight(zip, kDestinationZipMin);
    // the day of the year of the job's own MM/DD/YYYY ship date: the printed form (04DEC26) has none
    char dayOfYear[16];
    Format(dayOfYear, sizeof dayOfYear, "%03i", DayOfYearFromDate(v.shipDate));
    const char *state = v.held ? (v.holdState[0] != '\0' ? v.holdState : "ZZ") : v.pdfState;

    PdfList first(header, job);
    first.Text("", "[)>", 3, RS);
    first.Text("", "01", 2, GS);
    first.Text("", "02", 2, "");
    first.Text("", zip, 11, GS);
    first.Text("", v.pdfCountryCode, 3, GS);
    first.Key("", "PDFServiceLevel", 3, GS);
    first.Key("", "PDFTrackingNumber", 16, GS);
    first.Text("", "FDE", 4, GS);
    first.Text("", v.accountNumber, 9, GS);
    first.Text("", dayOfYear, 3, GS);
    first.Text("", "", 0, GS);
    first.Text("", v.pieceText, 9, GS);
    first.Text("", v.weightText, 8, "");
    first.Text("", v.unit, 2, GS);
    first.Text("", "N", 1, GS);
    first.Text("", v.held ? v.holdAddress : d.DeliveryAddress, 30, GS);
    if (v.held) first.Text("", v.holdCity, 30, GS); else first.Key("", "PDFCity", 30, GS);
    first.Text("", state, 2, GS);
    if (v.held) first.Text("", v.holdCompany, 30, ""); else first.Key("", "PDFShipToName", 30, "");
    first.Text("", "", 0, RS);

    PdfList second(parcel, job);
    second.Text("", "06", 2, GS);
    // "EIO05" is written with the letter O, as the carrier's scanners read it
    second.Text("10Z", ToPuertoRico(v) ? "ED006" : "EIO05", 6, GS);
    if (v.held) second.Text("11Z", v.holdAttention, 30, GS); else second.Key("11Z", "PDFShipToAdditional", 30, GS);
    // the hold key's name ends in a blank; profile reads trim key names
    second.Key("12Z", v.held ? "PDFHOLDPhoneNumber " : "PDFShipToPhoneNumber", 14, GS);
    if (v.held) second.Text("14Z", "", 35, GS); else second.Key("14Z", "PDFShipToAddress2", 35, GS);
    second.Text("15Z", v.powershipNumber, 9, GS);
    second.Key("18Z", "PDFPayAccount", 9, FS);
    second.Text("", v.paymentCode, 2, GS);
    second.Key("K", "PDFOrderNumber", 30, GS);
    if (v.orderCount > 0 && v.expectedCount > 1) {
        second.Text("28Z", d.ShipmentMasterNumber, 16, GS);
    } else {
        second.Skip();
    }
    second.Key("29Z", "RFID_EPC_Number", 30, GS);
    second.Text("31Z", d.OneDeeBarcode, 34, GS);
    second.Key("32Z", "PDFIndHandCodes", 28, GS);
    RemoveBlankPDFEntries(parcel, second.Count());

    PdfList third(customs, job);
    if (!ToPuertoRico(v)) {
        third.Text("99Z", "EI0005", 6, FS);
        third.Key("", "PDFFromCountry", 3, FS);
        third.Key("", "TotalCustomsValue", 15, FS);
        third.Text("", d.CustomsCurrency, 3, FS);
        third.Key("", "PDFDescription", 47, FS);
        third.Key("", "PDFTransactionCode", 3, FS);
        third.Text("", "Y", 1, FS);
        third.Text("", d.FtsrText, 32, FS);
        third.Key("", "TotalCarriageValue", 6, FS);
        third.Key("", "DutyAccount", 9, GS);
        third.Text("", "", 0, RS);
    }

    char *message = d.Pdf417Message;
    message[0] = '\0';
    bool built = ProcessPDF417Data(header, first.Count(), message, kPdfMessageSize) &&
                 ProcessPDF417Data(parcel, second.Count(), message, kPdfMessageSize) &&
                 ProcessPDF417Data(customs, third.Count(), message, kPdfMessageSize) &&
                 AppendStrings(message, kPdfMessageSize, {kEndOfTransmissionText}) == kStrOk;
    if (!built) log::LogError("FdxIntlFormatData: The PDF417 message does not fit in %u bytes.",
                              static_cast<unsigned>(kPdfMessageSize));
}

}  // namespace

bool FdxIntlFormatData(FedExIntlData &d, CommonData &common, LabelContext &label) {
    const JobFile &job = label.job;
    std::memset(&d, 0, sizeof d);
    if (!FormatCommonData(common, job, label.jobWide)) return false;

    JobValues v = {};
    ReadJobValues(v, job);
    ReadRecordKeys(d, job);

    if (v.orderCount != 0 && v.expectedCount != 0) {
        Format(v.pieceText, sizeof v.pieceText, "%d/%d", v.orderCount, v.expectedCount);
        Format(d.PieceLine, sizeof d.PieceLine, "%3d of %3d", v.orderCount, v.expectedCount);
    }
    AppendStrings(d.OriginLine, sizeof d.OriginLine, {"ORIGIN ID: ", v.origin});

    bool kilograms = std::strcmp(v.weightType, "KGS") == 0;
    Format(d.WeightLine, sizeof d.WeightLine, kilograms ? "ACTWGT: %3i KG" : "ACTWGT: %3i LB",
           std::atoi(v.comActualWeight));
    v.unit = kilograms ? "KG" : "LB";
    Format(v.weightText, sizeof v.weightText, "%.2f", std::atof(label.jobWide.ActualWeight));

    AppendStrings(d.CadLine, sizeof d.CadLine, {"CAD: ", v.powershipNumber, "/", v.softwareVersion});
    if (v.accountNumber[0] != '\0') {
        AppendStrings(d.AccountLine, sizeof d.AccountLine, {"Account: ", "S", " ", v.accountNumber});
    }
    char length[4] = "";
    char width[4] = "";
    char height[4] = "";
    job.Raw("Length", "", length);
    job.Raw("Width", "", width);
    job.Raw("Height", "", height);
    if (length[0] != '\0' && width[0] != '\0' && height[0] != '\0') {
        Format(d.DimensionsLine, sizeof d.DimensionsLine, "DIMMED %d X %d X %d IN", std::atoi(length),
               std::atoi(width), std::atoi(height));
    }
    ReadReferenceLines(d, job);

    // the city line carries the ZIP and the country code
    AppendStrings(common.ShipTo7, sizeof common.ShipTo7, {" ", common.ShipToZip, "  (", v.shipToCountryCode, ")"});

    job.Raw("BookingNumber", "", d.BookingNumber);
    if (d.BookingNumber[0] != '\0') CopyText(d.BookingCaption, "Booking#: ");
    char einVat[25] = "";
    job.Raw("EinVat", "", einVat);
    if (einVat[0] != '\0') AppendStrings(d.EinVatLine, sizeof d.EinVatLine, {"EIN/VAT: ", einVat});
    char ftsr[38] = "";
    job.Raw("FTSRLONG", "", ftsr);
    if (ftsr[0] != '\0') CopyText(d.FtsrText, ftsr);

    if (IsYes(v.brokerFlag)) {
        CopyText(d.BrokerSelectMark, "BSO");
        CopyText(d.BrokerCaption, "BROKER,PH#,CITY,COUNTRY/ZIP");
        job.Raw("BrokerName", "", d.BrokerName);
        job.Raw("BrokerPhone", "", d.BrokerPhone);
        job.Raw("BrokerCityZipCountry", "", d.BrokerCityZipCountry);
    }
    if (IsYes(v.eciFlag)) CopyText(d.EciMark, "ECI");
    if (IsYes(v.dryIceFlag)) Format(d.DryIceLine, sizeof d.DryIceLine, "DRY ICE: %.2f KG", std::atof(v.dryIceWeight));
    if (v.held) HoldAtLocation(common, v);

    PadL(d.HandlingCodes, sizeof d.HandlingCodes, kHandlingWidth);
    FormatShipDateLine(d, v.shipDate);
    PadL(d.ServiceType, sizeof d.ServiceType, kServiceWidth);
    FormatPayment(d, v);
    job.Raw("DutyAccount", "", d.DutyAccount);
    if (std::strlen(d.DutyAccount) != kDutyAccountLength) d.DutyAccount[0] = '\0';
    AppendStrings(d.TrackingBarcodeData, sizeof d.TrackingBarcodeData, {v.trackingNumber, d.FormId});
    FormatValues(d, v);

    CopyText(d.ExportStatement, d.FsmsVersion >= kLongExportStatementFrom ? kExportStatementLong
                                                                          : kExportStatementShort);
    CopyText(d.LiabilityStatement, kLiabilityStatement);
    PadL(d.PlannedServiceLevel, sizeof d.PlannedServiceLevel, kPlannedServiceWidth);
    CopyText(d.PackageTypeText, PackageTypeText(v.packageType));
    if (IsYes(v.releaseFlag)) {
        CopyText(d.ReleaseCaption, "REL#");
        job.Raw("ReleaseNumber", "", d.ReleaseNumber);
    }
    // a named NDR/SED title shows as a blank before the FTSR text
    if (d.NdrSedTitle[0] != '\0') CopyText(d.NdrSedTitle, " ");

    if (!v.held) job.Raw("PDFState", "ZZ", v.pdfState);
    BuildPdf417Message(d, common, v, job);
    return true;
}

bool FdxIntlEscapePdf417(char (&message)[sizeof(FedExIntlData::Pdf417Message)]) {
    char escaped[sizeof message];
    CopyText(escaped, message);
    // in this order: no escape text holds a control byte
    bool fits = ReplaceAll(escaped, sizeof escaped, kGroupSeparatorText, "_1D") &&
                ReplaceAll(escaped, sizeof escaped, kRecordSeparatorText, "_1E") &&
                ReplaceAll(escaped, sizeof escaped, kFileSeparatorText, "_1C") &&
                ReplaceAll(escaped, sizeof escaped, kEndOfTransmissionText, "_04");
    if (fits) CopyText(message, escaped);
    return fits;
}

}  // namespace zal
