// The Access Point formatting: common record, tracking number text,
// access point code.
#include <cstring>
#include <exception>

#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "common/Log.h"
#include "common/Strings.h"
#include "formatting/ups/UpsAccessPoint.h"
#include "formatting/ups/UpsInternal.h"
#include "platform/Platform.h"

namespace zal {
namespace {

// upsAccessPointFormatData belongs to the printer library's UPS module.

constexpr std::size_t kTrackingLength = 18;
// Groups of the printed tracking number: 1Z 3F6 W21 03 5520 9139.
constexpr std::size_t kTrackingGroups[] = {2, 3, 3, 2, 4, 4};

struct IndicatorCode {
    char indicator;
    const char *code;
};
// clang-format off
// The code printed beside the hold title, by Access Point indicator.
const IndicatorCode kIndicatorCodes[] = {
    {'R', "D2R"},
    {'A', "D2R"},
    {'B', "D2R/D2A"},
};
// clang-format on

const char *AccessPointCodeFor(char indicator) {
    for (const IndicatorCode &c : kIndicatorCodes) {
        if (c.indicator == indicator) return c.code;
    }
    return nullptr;
}

bool FormatAccessPoint(UpsData &ups, CommonData &common, LabelContext &label) {
    const JobFile &job = label.job;
    if (!FormatCommonData(common, job, label.jobWide)) return false;

    char indicator[2] = "";
    ReadUpsKey("AccessPointIndicator", 1, "", indicator, job);
    UpperCase(indicator);
    ReadUpsKey("TrackingNumber", 19, "", ups.TrackingNumber, job);
    if (std::strlen(ups.TrackingNumber) != kTrackingLength) {
        job.Refuse("Tracking number must be 18 characters in length.");
        return false;
    }

    CopyText(ups.TrackingText, "TRACKING #:");
    const char *next = ups.TrackingNumber;
    for (std::size_t length : kTrackingGroups) {
        char group[5] = "";
        std::memcpy(group, next, length);
        AppendStrings(ups.TrackingText, sizeof ups.TrackingText, {" ", group});
        next += length;
    }

    const char *code = AccessPointCodeFor(indicator[0]);
    if (code == nullptr) {
        job.Refuse("Missing required Access Point indicator.");
        return false;
    }
    AppendText(ups.AccessPointCode, code);
    CopyText(ups.AccessPointFlag, "Y");

    // A ZIP+4 goes to the end of the city line; a 5-digit ZIP is already on it.
    if (std::strlen(common.ShipToZip) > 5) {
        AppendStrings(common.ShipTo7, sizeof common.ShipTo7, {" ", common.ShipToZip});
    }
    CopyText(ups.ShipTitle, "SHIP");
    CopyText(ups.FromTitle, "FROM:");
    ReadTestMode(ups.TestModeFlag, ups.TestID, job);
    return true;
}

}  // namespace

bool LibUPSAccessPointFormatData(UpsData &ups, CommonData &common, LabelContext &label) {
    return GuardedLibUps("LibUPSAccessPointFormatData", [&] { return FormatAccessPoint(ups, common, label); });
}

bool upsAccessPointFormatData(UpsData &ups, CommonData &common, LabelContext &label) {
    try {
        if (LibUPSAccessPointFormatData(ups, common, label)) return true;
        log::LogErrorText("Error while formatting UPS Access Point data.");
        return false;
    } catch (const std::exception &e) {
        ReportJobCppException(e, kUpsLabelsModule, "upsAccessPointFormatData");
        return false;
    }
}

}  // namespace zal
