// FormatSmartPostData: the job file becomes the SmartPost record: the
// 30-character bar code number split into its routing and package parts,
// the ground carrier's tracking number, the service name and the indicia.
#include "formatting/smartpost/SmartPostData.h"

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

constexpr const char *kLibSmartPostModule = "Shared/ZALLib/LibSmartPost";

// "420", the five-digit ZIP, then the 22-digit package number.
constexpr std::size_t kTrackingLength = 30;
constexpr std::size_t kIndiciaWidth = 20;

// clang-format off
struct ServiceName { int serviceClass; const char *name; };
const ServiceName kServiceNames[] = {
    {913, "PARCEL SELECT"},
    {914, "PS LIGHTWEIGHT"},
    {915, "PRSRT BPM"},
    {916, "MEDIA MAIL"},
};
// clang-format on

// The service type codes whose parcels carry an indicia, by its wording.
constexpr const char *kPaidOrFeesCodes = "419,490,612,748";
constexpr const char *kPaidCodes = "458,521";

template <std::size_t N>
void ReadKey(const JobFile &job, const char *key, std::size_t chars, char (&field)[N]) {
    job.Raw(key, "", field, static_cast<uint32_t>(std::min(chars + 1, N)));
}

template <std::size_t N>
void Centre(char (&field)[N]) {
    CenterText(field, N, kIndiciaWidth);
}

// Characters `from` to `to` (1-based, inclusive), as far as the text reaches.
std::string Slice(const char *text, std::size_t from, std::size_t to) {
    std::size_t length = std::strlen(text);
    if (from > length) return "";
    return std::string(text + from - 1, std::min(to, length) - from + 1);
}

void FormatIndicia(SmartPostData &s, int serviceClass) {
    if (Contains(kPaidOrFeesCodes, s.ServiceTypeCode)) {
        if (serviceClass == 915 || serviceClass == 916) {
            CopyText(s.IndiciaLine, "U.S. Postage & Fees");
            s.IndiciaKind = 2;
        } else {
            CopyText(s.IndiciaLine, serviceClass == 913 ? "U.S. POSTAGE PAID" : "U.S. Postage Paid");
            s.IndiciaKind = 1;
        }
    } else if (Contains(kPaidCodes, s.ServiceTypeCode)) {
        CopyText(s.IndiciaLine, "U.S. Postage Paid");
        s.IndiciaKind = 1;
    } else {
        s.IndiciaKind = 0;
    }
}

bool FormatAll(SmartPostData &s, CommonData &common, LabelContext &label) {
    const JobFile &job = label.job;
    // one character more than the number holds: a longer value is refused,
    // not cut to a valid-looking length
    char tracking[kTrackingLength + 2] = "";
    ReadKey(job, "SmartPostTrackNum", kTrackingLength + 1, tracking);
    if (std::strlen(tracking) != kTrackingLength) {
        job.Refuse("Tracking number must be 30 characters in length.");
        log::LogError("FormatSmartPostData: Tracking number must be 30 characters in length (\"%s\").", tracking);
        return false;
    }
    if (!FormatCommonData(common, job, label.jobWide)) return false;

    ReadKey(job, "FdxGroundTrackNum", 22, s.GroundTrackingNumber);
    ReadKey(job, "ServiceClass", 3, s.ServiceClass);
    ReadKey(job, "PickupCarrier", 1, s.PickupCarrier);
    ReadKey(job, "Endorsement1", 30, s.Endorsement1);
    ReadKey(job, "Endorsement2", 30, s.Endorsement2);
    ReadKey(job, "VersionIdentifier", 30, s.VersionIdentifier);
    ReadKey(job, "PrintCN22Flag", 1, s.Cn22Flag);
    s.FsmsVersion = job.RawInt("FSMS_Ver", 0);
    UpperCase(s.PickupCarrier);

    AppendText(common.ShipTo7, (std::string(" ") + common.ShipToZip).c_str());

    CopyText(s.ShipFromCaption, "SHIP FROM:");
    CopyText(s.ShipCaption, "SHIP");
    CopyText(s.ToCaption, "TO:");
    CopyText(s.ServiceLetter, "S");
    CopyText(s.GroundLetter, "G");

    CopyText(s.RoutingPart, Slice(tracking, 1, 8).c_str());
    CopyText(s.PackagePart, Slice(tracking, 9, 30).c_str());
    const std::string grouped = Slice(tracking, 9, 12) + " " + Slice(tracking, 13, 16) + " " +
                                Slice(tracking, 17, 20) + " " + Slice(tracking, 21, 24) + " " +
                                Slice(tracking, 25, 28) + " " + Slice(tracking, 29, 30);
    CopyText(s.GroupedTrackingNumber, grouped.c_str());

    if (s.PickupCarrier[0] == 'G') {
        const char *ground = s.GroundTrackingNumber;
        const std::string line =
            "(" + Slice(ground, 1, 7) + ") " + Slice(ground, 8, 14) + " " + Slice(ground, 15, 22);
        CopyText(s.GroundTrackingLine, line.c_str());
    }

    CopyText(s.ServiceTypeCode, Slice(tracking, 11, 13).c_str());
    const int serviceClass = std::atoi(s.ServiceClass);
    for (const ServiceName &row : kServiceNames) {
        if (row.serviceClass == serviceClass) CopyText(s.ServiceName, row.name);
    }
    FormatIndicia(s, serviceClass);

    CopyText(s.Banner, "USPS TRACKING # e-VS");
    CopyText(s.CarrierLine, "SMARTPOST");
    CopyText(s.EvsLine, "e-VS");
    CopyText(s.PaidLine, "Paid");
    Centre(s.ServiceName);
    Centre(s.IndiciaLine);
    Centre(s.PaidLine);
    Centre(s.CarrierLine);
    Centre(s.EvsLine);

    s.EndorsementCount = (s.Endorsement1[0] != '\0' ? 1 : 0) + (s.Endorsement2[0] != '\0' ? 1 : 0);
    return true;
}

}  // namespace

bool FormatSmartPostData(SmartPostData &smartPost, CommonData &common, LabelContext &label) {
    try {
        return FormatAll(smartPost, common, label);
    } catch (const std::exception &error) {
        ReportJobCppException(error, kLibSmartPostModule, "FormatSmartPostData");
        return false;
    }
}

}  // namespace zal
