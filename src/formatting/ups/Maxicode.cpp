// The UPS MaxiCode message: header "[)>" RS "01" GS "96", the primary
// message (postal code, country, class of service) and the secondary
// message (tracking and shipment data, ship-to address), handed over plain
// and fitted to the symbol, or through the carrier's compression library.
#include "formatting/ups/Maxicode.h"

#include <cstdlib>
#include <cstring>

#include "common/Format.h"
#include "common/Log.h"
#include "common/Seams.h"
#include "common/Settings.h"
#include "common/Strings.h"
#include "formatting/Dates.h"
#include "formatting/Separators.h"
#include "formatting/ups/CompressDriver.h"
#include "formatting/ups/LibUPS.h"
#include "formatting/ups/MaxiCodeFields.h"
#include "formatting/ups/MaxiCodeGuard.h"
#include "platform/Platform.h"

namespace zal {
namespace {

using detail::GuardedMaxiCode;

constexpr const char *GS = kGroupSeparatorText;
constexpr const char *RS = kRecordSeparatorText;
constexpr const char *FS = kFileSeparatorText;
constexpr const char *EOT = kEndOfTransmissionText;
constexpr std::size_t kMessageSize = ZalLib::kMaxicodeDataSize;  // 399 characters

// Symbol capacity and the part of it that header and primary message take.
struct Capacity {
    int total;
    int headerAndPrimary;
};
Capacity CapacityOfMode(int mode) {
    if (mode == 2) return {99, 27};
    if (mode == 3) return {96, 24};
    return {100, 0};
}

// A job key with at most N - 1 characters, as the platform reads it.
template <std::size_t N>
void ReadJobKey(const char *key, char (&out)[N], const JobFile &job) {
    out[0] = '\0';
    job.Raw(key, "", out, N);
}

// Address texts keep digits and capitals only: upper-case first, so that
// a host's lower-case letters are not lost ("St. Louis" -> "ST LOUIS").
template <std::size_t N>
void ReadAddressKey(const char *key, char (&out)[N], const JobFile &job) {
    ReadJobKey(key, out, job);
    UpperCase(out);
    NormalizeBlanks(out, N);
}

bool IsY(const char *flag) { return std::strcmp(flag, "Y") == 0; }

void ReadSettings(MaxiCodeFields &f) {
    GetZALSettingBool("MaxiTestMode", &f.TestMode, false);
    if (!f.TestMode) return;
    GetZALSettingBool("MaxiCompressAll", &f.CompressAll, false);
    GetZALSettingBool("MaxiAllowPadding", &f.AllowPadding, true);
    GetZALSettingBool("MaxiAllowIntlMode2", &f.AllowIntlMode2, false);
    GetZALSettingBool("MaxiIncludeAddr1", &f.IncludeAddr1, true);
    GetZALSettingBool("MaxiIncludeFmt05", &f.IncludeFmt05, true);
}

// A numeric code: a 5-digit ZIP gets "0000" when padding is allowed,
// anything else is cut to 9.
void FitNumericPostal(char (&postal)[31], bool allowPadding) {
    if (std::strlen(postal) == 5 && allowPadding)
        AppendText(postal, "0000");
    else
        postal[9] = '\0';
}

bool FormatPrimary(char *destination, const CommonData &common, UpsData &ups, MaxiCodeFields &fields,
                   CarrierCode carrier) {
    char postal[31] = {};
    KeepAlphanumeric(common.ShipToZip, postal, 30);
    bool international = carrier == CARRIER_UPSINT;
    int16_t mode = 2;
    if (international && IsDigitsSpacesDashes(postal, 30) && fields.AllowIntlMode2) {
        FitNumericPostal(postal, fields.AllowPadding);
        log::LogInfo("LibUPSFormatMaxiPrimary: UPS Maxicode processing is expecting international mode 2 data.");
    } else if (international) {
        postal[9] = '\0';
        if (std::strlen(postal) < 6 && fields.AllowPadding) PadRight(postal, 6);
        mode = 3;
        log::LogInfo("LibUPSFormatMaxiPrimary: UPS Maxicode processing is expecting international mode 3 data.");
    } else {
        FitNumericPostal(postal, fields.AllowPadding);
        log::LogInfo("LibUPSFormatMaxiPrimary: UPS Maxicode processing is expecting domestic mode 2 data.");
    }
    CopyText(fields.PostalCode, postal);
    ups.MaxiCodeMode = mode;
    fields.Mode = mode;

    const char *country = "840";
    if (international)
        country = ups.ISOCode;
    else if (carrier == CARRIER_UPSPR)
        country = IsBlankText(ups.ISOCode, sizeof ups.ISOCode) ? "630" : ups.ISOCode;
    CopyText(fields.CountryCode, country);

    int serviceClass = ups.MaxiServiceClass >= 0 && ups.MaxiServiceClass <= 999 ? ups.MaxiServiceClass : 0;
    Format(fields.ClassOfService, sizeof fields.ClassOfService, "%03i", serviceClass);

    CopyStrings(destination, kMaxiPrimarySize,
                {fields.PostalCode, GS, fields.CountryCode, GS, fields.ClassOfService, GS});
    return true;
}

// Tracking, shipment and weight fields of the secondary message.
void FillShipmentFields(const UpsData &ups, MaxiCodeFields &f, const LabelContext &label) {
    const JobFile &job = label.job;
    const char *tracking = ups.TrackingNumber;
    std::size_t trackingLength = TextLength(tracking, sizeof ups.TrackingNumber);
    CopyStrings(f.TrackingNumber, sizeof f.TrackingNumber, {"1Z"});
    if (trackingLength > 10) std::strncat(f.TrackingNumber, tracking + 10, 8);
    f.ShipperId[0] = '\0';
    if (trackingLength > 2) std::strncat(f.ShipperId, tracking + 2, 6);

    char shipDate[11];
    ReadJobKey("ShipDate", shipDate, job);
    Format(f.JulianPickupDay, sizeof f.JulianPickupDay, "%03i", DayOfYearFromDate(shipDate));

    KeepAlphanumeric(ups.ShipmentNumber, f.ShipmentId, 30);

    const JobWideValues &jobWide = label.jobWide;
    if (jobWide.OrderCount <= jobWide.ExpectedCount)
        Format(f.PackageNofX, sizeof f.PackageNofX, "%d/%d", static_cast<int>(jobWide.OrderCount),
               static_cast<int>(jobWide.ExpectedCount));
    else
        CopyText(f.PackageNofX, "1/1");

    char overweight[2];
    char packageType[2];
    ReadJobKey("IsLetterOverweight", overweight, job);
    ReadJobKey("PackageType", packageType, job);
    if (std::strcmp(packageType, "L") == 0 && !IsY(overweight))
        f.Weight[0] = '\0';
    else
        Format(f.Weight, sizeof f.Weight, "%.0f", UpsRoundUp(std::atof(jobWide.ActualWeight), 1.0));
}

void FillStreetLine(bool compressed, MaxiCodeFields &out, const JobFile &job) {
    const MaxiCodeFields &f = out;
    out.ShipToAddress1[0] = '\0';
    if (compressed) {
        log::LogInfo("Applying standard (unvalidated) address logic for compressed MaxiCode data.");
        if (!f.IncludeAddr1) return;
        ReadJobKey("StreetAddress", out.ShipToAddress1, job);
        UpperCase(out.ShipToAddress1);
        return;
    }
    if (IsY(f.AddressValidation)) {
        log::LogInfo("Applying CASS-Verified Address Validation logic for uncompressed MaxiCode data.");
        if (!f.IncludeAddr1) return;
        char primary[11];
        char secondary[9];
        ReadAddressKey("PrimaryAddressNumber", primary, job);
        ReadAddressKey("SecondaryAddressNumber", secondary, job);
        if (IsBlankText(primary, sizeof primary)) {
            log::LogError(
                "LibUPSFormatMaxiSecondary: Invalid data encountered for \"PrimaryAddressNumber\". Data is "
                "empty, and field is required for Maxicode barcode with address validation.");
            primary[0] = '\0';
        }
        CopyStrings(out.ShipToAddress1, sizeof out.ShipToAddress1, {primary, FS, secondary});
        return;
    }
    log::LogInfo("Applying standard (unvalidated) address logic for uncompressed MaxiCode data.");
    if (!f.IncludeAddr1) return;
    ReadJobKey("StreetAddress", out.ShipToAddress1, job);
    UpperCase(out.ShipToAddress1);
    if (IsBlankText(out.ShipToAddress1, sizeof out.ShipToAddress1)) {
        log::LogError(
            "LibUPSFormatMaxiSecondary: Invalid data encountered for \"StreetAddress\". Data is empty, and "
            "field is required for Maxicode barcode.");
        out.ShipToAddress1[0] = '\0';
    }
}

void FillCityAndState(const UpsData &ups, MaxiCodeFields &f, const LabelContext &label) {
    const JobFile &job = label.job;
    char city[21];
    ReadAddressKey("City", city, job);
    if (IsBlankText(city, sizeof city)) {
        log::LogError(
            "LibUPSFormatMaxiSecondary: Invalid data encountered for \"City\". Data is empty, and field is "
            "required for Maxicode barcode.");
        city[0] = '\0';
    }
    CopyText(f.ShipToCity, city);

    ReadJobKey("State", f.ShipToState, job);
    if (!IsBlankText(f.ShipToState, sizeof f.ShipToState)) {
        UpperCase(f.ShipToState);
        return;
    }
    f.ShipToState[0] = '\0';
    bool unitedStates = std::strcmp(ups.ISOCode, "840") == 0;
    if (label.carrier == CARRIER_UPSPR) {
        if (!unitedStates) return;
        log::LogWarning(
            "LibUPSFormatMaxiSecondary: Warning-- Possible invalid data encountered for \"State\". Data is "
            "empty, and field is required for Puerto Rico destination shipments when using ISO code 840. "
            "Automatically defaulting to 'PR'.");
        CopyText(f.ShipToState, "PR");
        return;
    }
    if (unitedStates)
        log::LogWarning(
            "LibUPSFormatMaxiSecondary: Warning-- Possible invalid data encountered for \"State\". Data is "
            "empty, and field is required for United States destination shipments (ISO 840).");
    if (f.AllowPadding) CopyText(f.ShipToState, "  ");
}

// The full secondary message for the compressor, with the format 05 block.
void BuildCompressedSecondary(char *destination, std::size_t size, MaxiCodeFields &f, const JobFile &job) {
    if (f.IncludeFmt05) {
        ReadAddressKey("AddressLine2", f.ShipToAddress2, job);
        ReadAddressKey("AddressLine3", f.ShipToAddress3, job);
        ReadAddressKey("Company", f.ShipToAddress4, job);
        ReadAddressKey("Attention", f.ShipToAddress5, job);
        CopyText(f.Format05Code, "05");
    }
    CopyStrings(destination, size,
                {f.TrackingNumber, GS, f.OriginCarrier, GS, f.ShipperId,   GS, f.JulianPickupDay,   GS,
                 f.ShipmentId,     GS, f.PackageNofX,   GS, f.Weight,      GS, f.AddressValidation, GS,
                 f.ShipToAddress1, GS, f.ShipToCity,    GS, f.ShipToState, RS});
    if (f.IncludeFmt05) {
        AppendStrings(destination, size,
                      {"05", GS, "20L", f.ShipToAddress2, GS, "21L", f.ShipToAddress3, GS, "22L", f.ShipToAddress4, GS,
                       "23L", f.ShipToAddress5, RS});
    }
    AppendStrings(destination, size, {EOT});
}

// The plain secondary message, fitted into what the symbol has left after
// header and primary message: the shipment ID goes first, then the street
// line is cut.
void BuildPlainSecondary(char *destination, std::size_t size, MaxiCodeFields &f) {
    f.ShipToAddress2[0] = f.ShipToAddress3[0] = f.ShipToAddress4[0] = f.ShipToAddress5[0] = '\0';
    Capacity capacity = CapacityOfMode(f.Mode);
    char blockA[28] = {};
    char blockB[21] = {};
    char blockC[41] = {};
    CopyStrings(blockA, sizeof blockA,
                {f.TrackingNumber, GS, f.OriginCarrier, GS, f.ShipperId, GS, f.JulianPickupDay, GS});
    CopyStrings(blockB, sizeof blockB, {GS, f.PackageNofX, GS, f.Weight, GS, f.AddressValidation, GS});
    CopyStrings(blockC, sizeof blockC, {GS, f.ShipToCity, GS, f.ShipToState, RS, EOT});
    int lengthA = static_cast<int>(std::strlen(blockA));
    int lengthB = static_cast<int>(std::strlen(blockB));
    int lengthC = static_cast<int>(std::strlen(blockC));
    log::LogDebug(0, "LibUPSFormatMaxiSecondary: Msg Block A = %d (%u), Msg Block B = %d (%u), Msg Block C = %d (%u)",
                  lengthA, static_cast<unsigned>(sizeof blockA), lengthB, static_cast<unsigned>(sizeof blockB), lengthC,
                  static_cast<unsigned>(sizeof blockC));

    int addressLength = static_cast<int>(std::strlen(f.ShipToAddress1));
    int shipmentIdLength = static_cast<int>(std::strlen(f.ShipmentId));
    int used = addressLength + capacity.headerAndPrimary + lengthA + lengthB + lengthC;
    int remaining = capacity.total - used;
    log::LogDebug(0,
                  "LibUPSFormatMaxiSecondary: Data size check: currently used %d of %d bytes. %d bytes remaining. "
                  "ShipmentID count=%d",
                  used, capacity.total, remaining, shipmentIdLength);
    if (remaining >= shipmentIdLength) {
        CopyStrings(destination, size, {blockA, f.ShipmentId, blockB, f.ShipToAddress1, blockC});
        return;
    }
    if (remaining > 0) {
        log::LogWarning("LibUPSFormatMaxiSecondary: Warning-- Shipment ID was omitted to maintain data maximums.");
        CopyStrings(destination, size, {blockA, blockB, f.ShipToAddress1, blockC});
        return;
    }
    log::LogWarning(
        "LibUPSFormatMaxiSecondary: Warning-- Shipment ID was omitted due to maximum barcode data size "
        "reached.");
    used = lengthA + lengthB + lengthC + capacity.headerAndPrimary;
    remaining = capacity.total - used;
    log::LogDebug(0,
                  "LibUPSFormatMaxiSecondary: Data size check: currently used %d of %d bytes. %d bytes remaining. "
                  "AddrLine1 count=%d",
                  used, capacity.total, remaining, addressLength);
    char address[sizeof f.ShipToAddress1] = {};
    if (remaining >= addressLength) {
        CopyText(address, f.ShipToAddress1);
    } else if (remaining > 0) {
        std::memcpy(address, f.ShipToAddress1, static_cast<std::size_t>(remaining));
        log::LogWarning(
            "LibUPSFormatMaxiSecondary: Warning-- Street Address Line 1 was truncated to maintain data "
            "maximums. Compression is recommended.");
    } else {
        log::LogWarning(
            "LibUPSFormatMaxiSecondary: Warning-- Street Address Line 1 was omitted due to maximum "
            "barcode data size reached. Compression is recommended.");
    }
    CopyStrings(destination, size, {blockA, blockB, address, blockC});
}

bool FormatSecondary(char *destination, std::size_t size, const CommonData &common, const UpsData &ups,
                     MaxiCodeFields &f, const LabelContext &label) {
    const JobFile &job = label.job;
    FillShipmentFields(ups, f, label);
    bool verified = IsY(ups.AddressVerificationFlag) && std::strlen(common.ShipToZip) == 9;
    CopyText(f.AddressValidation, verified ? "Y" : "N");
    bool compressed = IsY(ups.CompressMaxicode);
    FillStreetLine(compressed, f, job);
    FillCityAndState(ups, f, label);
    if (compressed)
        BuildCompressedSecondary(destination, size, f, job);
    else
        BuildPlainSecondary(destination, size, f);
    log::LogDebug(0,
                  "LibUPSFormatMaxiSecondary: Total secondary data size is %u bytes. (Not including header/primary "
                  "size)",
                  static_cast<unsigned>(std::strlen(destination)));
    return true;
}

bool FormatMaxicode(char *destination, std::size_t size, CommonData &common, UpsData &ups,
                    const LabelContext &label) {
    if (destination == nullptr || size == 0 || label.job.Path() == nullptr) return false;
    MaxiCodeFields fields;
    InitMaxiCodeFields(fields);
    ReadSettings(fields);
    bool compress = IsY(ups.CompressMaxicode);
    if (compress)
        log::LogInfo("UPS Maxicode compression is enabled.");
    else
        log::LogInfo("UPS Maxicode compression is not requested.");

    char header[10] = {};
    CopyStrings(header, sizeof header, {fields.MessageHeader, RS, fields.FormatCode, GS, fields.FormatVersion});
    char primary[kMaxiPrimarySize] = {};
    char secondary[kMaxiSecondarySize] = {};
    if (!LibUPSFormatMaxiPrimary(primary, common, ups, fields, label)) return false;
    if (!LibUPSFormatMaxiSecondary(secondary, sizeof secondary, common, ups, fields, label)) return false;
    char message[kMessageSize] = {};
    CopyStrings(message, sizeof message, {header, primary, secondary});
    ups.MaxiCodeMessageLength = static_cast<int32_t>(std::strlen(message));

    if (!compress) {
        CopyText(destination, size, message);
        ups.MaxiCodeCompressedLength = 0;
        ups.MaxiCodeCompressed = false;
        if (fields.TestMode) CreateUncompressedDatFile(label, message);
        return true;
    }

    bool addressValidation = IsY(ups.AddressVerificationFlag) && std::strlen(common.ShipToZip) == 9;
    char output[kMaxiOutputSize] = {};
    uint64_t start = seams::TickCount();
    int32_t rc;
    if (fields.CompressAll) {
        log::LogDebug(0, "LibUPSFormatMaxicode: Beginning UPS Maxicode compression using ANSIStringBuildAll method.");
        rc = upsMaxicodeCompressAll(fields, message, label, output, addressValidation);
    } else {
        log::LogDebug(0, "LibUPSFormatMaxicode: Beginning UPS Maxicode compression using AddValue/BuildAll method.");
        rc = upsMaxicodeCompress(fields, label, output);
    }
    unsigned long long elapsed = seams::TickCount() - start;
    log::LogDebug(0, "LibUPSFormatMaxicode: UPS Maxicode compression return code: %d.", static_cast<int>(rc));
    log::LogDebug(0, "LibUPSFormatMaxicode: UPS Maxicode compression completed (%llu ms)", elapsed);
    if (rc != 0) {
        // the job fails; the plain message is not printed in its place
        CopyText(destination, size, message);
        ups.MaxiCodeCompressedLength = 0;
        ups.MaxiCodeCompressed = false;
        return false;
    }
    CopyText(destination, size, output);
    ups.MaxiCodeCompressedLength = static_cast<int32_t>(TextLength(output, sizeof output));
    ups.MaxiCodeCompressed = true;
    return true;
}

}  // namespace

void InitMaxiCodeFields(MaxiCodeFields &fields) {
    std::memset(&fields, 0, sizeof fields);
    fields.AllowPadding = true;
    fields.IncludeAddr1 = true;
    fields.IncludeFmt05 = true;
    CopyText(fields.MessageHeader, "[)>");
    CopyText(fields.FormatCode, "01");
    CopyText(fields.FormatVersion, "96");
    CopyText(fields.OriginCarrier, "UPSN");
    CopyText(fields.Format05Code, "05");
    CopyText(fields.AddressValidation, "N");
}

bool LibUPSFormatMaxiPrimary(char destination[kMaxiPrimarySize], const CommonData &common, UpsData &ups,
                             MaxiCodeFields &fields, const LabelContext &label) {
    return GuardedMaxiCode("LibUPSFormatMaxiPrimary", false, [&] {
        return destination != nullptr && FormatPrimary(destination, common, ups, fields, label.carrier);
    });
}

bool LibUPSFormatMaxiSecondary(char *destination, std::size_t size, const CommonData &common, const UpsData &ups,
                               MaxiCodeFields &fields, const LabelContext &label) {
    return GuardedMaxiCode("LibUPSFormatMaxiSecondary", false, [&] {
        return destination != nullptr && size > 0 && label.job.Path() != nullptr &&
               FormatSecondary(destination, size, common, ups, fields, label);
    });
}

bool LibUPSFormatMaxicode(char *destination, std::size_t size, CommonData &common, UpsData &ups,
                          const LabelContext &label) {
    return GuardedMaxiCode("LibUPSFormatMaxicode", false,
                           [&] { return FormatMaxicode(destination, size, common, ups, label); });
}

}  // namespace zal
