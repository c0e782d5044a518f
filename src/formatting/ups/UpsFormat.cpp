// upsFormatData: everything the UPS layouts print, in one record.
#include <cstring>

#include "common/Format.h"
#include "common/Log.h"
#include "formatting/ups/LibUPS.h"
#include "formatting/ups/Maxicode.h"
#include "formatting/ups/UpsInternal.h"

namespace zal {
namespace {

constexpr const char *kUpsLabelModule = "Label Printers/Zal2443/UPS";
constexpr const char *kPrinterFamily = "Eltron";
constexpr std::size_t kMaxiCodeSize = sizeof(UpsData::MaxiCodeData);

bool NeedsTermsNotice(const UpsData &ups) {
    return std::strcmp(ups.Carrier, "UPSINT") == 0 || std::strcmp(ups.Carrier, "UPSPR") == 0 ||
           std::strcmp(ups.PaperlessFlag, "Y") == 0;
}

bool FormatAll(UpsData &ups, CommonData &common, const _JobInfoA *job) {
    const char *jobFile = job != nullptr ? job->JobFile : nullptr;
    if (!LibUPSFormatData(ups, common, jobFile)) {
        log::LogError("Error while formatting UPS common data.");
        return false;
    }
    if (!EncodeUPSMaxicodeString(ups, common, job)) {
        log::LogError("Error while formatting Eltron UPS Maxicode barcode data.");
        return false;
    }
    if (!LibUPSFormatPDF417Data(ups, jobFile, kPrinterFamily)) {
        log::LogError("Error while formatting UPS PDF-417 data.");
        return false;
    }
    if (!EncodeUPSPDF417String(ups)) {
        log::LogError("Error while EPL-encoding UPS PDF-417 data.");
        return false;
    }
    if (NeedsTermsNotice(ups)) FillUpsTermsLines(ups);
    return true;
}

}  // namespace

bool EncodeUPSMaxicodeString(UpsData &ups, CommonData &common, const _JobInfoA *job) {
    return GuardedLibUps("EncodeUPSMaxicodeString", [&] {
        char data[kMaxiCodeSize] = {};
        if (!LibUPSFormatMaxicode(data, sizeof data, common, ups, job)) return false;
        CopyText(ups.MaxiCodeData, data);
        // the unescaped data stays in the record when the escaped one does not fit
        ups.MaxiCodeReady = EplEscape(ups.MaxiCodeData, sizeof ups.MaxiCodeData);
        ups.MaxiCodeLength = ups.MaxiCodeReady ? static_cast<int32_t>(std::strlen(ups.MaxiCodeData)) : 0;
        return true;
    });
}

bool upsFormatData(UpsData &ups, CommonData &common, const _JobInfoA *job) {
    try {
        return FormatAll(ups, common, job);
    } catch (const std::exception &error) {
        ReportJobCppException(error, kUpsLabelModule, "upsFormatData");
        return false;
    }
}

}  // namespace zal
