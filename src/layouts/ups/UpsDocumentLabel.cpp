#include "layouts/ups/UpsDocumentLabel.h"

#include <cstring>
#include <exception>
#include <memory>

#include "api/Library.h"
#include "common/ErrorCodes.h"
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

namespace {

int32_t BuildAndPrint(ZalLib::EPLDoc &doc, const DocumentLabel &label, _JobInfoA *job, JobContext *context,
                      bool headerPrefix) {
    auto common = std::make_unique<CommonData>();
    auto ups = NewUpsData();
    if (!label.format(*ups, *common, job)) return ZALERR_LABEL_DATAERROR;
    ReplaceTextQuotes(*common, *ups);

    ZalLib::LabelFormat format = LabelFormatFor(*context);
    if (!ZalLib::InitLabelFormat(&format, label.name, headerPrefix ? 1 : 0)) return ZALERR_LABEL_DATAERROR;
    if (!doc.InitDoc(&format)) return ZALERR_ZALDOCERR;

    AppendUserCommands(doc, common->xlabelc1);
    label.body(doc, *context, *common, *ups);
    AppendUserCommands(doc, common->xlabelc2);
    if (!doc.EndDoc()) return ZALERR_ZALDOCERR;

    if (SavesLabelCopies()) {
        doc.SaveToFile(FormatString(label.copyNameFormat, LabelCopyFolder().c_str(), log::JobTag(), doc.Name).c_str());
    }
    return doc.Print(context);
}

}  // namespace

int32_t PrintDocumentLabel(const DocumentLabel &label, _JobInfoA *job, JobContext *context, bool headerPrefix) {
    ZalLib::EPLDoc doc;
    int32_t result;
    try {
        result = BuildAndPrint(doc, label, job, context, headerPrefix);
    } catch (const std::exception &e) {
        ReportJobCppException(e, kUpsLabelModule, label.routine);
        result = ZALERR_LABEL_GENERATIONERR;
    }
    doc.Reset();
    return result;
}

}  // namespace zal::ups
