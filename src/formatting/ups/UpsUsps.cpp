// The USPS hand-off of the UPS SurePost and BASIC services and the USPS
// parcel return service (code 90).
#include <cstring>

#include "common/Format.h"
#include "common/Strings.h"
#include "formatting/ups/UpsInternal.h"

namespace zal {
namespace {

// From this year on the newer USPS wording applies.
constexpr int32_t kNewWordingYear = 2012;
constexpr const char *kReturnNdcZip = "56902";
constexpr std::size_t kReturnSenderChars = 20;
constexpr std::size_t kReturnAddressChars = 25;
constexpr std::size_t kClassTextWidth = 16;

struct Wording {
    const char *newer;  // from 2012 on
    const char *older;
};

struct Endorsement {
    const char *code;
    const char *text;
};

struct ClassText {
    const char *code;
    Wording text;
};

// clang-format off
const Wording kReturnBarcodeTitle = {"NDC ZIP - USPS PARCEL RTN SVC", "NDC ZIP - USPS PARCEL RETURN SVC"};
const Wording kReturnServiceClass = {"PARCEL SELECT RTN SVC",         "PARCEL SELECT RETURN SVC"};
const Wording kReturnSender       = {"UPS INC",                       "UPS RETURNS"};
const Wording kPresortTitle       = {"USPS TRACKING # eVS",           "ZIP - USPS DELIVERY CONFIRMATION eVS"};

const Endorsement kEndorsements[] = {
    {"A", "Address Service Requested"},
    {"F", "Forwarding Service Requested"},
    {"R", "Return Service Requested"},
    {"C", "Change Service Requested"},
    {"L", "Carrier-Leave If No Response"},
};

const ClassText kClassTexts[] = {
    {"YP", {"PS LIGHTWEIGHT",   "PRSRT STD"}},
    {"YN", {"PS LIGHTWEIGHT",   "PRSRT STD"}},
    {"YW", {"PARCEL SELECT",    "PARCEL SELECT"}},
    {"3A", {"PRSRT BPM",        "PRSRT BPM"}},
    {"3H", {"PRSRT MEDIA MAIL", "PRSRT MEDIA MAIL"}},
    {"PT", {"PARCEL SELECT",    "PARCEL SELECT"}},
};
// clang-format on

const char *Pick(const Wording &wording, int32_t year) {
    return year >= kNewWordingYear ? wording.newer : wording.older;
}

void CutTo(char *text, std::size_t chars) {
    if (std::strlen(text) > chars) text[chars] = '\0';
}

// Groups of four characters from `first` to `last` (1-based), each
// followed by a blank, then the characters tailFirst..tailFirst+1; only
// the characters the number has.
void AppendPicGroups(std::string &text, const char *pic, std::size_t last, std::size_t tailFirst) {
    for (std::size_t from = 1; from <= last; from += 4) {
        std::string group = UpsSlice(pic, from, from + 3);
        if (group.empty()) return;
        text.append(group).append(" ");
    }
    text += UpsSlice(pic, tailFirst, tailFirst + 1);
}

void ReadAddressOverride(const char *key, char (&line)[64], const JobFile &job) {
    const std::string current = line;
    ReadUpsKey(key, 63, current.c_str(), line, job);
}

void FormatReturnService(UpsData &ups, CommonData &common, const JobFile &job) {
    // the return address lines replace the ship-to lines the job gives
    // them for; an absent key leaves its line as it is
    ReadAddressOverride("UPSFlexToCompanyOrName", common.ShipTo4, job);
    ReadAddressOverride("UPSFlexToAddressLine2", common.ShipTo5, job);
    ReadAddressOverride("UPSFlexToStreetAddress", common.ShipTo6, job);
    ReadUpsKey("RFAShowLogo", 1, "Y", ups.RFAShowLogo, job);
    ReadUpsKey("ImagePath", 1023, "", ups.ImagePath, job);
    CopyText(ups.USPSDelToZip5, kReturnNdcZip);
    if (std::strcmp(common.FromCountry, "PUERTO RICO") == 0) CopyText(ups.PuertoRicoSender, "Y");
    CutTo(common.From1, kReturnSenderChars);
    CutTo(common.From2, kReturnSenderChars);
    CutTo(common.ShipTo4, kReturnAddressChars);
    CutTo(common.ShipTo5, kReturnAddressChars);
    CutTo(common.ShipTo6, kReturnAddressChars);

    const int32_t year = ups.BRDYear;
    CopyText(ups.USPSBarcodeTitle, Pick(kReturnBarcodeTitle, year));
    CopyText(ups.ReturnServiceTitle, Pick(kReturnBarcodeTitle, year));
    CopyText(ups.ReturnServiceClass, Pick(kReturnServiceClass, year));
    CopyText(ups.ReturnSender1, Pick(kReturnSender, year));
    CopyText(ups.ReturnSender2, Pick(kReturnSender, year));
    CopyText(ups.ReturnGivenTo, "Package may be given to UPS or USPS");
    CopyText(ups.ReturnUps, "UPS");
    CopyText(ups.ReturnUnitedStates, "UNITED STATES");
    CopyText(ups.ReturnPostalService, "POSTAL SERVICE");
    CopyText(ups.ReturnRS, "RS");
    CopyText(ups.ReturnPermit, "PERMIT NO. 77002");
    CopyText(ups.ReturnParcelService, "PARCEL RETURN SERVICE");
    CopyText(ups.ReturnB02, "B02");
    CopyText(ups.ReturnNoPostage, "NO POSTAGE");
    CopyText(ups.ReturnNecessary, "NECESSARY IF");
    CopyText(ups.ReturnMailed, "MAILED IN THE U.S.");
}

void FormatPresort(UpsData &ups, const char *serviceCode, const JobFile &job) {
    // the field holds 14 characters: a full routing code stays whole and
    // the mark is cut
    AppendText(ups.RoutingCode, std::strcmp(serviceCode, "YN") == 0 ? " C" : " X");

    ReadUpsKey("Endorsement", 1, "", ups.Endorsement, job);
    UpperCase(ups.Endorsement);
    for (const Endorsement &row : kEndorsements) {
        if (std::strcmp(row.code, ups.Endorsement) == 0) CopyText(ups.EndorsementText, row.text);
    }
    CopyText(ups.USPSBarcodeTitle, Pick(kPresortTitle, ups.BRDYear));
}

}  // namespace

void FormatUpsUspsHandOff(UpsData &ups, CommonData &common, const char *serviceCode, const JobFile &job) {
    ReadUpsKey("USPSDelToLine1", 30, "", ups.USPSDelToLine1, job);
    ReadUpsKey("USPSDelToLine2", 30, "", ups.USPSDelToLine2, job);
    ReadUpsKey("USPSDelToLine3", 30, "", ups.USPSDelToLine3, job);
    ReadUpsKey("USPSDelToCityStZip", 30, "", ups.USPSDelToCityStZip, job);
    ReadUpsKey("USPSDelToZip5", 5, "", ups.USPSDelToZip5, job);
    ReadUpsKey("USPSPICNumber", 30, "", ups.USPSPICNumber, job);

    const bool parcelTransport = std::strcmp(serviceCode, "PT") == 0;
    if (std::strcmp(serviceCode, "90") == 0 && ups.USPSPICNumber[0] != '\0') {
        FormatReturnService(ups, common, job);
    } else if (std::strcmp(ups.USPSServiceType, "P") == 0) {
        FormatPresort(ups, serviceCode, job);
    }

    CopyText(ups.USPSWeightTitle, "DWT: ");
    std::string picText;
    if (ups.BRDYear >= kNewWordingYear && !parcelTransport) {
        AppendPicGroups(picText, ups.USPSPICNumber, 24, 25);
    } else {
        picText.append("420 ").append(ups.USPSDelToZip5).append(" ");
        AppendPicGroups(picText, ups.USPSPICNumber, 20, 21);
    }
    CopyText(ups.USPSPICText, picText.c_str());
    CopyText(ups.USPSPICDigits, UpsSlice(ups.USPSPICNumber, 3, 5).c_str());

    for (const ClassText &row : kClassTexts) {
        if (std::strcmp(row.code, serviceCode) == 0) CopyText(ups.USPSClassText, Pick(row.text, ups.BRDYear));
    }
    if (parcelTransport) {
        CopyText(ups.USPSBarcodeTitle, "ZIP - USPS DELIVERY CONFIRMATION e-VS");
        CopyText(ups.EndorsementText, "CARRIER - LEAVE");
        CopyText(ups.EndorsementText2, "IF NO RESPONSE");
    }
    CopyText(ups.USPSDeliverToTitle, "USPS DELIVER TO:");
    CopyText(ups.USPSPostagePaidText, "U.S. POSTAGE PAID");
    CopyText(ups.USPSUpsText, "UPS");
    CopyText(ups.USPSeVSText, "eVS");
    CenterText(ups.USPSClassText, sizeof ups.USPSClassText, kClassTextWidth);
}

}  // namespace zal
