// LibCN22FormatData and FormatCN22Data: the job file becomes the CN22
// customs declaration record.
#include "formatting/cn22/Cn22Data.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <initializer_list>
#include <string>

#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "common/Log.h"
#include "common/Modules.h"
#include "common/Settings.h"
#include "common/Strings.h"

namespace zal {
namespace {

constexpr const char *kLengthRefusal = "Tracking number must be 13, 18 or 26 characters in length.";
// Only a 13-character number has the form the CN22 bar code of its own
// (neither the IMpb nor the UPS one) encodes: 2 letters, 9 digits, 2 letters.
constexpr const char *kOwnBarcodeRefusal = "Tracking number must be 13 characters in length.";
constexpr std::size_t kOwnTrackingLength = 13;
// The longest accepted tracking number and one more character, so that a
// longer one is refused instead of cut.
constexpr std::size_t kTrackingReadChars = 27;

constexpr unsigned char kSectionSign = 0xA7;  // in the Windows Latin-1 code page
constexpr const char *kPrinterSectionSign = "\x15";
constexpr const char *kSectionSignText = "\xA7";

// Editions of the form by form year.
constexpr int32_t kEdition2020 = 4;
constexpr int32_t kEdition2016 = 3;
constexpr int32_t kEdition2012 = 2;
constexpr int32_t kEditionOld = 1;
// Line items of an edition-4 form, unless a SurePost label prints it.
constexpr int32_t kEdition2020LineItems = 3;
// A line item is "quantity|description|pounds|ounces|value"; a shorter
// value cannot hold one.
constexpr std::size_t kShortestLineItem = 6;

// clang-format off
struct LegalText {
    const char *signature;
    const char *lines[5];
};
const LegalText kEdition4Legal = {"Sender's Signature and Date", {
    "I certify the particulars given in this customs declaration are correct. This item",
    "does not contain any dangerous article, or articles prohibited by legislation or by",
    "postal or customs regulations. I have met all applicable export filing requirements",
    "under the Foreign Trade Regulations.",
    ""}};
const LegalText kEdition2Legal = {"Sender's Signature and Date", {
    "I certify the particulars given in this customs declaration",
    "are correct. This item does not contain any dangerous article,",
    "or articles prohibited by legislation or by postal or customs",
    "regulations. I have met all applicable export filing ",
    "requirements under the Foreign Trade Regulations."}};
const LegalText kEdition1Legal = {"Date and sender's signature", {
    "I, the undersigned, whose name and address are given on",
    "the item, certify that the particulars given in this",
    "declaration are correct, and that this item does not contain",
    "any dangerous article or articles prohibited by legislation",
    "or by postal or customs regulations."}};
// The edition-4 lines as the form prints them, one sentence part a line.
const char *const kEdition4PrintedLines[5] = {
    "I certify the particulars given in this customs declaration are correct.",
    "This item does not contain any dangerous article, or articles prohibited by",
    "legislation or by postal or customs regulations. I have met all applicable",
    "export filing requirements under the Foreign Trade Regulations.",
    ""};
// clang-format on

constexpr char kCertification[] =
    "I certify the particulars given in this customs declaration are correct. This item does not contain any "
    "dangerous article, or articles prohibited by legislation or by postal or customs regulations. I have met all "
    "applicable export filing requirements under the Foreign Trade Regulations.";

// A fixed text into its field; the field is wide enough for it.
template <std::size_t N, std::size_t M>
void Caption(char (&field)[N], const char (&text)[M]) {
    static_assert(M <= N, "the caption fits its field");
    std::memcpy(field, text, M);
}

void SetLegalLines(Cn22Data &d, const char *const (&lines)[5]) {
    char *fields[] = {d.LegalLine1, d.LegalLine2, d.LegalLine3, d.LegalLine4, d.LegalLine5};
    for (int i = 0; i < 5; ++i) CopyText(fields[i], sizeof d.LegalLine1, lines[i]);
}

const LegalText &LegalTextOf(int32_t edition) {
    if (edition == kEdition2020) return kEdition4Legal;
    if (edition == kEditionOld) return kEdition1Legal;
    return kEdition2Legal;
}

int32_t EditionOf(int32_t formYear) {
    if (formYear >= 2020) return kEdition2020;
    if (formYear >= 2016) return kEdition2016;
    if (formYear >= 2012) return kEdition2012;
    return kEditionOld;
}

bool Is(const char *text, const char *value) {
    return std::strcmp(text, value) == 0;
}

// Cut at the first comma that is not the first character.
void CutAtComma(char *text) {
    if (text[0] == '\0') return;
    if (char *comma = std::strchr(text + 1, ',')) *comma = '\0';
}

void CutTo(char *text, std::size_t length) {
    if (std::strlen(text) > length) text[length] = '\0';
}

// "CN22SEDText" keeps the section sign, which the printer has a code of its
// own for; every other byte is cleaned as any job value is.
void ReadSedText(const JobFile &job, char (&field)[41]) {
    char raw[sizeof field] = {};
    job.Raw("CN22SEDText", "", raw);
    std::size_t n = 0;
    for (std::size_t i = 0; raw[i] != '\0'; ++i) {
        const auto c = static_cast<unsigned char>(raw[i]);
        if (IsKeptJobByte(c) || c == kSectionSign) field[n++] = raw[i];
    }
    field[n] = '\0';
}

// "%.2f" of the number with thousands separators, after the prefix.
template <std::size_t N>
void Amount(const char *number, const char *prefix, char (&out)[N]) {
    char plain[64];
    Format(plain, sizeof plain, "%.2f", std::atof(number));
    CopyText(out, prefix);
    InsertThousandsSeparators(plain, out, N);
}

// One line item "quantity|description|pounds|ounces|value" (empty fields do
// not count), cut and right-aligned in its columns.
void ReadLineItem(Cn22Data &d, int item, const JobFile &job) {
    char key[24];
    Format(key, sizeof key, "CN22LineItem%02d", item);
    char value[256] = "";
    if (!job.Value(key, "", value)) {
        log::LogError("LibCN22FormatData: Failed to read data for line item #%d (field \"%s\").", item, key);
        return;
    }
    if (std::strlen(value) < kShortestLineItem) {
        log::LogWarning("LibCN22FormatData: Line item #%d contains invalid data from field \"%s\".", item, key);
        return;
    }
    std::string fields[5];
    int count = 0;
    for (const char *p = value; *p != '\0' && count < 5;) {
        const char *bar = std::strchr(p, '|');
        const std::size_t length = bar != nullptr ? static_cast<std::size_t>(bar - p) : std::strlen(p);
        if (length > 0) fields[count++].assign(p, length);
        p += length + (bar != nullptr ? 1 : 0);
    }
    if (count > 0) Format(d.ItemQty[item], sizeof d.ItemQty[item], "%d", std::atoi(fields[0].c_str()));
    if (count > 1) CopyText(d.ItemDescription[item], fields[1].c_str());
    if (count > 2) Format(d.ItemLbs[item], sizeof d.ItemLbs[item], "%d", std::atoi(fields[2].c_str()));
    if (count > 3) Format(d.ItemOz[item], sizeof d.ItemOz[item], "%d", std::atoi(fields[3].c_str()));
    if (count > 4) Amount(fields[4].c_str(), item == 1 ? "$" : "", d.ItemValue[item]);
    CutTo(d.ItemQty[item], 5);
    CutTo(d.ItemDescription[item], 36);
    CutTo(d.ItemLbs[item], 4);
    CutTo(d.ItemOz[item], 3);
    CutTo(d.ItemValue[item], 10);
    PadL(d.ItemQty[item], sizeof d.ItemQty[item], 4);
    PadL(d.ItemLbs[item], sizeof d.ItemLbs[item], 3);
    PadL(d.ItemOz[item], sizeof d.ItemOz[item], 2);
    PadL(d.ItemValue[item], sizeof d.ItemValue[item], 9);
}

void CopyCaptions(Cn22Data &d) {
    Caption(d.FromCaption, "FROM");
    Caption(d.ShipToCaption, "SHIP TO");
    Caption(d.PostalServiceCaption, "United States Postal Service");
    Caption(d.CustomsDeclarationCaption, "Customs Declaration");
    Caption(d.Cn22Caption, "CN 22");
    Caption(d.OpenedOfficiallyCaption, "May be opened officially");
    Caption(d.GiftCaption, "Gift");
    Caption(d.CommercialSampleCaption, "Commercial Sample");
    Caption(d.DocumentsCaption, "Documents");
    Caption(d.OtherCaption, "Other:");
    Caption(d.QtyCaption, "Qty");
    Caption(d.DescriptionCaption, "Detailed description of contents");
    Caption(d.LbsCaption, "Lbs");
    Caption(d.OzCaption, "Oz");
    Caption(d.ValueCaption, "Value (US$)");
    Caption(d.WeightCaption, "Weight");
    Caption(d.TariffCaption1, "For commercial use only.  If known, HS Tariff");
    Caption(d.TariffCaption2, "number and country of origin of goods.");
    Caption(d.TotalWeightCaption, "Total Weight");
    Caption(d.TotalValueCaption, "Total Value");
    Caption(d.UsDollarCaption, "(US$)");
    Caption(d.ExemptionCaption, "Exemption/Exclusion Legend");
    Caption(d.Certification, kCertification);
}

bool FormatCn22(Cn22Data &d, CommonData &common, LabelContext &label) {
    const JobFile &job = label.job;
    char trackingNumber[kTrackingReadChars + 1] = "";
    job.Value("PrintCN22Flag", "", d.PrintCN22Flag);
    job.Value("CN22TrackingNumber", "", trackingNumber);
    job.Value("Carrier", "", d.Carrier);
    d.BRDYear = job.RawInt("BRDYear", 1);
    d.IsSurePost = Is(d.Carrier, "SUREPOST");
    d.IsMFlag = d.PrintCN22Flag[0] == 'M';
    d.FormVersion = EditionOf(d.BRDYear);

    const std::size_t length = std::strlen(trackingNumber);
    if (length != 13 && length != 18 && length != 26) {
        job.Refuse(kLengthRefusal);
        log::LogError("LibCN22FormatData: %s", kLengthRefusal);
        return false;
    }
    FormatCommonData(common, job, label.jobWide);

    char totalLbs[15] = "";
    char totalOzs[7] = "";
    char totalValue[21] = "";
    job.Value("CN22TotalLbs", "", totalLbs);
    job.Value("CN22TotalOZs", "", totalOzs);
    job.Value("CN22TotalVal", "", totalValue);
    job.Value("CN22HSTariffNum", "", d.HSTariffNumber);
    job.Value("CN22CountryOfOrigin", "", d.CountryOfOrigin);
    job.Value("IntlFlag", "", d.IntlFlag);
    job.Value("USPSDelToLine1", "", d.DeliverTo1);
    job.Value("USPSDelToLine2", "", d.DeliverTo2);
    job.Value("USPSDelToLine3", "", d.DeliverTo3);
    job.Value("USPSDelToCityStZip", "", d.DeliverToCityStZip);
    job.Value("CN22OtherDescription", "", d.OtherDescription);
    ReadSedText(job, d.SEDText);
    job.Value("CN22PrintIMpbFlag", "", d.PrintIMpbFlag);
    job.Value("USPSPICNumber", "", d.PICNumber);
    job.Value("ShipToZip", "", d.ShipToZip);
    job.Value("CN22PrintUPSMMIFlag", "", d.PrintUPSMMIFlag);
    if (Is(d.PrintUPSMMIFlag, "Y")) job.Value("TrackingNumber", "", d.UpsTrackingNumber);
    d.TypeOfGoods = job.RawInt("CN22TypeOfGoods", 4);
    const int32_t itemCount = job.RawInt("CN22LineItemCount", 0);

    // The form's own bar code (neither the IMpb nor the UPS one printed)
    // encodes the 13-character number; a longer one would be cut.
    if (!Is(d.PrintIMpbFlag, "Y") && !Is(d.PrintUPSMMIFlag, "Y") && length != kOwnTrackingLength) {
        job.Refuse(kOwnBarcodeRefusal);
        log::LogError("LibCN22FormatData: %s", kOwnBarcodeRefusal);
        return false;
    }

    if (Is(d.PrintUPSMMIFlag, "Y") && d.UpsTrackingNumber[0] != '\0' && d.FormVersion >= kEdition2016) {
        GroupText(d.UpsTrackingNumber, {1, 6, 3, 7, 1}, d.UpsTrackingText);
    } else if (Is(d.PrintIMpbFlag, "Y") && d.PICNumber[0] != '\0') {
        CutTo(d.ShipToZip, 5);
        GroupText(d.PICNumber, {4, 4, 4, 4, 4, 4, 2}, d.PICNumberText);
    } else {
        CopyText(d.TrackingNumber, trackingNumber);
        GroupText(d.TrackingNumber, {2, 3, 3, 3, 2}, d.TrackingNumberText);
    }

    AppendStrings(common.ShipTo7, sizeof common.ShipTo7, {" ", common.ShipToZip});
    CutTo(common.From1, 25);
    CutTo(common.From2, 25);
    CutTo(common.From3, 25);

    CutTo(d.OtherDescription, 30);
    CutAtComma(d.HSTariffNumber);
    CutAtComma(d.CountryOfOrigin);
    CutTo(d.CountryOfOrigin, d.HSTariffNumber[0] != '\0' ? 25 : 35);

    CopyCaptions(d);
    const LegalText &legal = LegalTextOf(d.FormVersion);
    CopyText(d.SignatureCaption, legal.signature);
    SetLegalLines(d, legal.lines);

    AppendStrings(d.TotalWeight, sizeof d.TotalWeight, {totalLbs, " Lbs ", totalOzs, " Oz"});
    PadL(d.TotalWeight, sizeof d.TotalWeight, 13);
    Amount(totalValue, "$", d.TotalValue);
    PadL(d.TotalValue, sizeof d.TotalValue, 11);

    const int32_t limit = d.FormVersion == kEdition2020 && !d.IsSurePost ? kEdition2020LineItems : kCn22MaxLineItems;
    d.LineItemCount = std::clamp<int32_t>(itemCount, 0, limit);
    for (int item = 1; item <= d.LineItemCount; ++item) ReadLineItem(d, item, job);
    return true;
}

}  // namespace

bool LibCN22FormatData(Cn22Data &cn22, CommonData &common, LabelContext &label) {
    try {
        return FormatCn22(cn22, common, label);
    } catch (const std::exception &error) {
        ReportJobCppException(error, kLibCommonModule, "LibCN22FormatData");
        return false;
    }
}

bool FormatCN22Data(Cn22Data &cn22, CommonData &common, LabelContext &label) {
    const bool formatted = LibCN22FormatData(cn22, common, label);
    QuotesToApostrophes(cn22.OtherDescription, sizeof cn22.OtherDescription);
    QuotesToApostrophes(cn22.TotalWeight, sizeof cn22.TotalWeight);
    QuotesToApostrophes(cn22.TotalValue, sizeof cn22.TotalValue);
    QuotesToApostrophes(cn22.HSTariffNumber, sizeof cn22.HSTariffNumber);
    QuotesToApostrophes(cn22.CountryOfOrigin, sizeof cn22.CountryOfOrigin);
    ReplaceAll(cn22.SEDText, sizeof cn22.SEDText, kSectionSignText, kPrinterSectionSign);
    if (cn22.FormVersion == kEdition2020 && !cn22.IsSurePost) {
        SetLegalLines(cn22, kEdition4PrintedLines);
    } else {
        SetLegalLines(cn22, LegalTextOf(cn22.FormVersion == kEditionOld ? kEditionOld : kEdition2012).lines);
    }
    return formatted;
}

}  // namespace zal
