// The Mail Innovations label's data: addresses from the common record, the
// indicia's mail class from the package identification code (PIC), the
// tracking and PIC texts, and the Data Matrix message.
#include "formatting/ups/UpsMailInnovationsData.h"

#include <cstdlib>
#include <cstring>
#include <exception>

#include "common/Format.h"
#include "common/Log.h"
#include "common/Strings.h"
#include "formatting/ups/LibUPS.h"
#include "formatting/ups/UpsInternal.h"

namespace zal {
namespace {

constexpr std::size_t kTrackingChars = 18;
// The year without "BRDYear" for this label.
constexpr int32_t kDefaultYear = 2012;
constexpr std::size_t kMailClassWidth = 20;
constexpr std::size_t kZip5Chars = 5;
constexpr std::size_t kMessageIdChars = 30;  // cost centre and package id in the message
constexpr char kTab[] = "\t";

struct Endorsement {
    char flag;  // capital letters only
    const char *text;
};

struct MailClass {
    const char *serviceTypes;  // characters 3 to 5 of the PIC
    const char *name;
    const char *classCode;  // the message's class field
    const char *manifestClassCode;  // with "ProcCatManifestFlag" Y
};

// clang-format off
const Endorsement kEndorsements[] = {
    {'A', "Address Service Requested"},
    {'C', "Change Service Requested"},
    {'F', "Forwarding Service Requested"},
    {'R', "Return Service Requested"},
    {'S', "Time Sensitive Material Enclosed"},
};

const MailClass kMailClasses[] = {
    {"612,642", "PARCEL SELECT",    "5,0",  "5,0"},
    {"748,789", "P S LIGHTWEIGHT",  "4,0",  "3,0"},
    {"419,458", "PRSRT BPM",        "6,0",  "6,0"},
    {"490,521", "PRSRT MEDIA MAIL", "10,1", "10,1"},
    {"001,742", "FIRST-CLASS MAIL", "7,13", "7,13"},
    {"055,025", "PRIORITY MAIL",    "7,2",  "7,2"},
};
// clang-format on

bool Is(const char *text, const char *value) { return std::strcmp(text, value) == 0; }

const MailClass *FindMailClass(const std::string &serviceType) {
    if (serviceType.size() != 3) return nullptr;
    for (const MailClass &row : kMailClasses) {
        if (std::strncmp(row.serviceTypes, serviceType.c_str(), 3) == 0 ||
            std::strncmp(row.serviceTypes + 4, serviceType.c_str(), 3) == 0) {
            return &row;
        }
    }
    return nullptr;
}

// The job keys the message takes that the record does not keep.
struct Destination {
    char EndorsementFlag1[2];
    char Address1[36];
    char Address2[36];
    char City[31];
    char State[3];
    char ShipToZip[11];
    char CountryCode[4];
    char ProcCatManifestFlag[2];
};

bool FormatMailInnovations(MailInnovationsData &mi, CommonData &common, LabelContext &label) {
    const JobFile &job = label.job;
    if (!ReadMiTrackingNumber(mi, job)) return false;
    // a fault there is reported there; the label goes on with what was read
    FormatCommonData(common, job, label.jobWide);

    Destination d{};
    ReadUpsKey("USPSPICNumber", 26, "", mi.USPSPICNumber, job);
    ReadUpsKey("EvsFlag", 1, "", mi.EvsFlag, job);
    ReadUpsKey("EndorsementFlag1", 1, "", d.EndorsementFlag1, job);
    ReadUpsKey("PkgID", 30, "", mi.PkgID, job);
    ReadUpsKey("CostCenter", 30, "", mi.CostCenter, job);
    ReadUpsKey("DestinationAddress1", 35, "", d.Address1, job);
    ReadUpsKey("DestinationAddress2", 35, "", d.Address2, job);
    ReadUpsKey("City", 30, "", d.City, job);
    ReadUpsKey("State", 2, "", d.State, job);
    ReadUpsKey("ShipToZip", 10, "", d.ShipToZip, job);
    ReadUpsKey("DestinationCountryCode", 3, "", d.CountryCode, job);
    ReadUpsKey("IntlFlag", 1, "", mi.IntlFlag, job);
    ReadUpsKey("ProcCatManifestFlag", 1, "", d.ProcCatManifestFlag, job);
    ReadUpsKey("ApplicationVersion", 20, "", mi.ApplicationVersion, job);
    ReadUpsKey("PrintCN22Flag", 1, "", mi.PrintCN22Flag, job);
    ReadUpsKey("CN22PrintUPSMMIFlag", 1, "", mi.CN22PrintUPSMMIFlag, job);
    mi.BRDYear = job.RawInt("BRDYear", kDefaultYear);
    UpperCase(mi.PrintCN22Flag);
    UpperCase(mi.EvsFlag);
    UpperCase(d.ProcCatManifestFlag);
    ReadTestMode(mi.TestModeFlag, mi.TestID, job);
    UpperCase(mi.PkgID);
    UpperCase(mi.CostCenter);

    CopyText(mi.ShipTitle, "SHIP");
    CopyText(mi.ToTitle, "TO:");
    for (const Endorsement &row : kEndorsements) {
        if (d.EndorsementFlag1[0] == row.flag) CopyText(mi.EndorsementText, row.text);
    }
    CopyText(mi.PostalCodeTitle, "POSTAL CODE:");
    CopyText(mi.MmidTitle, "MMID#:");
    CopyText(mi.PackageIdTitle, "PACKAGE ID #:");
    CopyText(mi.CostCenterTitle, "COST CENTER #:");
    mi.ApplicationVersionLength = static_cast<int32_t>(std::strlen(mi.ApplicationVersion));
    CopyText(mi.PostagePaidText, "U.S. POSTAGE PAID");
    CopyText(mi.IndiciaCarrierText, "UPS MAIL INNOVATIONS");
    CopyText(mi.EvsText, "eVS");
    CopyText(mi.CarrierTitle, "UPS MAIL INNOVATIONS");
    CopyText(mi.TrackingTitle, Is(mi.EvsFlag, "Y") ? "USPS TRACKING # eVS" : "USPS TRACKING #");
    CopyText(mi.Zip5, UpsSlice(common.ShipToZip, 1, kZip5Chars).c_str());
    GroupText(mi.TrackingNumber, {1, 6, 3, 7, 1}, mi.TrackingText);
    GroupText(mi.USPSPICNumber, {4, 4, 4, 4, 4, 4, 2}, mi.PICText);

    const MailClass *mailClass = FindMailClass(UpsSlice(mi.USPSPICNumber, 3, 5));
    const char *classCode = "";
    if (mailClass != nullptr) {
        CopyText(mi.MailClass, mailClass->name);
        classCode = Is(d.ProcCatManifestFlag, "Y") ? mailClass->manifestClassCode : mailClass->classCode;
    }
    CenterText(mi.MailClass, sizeof mi.MailClass, kMailClassWidth);

    // Four decimals hold weights below 100 in seven characters; a heavier
    // weight keeps all its digits rather than lose its end.
    char weight[48] = "";
    Format(weight, sizeof weight, "%.4f", std::strtod(label.jobWide.ActualWeight, nullptr));

    UpperCase(d.Address1);
    UpperCase(d.Address2);
    UpperCase(d.City);
    UpperCase(d.State);
    UpperCase(d.ShipToZip);
    char withoutBlanks[sizeof d.ShipToZip] = "";
    CopyWithoutChar(withoutBlanks, sizeof withoutBlanks, d.ShipToZip, sizeof d.ShipToZip, ' ');
    CopyWithoutChar(d.ShipToZip, sizeof d.ShipToZip, withoutBlanks, sizeof withoutBlanks, '-');
    char costCenter[kMessageIdChars + 1] = "";
    char pkgId[kMessageIdChars + 1] = "";
    KeepAlphanumeric(mi.CostCenter, costCenter, kMessageIdChars);
    KeepAlphanumeric(mi.PkgID, pkgId, kMessageIdChars);

    const std::string shipper = UpsSlice(mi.TrackingNumber, 2, 7);
    char *message = mi.DataMatrixData;
    const std::size_t size = sizeof mi.DataMatrixData;
    CopyStrings(message, size, {"3"});
    AppendStrings(message, size,
                  {kTab, mi.TrackingNumber, kTab, shipper.c_str(), kTab, costCenter, kTab, d.Address1, kTab,
                   d.Address2, kTab, d.City, kTab, d.State, kTab, d.ShipToZip, kTab, d.CountryCode, kTab, pkgId,
                   kTab, weight});
    if (mi.USPSPICNumber[0] != '\0') {
        AppendStrings(message, size, {kTab, classCode, kTab, "420", mi.Zip5, mi.USPSPICNumber});
    } else {
        AppendStrings(message, size, {kTab, kTab});
    }
    mi.DataMatrixLength = static_cast<int32_t>(std::strlen(message));
    return true;
}

}  // namespace

bool ReadMiTrackingNumber(MailInnovationsData &mi, const JobFile &job) {
    return ReadUpsKeyOfLength("TrackingNumber", kTrackingChars, "Tracking number must be 18 characters in length.",
                              mi.TrackingNumber, job);
}

bool EncodeUPSDataMatrixString(MailInnovationsData &mi) {
    if (!EplEscape(mi.DataMatrixData, sizeof mi.DataMatrixData)) return false;
    mi.DataMatrixLength = static_cast<int32_t>(std::strlen(mi.DataMatrixData));
    return true;
}

bool LibUPSMailInnovationsFormatData(MailInnovationsData &mi, CommonData &common, LabelContext &label) {
    return GuardedLibUps("LibUPSMailInnovationsFormatData", [&] { return FormatMailInnovations(mi, common, label); });
}

bool FormatMiLabelData(const char *routine, const char *what, MiFormatter format, MailInnovationsData &mi,
                       CommonData &common, LabelContext &label) {
    try {
        if (!format(mi, common, label)) {
            log::LogErrorText((std::string("Error while formatting ") + what + ".").c_str());
            return false;
        }
        if (!EncodeUPSDataMatrixString(mi)) {
            log::LogErrorText("Error while formatting Eltron UPS Data Matrix barcode data.");
            return false;
        }
        return true;
    } catch (const std::exception &e) {
        ReportJobCppException(e, kUpsLabelsModule, routine);
        return false;
    }
}

bool upsMailInnovationsFormatData(MailInnovationsData &mi, CommonData &common, LabelContext &label) {
    return FormatMiLabelData("upsMailInnovationsFormatData", "UPS MI data", LibUPSMailInnovationsFormatData, mi,
                             common, label);
}

}  // namespace zal
