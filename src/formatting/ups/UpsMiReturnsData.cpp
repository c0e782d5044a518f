// The Mail Innovations returns label's data: the fixed indicia, service and
// return address texts, the PIC text and the Data Matrix message.
#include <cstring>

#include "common/Format.h"
#include "common/Log.h"
#include "common/Strings.h"
#include "formatting/ups/UpsInternal.h"
#include "formatting/ups/UpsMailInnovationsData.h"

namespace zal {
namespace {

// The year without "BRDYear" for this label, and the first year whose
// message carries the postal fields.
constexpr int32_t kDefaultYear = 2020;
constexpr int32_t kPostalFieldsYear = 2020;
// The returns' network distribution centre.
constexpr const char *kReturnsZip = "56935";
constexpr std::size_t kMessageIdChars = 30;
constexpr char kTab[] = "\t";

bool FormatReturns(MailInnovationsData &mi, CommonData &common, LabelContext &label) {
    const JobFile &job = label.job;
    if (!ReadMiTrackingNumber(mi, job)) return false;
    // a fault there is reported there; the label goes on with what was read
    FormatCommonData(common, job, label.jobWide);

    ReadUpsKey("USPSPICNumber", 26, "", mi.USPSPICNumber, job);
    ReadUpsKey("PkgID", 30, "", mi.PkgID, job);
    ReadUpsKey("CostCenter", 30, "", mi.CostCenter, job);
    ReadUpsKey("ApplicationVersion", 20, "", mi.ApplicationVersion, job);
    ReadUpsKey("ReturnMailerIDBox", 5, "M0000", mi.ReturnMailerIDBox, job);
    mi.BRDYear = job.RawInt("BRDYear", kDefaultYear);
    ReadTestMode(mi.TestModeFlag, mi.TestID, job);

    CopyText(mi.ServiceBanner, "USPS PARCEL RTN SVC");
    CopyText(mi.Zip5, kReturnsZip);
    CopyText(mi.NoPostageText, "NO POSTAGE");
    CopyText(mi.NecessaryText, "NECESSARY IF");
    CopyText(mi.MailedInText, "MAILED IN THE");
    CopyText(mi.UnitedStatesText, "UNITED STATES");
    CopyText(mi.ReturnServiceText, "PARCEL SELECT RTN SVC");
    CopyText(mi.ReturnCarrierText, "UPS MAIL INNOVATIONS");
    CopyText(mi.PermitText, "PERMIT NO. 77007");
    CopyText(mi.ReturnsAddressText, "UPS MAIL INNOVATIONS RETURNS");
    CopyText(mi.ParcelReturnText, "PARCEL RETURN SERVICE");
    CopyText(mi.ReturnsZipText, kReturnsZip);
    GroupText(mi.USPSPICNumber, {4, 4, 4, 4, 4, 4, 2}, mi.PICText);
    UpperCase(mi.PkgID);
    UpperCase(mi.CostCenter);

    char costCenter[kMessageIdChars + 1] = "";
    char pkgId[kMessageIdChars + 1] = "";
    KeepAlphanumeric(mi.CostCenter, costCenter, kMessageIdChars);
    KeepAlphanumeric(mi.PkgID, pkgId, kMessageIdChars);
    const bool postalFields = mi.BRDYear >= kPostalFieldsYear;
    const std::string shipper = UpsSlice(mi.TrackingNumber, 2, 7);
    char *message = mi.DataMatrixData;
    const std::size_t size = sizeof mi.DataMatrixData;
    CopyStrings(message, size, {postalFields ? "05" : "04"});
    AppendStrings(message, size,
                  {kTab, mi.TrackingNumber, kTab, shipper.c_str(), kTab, "12,1", kTab, costCenter, kTab, pkgId});
    if (postalFields) AppendStrings(message, size, {kTab, "420", mi.Zip5, mi.USPSPICNumber, kTab, mi.Zip5});
    mi.DataMatrixLength = static_cast<int32_t>(std::strlen(message));
    return true;
}

}  // namespace

bool LibUPSMIReturnsFormatData(MailInnovationsData &mi, CommonData &common, LabelContext &label) {
    return GuardedLibUps("LibUPSMIReturnsFormatData", [&] { return FormatReturns(mi, common, label); });
}

bool upsMIReturnsFormatData(MailInnovationsData &mi, CommonData &common, LabelContext &label) {
    return FormatMiLabelData("upsMIReturnsFormatData", "UPS MI Returns data", LibUPSMIReturnsFormatData, mi, common,
                             label);
}

}  // namespace zal
