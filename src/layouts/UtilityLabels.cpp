// The labels that belong to no carrier: the printer's configuration label,
// the resident font sample and the generic address label.
#include <cstddef>
#include <cstring>
#include <exception>
#include <string>

#include "api/Library.h"
#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "common/Log.h"
#include "common/Strings.h"
#include "device/DeviceOutput.h"
#include "documents/EPLDoc.h"
#include "formatting/CommonData.h"
#include "layouts/Layouts.h"
#include "layouts/LegacyFrame.h"
#include "platform/Platform.h"

namespace zal {
namespace {

struct FontSample {
    int x;
    int y;
    const char *font;  // selector, horizontal and vertical multiplier
    const char *text;
};

// clang-format off
// Fonts 1 to 4 at 1x1, 1x2, 2x1 and 2x2.
const FontSample kFontSamples[] = {
    { 10,  10, "1,1,1", "1,1,1 - ABCD abcd"},
    { 10,  30, "2,1,1", "2,1,1 - ABCD abcd"},
    { 10,  50, "3,1,1", "3,1,1 - ABCD abcd"},
    { 10,  72, "4,1,1", "4,1,1 - ABCD abcd"},
    {400,  10, "1,1,2", "1,1,2 - ABCD abcd"},
    {400,  50, "2,1,2", "2,1,2 - ABCD abcd"},
    {400,  90, "3,1,2", "3,1,2 - ABCD abcd"},
    {400, 130, "4,1,2", "4,1,2 - ABCD abcd"},
    { 10, 180, "1,2,1", "1,2,1 - ABCD abcd"},
    { 10, 200, "2,2,1", "2,2,1 - ABCD abcd"},
    { 10, 220, "3,2,1", "3,2,1 - ABCD abcd"},
    { 10, 240, "4,2,1", "4,2,1 - ABCD abcd"},
    { 10, 300, "1,2,2", "1,2,2 - ABCD abcd"},
    { 10, 340, "2,2,2", "2,2,2 - ABCD abcd"},
    { 10, 380, "3,2,2", "3,2,2 - ABCD abcd"},
    { 10, 420, "4,2,2", "4,2,2 - ABCD abcd"},
};

// Rotated 90 degrees: the sender in font 4, the recipient in font 2 doubled.
const TextRow<CommonData> kGenericBody[] = {
    {"A780,030,1,4,1,1,N,\"", {FieldOf<&CommonData::From1>}},
    {"A755,030,1,4,1,1,N,\"", {FieldOf<&CommonData::From2>}},
    {"A730,030,1,4,1,1,N,\"", {FieldOf<&CommonData::From3>}},
    {"A705,030,1,4,1,1,N,\"", {FieldOf<&CommonData::FromPhone>}},
    {"A355,245,1,2,2,2,N,\"", {FieldOf<&CommonData::ShipTo1>}},
    {"A320,245,1,2,2,2,N,\"", {FieldOf<&CommonData::ShipTo2>}},
    {"A285,245,1,2,2,2,N,\"", {FieldOf<&CommonData::ShipTo3>}},
    {"A250,245,1,2,2,2,N,\"", {FieldOf<&CommonData::ShipTo4>}},
    {"A215,245,1,2,2,2,N,\"", {FieldOf<&CommonData::ShipTo5>}},
    {"A180,245,1,2,2,2,N,\"", {FieldOf<&CommonData::ShipTo6>}},
    {"A145,245,1,2,2,2,N,\"", {FieldOf<&CommonData::ShipTo7>, " ", FieldOf<&CommonData::ShipToZip>}},
};
// clang-format on

constexpr const char *kGenericCountryTemplate = "A110,245,1,2,2,2,N,\"";

// The saved copy goes into the folder ZALSetDebugA named, which may come
// without its trailing separator.
std::string FontSampleCopyPath() {
    const _LoggingConfigA &config = api::CurrentLoggingConfig();
    std::string folder(config.LogFolder, TextLength(config.LogFolder, sizeof config.LogFolder));
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return FormatString("%s%s.EPLDoc.txt", folder.c_str(), log::JobTag());
}

// The document's header, the samples and the print command; false when
// the header or the print command could not be written, since the printer
// would then print nothing and the job still count as printed.
bool BuildFontSample(ZalLib::EPLDoc &doc, const JobContext *context, bool headerPrefix) {
    ZalLib::LabelFormat format{};
    format.Dpi = 203;
    format.HorizontalMargin = 6;
    format.VerticalMargin = 0;
    format.Reserved6 = 1;
    format.Media.Type = context->Media;
    format.Media.Orientation = context->Orientation;
    ZalLib::InitLabelFormat(&format, "Font Samples Label", headerPrefix ? 1 : 0);
    if (!doc.InitDoc(&format)) {
        log::LogErrorText("FontSamplePrint: The label header could not be written.");
        return false;
    }
    for (const FontSample &sample : kFontSamples) doc.PrintText(sample.x, sample.y, sample.font, sample.text);
    if (!doc.EndDoc()) {
        log::LogErrorText("FontSamplePrint: The print command could not be written.");
        return false;
    }
    return true;
}

}  // namespace

int32_t PrintDiagnosticLabel(JobContext *context) {
    log::LogInfoText("Sending Print Configuration Label command 'U' to printer...");
    int32_t result = SendToDevice(context, "U\n", 2);
    log::LogInfo("Completed with result %d", static_cast<int>(result));
    return result;
}

int32_t FontSamplePrint(_JobInfoA *, JobContext *context, bool headerPrefix) {
    ZalLib::EPLDoc doc;
    int32_t result = ZALERR_LABEL_GENERATIONERR;
    try {
        if (!BuildFontSample(doc, context, headerPrefix)) {
            doc.Reset();
            return ZALERR_LABEL_GENERATIONERR;
        }
        if (api::CurrentLoggingConfig().Flags & log::kJob) doc.SaveToFile(FontSampleCopyPath().c_str());
        log::LogInfo("Generated EPLDoc (%u bytes), sending to printer...", static_cast<unsigned>(doc._SourceCount));
        result = SendToDevice(context, doc._Source, static_cast<int>(std::strlen(doc._Source)));
    } catch (const std::exception &e) {
        ReportJobCppException(e, "Common", "FontSamplePrint");
        doc.Reset();
        return ZALERR_LABEL_GENERATIONERR;
    }
    doc.Reset();
    log::LogInfo("Completed with result %d", static_cast<int>(result));
    return result;
}

int32_t PrintGenericLabel(const char *jobFile, JobContext *context, bool headerPrefix) {
    CommonData data{};
    if (!FormatCommonData(data, jobFile)) {
        log::LogErrorText("PrintGenericLabel: The common label data could not be read.");
        return ZALERR_LABEL_DATAERROR;
    }
    ReplaceDblQuotes(data);

    char newFormat[2] = "";
    platform::GetPrivateProfileString("Begin", "NewFormat", "", newFormat, sizeof newFormat, jobFile);
    UpperCase(newFormat);
    UpperCase(data.FromCountry);
    UpperCase(data.ShipToCountry);
    bool domestic = data.ShipToCountry[0] == '\0' || std::strcmp(data.FromCountry, data.ShipToCountry) == 0;

    LegacyLabel label;
    label.Begin(MemoryCommand::M132, HeaderForm::A, headerPrefix);
    label.UserCommands(data.xlabelc1);
    label.Texts(kGenericBody, data);
    if (newFormat[0] == 'Y' && !domestic) label.Text(kGenericCountryTemplate, {data.ShipToCountry});
    return label.Finish(data.xlabelc2, context);
}

}  // namespace zal
