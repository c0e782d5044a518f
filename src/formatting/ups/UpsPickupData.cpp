// The pickup summary's data and its Data Matrix message: the envelope of
// ISO/IEC 15434, a header "[)>" RS and two format "06" envelopes of data
// identifiers, ended by EOT.
#include "formatting/ups/UpsPickupData.h"

#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <utility>

#include "common/Format.h"
#include "common/Log.h"
#include "common/Strings.h"
#include "formatting/CommonData.h"
#include "formatting/Dates.h"
#include "formatting/PdfData.h"
#include "formatting/Separators.h"
#include "formatting/ups/LibUPS.h"
#include "formatting/ups/UpsInternal.h"

namespace zal {
namespace {

constexpr std::size_t kBarcodeChars = 23;
// A pickup bar code of this prefix is already in the pickup data; any
// other is still pending.
constexpr const char *kFiledPrefix = "91";

// "123456" -> "123 - 456", "1234567890" -> "1234 5678 90": the groups
// stand where they would in a full value (a short value leaves the blanks).
std::string Slices(const char *text, std::initializer_list<std::pair<std::size_t, std::size_t>> slices,
                   const char *separator) {
    std::string out;
    bool first = true;
    for (const auto &slice : slices) {
        if (!first) out += separator;
        out += UpsSlice(text, slice.first, slice.second);
        first = false;
    }
    return out;
}

bool NonZero(const char *count) { return std::atoi(count) != 0; }

bool FormatPickup(PickupSummaryData &p, const JobFile &job) {
    if (!ReadUpsKeyOfLength("PickupSummaryBarcode", kBarcodeChars, "Pickup barcode must be 23 characters in length.",
                            p.PickupSummaryBarcode, job))
        return false;

    char shippingRecord[11] = "";
    char account[7] = "";
    char applicationVersion[12] = "";
    ReadUpsKey("Date", 12, "", p.Date, job);
    ReadUpsKey("ShippingRecord", 10, "", shippingRecord, job);
    ReadUpsKey("UPSAccount", 6, "", account, job);
    ReadUpsKey("From1", 30, "", p.From1, job);
    ReadUpsKey("From2", 30, "", p.From2, job);
    ReadUpsKey("From3", 30, "", p.From3, job);
    ReadUpsKey("TotalNumberofPackages", 7, "0", p.TotalNumberofPackages, job);
    ReadUpsKey("Declare1To5", 7, "0", p.Declare1To5, job);
    ReadUpsKey("DeclareOver5", 7, "0", p.DeclareOver5, job);
    ReadUpsKey("NextDay", 7, "0", p.NextDay, job);
    ReadUpsKey("SecondDay", 7, "0", p.SecondDay, job);
    ReadUpsKey("ThirdDay", 7, "0", p.ThirdDay, job);
    ReadUpsKey("International", 7, "0", p.International, job);
    ReadUpsKey("IntlShipments", 7, "0", p.IntlShipments, job);
    ReadUpsKey("COD", 7, "0", p.COD, job);
    ReadUpsKey("RoutingVersion", 5, "", p.RoutingVersion, job);
    ReadUpsKey("RoutingDate", 7, "", p.RoutingDate, job);
    ReadUpsKey("ApplicationVersion", 11, "", applicationVersion, job);

    CopyText(p.ShippingRecordText, Slices(shippingRecord, {{1, 4}, {5, 8}, {9, 10}}, " ").c_str());
    CopyText(p.AccountText, Slices(account, {{1, 3}, {4, 6}}, " - ").c_str());
    if (NonZero(p.Declare1To5) || NonZero(p.DeclareOver5)) CopyText(p.ControlLogText, "UPS CONTROL LOG REQUIRED");
    if (std::strncmp(p.PickupSummaryBarcode, kFiledPrefix, 2) != 0) CopyText(p.PendingText, "PENDING PLD");

    char date[12] = "";
    ReadUpsKey("MMDDYYYYDate", 11, "", date, job);
    char dayOfYear[16] = "";
    Format(dayOfYear, sizeof dayOfYear, "%03i", DayOfYearFromDate(date));
    char routing[16] = "";
    Format(routing, sizeof routing, "%s %s", p.RoutingVersion, p.RoutingDate);
    const std::string barcodePrefix = UpsSlice(p.PickupSummaryBarcode, 1, 2);
    const std::string barcodeLast = UpsSlice(p.PickupSummaryBarcode, kBarcodeChars, kBarcodeChars);

    const char *RS = kRecordSeparatorText;
    const char *GS = kGroupSeparatorText;
    struct Piece {
        const char *prefix;
        const char *text;
        int32_t maxLength;
        const char *key;
        const char *separator;
    };
    // clang-format off
    const Piece pieces[] = {
        {"",    "[)>",                 3,  nullptr,               RS},
        {"",    "06",                  2,  nullptr,               GS},
        {"",    "0Y",                  2,  nullptr,               GS},
        {"30S", "15",                  2,  nullptr,               GS},
        {"10Y", "PSR",                 3,  nullptr,               GS},
        {"21D", dayOfYear,             3,  nullptr,               GS},
        {"16S", applicationVersion,    11, nullptr,               GS},
        {"11Y", routing,               13, nullptr,               RS},
        {"",    "06",                  2,  nullptr,               GS},
        {"",    "1Y",                  2,  nullptr,               GS},
        {"20Y", barcodePrefix.c_str(), 2,  nullptr,               GS},
        {"15V", account,               6,  nullptr,               GS},
        {"21Y", "",                    9,  "PLDUniqueIdentifier", GS},
        {"QSM", p.TotalNumberofPackages, 5, nullptr,              GS},
        {"22Y", barcodeLast.c_str(),   5,  nullptr,               RS},
    };
    // clang-format on
    constexpr int kCount = static_cast<int>(std::size(pieces));
    PdfDataEntry entries[kCount];
    for (int i = 0; i < kCount; ++i) {
        const Piece &piece = pieces[i];
        if (!FillPDFData(&entries[i], piece.prefix, piece.text, piece.maxLength, piece.key, piece.separator, job)) {
            return false;
        }
    }
    // an empty field keeps its data identifier and its separator
    p.DataMatrixData[0] = '\0';
    if (!ProcessPDF417Data(entries, kCount, p.DataMatrixData, sizeof p.DataMatrixData)) return false;
    if (AppendStrings(p.DataMatrixData, sizeof p.DataMatrixData, {kEndOfTransmissionText}) != kStrOk) return false;
    p.DataMatrixLength = static_cast<int32_t>(std::strlen(p.DataMatrixData));

    ReadTestMode(p.TestModeFlag, p.TestID, job);
    return true;
}

}  // namespace

bool LibUPSPldFormatData(PickupSummaryData &pickup, const JobFile &job) {
    return GuardedLibUps("LibUPSPldFormatData", [&] { return FormatPickup(pickup, job); });
}

bool upsPldFormatData(PickupSummaryData &pickup, const JobFile &job) {
    try {
        if (!LibUPSPldFormatData(pickup, job)) {
            log::LogErrorText("Error while formatting UPS Pickup Summary data.");
            return false;
        }
        if (!EplEscape(pickup.DataMatrixData, sizeof pickup.DataMatrixData)) return false;
        pickup.DataMatrixLength = static_cast<int32_t>(std::strlen(pickup.DataMatrixData));
        return true;
    } catch (const std::exception &e) {
        ReportJobCppException(e, kUpsLabelsModule, "upsPldFormatData");
        return false;
    }
}

}  // namespace zal
