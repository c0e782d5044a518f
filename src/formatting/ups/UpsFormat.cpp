// upsFormatData: everything the UPS layouts print, in one record.
#include <cstring>

#include "common/Format.h"
#include "common/Log.h"
#include "common/Modules.h"
#include "formatting/ups/LibUPS.h"
#include "formatting/ups/Maxicode.h"
#include "formatting/ups/UpsInternal.h"

namespace zal {
namespace {

constexpr const char *kPrinterFamily = "Eltron";
constexpr std::size_t kMaxiCodeSize = sizeof(UpsData::MaxiCodeData);

bool NeedsTermsNotice(const UpsData &ups, CarrierCode carrier) {
    return carrier == CARRIER_UPSINT || carrier == CARRIER_UPSPR || std::strcmp(ups.PaperlessFlag, "Y") == 0;
}

bool FormatAll(UpsData &ups, CommonData &common, LabelContext &label) {
    if (!LibUPSFormatData(ups, common, label)) {
        log::LogError("Error while formatting UPS common data.");
        return false;
    }
    if (!EncodeUPSMaxicodeString(ups, common, label)) {
        log::LogError("Error while formatting Eltron UPS Maxicode barcode data.");
        return false;
    }
    if (!LibUPSFormatPDF417Data(ups, label, kPrinterFamily)) {
        log::LogError("Error while formatting UPS PDF-417 data.");
        return false;
    }
    if (!EncodeUPSPDF417String(ups)) {
        log::LogError("Error while EPL-encoding UPS PDF-417 data.");
        return false;
    }
    if (NeedsTermsNotice(ups, label.carrier)) FillUpsTermsLines(ups);
    return true;
}

}  // namespace

bool EncodeUPSMaxicodeString(UpsData &ups, CommonData &common, const LabelContext &label) {
    return GuardedLibUps("EncodeUPSMaxicodeString", [&] {
        char data[kMaxiCodeSize] = {};
        if (!LibUPSFormatMaxicode(data, sizeof data, common, ups, label)) return false;
        CopyText(ups.MaxiCodeData, data);
        // the unescaped data stays in the record when the escaped one does not fit
        ups.MaxiCodeReady = EplEscape(ups.MaxiCodeData, sizeof ups.MaxiCodeData);
        ups.MaxiCodeLength = ups.MaxiCodeReady ? static_cast<int32_t>(std::strlen(ups.MaxiCodeData)) : 0;
        return true;
    });
}

bool upsFormatData(UpsData &ups, CommonData &common, LabelContext &label) {
    try {
        return FormatAll(ups, common, label);
    } catch (const std::exception &error) {
        ReportJobCppException(error, kUpsLabelsModule, "upsFormatData");
        return false;
    }
}

}  // namespace zal
