// Pieces of the UPS formatting shared by its source files: the job-key
// reader, the fault guard, the service and code tables, the billing texts,
// the weight text, the USPS hand-off, the terms notice and the PDF417
// segment routines.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <string>

#include "common/ErrorCodes.h"
#include "common/Modules.h"
#include "common/Settings.h"
#include "formatting/CommonData.h"
#include "formatting/ups/UpsData.h"
#include "platform/Platform.h"

namespace zal {

// Faults inside the UPS routines are C++ exceptions here; each is reported
// as a job fault with the routine's name and the routine answers false.
template <typename Body>
bool GuardedLibUps(const char *routine, Body body) {
    try {
        return body();
    } catch (const std::exception &error) {
        ReportJobCppException(error, kLibUpsModule, routine);
        return false;
    }
}

// A UPS job key as the host wrote it (no clean-up), at most `chars`
// characters and never more than the field holds.
template <std::size_t N>
void ReadUpsKey(const char *key, std::size_t chars, const char *defaultValue, char (&field)[N], const JobFile &job) {
    const std::size_t size = std::min(chars + 1, N);
    job.Raw(key, defaultValue, field, static_cast<uint32_t>(size));
}

// A UPS job key that must hold exactly `chars` characters, into field.  One
// character more is read, so a longer value is refused with `refusal` (the
// job's Description), not cut to a valid-looking length.
template <std::size_t N>
bool ReadUpsKeyOfLength(const char *key, std::size_t chars, const char *refusal, char (&field)[N], const JobFile &job) {
    std::string value(chars + 2, '\0');
    job.Raw(key, "", value.data(), static_cast<uint32_t>(value.size()));
    if (std::strlen(value.c_str()) != chars || chars >= N) {
        job.Refuse(refusal);
        return false;
    }
    std::memcpy(field, value.c_str(), chars + 1);
    return true;
}

// Characters `from` to `to` (1-based, inclusive) of text, as far as the
// text reaches.
std::string UpsSlice(const char *text, std::size_t from, std::size_t to);

// ---------------------------------------------------------------- tables
struct UpsService {
    const char *codes;
    const char *name;
    const char *level;  // null: the level stays as it is
};
// The first row of the service table whose list holds the code, or null.
const UpsService *FindUpsService(const char *code);
// True when code (exactly two characters) is one of the comma list.
bool IsUpsCodeIn(const char *list, const char *code);

extern const char *const kUpsReturnCodes;
extern const char *const kUpsCodCodes;
extern const char *const kUpsEarliestCodes;
extern const char *const kUpsShipperReleaseCodes;
extern const char *const kUpsFlatBillingCodes;  // the second shipper release list
extern const char *const kUpsUspsPresortCodes;  // USPS type "P"
extern const char *const kUpsUspsUnitCodes;     // USPS type "U"
extern const char *const kUpsOunceCodes;
extern const char *const kUpsLaneCodes;
extern const char *const kUpsNextDayAirEarly;

// ---------------------------------------------------------------- billing
// "BILLING: ..." line of a domestic label (without the closing bar).
void UpsDomesticBillingLine(std::string &line, const char *option, const char *account, bool flatRate);
// "BILLING: ..." line of an international or Puerto Rico label.
void UpsInternationalBillingLine(std::string &line, bool international, const char *option, const char *account,
                                 const char *account3rdPrimary);

// ---------------------------------------------------------------- weight
// WeightText and HeavyFlag from the package type and the actual weight.
void FormatUpsWeight(UpsData &ups, const char *packageType, const char *actualWeight, const char *ouncesWeight,
                     const char *serviceCode);

// ---------------------------------------------------------------- USPS
void FormatUpsUspsHandOff(UpsData &ups, CommonData &common, const char *serviceCode, const JobFile &job);

// ---------------------------------------------------------------- terms
// The terms notice, wrapped into TermsLines.
extern const char kUpsTermsNotice[];
void FillUpsTermsLines(UpsData &ups);

// ---------------------------------------------------------------- PDF417
constexpr char kPdfFieldSeparator = '\t';
constexpr char kPdfSegmentEnd = '\r';
constexpr const char *kPdfTakeUnchanged = "NO";

// Appends a segment: nothing when it is empty; prefix, segment and a
// carriage return, or the segment alone for the prefix "NO".  Every byte
// 0xF0 of the segment becomes a tab.
bool UpsParsePDFData(const char *prefix, const char *segment, std::size_t segmentSize, std::string &destination);
// Reads the parts 1 ... count of a multi-part segment ("<keyName><i>", 5,000
// characters each) and appends "<prefix>", tab, value, carriage return for
// each.  The group holds at most size - 1 characters: a part that does not
// fit stops the reading and sets tooLong.  False only after a fault.
bool UpsGetMultiPDFSegments(int32_t count, const char *keyName, const char *prefix, std::string &destination,
                            std::size_t size, const JobFile &job, bool &tooLong);

}  // namespace zal
