// LibfdxFormatData_170x: the job file becomes the FedEx Express record and
// the PDF417 messages of the Express label and of its COD return label.
#include "formatting/fedex/FedExExpressData.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "common/Log.h"
#include "common/Strings.h"
#include "formatting/Dates.h"
#include "formatting/PdfData.h"
#include "formatting/Separators.h"

namespace zal {
namespace {

constexpr const char *kLibFdxModule = "Shared/ZALLib/LibFDX";
constexpr std::size_t kOneDeeLength = 34;
constexpr const char *kOneDeeRefusal = "FedEx 1D barcode data must be 34 characters in length.";

// Form ids that replace the host's for a trans-border shipment and for a
// return (the return wins when both apply).
constexpr const char *kTransBorderFormId = "0483";
constexpr const char *kReturnsFormId = "0221";
// The COD return label's fixed message values: its service, pieces, weight.
constexpr const char *kCodServiceCode = "56";
constexpr const char *kCodPieces = "1/1";
constexpr const char *kCodWeight = "0.00";
constexpr const char *kCodUnit = "LB";
constexpr const char *kCodPackageType = "06";

// ---------------------------------------------------------------- reading

// A job key as the host wrote it (no clean-up), at most `chars` characters
// and never more than the field holds.
template <std::size_t N>
void ReadKey(const JobFile &job, const char *key, std::size_t chars, char (&field)[N], const char *defaultValue = "") {
    job.Raw(key, defaultValue, field, static_cast<uint32_t>(std::min(chars + 1, N)));
}
// A key that fills its whole field.
template <std::size_t N>
void ReadField(const JobFile &job, const char *key, char (&field)[N], const char *defaultValue = "") {
    ReadKey(job, key, N - 1, field, defaultValue);
}
// A one-letter flag, upper-cased.
void ReadFlag(const JobFile &job, const char *key, char (&flag)[2]) {
    ReadField(job, key, flag);
    UpperCase(flag);
}
bool Is(const char *text, const char *value) {
    return std::strcmp(text, value) == 0;
}

// Characters from `from` (0-based), at most `count`, as far as the text reaches.
std::string Slice(const char *text, std::size_t from, std::size_t count) {
    const std::size_t length = std::strlen(text);
    return from < length ? std::string(text + from, std::min(count, length - from)) : std::string();
}

// The job's values that the record does not keep (the widths are the
// characters the host may give).
struct ExpressJob {
    char ShipDate[13];
    char AccountNumber[12];
    char PaymentMethod[2];
    char ReleaseFlag[2];
    char CodFlag[2];
    char DryIceFlag[2];
    char HoldFlag[2];
    char TransBorderFlag[2];
    char TrackingNumber[15];
    char WeightType[4];
    char ComActualWeight[5];
    char DryIceWeight[16];
    char HoldCompany[31];
    char HoldAttention[31];
    char HoldAddress1[31];
    char HoldAddress2[31];
    char HoldCity[31];
    char HoldState[3];
    char HoldZip[11];
    char HoldPhone[16];
    char Length[4];
    char Width[4];
    char Height[4];
    char Origin[5];
    char PowershipNumber[8];
    char SoftwareVersion[14];
    char ShipToCountryFull[21];
    char RefTitle[5][7];
    char RefData[5][31];
    char CodReturnState[3];
    char CodReturnZip[13];
    char CodRetDelAddress[31];
    char CodReturnTrackingNumber[30];
    char CodAmount[20];
    int32_t OrderCount;  // these two only make the piece text
    int32_t ExpectedCount;
};

// ---------------------------------------------------------------- PDF417

// One piece of a message: a literal text or the value of a job key.
struct Piece {
    const char *text;
    const char *key;
};
Piece Literal(const char *text) {
    return {text, ""};
}
Piece FromKey(const char *key) {
    return {"", key};
}
const Piece kNothing = {"", ""};

// The pieces in which the COD return label's message differs from the
// Express label's.
struct MessageVariant {
    Piece zip;
    int32_t zipMax;
    Piece serviceLevel;
    const char *trackingText;
    Piece account;
    const char *pieces;
    const char *weight;
    const char *unit;
    Piece address, city, state, name;
    Piece additional, phone, address2;
    int32_t address2Max;
    int32_t orderNumberMax;
    bool masterTracking;  // the "28Z" piece
    const char *oneDee;
    Piece handling, packageType, ramp;
};

// The values both messages take from the job as it is.
struct MessageCommon {
    const char *dayOfYear;
    const char *paymentCode;
    const char *powershipNumber;
};

class PdfList {
public:
    explicit PdfList(const JobFile &job) : _job(job) {}
    void Add(const char *prefix, const Piece &piece, int32_t maxLength, const char *suffix) {
        if (_count < kCapacity)
            FillPDFData(&_entries[_count++], prefix, piece.text, maxLength, piece.key, suffix, _job);
    }
    PdfDataEntry *Entries() { return _entries; }
    int Count() const { return _count; }

private:
    static constexpr int kCapacity = 20;
    const JobFile &_job;
    PdfDataEntry _entries[kCapacity] = {};
    int _count = 0;
};

// The message: the first list, the second list without the separators of
// its empty optional pieces, EOT.
bool BuildPdf417(const MessageVariant &v, const MessageCommon &c, const JobFile &job, char (&message)[1001]) {
    const char *RS = kRecordSeparatorText;
    const char *GS = kGroupSeparatorText;
    const char *FS = kFileSeparatorText;
    PdfList first(job);
    first.Add("", Literal("[)>"), 3, RS);
    first.Add("", Literal("01"), 2, GS);
    first.Add("", Literal("02"), 2, "");
    first.Add("", v.zip, v.zipMax, GS);
    first.Add("", FromKey("PDFCountryCode"), 3, GS);
    first.Add("", v.serviceLevel, 3, GS);
    first.Add("", Literal(v.trackingText), 16, GS);
    first.Add("", Literal("FDE"), 4, GS);
    first.Add("", v.account, 9, GS);
    first.Add("", Literal(c.dayOfYear), 3, GS);
    first.Add("", kNothing, 0, GS);
    first.Add("", Literal(v.pieces), 9, GS);
    first.Add("", Literal(v.weight), 8, "");
    first.Add("", Literal(v.unit), 2, GS);
    first.Add("", Literal("N"), 1, GS);
    first.Add("", v.address, 30, GS);
    first.Add("", v.city, 30, GS);
    first.Add("", v.state, 2, GS);
    first.Add("", v.name, 30, "");
    first.Add("", kNothing, 0, RS);

    PdfList second(job);
    second.Add("", Literal("06"), 2, GS);
    second.Add("10Z", Literal("ED007"), 6, GS);
    second.Add("11Z", v.additional, 30, GS);
    second.Add("12Z", v.phone, 14, GS);
    second.Add("14Z", v.address2, v.address2Max, GS);
    second.Add("15Z", Literal(c.powershipNumber), 9, GS);
    second.Add("18Z", FromKey("PDFPayAccount"), 9, FS);
    second.Add("", Literal(c.paymentCode), 2, GS);
    second.Add("20Z", FromKey("PDFCodAmount"), 10, FS);
    second.Add("", FromKey("PDFDeclaredAmount"), 6, GS);
    second.Add("25Z", FromKey("PDFCODCheckType"), 1, FS);
    second.Add("", FromKey("PDFCODPayType"), 2, GS);
    second.Add("K", FromKey("PDFOrderNumber"), v.orderNumberMax, GS);
    if (v.masterTracking) second.Add("28Z", FromKey("MasterTrackingNumber"), 16, GS);
    second.Add("29Z", FromKey("RFID_EPC_Number"), 30, GS);
    second.Add("31Z", Literal(v.oneDee), 34, GS);
    second.Add("32Z", v.handling, 28, GS);
    second.Add("34Z", v.packageType, 5, GS);
    second.Add("39Z", v.ramp, 5, GS);
    second.Add("", kNothing, 0, RS);

    message[0] = '\0';
    return RemoveBlankPDFEntries(second.Entries(), second.Count()) &&
           ProcessPDF417Data(first.Entries(), first.Count(), message, sizeof message) &&
           ProcessPDF417Data(second.Entries(), second.Count(), message, sizeof message) &&
           AppendStrings(message, sizeof message, {kEndOfTransmissionText}) == kStrOk;
}

// ---------------------------------------------------------------- the record

void ReadJob(const JobFile &job, FedExExpressData &f, ExpressJob &j) {
    ReadField(job, "Origin", j.Origin);
    ReadField(job, "SoftwareVersion", j.SoftwareVersion);
    ReadField(job, "LblServiceType", f.ServiceType);
    ReadField(job, "LblPlannedServiceLevel", f.PlannedServiceLevel);
    ReadField(job, "LblHandlingCodes", f.HandlingCodes);
    ReadField(job, "LblTrackingNumber", f.TrackingNumber);
    ReadField(job, "LblTrackingNumberLabel", f.TrackingCaption);
    ReadField(job, "LblFormID", f.FormId);
    ReadField(job, "LblZipOnly", f.ZipOnly);
    ReadField(job, "LblZipStateCountry", f.ZipStateCountry);
    ReadField(job, "LblMasterTrackingNumber", f.MasterTrackingNumber);
    ReadField(job, "LblMasterFormID", f.MasterFormId);
    ReadField(job, "LblPieceCount", f.PieceCount);
    ReadField(job, "ShipDate", j.ShipDate);
    ReadField(job, "AccountNumber", j.AccountNumber);
    ReadField(job, "PaymentMethod", j.PaymentMethod);
    ReadFlag(job, "ReleaseFlag", j.ReleaseFlag);
    ReadFlag(job, "CodFlag", j.CodFlag);
    ReadField(job, "PowershipNumber", j.PowershipNumber);
    ReadField(job, "TrackingNumber", j.TrackingNumber);
    ReadField(job, "RoutingCode", f.RoutingCode);
    ReadField(job, "DestinationRampId", f.DestinationRamp);
    ReadFlag(job, "DryIceFlag", j.DryIceFlag);
    ReadField(job, "DryIceWeight", j.DryIceWeight, "0");
    ReadFlag(job, "HoldFlag", j.HoldFlag);
    ReadField(job, "HoldCompany", j.HoldCompany);
    ReadField(job, "HoldAttention", j.HoldAttention);
    ReadField(job, "HoldAddress1", j.HoldAddress1);
    ReadField(job, "HoldAddress2", j.HoldAddress2);
    ReadField(job, "HoldCity", j.HoldCity);
    ReadField(job, "HoldState", j.HoldState);
    ReadField(job, "HoldZip", j.HoldZip);
    ReadField(job, "HoldPhone", j.HoldPhone);
    ReadField(job, "Length", j.Length);
    ReadField(job, "Width", j.Width);
    ReadField(job, "Height", j.Height);
    f.CodPrintLast = job.RawInt("CODPrintLastFlag", 0);
    ReadField(job, "WeightType", j.WeightType);
    ReadField(job, "DeliveryAddress", f.DeliveryAddress);
    ReadFlag(job, "TransBorderFlag", j.TransBorderFlag);
    for (int n = 0; n < 5; ++n) {
        char titleKey[16];
        char dataKey[16];
        char defaultTitle[8];
        Format(titleKey, sizeof titleKey, "Ref%dTitle", n + 1);
        Format(dataKey, sizeof dataKey, "Ref%dData", n + 1);
        Format(defaultTitle, sizeof defaultTitle, "Ref#%d:", n + 1);
        ReadField(job, titleKey, j.RefTitle[n], defaultTitle);
        ReadField(job, dataKey, j.RefData[n]);
    }
    ReadField(job, "VersionIdentifier", f.VersionIdentifier);
    ReadField(job, "ShipToCountryFull", j.ShipToCountryFull);
    ReadField(job, "ComActualWeight", j.ComActualWeight);
    ReadField(job, "ReturnsFlag", f.ReturnsFlag);
    UpperCase(f.ReturnsFlag);
    j.ExpectedCount = job.RawInt("ExpectedCount", 0);
    j.OrderCount = job.RawInt("OrderCount", 0);
}

void ReadCod(const JobFile &job, FedExExpressData &f, ExpressJob &j) {
    ReadField(job, "CodReturnName", f.CodReturnName);
    ReadField(job, "CodReturnAddress1", f.CodReturnAddress1);
    ReadField(job, "CodReturnAddress2", f.CodReturnAddress2);
    ReadField(job, "CodReturnAddress2Line2", f.CodReturnAddress2Line2);
    ReadField(job, "CodReturnAddress3", f.CodReturnAddress3);
    ReadKey(job, "CodReturnPhone", 20, f.CodReturnPhone);
    ReadField(job, "CodReturnState", j.CodReturnState);
    ReadField(job, "CodReturnZip", j.CodReturnZip);
    ReadField(job, "CodRetDelAddress", j.CodRetDelAddress);
    CopyText(f.CodReturnCaption, "COD RETURN");
    ReadField(job, "CodReturnOneDeeBarcode", f.CodOneDeeBarcode);
    ReadField(job, "LblCODCodReturnTrackingNumber", f.CodReturnTrackingNumber);
    ReadField(job, "LblCODFormId", f.CodFormId);
    ReadField(job, "LblCodReturnTrackNumLabel", f.CodTrackingCaption);
    ReadField(job, "LblCODServiceType", f.CodServiceType);
    PadL(f.CodServiceType, sizeof f.CodServiceType, 18);
    ReadField(job, "LblCODZipStateCountry", f.CodZipStateCountry);
    ReadField(job, "LblCODZipOnly", f.CodZipOnly);
    ReadField(job, "CodReturnTrackingNumber", j.CodReturnTrackingNumber);
    ReadField(job, "CodAmount", j.CodAmount);
    Format(f.CodAmountLine, sizeof f.CodAmountLine, "COD AMOUNT: $ %.2f", std::atof(j.CodAmount));
    CopyText(f.CodSecurity, Is(j.CodFlag, "C") ? "UNSECURED" : "SECURED");
    if (j.CodRetDelAddress[0] != '\0')
        CopyStrings(f.CodDeliveryBarcodeData, sizeof f.CodDeliveryBarcodeData, {"7", j.CodRetDelAddress});
}

// "SHIP DATE: 04DEC26": the date as day, month and two-digit year.
void FormatShipDateLine(const char *shipDate, char (&line)[24]) {
    char date[sizeof ExpressJob::ShipDate];
    CopyText(date, shipDate);
    FormatDateDayMonYear(date);
    const std::string printed = Slice(date, 0, 5) + Slice(date, 7, 2);
    CopyStrings(line, sizeof line, {"SHIP DATE: ", printed.c_str()});
}

// The hold location (a FedEx office keeps the package) replaces the ship-to
// block.
void ShipToHoldLocation(CommonData &common, const ExpressJob &j) {
    for (char *line : {common.ShipTo1, common.ShipTo2, common.ShipTo3, common.ShipTo4, common.ShipTo5, common.ShipTo6,
                       common.ShipTo7}) {
        line[0] = '\0';
    }
    common.ShipToZip[0] = '\0';
    common.ShipToPhone[0] = '\0';
    CopyText(common.ShipTo3, j.HoldCompany);
    CopyText(common.ShipTo4, j.HoldAttention);
    CopyText(common.ShipTo5, j.HoldAddress1);
    CopyText(common.ShipTo6, j.HoldAddress2);
    CopyStrings(common.ShipTo7, sizeof common.ShipTo7, {j.HoldCity, " ", j.HoldState, " ", j.HoldZip});
    CopyText(common.ShipToPhone, j.HoldPhone);
    CopyText(common.ShipToZip, j.HoldZip);
}

bool FormatExpress(FedExExpressData &f, CommonData &common, LabelContext &label) {
    const JobFile &job = label.job;
    ReadField(job, "OneDeeBarcode", f.OneDeeBarcode);
    if (std::strlen(f.OneDeeBarcode) != kOneDeeLength) {
        job.Refuse(kOneDeeRefusal);
        log::LogError("LibfdxFormatData_170x: %s", kOneDeeRefusal);
        return false;
    }
    if (!FormatCommonData(common, job, label.jobWide)) return false;

    ExpressJob j = {};
    ReadJob(job, f, j);
    CopyStrings(f.OriginLine, sizeof f.OriginLine, {"ORIGIN ID: ", j.Origin});
    FormatShipDateLine(j.ShipDate, f.ShipDateLine);

    // weight: kilograms only for "KGS" exactly
    const bool kilograms = Is(j.WeightType, "KGS");
    const double weight = std::atof(j.ComActualWeight);
    const char *unit = kilograms ? "KG" : "LB";
    Format(f.WeightLine, sizeof f.WeightLine, kilograms ? "ACTWGT: %3.2f KG" : "ACTWGT: %3.2f LB", weight);
    char weightText[9];
    Format(weightText, sizeof weightText, "%.2f", weight);

    CopyStrings(f.CadLine, sizeof f.CadLine, {"CAD: ", j.PowershipNumber, "/", j.SoftwareVersion});
    if (j.Length[0] != '\0' && j.Width[0] != '\0' && j.Height[0] != '\0') {
        Format(f.DimensionsLine, sizeof f.DimensionsLine, "DIMS: %d X %d X %d IN", std::atoi(j.Length),
               std::atoi(j.Width), std::atoi(j.Height));
    }
    if (Is(j.DryIceFlag, "Y")) {
        Format(f.DryIceLine, sizeof f.DryIceLine, "DRY ICE: %.2f KG", std::atof(j.DryIceWeight));
    }

    // the full country name beside the code, cut to the line
    if (j.ShipToCountryFull[0] != '\0') {
        CopyStrings(f.CountryLine, sizeof f.CountryLine, {j.ShipToCountryFull, "     "});
        AppendText(f.CountryLine, common.ShipToCountry);
    } else {
        CopyText(f.CountryLine, common.ShipToCountry);
    }
    char *references[] = {f.ReferenceLine1, f.ReferenceLine2, f.ReferenceLine3, f.ReferenceLine4, f.ReferenceLine5};
    for (int n = 0; n < 5; ++n) {
        if (j.RefData[n][0] != '\0')
            CopyStrings(references[n], sizeof f.ReferenceLine1, {j.RefTitle[n], " ", j.RefData[n]});
    }
    CopyText(f.Brand, "FedEx");
    CopyText(f.BrandLine2, "Express");
    CopyText(f.ServiceLetter, "E");
    PadL(f.PlannedServiceLevel, sizeof f.PlannedServiceLevel, 20);
    PadL(f.ServiceType, sizeof f.ServiceType, 20);
    CopyText(f.ToCaption, "TO:");

    if (std::strlen(common.ShipToZip) >= 5)
        AppendStrings(common.ShipTo7, sizeof common.ShipTo7, {" ", common.ShipToZip});

    const char *paymentCode = "";
    if (Is(j.PaymentMethod, "2")) {
        CopyText(f.PaymentLine, "BILL RECIPIENT");
        paymentCode = "E2";
    } else if (Is(j.PaymentMethod, "3")) {
        CopyText(f.PaymentLine, "BILL THIRD PARTY");
        paymentCode = "E3";
    } else {
        CopyText(f.PaymentLine, "BILL SENDER");
    }
    if (Is(j.ReleaseFlag, "Y")) {
        ReadField(job, "ReleaseNumber", f.ReleaseNumber);
        CopyText(f.ReleaseCaption, "REL#");
    }
    const bool held = Is(j.HoldFlag, "Y");
    if (held) ShipToHoldLocation(common, j);
    PadL(f.HandlingCodes, sizeof f.HandlingCodes, 20);

    const bool cod =
        (Is(j.CodFlag, "Y") || Is(j.CodFlag, "C")) && FedExCodGoesWithThisPackage(f.CodPrintLast, label.jobWide);
    if (cod) ReadCod(job, f, j);
    if (Is(j.TransBorderFlag, "Y")) CopyText(f.FormId, kTransBorderFormId);
    if (f.DeliveryAddress[0] != '\0')
        CopyStrings(f.DeliveryBarcodeData, sizeof f.DeliveryBarcodeData, {"7", f.DeliveryAddress});
    if (Is(f.ReturnsFlag, "Y")) CopyText(f.FormId, kReturnsFormId);

    char pieces[24] = "";
    if (j.OrderCount != 0 && j.ExpectedCount != 0) {
        Format(pieces, sizeof pieces, "%d/%d", static_cast<int>(j.OrderCount), static_cast<int>(j.ExpectedCount));
    }
    char trackingText[17];
    CopyStrings(trackingText, sizeof trackingText, {j.TrackingNumber});
    AppendText(trackingText, f.FormId);
    char codTrackingText[sizeof j.CodReturnTrackingNumber + sizeof f.CodFormId];
    CopyStrings(codTrackingText, sizeof codTrackingText, {j.CodReturnTrackingNumber, f.CodFormId});

    // The day of the year comes from the date as the job gives it
    // (MM/DD/YYYY): the printed form no longer holds the year's day.
    char dayOfYear[8];
    Format(dayOfYear, sizeof dayOfYear, "%03i", DayOfYearFromDate(j.ShipDate));

    const MessageCommon shared = {dayOfYear, paymentCode, j.PowershipNumber};
    // clang-format off
    const MessageVariant express = {
        Literal(common.ShipToZip), 5, FromKey("PDFServiceLevel"), trackingText, FromKey("PDFAccountNumber"),
        pieces, weightText, unit,
        // where it goes: the hold location when held
        held ? Literal(j.HoldAddress1) : Literal(f.DeliveryAddress),
        held ? Literal(j.HoldCity) : FromKey("PDFCity"),
        held ? Literal(j.HoldState) : FromKey("PDFState"),
        held ? Literal(j.HoldCompany) : FromKey("PDFShipToName"),
        held ? Literal(j.HoldAttention) : FromKey("PDFShipToAdditional"),
        held ? FromKey("PDFHOLDPhoneNumber") : FromKey("PDFShipToPhoneNumber"),
        held ? kNothing : FromKey("PDFShipToAddress2"), 35,
        30, true, f.OneDeeBarcode,
        FromKey("PDFIndHandCodes"), FromKey("PDFPackagetype"), FromKey("PDFOriginRampID")};
    // clang-format on
    if (!BuildPdf417(express, shared, job, f.Pdf417Message)) return false;
    f.Pdf417Length = static_cast<int32_t>(std::strlen(f.Pdf417Message));

    if (cod) {
        // clang-format off
        const MessageVariant codReturn = {
            Literal(j.CodReturnZip), 11, Literal(kCodServiceCode), codTrackingText, Literal(j.AccountNumber),
            kCodPieces, kCodWeight, kCodUnit,
            Literal(j.CodRetDelAddress), FromKey("CodReturnCity"), FromKey("CodReturnState"), FromKey("CodReturnName"),
            FromKey("CodReturnAddress1"), FromKey("PDFCODPhoneNumber"), Literal(f.CodReturnAddress2Line2), 30,
            24, false, f.CodOneDeeBarcode,
            FromKey("CODPDFIndHandCodes"), Literal(kCodPackageType), FromKey("CODPDFDestRampID")};
        // clang-format on
        if (!BuildPdf417(codReturn, shared, job, f.CodPdf417Message)) return false;
    }
    return true;
}

template <typename... Fields>
void QuotesToApostrophesIn(Fields &...fields) {
    (QuotesToApostrophes(fields, sizeof fields), ...);
}

}  // namespace

bool FedExCodGoesWithThisPackage(int32_t codPrintLast, const JobWideValues &jobWide) {
    return (jobWide.OrderCount == 1 && codPrintLast == 0) ||
           (codPrintLast != 0 && jobWide.OrderCount == jobWide.ExpectedCount);
}

bool FedExCodReturnLabelOrdered(const FedExExpressData &fedex, const JobWideValues &jobWide) {
    return fedex.CodTrackingCaption[0] != '\0' && fedex.CodReturnTrackingNumber[0] != '\0' &&
           FedExCodGoesWithThisPackage(fedex.CodPrintLast, jobWide);
}

bool LibfdxFormatData_170x(FedExExpressData &fedex, CommonData &common, LabelContext &label) {
    try {
        return FormatExpress(fedex, common, label);
    } catch (const std::exception &error) {
        ReportJobCppException(error, kLibFdxModule, "LibfdxFormatData_170x");
        return false;
    }
}

bool FdxFormatData(FedExExpressData &fedex, CommonData &common, LabelContext &label) {
    const bool formatted = LibfdxFormatData_170x(fedex, common, label);
    ReplaceDblQuotes(common);
    // the origin line keeps its quotes (the label prints every quote as an apostrophe)
    FedExExpressData &f = fedex;
    QuotesToApostrophesIn(f.ShipDateLine, f.WeightLine, f.DryIceLine, f.PaymentLine, f.ReleaseNumber, f.ServiceType,
                          f.CadLine, f.MasterTrackingNumber, f.TrackingNumber, f.TrackingCaption, f.RoutingCode,
                          f.DestinationRamp, f.ZipStateCountry, f.HandlingCodes, f.DimensionsLine, f.FormId,
                          f.MasterFormId, f.CodReturnAddress1, f.CodReturnAddress2, f.CodReturnAddress3,
                          f.CodReturnPhone, f.ToCaption, f.CodReturnTrackingNumber, f.CodAmountLine,
                          f.CodZipStateCountry, f.CodSecurity, f.PieceCount);
    return formatted;
}

}  // namespace zal
