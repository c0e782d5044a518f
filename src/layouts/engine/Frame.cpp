#include "layouts/engine/Frame.h"

#include <cstring>
#include <memory>
#include <string>

#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "common/Log.h"
#include "device/DeviceOutput.h"
#include "documents/EPLDoc.h"

namespace zal::layout {

namespace detail {

const char *WithoutQuotes(const char *text, char *scratch, std::size_t size) {
    if (std::strchr(text, '"') == nullptr) return text;
    std::size_t n = 0;
    for (; text[n] != '\0' && n + 1 < size; ++n) scratch[n] = text[n] == '"' ? '\'' : text[n];
    scratch[n] = '\0';
    return scratch;
}

const char *QuotedData(const char *text, std::string &scratch) {
    if (std::strpbrk(text, "\"\\") == nullptr) return text;
    scratch.clear();
    for (const char *c = text; *c != '\0'; ++c) {
        if (*c == '"' || *c == '\\') scratch += '\\';
        scratch += *c;
    }
    return scratch.c_str();
}

void ReportException(const std::exception &error, const char *module, const char *routine) {
    ReportJobCppException(error, module, routine);
}

}  // namespace detail

bool DrawText(Canvas &canvas, int x, int y, const char *font, const char *text) {
    char scratch[1024];
    Pieces pieces;
    pieces.text[pieces.count++] = detail::WithoutQuotes(text, scratch, sizeof scratch);
    return canvas.Text({x, y, 0, font, false, 3, 3, pieces});
}

namespace {

// Every document label: 203 dpi, 6 dots of side margins, no top margin.
ZalLib::LabelFormat FormatFor(const DocumentFrame &frame, const LabelContext &label) {
    ZalLib::LabelFormat format{};
    format.Dpi = 203;
    format.HorizontalMargin = 6;
    format.VerticalMargin = 0;
    format.Reserved6 = 1;
    format.Media.Type = label.device.Media;
    format.Media.Orientation = label.device.Orientation;
    ZalLib::InitLabelFormat(&format, frame.name, label.headerPrefix ? 1 : 0, label.options);
    return format;
}

// A user command text (xlabelc1, xlabelc2): appended as it is, then a line
// feed unless it already ends in one, so the next command starts on its own
// line.  An empty text adds nothing.
void AppendUserCommands(ZalLib::EPLDoc &doc, const char *text) {
    if (text == nullptr || text[0] == '\0') return;
    if (!doc.AppendRawText(text)) return;
    if (text[std::strlen(text) - 1] != '\n') doc.AppendRawText("\n");
}

int32_t Send(const DocumentFrame &frame, ZalLib::EPLDoc &doc, LabelContext &label) {
    if (!frame.announcesSend) return doc.Print(&label.device);
    log::LogInfo("Generated EPLDoc (%u bytes), sending to printer...", static_cast<unsigned>(doc._SourceCount));
    int32_t result = SendToDevice(&label.device, doc._Source, static_cast<int>(std::strlen(doc._Source)));
    doc.Reset();
    log::LogInfo("Completed with result %d", static_cast<int>(result));
    return result;
}

int32_t Build(const DocumentFrame &frame, ZalLib::EPLDoc &doc, LabelContext &label, const char *userBefore,
              const char *userAfter, Body body) {
    ZalLib::LabelFormat format = FormatFor(frame, label);
    if (!doc.InitDoc(&format)) {
        log::LogError("%s: The label header could not be written.", frame.routine);
        return frame.documentFault;
    }
    AppendUserCommands(doc, userBefore);
    DocumentCanvas canvas(doc);
    body(canvas);
    AppendUserCommands(doc, userAfter);
    if (!doc.EndDoc()) {
        log::LogError("%s: The print command could not be written.", frame.routine);
        return frame.documentFault;
    }
    if (label.copies.save) {
        doc.SaveToFile(FormatString(frame.copyName, label.copies.folder.c_str(), log::JobTag(), doc.Name).c_str());
    }
    return Send(frame, doc, label);
}

}  // namespace

int32_t PrintDocument(const DocumentFrame &frame, LabelContext &label, const char *userBefore, const char *userAfter,
                      Body body) {
    ZalLib::EPLDoc doc;
    int32_t result = Guarded(frame.module, frame.routine,
                             [&] { return Build(frame, doc, label, userBefore, userAfter, body); });
    doc.Reset();
    return result;
}

int32_t PrintLegacy(const LegacyFrame &frame, LabelContext &label, const char *userBefore, const char *userAfter,
                    Body body) {
    ZalLib::LegacyDoc doc;
    doc.Begin(frame.memory, frame.header, label.headerPrefix, label.options.horizontalOffset,
               label.options.verticalOffset);
    doc.UserCommands(userBefore);
    LegacyCanvas canvas(doc);
    body(canvas);
    if (frame.formDate != nullptr) doc.Append({label.versionLine, frame.formDate, "\"\n"});
    return doc.Finish(userAfter, &label.device);
}

}  // namespace zal::layout
