// The UPS MaxiCode message in fields, as the field-by-field compression
// takes it, and the routines that build its primary and secondary parts.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formatting/CommonData.h"
#include "formatting/ups/UpsData.h"
#include "job/LabelContext.h"

namespace zal {

// Text widths include the terminator.
struct MaxiCodeFields {
    // Settings (registry, read in MaxiCode test mode only).
    bool TestMode;
    bool CompressAll;
    bool AllowPadding;
    bool AllowIntlMode2;
    bool IncludeAddr1;
    bool IncludeFmt05;
    int16_t Mode;  // 2 or 3
    char MessageHeader[4];
    char FormatCode[3];
    char FormatVersion[3];
    char PostalCode[10];
    char ClassOfService[4];
    char CountryCode[4];
    char TrackingNumber[11];  // "1Z" and characters 11-18 of the tracking number
    char OriginCarrier[5];
    char ShipperId[7];  // characters 3-8 of the tracking number
    char JulianPickupDay[4];
    char ShipmentId[31];
    char PackageNofX[8];
    char Weight[11];
    char AddressValidation[2];
    char ShipToAddress1[36];
    char ShipToCity[36];
    char ShipToState[3];
    char Format05Code[3];
    char ShipToAddress2[36];
    char ShipToAddress3[36];
    char ShipToAddress4[36];
    char ShipToAddress5[36];
};

// The settings' defaults and the constant fields ("[)>", "01", "96",
// "UPSN", "05", address validation "N").
void InitMaxiCodeFields(MaxiCodeFields &fields);

constexpr std::size_t kMaxiPrimarySize = 19;
constexpr std::size_t kMaxiSecondarySize = 312;

// Postal code, country and class of service, each followed by GS; sets the
// mode in the record and in ups.MaxiCodeMode.  False when an input is missing.
bool LibUPSFormatMaxiPrimary(char destination[kMaxiPrimarySize], const CommonData &common, UpsData &ups,
                             MaxiCodeFields &fields, const LabelContext &label);
// Tracking and shipment data and the address, ended by EOT: the full form
// for compression, or fitted to the symbol's capacity for a plain message.
bool LibUPSFormatMaxiSecondary(char *destination, std::size_t size, const CommonData &common, const UpsData &ups,
                               MaxiCodeFields &fields, const LabelContext &label);

}  // namespace zal
