// The values the field-by-field compression sends, per field id.
#include <cstring>
#include <iterator>

#include "common/Format.h"
#include "common/Log.h"
#include "common/Strings.h"
#include "compress/Compress.h"
#include "formatting/ups/CompressDriver.h"

namespace zal {
namespace {

constexpr std::size_t kValueSize = 36;

// clang-format off
constexpr const char *kFieldNames[] = {
    /*  0*/ "compress_ANSI_INTERFACE_START",
    /*  1*/ nullptr,
    /*  2*/ "compress_ANSI_SET_MODE",
    /*  3*/ "compress_ANSI_MESSAGE_START",
    /*  4*/ "compress_ANSI_FORMAT_1_START",
    /*  5*/ "compress_ANSI_SHIP_TO_POSTAL_CODE",
    /*  6*/ "compress_ANSI_SHIP_TO_COUNTRY_CODE",
    /*  7*/ "compress_ANSI_CLASS_OF_SERVICE",
    /*  8*/ "compress_ANSI_TRACKING_NUMBER",
    /*  9*/ "compress_ANSI_ORIGIN_CARRIER",
    /* 10*/ "compress_ANSI_SHIPPER_ID",
    /* 11*/ "compress_ANSI_JULIAN_DATE_OF_PU",
    /* 12*/ "compress_ANSI_SHIPMENT_ID",
    /* 13*/ "compress_ANSI_SHIPMENT_N_X",
    /* 14*/ "compress_ANSI_WEIGHT",
    /* 15*/ "compress_ANSI_ADDRESS_VALIDATION",
    /* 16*/ "compress_ANSI_SHIP_TO_ADDRESS_1",
    /* 17*/ "compress_ANSI_SHIP_TO_CITY",
    /* 18*/ "compress_ANSI_SHIP_TO_STATE",
    /* 19*/ "compress_ANSI_FORMAT_1_END",
    /* 20*/ "compress_ANSI_FORMAT_5_START",
    /* 21*/ "compress_ANSI_SHIP_TO_ADDRESS_2",
    /* 22*/ "compress_ANSI_SHIP_TO_ADDRESS_3",
    /* 23*/ "compress_ANSI_SHIP_TO_ADDRESS_4",
    /* 24*/ "compress_ANSI_SHIP_TO_ADDRESS_5",
    /* 25*/ "compress_ANSI_FORMAT_5_END",
    /* 26*/ "compress_ANSI_MESSAGE_END",
    /* 27*/ "compress_ANSI_INTERFACE_END",
};
// clang-format on

bool HasNonBlank(const char *text, std::size_t count) {
    for (std::size_t i = 0; i < count && text[i] != '\0'; ++i) {
        if (text[i] != ' ') return true;
    }
    return false;
}

// The text a field id takes from the record; null for the empty ones.
// clang-format off
const char *FieldText(const MaxiCodeFields &f, int32_t id) {
    switch (id) {
        case compress_ANSI_MESSAGE_START: return f.MessageHeader;
        case compress_ANSI_SHIP_TO_POSTAL_CODE: return f.PostalCode;
        case compress_ANSI_SHIP_TO_COUNTRY_CODE: return f.CountryCode;
        case compress_ANSI_CLASS_OF_SERVICE: return f.ClassOfService;
        case compress_ANSI_TRACKING_NUMBER: return f.TrackingNumber;
        case compress_ANSI_ORIGIN_CARRIER: return f.OriginCarrier;
        case compress_ANSI_SHIPPER_ID: return f.ShipperId;
        case compress_ANSI_JULIAN_DATE_OF_PU: return f.JulianPickupDay;
        case compress_ANSI_SHIPMENT_ID: return HasNonBlank(f.ShipmentId, 31) ? f.ShipmentId : nullptr;
        case compress_ANSI_SHIPMENT_N_X: return f.PackageNofX;
        case compress_ANSI_WEIGHT: return f.Weight;
        case compress_ANSI_ADDRESS_VALIDATION: return f.AddressValidation;
        case compress_ANSI_SHIP_TO_ADDRESS_1: return f.IncludeAddr1 ? f.ShipToAddress1 : nullptr;
        case compress_ANSI_SHIP_TO_CITY: return f.ShipToCity;
        case compress_ANSI_SHIP_TO_STATE: return f.ShipToState;
        case compress_ANSI_FORMAT_5_START: return f.IncludeFmt05 ? f.Format05Code : nullptr;
        case compress_ANSI_SHIP_TO_ADDRESS_2: return f.IncludeFmt05 ? f.ShipToAddress2 : nullptr;
        case compress_ANSI_SHIP_TO_ADDRESS_3: return f.IncludeFmt05 ? f.ShipToAddress3 : nullptr;
        case compress_ANSI_SHIP_TO_ADDRESS_4: return f.IncludeFmt05 ? f.ShipToAddress4 : nullptr;
        case compress_ANSI_SHIP_TO_ADDRESS_5: return f.IncludeFmt05 ? f.ShipToAddress5 : nullptr;
        default: return nullptr;
    }
}
// clang-format on

}  // namespace

bool GetCompressField(const MaxiCodeFields &fields, int32_t id, char value[36], uint32_t *length) {
    const char *name = id >= 0 && id < static_cast<int32_t>(std::size(kFieldNames)) ? kFieldNames[id] : nullptr;
    if (value != nullptr) value[0] = '\0';
    if (length != nullptr) *length = 0;
    if (name == nullptr) {
        log::LogError("Maxicode Compression encountered error: Field %d is not a known field type.",
                      static_cast<int>(id));
        return false;
    }
    char text[kValueSize] = {};
    if (id == compress_ANSI_SET_MODE) {
        text[0] = static_cast<char>(fields.Mode);
    } else if (id == compress_ANSI_FORMAT_1_START) {
        CopyStrings(text, sizeof text, {fields.FormatCode, fields.FormatVersion});
    } else if (const char *source = FieldText(fields, id)) {
        CopyText(text, source);
    }
    uint32_t size = id == compress_ANSI_SET_MODE ? 1u : static_cast<uint32_t>(std::strlen(text));
    if (value != nullptr) std::memcpy(value, text, kValueSize);
    if (length != nullptr) *length = size;
    if (id == compress_ANSI_SET_MODE) {
        if (length != nullptr)
            log::LogDebug(log::kCompress, "Maxicode Compression: GetCompressField() Field %s (%d) size: %u value: %d",
                          name, static_cast<int>(id), size, static_cast<int>(fields.Mode));
        else
            log::LogDebug(log::kCompress, "Maxicode Compression: GetCompressField() Field %s (%d) value: %d", name,
                          static_cast<int>(id), static_cast<int>(fields.Mode));
    } else if (length != nullptr) {
        log::LogDebug(log::kCompress, "Maxicode Compression: GetCompressField() Field %s (%d) size: %u value: \"%s\"",
                      name, static_cast<int>(id), size, text);
    } else {
        log::LogDebug(log::kCompress, "Maxicode Compression: GetCompressField() Field %s (%d) value: \"%s\"", name,
                      static_cast<int>(id), text);
    }
    return true;
}

}  // namespace zal
