// What the UPS labels built on an EPL document share: the label format,
// the user command texts, the text element tables over the two records,
// the saved copy's name and the test stamp's row.
#pragma once

#include <cstdint>
#include <string>

#include "device/JobContext.h"
#include "documents/EPLDoc.h"
#include "formatting/CommonData.h"
#include "formatting/ups/UpsData.h"
#include "zal2443/zal2443.h"

namespace zal::ups {

// The module the UPS layouts report their faults under.
constexpr const char *kUpsLabelModule = "Label Printers/Zal2443/UPS";

// Every UPS document label: 203 dpi, 6 dots of side margins, no top margin.
ZalLib::LabelFormat LabelFormatFor(const JobContext &context);

// A user command text (xlabelc1, xlabelc2): appended as it is, then a line
// feed unless it already ends in one, so the next command starts on its
// own line.  An empty text adds nothing.  False when the append failed (the
// document has logged it; the label goes on).
bool AppendUserCommands(ZalLib::RawZALDoc &doc, const char *text);

// The texts these labels print inside quoted A commands come from the job
// file as they are; a double quote in one would end the command's text
// early and break the label.  They become apostrophes, as the other labels'
// address fields do (bar code data is escaped separately and left alone).
void ReplaceTextQuotes(CommonData &common, UpsData &ups);

// The folder of the saved copies: the log folder ZALSetDebugA named, with a
// separator added when it lacks one.
std::string LabelCopyFolder();
// True when the log flags ask for saved copies of the labels.
bool SavesLabelCopies();

// The test stamp's y: lower on media of at least 6 inches.
int TestStampRow(const JobContext &context, int shortMediaRow);

// The two records a UPS layout prints from.
struct LabelRecords {
    const CommonData &common;
    const UpsData &ups;
};
using RecordText = const char *(*)(const LabelRecords &);

template <auto Member>
const char *CommonText(const LabelRecords &r) {
    return r.common.*Member;
}
template <auto Member>
const char *UpsText(const LabelRecords &r) {
    return r.ups.*Member;
}

// One text element: position, EPL2 font text and the field printed.
struct TextElement {
    int x;
    int y;
    const char *font;
    RecordText text;
};

template <std::size_t N>
void PrintTexts(ZalLib::EPLDoc &doc, const TextElement (&elements)[N], const LabelRecords &records) {
    for (const TextElement &e : elements) doc.PrintText(e.x, e.y, e.font, e.text(records));
}

// What tells one UPS document label from another; the frame around it
// (formatting, label format, header, user commands, "P1", the saved copy,
// the print and the fault report) is PrintDocumentLabel's.
struct DocumentLabel {
    const char *name;            // the label name in the document and its saved copy
    const char *copyNameFormat;  // log folder, job tag, document name
    const char *routine;         // the name faults are reported under
    bool (*format)(UpsData &ups, CommonData &common, const _JobInfoA *job);
    void (*body)(ZalLib::EPLDoc &doc, const JobContext &context, const CommonData &common, const UpsData &ups);
};

// -406 when formatting fails, -1030 when the document cannot be started or
// ended, -402 after an exception, else the result of the print.
int32_t PrintDocumentLabel(const DocumentLabel &label, _JobInfoA *job, JobContext *context, bool headerPrefix);

}  // namespace zal::ups
