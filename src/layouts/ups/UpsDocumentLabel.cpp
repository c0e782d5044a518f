#include "layouts/ups/UpsDocumentLabel.h"

#include <cstring>

#include "api/Library.h"
#include "common/Format.h"
#include "common/Log.h"
#include "common/Strings.h"

namespace zal::ups {

ZalLib::LabelFormat LabelFormatFor(const JobContext &context) {
    ZalLib::LabelFormat format{};
    format.Dpi = 203;
    format.HorizontalMargin = 6;
    format.VerticalMargin = 0;
    format.Reserved6 = 1;
    format.Media.Type = context.Media;
    format.Media.Orientation = context.Orientation;
    return format;
}

void ReplaceTextQuotes(CommonData &common, UpsData &ups) {
    ReplaceDblQuotes(common);
    QuotesToApostrophes(common.FromContact, sizeof common.FromContact);
    JobWideValues &job = JobWide();
    QuotesToApostrophes(job.PONumber, sizeof job.PONumber);
    QuotesToApostrophes(job.Remark, sizeof job.Remark);
    for (auto &line : ups.BillingLines) QuotesToApostrophes(line, sizeof line);
    for (auto &line : ups.PkgInfoLines) QuotesToApostrophes(line, sizeof line);
    for (auto &line : ups.CustomerDataLines) QuotesToApostrophes(line, sizeof line);
    for (char *text : {ups.POLine, ups.RoutingCode, ups.RoutingVersion, ups.RoutingDate, ups.HandlingText,
                       ups.DocumentIndicator, ups.CustomsDocuments, ups.WeightText}) {
        QuotesToApostrophes(text, std::strlen(text) + 1);
    }
}

bool AppendUserCommands(ZalLib::RawZALDoc &doc, const char *text) {
    if (text == nullptr || text[0] == '\0') return true;
    if (!doc.AppendRawText(text)) return false;
    if (text[std::strlen(text) - 1] == '\n') return true;
    return doc.AppendRawText("\n");
}

std::string LabelCopyFolder() {
    const _LoggingConfigA &config = api::CurrentLoggingConfig();
    std::string folder(config.LogFolder, TextLength(config.LogFolder, sizeof config.LogFolder));
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder;
}

bool SavesLabelCopies() { return (api::CurrentLoggingConfig().Flags & log::kJob) != 0; }

int TestStampRow(const JobContext &context, int shortMediaRow) {
    return context.Media.Length >= 6.0f ? 1100 : shortMediaRow;
}

}  // namespace zal::ups
