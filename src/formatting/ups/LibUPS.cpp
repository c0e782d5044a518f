// LibUPSFormatData: the job file becomes the UpsData record of the UPS
// layouts.
#include "formatting/ups/LibUPS.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "common/Format.h"
#include "common/Log.h"
#include "common/Strings.h"
#include "formatting/LineLists.h"
#include "formatting/ups/UpsInternal.h"

namespace zal {
namespace {

constexpr std::size_t kTrackingChars = 18;

// Widths of the instruction pieces before they are joined into the billing
// lines; a longer piece is cut.
constexpr std::size_t kLineChars = 50;
constexpr std::size_t kShortLineChars = 30;
constexpr std::size_t kHazardNumberChars = 150;
constexpr std::size_t kAesLineChars = 24;
constexpr std::size_t kEinLineChars = 20;
constexpr std::size_t kJoinSize = 1024;

// Keys of the job that the record does not keep.
struct JobKeys {
    char CodFlag[2];
    char DeliveryConfirmationFlag[2];
    char AdultSignatureFlag[2];
    char HazardousFlag[2];
    char VerbalDeliveryConfirmationFlag[2];
    char EarliestDelivery[10];
    char InvoiceFlag[2];
    char KeyFlag[2];
    char EDIFlag[2];
    char DocumentFlag[2];
    char OtherDocumentFlag[2];
    char PowerOfAttorneyFlag[2];
    char SEDFlag[2];
    char CertificateFlag[2];
    char SiteContact[30];
    char PackageType[2];
    char AdditionalHandling[2];
    char AdditionalHandlingCount[4];
    char BillingOption[4];
    char BillAccount[14];
    char BillAccount3rdPrimary[14];
    char State[3];
    char IntlAddressFormat[2];
    char HazModeOfTransport[2];
    char AESNumber[34];
    char EINNumber[21];
    char EINType[2];
    char LargePackage[2];
    char ProactiveResponse[2];
    char RefrigerationFlag[2];
    char DryIceFlag[2];
    char DryIceAuditFlag[2];
    char DryIceWeight[11];
    char CarbonNeutralFlag[2];
    char OuncesWeight[18];
    char LiftGateFlag[2];
    char ResidentialDeliveryFlag[2];
    char DDOIndicator[2];
    char DescOfGoods[36];
    char DescTitle[51];
    char CodAmount[10];
    char HazMatNumber1[50];
    char HazMatNumber2[50];
    char HazMatNumber3[50];
    char ShipRefTitle1[51];
    char ShipRefTitle2[51];
};

// The instruction pieces, each within its width.
struct Lines {
    std::string description, returnService, reference1, reference2, cod, directDelivery, signature, lift,
        residential, hazardous, hazardNumbers, earliest, shipperRelease, carbonNeutral, billing, aes, ein;
};

struct TextKey {
    const char *key;
    std::size_t chars;
    const char *defaultValue;
    char *field;
    std::size_t size;
    bool upperCase;
};

void ReadTextKeys(const TextKey *keys, std::size_t count, const JobFile &job) {
    for (std::size_t i = 0; i < count; ++i) {
        const TextKey &k = keys[i];
        const std::size_t size = std::min(k.chars + 1, k.size);
        job.Raw(k.key, k.defaultValue, k.field, static_cast<uint32_t>(size));
        if (k.upperCase) UpperCase(k.field);
    }
}

template <std::size_t N>
TextKey Key(const char *key, std::size_t chars, const char *defaultValue, char (&field)[N], bool upperCase) {
    return {key, chars, defaultValue, field, N, upperCase};
}

void ReadJobKeys(UpsData &ups, JobKeys &k, const JobFile &job) {
    // clang-format off
    const TextKey keys[] = {
        Key("Carrier",                        6,   "",      ups.Carrier,                      false),
        Key("ISOCode",                        3,   "",      ups.ISOCode,                      false),
        Key("CodFlag",                        1,   "N",     k.CodFlag,                        true),
        Key("DeliveryConfirmationFlag",       1,   "N",     k.DeliveryConfirmationFlag,       true),
        Key("AdultSignatureFlag",             1,   "N",     k.AdultSignatureFlag,             true),
        Key("HazardousFlag",                  1,   "N",     k.HazardousFlag,                  true),
        Key("VerbalDeliveryConfirmationFlag", 1,   "N",     k.VerbalDeliveryConfirmationFlag, true),
        Key("EarliestDelivery",               9,   "",      k.EarliestDelivery,               false),
        Key("InvoiceFlag",                    1,   "",      k.InvoiceFlag,                    true),
        Key("KeyFlag",                        1,   "",      k.KeyFlag,                        true),
        Key("EDIFlag",                        1,   "",      k.EDIFlag,                        true),
        Key("DocumentFlag",                   1,   "",      k.DocumentFlag,                   true),
        Key("OtherDocumentFlag",              1,   "",      k.OtherDocumentFlag,              true),
        Key("PowerOfAttorneyFlag",            1,   "",      k.PowerOfAttorneyFlag,            true),
        Key("SEDFlag",                        1,   "",      k.SEDFlag,                        true),
        Key("CertificateFlag",                1,   "",      k.CertificateFlag,                true),
        Key("ShipmentNumber",                 13,  "",      ups.ShipmentNumber,               false),
        Key("ShipmentWeight",                 4,   "",      ups.ShipmentWeight,               false),
        Key("ShipmentDate",                   11,  "",      ups.ShipmentDate,                 false),
        Key("SiteContact",                    29,  "",      k.SiteContact,                    false),
        Key("RoutingCode",                    14,  "",      ups.RoutingCode,                  false),
        Key("RoutingVersion",                 5,   "",      ups.RoutingVersion,               false),
        Key("RoutingDate",                    7,   "",      ups.RoutingDate,                  false),
        Key("PackageType",                    1,   "",      k.PackageType,                    false),
        Key("DimensionalWeight",              9,   "",      ups.DimensionalWeight,            false),
        Key("AdditionalHandling",             1,   "",      k.AdditionalHandling,             false),
        Key("AdditionalHandlingCount",        3,   "",      k.AdditionalHandlingCount,        false),
        Key("BillingOption",                  3,   "",      k.BillingOption,                  false),
        Key("BillAccount",                    13,  "",      k.BillAccount,                    false),
        Key("BillAccount3rdPrimary",          13,  "",      k.BillAccount3rdPrimary,          false),
        Key("AddressVerificationFlag",        1,   "",      ups.AddressVerificationFlag,      false),
        Key("RouteFound",                     1,   "",      ups.RouteFound,                   false),
        Key("CompressMaxicode",               1,   "",      ups.CompressMaxicode,             false),
        Key("State",                          2,   "",      k.State,                          true),
        Key("IntlAddressFormat",              1,   "2",     k.IntlAddressFormat,              false),
        Key("HazModeOfTransport",             1,   "",      k.HazModeOfTransport,             true),
        Key("AESNumber",                      33,  "",      k.AESNumber,                      false),
        Key("EINNumber",                      20,  "",      k.EINNumber,                      false),
        Key("EINType",                        1,   "",      k.EINType,                        true),
        Key("ISCFlag",                        1,   "",      ups.ISCFlag,                      true),
        Key("LargePackage",                   1,   "",      k.LargePackage,                   true),
        Key("ProactiveResponse",              1,   "",      k.ProactiveResponse,              true),
        Key("RefrigerationFlag",              1,   "",      k.RefrigerationFlag,              false),
        Key("DryIceFlag",                     1,   "",      k.DryIceFlag,                     true),
        Key("DryIceAuditFlag",                1,   "",      k.DryIceAuditFlag,                true),
        Key("DryIceWeight",                   10,  "",      k.DryIceWeight,                   false),
        Key("PaperlessFlag",                  1,   "",      ups.PaperlessFlag,                true),
        Key("PrintCN22Flag",                  1,   "",      ups.PrintCN22Flag,                false),
        Key("PrintPIFlag",                    1,   "Y",     ups.PrintPIFlag,                  true),
        Key("CarbonNeutralFlag",              1,   "",      k.CarbonNeutralFlag,              true),
        Key("OuncesWeight",                   17,  "",      k.OuncesWeight,                   false),
        Key("Attention",                      35,  "",      ups.Attention,                    false),
        Key("LiftGateFlag",                   1,   "",      k.LiftGateFlag,                   true),
        Key("ResidentialDeliveryFlag",        1,   "",      k.ResidentialDeliveryFlag,        true),
        Key("DDOIndicator",                   1,   "",      k.DDOIndicator,                   true),
        Key("DescOfGoods",                    35,  "",      k.DescOfGoods,                    false),
        Key("DescTitle",                      50,  "DESC:", k.DescTitle,                      false),
        Key("CodAmount",                      9,   "0",     k.CodAmount,                      false),
        Key("HazMatNumber1",                  49,  "",      k.HazMatNumber1,                  false),
        Key("HazMatNumber2",                  49,  "",      k.HazMatNumber2,                  false),
        Key("HazMatNumber3",                  49,  "",      k.HazMatNumber3,                  false),
    };
    // clang-format on
    ReadTextKeys(keys, std::size(keys), job);
    if (std::strcmp(ups.PrintPIFlag, "N") != 0) CopyText(ups.PrintPIFlag, "Y");
    const uint32_t year = job.RawInt("BRDYear", kDefaultBrdYear);
    ups.BRDYear = static_cast<int32_t>(year);
}

bool Is(const char *flag, const char *value) {
    return std::strcmp(flag, value) == 0;
}

// An instruction line within its piece; a closing bar stays when it is cut.
std::string Bounded(std::string line, std::size_t chars) {
    if (line.size() <= chars) return line;
    log::LogWarning("LibUPSFormatData: Instruction line \"%s\" cut to %u characters.", line.c_str(),
                    static_cast<unsigned>(chars));
    const bool closed = line.back() == '|';
    line.resize(chars);
    if (closed && chars > 0) line.back() = '|';
    return line;
}

// Step 4: the postal code joins the city line.
void FormatCityLine(CommonData &common, const JobKeys &k, bool domestic, bool international) {
    const char *zip = common.ShipToZip;
    const std::size_t length = std::strlen(zip);
    if (Is(k.IntlAddressFormat, "1")) {
        const std::string city = common.ShipTo7;
        CopyStrings(common.ShipTo7, sizeof common.ShipTo7, {zip, " "});
        AppendText(common.ShipTo7, city.c_str());
        return;
    }
    if (domestic && length < 5) return;
    std::string addition = " ";
    if (length <= 5 || international) {
        addition += zip;
    } else {
        addition.append(zip, 5).append("-").append(zip + 5);
    }
    AppendText(common.ShipTo7, addition.c_str());
}

// Step 5: the postal bar code and its readable line.
void FormatPostalBarcode(UpsData &ups, const CommonData &common, const JobKeys &k, bool domestic, bool international) {
    const char *zip = common.ShipToZip;
    if (domestic) {
        if (std::strlen(zip) < 5) return;
        CopyText(ups.PostalAI, Is(k.State, "PR") ? "421" : "420");
        CopyText(ups.PostalCode, zip);
        CopyText(ups.PostalBarcodeNumeric, ups.PostalAI);
        AppendText(ups.PostalBarcodeNumeric, ups.PostalCode);
        CopyText(ups.PostalBarcodeData, ups.PostalAI);
        AppendText(ups.PostalBarcodeData, ups.PostalCode);
        CopyStrings(ups.PostalReadable, sizeof ups.PostalReadable, {"(", ups.PostalAI, ") "});
        AppendText(ups.PostalReadable, ups.PostalCode);
    } else {
        CopyText(ups.PostalAI, "421");
        KeepAlphanumeric(zip, ups.PostalCode, 9);
        const char *code = ups.PostalCode;
        CopyStrings(ups.PostalBarcodeNumeric, sizeof ups.PostalBarcodeNumeric, {ups.PostalAI, ups.ISOCode});
        CopyStrings(ups.PostalBarcodeData, sizeof ups.PostalBarcodeData, {ups.PostalAI, ups.ISOCode});
        if (!international) {
            CopyText(ups.PostalBarcodeTail, UpsSlice(code, 1, 6).c_str());
            AppendText(ups.PostalBarcodeData, ups.PostalBarcodeTail);
        } else if (std::strlen(code) == 9) {
            AppendText(ups.PostalBarcodeNumeric, UpsSlice(code, 1, 8).c_str());
            CopyText(ups.PostalBarcodeTail, UpsSlice(code, 9, 9).c_str());
            AppendText(ups.PostalBarcodeData, code);
        } else {
            CopyText(ups.PostalBarcodeTail, UpsSlice(code, 1, 5).c_str());
            AppendText(ups.PostalBarcodeData, ups.PostalBarcodeTail);
        }
        CopyStrings(ups.PostalReadable, sizeof ups.PostalReadable, {"(", ups.PostalAI, ") ", ups.ISOCode});
        if (code[0] != '\0') {
            AppendText(ups.PostalReadable, " ");
            AppendText(ups.PostalReadable, UpsSlice(code, 1, 6).c_str());
        }
    }
    CopyText(ups.PostalTitle, ups.PostalReadable);
}

// "1Z 123 45E 02 0527 1688"
std::string GroupedTrackingNumber(const char *tracking) {
    static constexpr std::size_t kGroups[][2] = {{1, 2}, {3, 5}, {6, 8}, {9, 10}, {11, 14}, {15, 18}};
    std::string text;
    for (const auto &group : kGroups) {
        if (!text.empty()) text += ' ';
        text += UpsSlice(tracking, group[0], group[1]);
    }
    return text;
}

void FormatTracking(UpsData &ups) {
    const std::string grouped = GroupedTrackingNumber(ups.TrackingNumber);
    CopyStrings(ups.TrackingText, sizeof ups.TrackingText, {"TRACKING #: "});
    AppendText(ups.TrackingText, grouped.c_str());
    // a shipper number of digits only lets the bar code switch to numeric
    // coding after the fourth character
    const std::string shipper = UpsSlice(ups.TrackingNumber, 3, 8);
    const bool numericShipper = shipper.size() == 6 && shipper.find_first_not_of("0123456789") == std::string::npos;
    const std::size_t headChars = numericShipper ? 4 : 10;
    CopyText(ups.TrackingBarcodeHead, UpsSlice(ups.TrackingNumber, 1, headChars).c_str());
    CopyText(ups.TrackingBarcodeTail, UpsSlice(ups.TrackingNumber, headChars + 1, kTrackingChars).c_str());
}

std::string CodAmountText(const char *amountText) {
    const double amount = std::strtod(amountText, nullptr);
    char number[48];
    Format(number, sizeof number, "%.2f", amount);
    if (!(amount >= 1000)) return number;
    char grouped[64] = {};
    InsertThousandsSeparators(number, grouped, sizeof grouped);
    return grouped;
}

// Steps 16 to 22: the instruction pieces.
void FormatInstructionLines(Lines &lines, const UpsData &ups, const JobKeys &k, const std::string &code,
                            bool international) {
    if (Is(k.CodFlag, "Y") || Is(k.CodFlag, "C")) {
        const char *title = Is(k.CodFlag, "C") ? "COD CASHIERS CK/MO ONLY $" : "COD $";
        lines.cod = Bounded(title + CodAmountText(k.CodAmount) + "|", kLineChars);
    }
    if (Is(k.DDOIndicator, "D")) lines.directDelivery = "DIRECT DELIVERY ONLY|";
    if (Is(k.DeliveryConfirmationFlag, "Y")) {
        if (!Is(k.AdultSignatureFlag, "Y")) {
            lines.signature = "SIGNATURE REQUIRED|";
        } else if (Is(ups.ISOCode, "124")) {
            lines.signature = "ADULT SIGNATURE REQUIRED - MIN 19|";
        } else if (international) {
            lines.signature = "ADULT SIGNATURE REQUIRED|";
        } else {
            lines.signature = "ADULT SIGNATURE REQUIRED - MIN 21|";
        }
    }
    if (Is(k.LiftGateFlag, "Y")) lines.lift = Bounded("LIFT|", kShortLineChars);
    if (Is(k.ResidentialDeliveryFlag, "Y")) lines.residential = Bounded("RESIDENTIAL DELIVERY|", kShortLineChars);

    if (Is(k.HazardousFlag, "Y")) {
        lines.hazardous = Is(k.HazModeOfTransport, "G") ? "HAZARDOUS MATERIALS - GROUND ONLY|"
                                                         : "HAZARDOUS MATERIALS - AIR ELIGIBLE|";
        std::string numbers = "HAZ#: ";
        bool first = true;
        for (const char *number : {k.HazMatNumber1, k.HazMatNumber2, k.HazMatNumber3}) {
            if (number[0] == '\0') continue;
            if (!first) numbers += ", ";
            numbers += number;
            first = false;
        }
        lines.hazardNumbers = Bounded(numbers + "|", kHazardNumberChars);
    } else if (Is(k.DryIceFlag, "Y")) {
        lines.hazardous = Bounded(std::string("UN1845, DRY ICE, CLASS 9, 1 x ") + k.DryIceWeight + " KG|", kLineChars);
        lines.hazardNumbers = Is(k.DryIceAuditFlag, "Y") ? "AUDIT REQUIRED|" : "NO AUDIT REQUIRED|";
    }

    if (IsUpsCodeIn(kUpsEarliestCodes, code.c_str()) && k.EarliestDelivery[0] != '\0') {
        lines.earliest = "EARLIEST DELIVERY TIME " + UpsSlice(k.EarliestDelivery, 1, 2) + ":" +
                         UpsSlice(k.EarliestDelivery, 3, 4) + "|";
    }
    if (IsUpsCodeIn(kUpsShipperReleaseCodes, code.c_str()) || IsUpsCodeIn(kUpsFlatBillingCodes, code.c_str())) {
        lines.shipperRelease = "ATTENTION UPS DRIVER: SHIPPER RELEASE|";
    }
    if (Is(k.CarbonNeutralFlag, "Y")) lines.carbonNeutral = "UPS CARBON NEUTRAL SHIPMENT";
}

// Step 23, export lines of the international labels.
void FormatExportLines(Lines &lines, UpsData &ups, const JobKeys &k) {
    if (k.AESNumber[0] != '\0') {
        const char *title = Is(k.SEDFlag, "E") ? "AES " : Is(k.SEDFlag, "X") ? "AES NOEEI " : nullptr;
        if (title != nullptr) {
            CopyText(ups.AESText, title);
            AppendText(ups.AESText, k.AESNumber);
        }
        if (ups.AESText[0] != '\0') lines.aes = Bounded(std::string(ups.AESText) + "|", kAesLineChars);
    }
    if (k.EINNumber[0] != '\0') {
        // EINText holds 25 characters: a 20-character number after "DUNS: " loses its end
        CopyText(ups.EINText, Is(k.EINType, "D") ? "DUNS: " : "EIN:  ");
        AppendText(ups.EINText, k.EINNumber);
        if (Is(k.SEDFlag, "P")) {
            CopyText(ups.AESText, "AESPOST ");
            AppendText(ups.AESText, k.EINNumber);
            lines.aes = Bounded(std::string(ups.AESText) + "|", kAesLineChars);
        } else if (Is(k.PowerOfAttorneyFlag, "Y") || Is(k.SEDFlag, "U")) {
            lines.ein = Bounded(std::string(ups.EINText) + "|", kEinLineChars);
        }
    }
}

void FormatBillingLines(UpsData &ups, const JobKeys &k, Lines &lines, const std::string &code, bool domestic,
                        bool international, bool returnService) {
    char joined[kJoinSize] = {};
    auto join = [&joined](TextList pieces) { JoinWithSeparator(joined, sizeof joined, '|', false, pieces); };
    const bool billed = k.BillingOption[0] != '\0';
    const Lines &l = lines;
    if (domestic) {
        const bool flatRate = IsUpsCodeIn(kUpsFlatBillingCodes, code.c_str());
        if (billed) {
            UpsDomesticBillingLine(lines.billing, k.BillingOption, k.BillAccount, flatRate);
            lines.billing = Bounded(lines.billing + "|", kLineChars);
        }
        if (billed && flatRate) {
            join({l.billing.c_str(), l.shipperRelease.c_str(), l.returnService.c_str(), l.reference1.c_str(),
                  l.reference2.c_str()});
        } else if (billed && returnService) {
            join({l.billing.c_str(), l.description.c_str(), l.returnService.c_str(), l.reference1.c_str(),
                  l.reference2.c_str()});
        } else if (billed) {
            join({l.billing.c_str(), l.cod.c_str(), l.directDelivery.c_str(), l.signature.c_str(),
                  l.description.c_str(), l.shipperRelease.c_str(), l.hazardous.c_str(), l.hazardNumbers.c_str(),
                  l.earliest.c_str()});
        } else if (returnService) {
            join({l.description.c_str(), l.returnService.c_str(), l.reference1.c_str(), l.reference2.c_str()});
        } else {
            join({l.cod.c_str(), l.directDelivery.c_str(), l.signature.c_str(), l.description.c_str(),
                  l.shipperRelease.c_str(), l.hazardous.c_str(), l.hazardNumbers.c_str(), l.earliest.c_str()});
        }
        if (!billed && Is(k.VerbalDeliveryConfirmationFlag, "Y")) CopyText(ups.DocumentIndicator, "VCD");
    } else {
        if (billed) {
            UpsInternationalBillingLine(lines.billing, international, k.BillingOption, k.BillAccount,
                                        k.BillAccount3rdPrimary);
            lines.billing = Bounded(lines.billing + "|", kLineChars);
        }
        FormatExportLines(lines, ups, k);
        if (international) {
            join({l.billing.c_str(), l.cod.c_str(), l.directDelivery.c_str(), l.signature.c_str(),
                  l.description.c_str(), l.hazardous.c_str(), l.hazardNumbers.c_str(), l.earliest.c_str(),
                  l.lift.c_str(), l.aes.c_str(), l.ein.c_str(), l.residential.c_str()});
        } else if (returnService) {
            join({l.billing.c_str(), l.description.c_str(), l.returnService.c_str(), l.reference1.c_str(),
                  l.reference2.c_str()});
        } else {
            join({l.billing.c_str(), l.cod.c_str(), l.directDelivery.c_str(), l.signature.c_str(),
                  l.description.c_str(), l.shipperRelease.c_str(), l.hazardous.c_str(), l.hazardNumbers.c_str(),
                  l.earliest.c_str(), l.aes.c_str(), l.ein.c_str()});
        }
    }
    join({l.carbonNeutral.c_str()});
    ups.BillingLineCount = static_cast<int16_t>(FillAddlBillingLines(ups.BillingLines, joined));
}

// Step 24: document indicators of the international and Puerto Rico labels.
void FormatInternationalIndicators(UpsData &ups, const JobKeys &k, bool international, bool returnService) {
    const char *indicator = "";
    if (Is(ups.PaperlessFlag, "Y")) {
        indicator = Is(k.OtherDocumentFlag, "Y") ? "EDI-PULL" : "EDI";
    } else if (Is(k.InvoiceFlag, "Y")) {
        indicator = international && returnService ? "INV-RS" : "INV";
    } else if (Is(k.KeyFlag, "Y")) {
        indicator = international && returnService ? "KEY-RS" : "KEY";
    } else if (Is(k.EDIFlag, "Y")) {
        const bool documents = Is(k.DocumentFlag, "Y");
        if (international && returnService) {
            indicator = documents ? "DOC-RS" : "RS";
        } else {
            indicator = documents ? "EDI-DOC" : "EDI";
        }
    }
    CopyText(ups.DocumentIndicator, indicator);

    std::string documents;
    if (Is(k.PowerOfAttorneyFlag, "Y")) documents += "POA/";
    if (Is(k.SEDFlag, "U")) documents += "EEI/";
    if (Is(k.CertificateFlag, "Y")) documents += "CO/";
    if (!documents.empty()) documents.pop_back();
    CopyText(ups.CustomsDocuments, documents.c_str());

    if (international) {
        if (Is(ups.ISCFlag, "Y")) {
            CopyText(ups.ISCText, "ISC");
        } else if (Is(ups.ISCFlag, "B")) {
            CopyText(ups.ISCText, "ISC-BIO");
        } else {
            CopyText(ups.ISCFlag, "N");
        }
        if (Is(k.LiftGateFlag, "Y")) CopyText(ups.ShipmentRef1, "LIFT|");
        if (Is(k.ResidentialDeliveryFlag, "Y")) CopyText(ups.ShipmentRef2, "RESIDENTIAL DELIVERY|");
        CopyText(ups.ReturnServiceText, returnService ? "RETURN SERVICE" : "");
        if (Is(k.CarbonNeutralFlag, "Y")) CopyText(ups.CarbonNeutralText, "UPS CARBON NEUTRAL SHIPMENT");
    } else if (ups.ServiceMark[0] != '\0') {
        ups.HandlingText[0] = '\0';
        ups.DimWeightText[0] = '\0';
    }
}

// Step 25: a ship-to without its first line moves the next line up and
// puts the phone number in its place.
void ShiftAddress(CommonData &common) {
    if (common.ShipTo1[0] != '\0' || common.ShipToPhone[0] == '\0') return;
    for (char *line : {common.ShipTo2, common.ShipTo3, common.ShipTo4, common.ShipTo5, common.ShipTo6}) {
        if (line[0] == '\0') continue;
        CopyText(common.ShipTo1, line);
        CopyText(line, sizeof common.ShipTo2, common.ShipToPhone);
        return;
    }
    CopyText(common.ShipTo6, common.ShipToPhone);
}

void FormatPackageInfo(UpsData &ups, bool domestic) {
    char list[kJoinSize] = {};
    if (domestic) {
        if (!IsBlankText(ups.DimWeightText, sizeof ups.DimWeightText)) CopyText(list, ups.DimWeightText);
    } else {
        const std::string number = std::string("SHP#: ") + ups.ShipmentNumber;
        const std::string weight = std::string("SHP WT: ") + ups.ShipmentWeight + " LBS";
        const std::string dimWeight = IsBlankText(ups.ShipmentDimWeight, sizeof ups.ShipmentDimWeight)
                                          ? std::string()
                                          : std::string("SHP DWT: ") + ups.ShipmentDimWeight + " LBS";
        const std::string date = std::string("DATE: ") + ups.ShipmentDate;
        JoinWithSeparator(list, sizeof list, '|', false,
                          {number.c_str(), weight.c_str(), dimWeight.c_str(), date.c_str(), ups.DimWeightText});
    }
    ups.PkgInfoLineCount = static_cast<int16_t>(FillPkgInfoLines(ups.PkgInfoLines, list));
}

void FormatCustomerData(UpsData &ups, const JobFile &job, const JobWideValues &jobWide) {
    char references[5][65] = {};
    ReadUpsKey("ShipRef1", 64, "", references[0], job);
    ReadUpsKey("ShipRef2", 64, "", references[1], job);
    ReadUpsKey("ShipRef3", 64, "", references[2], job);
    ReadUpsKey("ShipRef4", 64, "", references[3], job);
    ReadUpsKey("ShipRef5", 64, "", references[4], job);
    char list[kJoinSize] = {};
    JoinWithSeparator(list, sizeof list, '|', false,
                      {ups.POLine, jobWide.Remark, references[0], references[1], references[2], references[3],
                       references[4]});
    ups.CustomerDataLineCount = static_cast<int16_t>(FillCustomerDataLines(ups.CustomerDataLines, list));
}

bool FormatData(UpsData &ups, CommonData &common, LabelContext &label) {
    const JobFile &job = label.job;
    if (job.Path() == nullptr) return false;
    ReadUpsKey("TrackingNumber", 19, "", ups.TrackingNumber, job);
    if (std::strlen(ups.TrackingNumber) != kTrackingChars) {
        job.Refuse("Tracking number must be 18 characters in length.");
        return false;
    }
    ups.BRDYear = kDefaultBrdYear;
    // a fault there is reported there; the label goes on with what was read
    const bool commonRead = FormatCommonData(common, job, label.jobWide);
    JobWideValues &jobWide = label.jobWide;

    JobKeys k{};
    ReadJobKeys(ups, k, job);
    const bool international = label.carrier == CARRIER_UPSINT;
    const bool domestic = !international && label.carrier != CARRIER_UPSPR;
    const std::string code = UpsSlice(ups.TrackingNumber, 9, 10);
    const char *serviceCode = code.c_str();

    FormatCityLine(common, k, domestic, international);
    FormatPostalBarcode(ups, common, k, domestic, international);

    CopyText(ups.ShipTitle, "SHIP");
    CopyText(ups.ToTitle, "TO:");
    CopyText(ups.FromTitle, "FROM:");
    if (jobWide.PONumber[0] != '\0') {
        CopyText(ups.POLine, "PO # ");
        AppendText(ups.POLine, jobWide.PONumber);
    }
    FormatTracking(ups);

    if (const UpsService *service = FindUpsService(serviceCode)) {
        CopyText(ups.ServiceName, service->name);
        if (service->level != nullptr) CopyText(ups.ServiceLevel, service->level);
        // an empty site contact keeps the sender's name on the label
        if (Is(service->name, kUpsNextDayAirEarly) && k.SiteContact[0] != '\0') CopyText(common.From1, k.SiteContact);
    }
    const bool returnService = IsUpsCodeIn(kUpsReturnCodes, serviceCode);
    if (IsUpsCodeIn(kUpsCodCodes, serviceCode)) AppendText(ups.ServiceMark, "COD");

    Lines lines;
    if (!IsBlankText(k.DescOfGoods, sizeof k.DescOfGoods)) {
        // each part only while it fits
        const char *title = k.DescTitle;
        const char *goods = k.DescOfGoods;
        for (const char *part : {title, " ", goods, "|"}) {
            if (lines.description.size() + std::strlen(part) > kLineChars) break;
            lines.description += part;
        }
    }
    if (returnService || !domestic) {
        ReadUpsKey("ShipmentRef1", 40, "", ups.ShipmentRef1, job);
        ReadUpsKey("ShipmentRef2", 40, "", ups.ShipmentRef2, job);
    }
    if (returnService) {
        ReadUpsKey("ShipRefTitle1", 50, "REFERENCE#1:", k.ShipRefTitle1, job);
        ReadUpsKey("ShipRefTitle2", 50, "REFERENCE#2:", k.ShipRefTitle2, job);
        CopyText(ups.ServiceMark, "RS");
        lines.returnService = "RETURN SERVICE|";
        if (ups.ShipmentRef1[0] != '\0') {
            lines.reference1 = Bounded(std::string(k.ShipRefTitle1) + " " + ups.ShipmentRef1 + "|", kLineChars);
        }
        if (ups.ShipmentRef2[0] != '\0') {
            lines.reference2 = Bounded(std::string(k.ShipRefTitle2) + " " + ups.ShipmentRef2 + "|", kLineChars);
        }
        jobWide.OrderCount = 1;
        jobWide.ExpectedCount = 1;
    }

    if (Is(k.AdditionalHandling, "Y")) {
        CopyText(ups.HandlingText, "AH ");
        AppendText(ups.HandlingText, k.AdditionalHandlingCount);
    } else if (Is(k.LargePackage, "Y")) {
        CopyText(ups.HandlingText, "LP");
    }
    if (ups.DimensionalWeight[0] != '\0') {
        CopyText(ups.DimWeightText, "DWT: ");
        AppendText(ups.DimWeightText, ups.DimensionalWeight);
        if (std::strchr(ups.DimensionalWeight, ',') == nullptr) AppendText(ups.DimWeightText, " LBS");
    }
    if (Is(k.ProactiveResponse, "Y")) CopyText(ups.ProactiveMark, "PRO");
    if (Is(k.RefrigerationFlag, "Y")) CopyText(ups.RefrigerationMark, "RFG");

    FormatInstructionLines(lines, ups, k, code, international);
    if (!domestic) ReadUpsKey("ShipmentDimWeight", 5, "", ups.ShipmentDimWeight, job);
    FormatBillingLines(ups, k, lines, code, domestic, international, returnService);
    if (!domestic) FormatInternationalIndicators(ups, k, international, returnService);

    ShiftAddress(common);

    ups.MaxiServiceClass = upsMaxicodeServiceCode(serviceCode);
    if (ups.MaxiServiceClass == -1) {
        job.Refuse("Invalid Service Code");
        return false;
    }
    ups.RouteValid = !IsBlankText(ups.RoutingCode, sizeof ups.RoutingCode) && Is(ups.RouteFound, "Y");
    if (!Is(ups.RouteFound, "Y")) {
        ups.PostalTitle[0] = '\0';
        ups.PostalReadable[0] = '\0';
    }
    if (IsUpsCodeIn(kUpsUspsPresortCodes, serviceCode)) CopyText(ups.USPSServiceType, "P");
    if (IsUpsCodeIn(kUpsUspsUnitCodes, serviceCode)) CopyText(ups.USPSServiceType, "U");
    if (Is(serviceCode, "PT") || Is(ups.USPSServiceType, "P") || Is(serviceCode, "90")) {
        FormatUpsUspsHandOff(ups, common, serviceCode, job);
    }

    if (commonRead && common.TestID[0] != '\0') {
        CopyText(ups.TestModeFlag, common.TestModeFlag);
        CopyText(ups.TestID, common.TestID);
    } else {
        ReadTestMode(ups.TestModeFlag, ups.TestID, job);
    }

    if (IsUpsCodeIn(kUpsLaneCodes, serviceCode)) {
        char lane[11] = {};
        ReadUpsKey("UPSLaneNumber", 10, "", lane, job);
        if (lane[0] != '\0') CopyStrings(ups.LaneText, sizeof ups.LaneText, {"LANE: ", lane});
    }
    if (Is(ups.PaperlessFlag, "Y")) {
        CopyText(ups.BackupTrackingTitle, "TR#: ");
        CopyText(ups.BackupShipmentTitle, "SHP#: ");
        CopyText(ups.BackupDocumentText, "Backup Document - Please Place on Package");
        CopyText(ups.BackupSignatureTitle, "SHIPPER'S SIGNATURE:");
        CopyText(ups.BackupDateTitle, "DATE: ");
        CopyText(ups.BackupTrackingNumber, GroupedTrackingNumber(ups.TrackingNumber).c_str());
    }

    // Format cuts the text at the field's 14 characters
    if (jobWide.OrderCount <= jobWide.ExpectedCount) {
        Format(ups.PackageCountText, sizeof ups.PackageCountText, "%d OF %d", jobWide.OrderCount,
               jobWide.ExpectedCount);
    } else {
        Format(ups.PackageCountText, sizeof ups.PackageCountText, "%d OF___", jobWide.OrderCount);
    }
    FormatUpsWeight(ups, k.PackageType, jobWide.ActualWeight, k.OuncesWeight, serviceCode);
    FormatPackageInfo(ups, domestic);
    FormatCustomerData(ups, job, jobWide);
    return true;
}

}  // namespace

std::string UpsSlice(const char *text, std::size_t from, std::size_t to) {
    std::string slice;
    if (text == nullptr || from == 0 || to < from) return slice;
    const std::size_t length = std::strlen(text);
    for (std::size_t i = from - 1; i < to && i < length; ++i) slice += text[i];
    return slice;
}

bool LibUPSFormatData(UpsData &ups, CommonData &common, LabelContext &label) {
    return GuardedLibUps("LibUPSFormatData", [&] { return FormatData(ups, common, label); });
}

}  // namespace zal
