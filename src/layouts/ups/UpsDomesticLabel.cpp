// The UPS domestic smart label (carrier "UPS"): sender, ship-to, MaxiCode
// or the heavy package mark, postal and tracking bar codes, service, billing
// and reference lines, on an EPL document.
#include <cstring>
#include <string>

#include "common/JobState.h"
#include "common/Strings.h"
#include "documents/EPLDoc.h"
#include "formatting/CommonData.h"
#include "formatting/ups/LibUPS.h"
#include "formatting/ups/UpsData.h"
#include "layouts/Layouts.h"
#include "layouts/ups/TestStamp.h"
#include "layouts/ups/UpsDocumentLabel.h"

namespace zal {
namespace {

using ups::CommonText;
using ups::LabelRecords;
using ups::TextElement;
using ups::UpsText;

// 0x99 is the trade mark sign of the Windows Latin-1 code page.
constexpr const char *kLabelName = "UPS Domestic Smart Label" "\x99" " GTL 2020 v1.0";

// clang-format off
const TextElement kSender[] = {
    {10,  2, "2,1,1", CommonText<&CommonData::FromContact>},
    {10, 22, "2,1,1", CommonText<&CommonData::FromPhone>},
    {10, 42, "2,1,1", CommonText<&CommonData::From1>},
    {10, 62, "2,1,1", CommonText<&CommonData::From2>},
    {10, 82, "2,1,1", CommonText<&CommonData::From3>},
};

// "SHIP" over "TO:", then the address; ShipTo1 is not printed on this label.
const TextElement kShipTo[] = {
    {155, 143, "1,2,2", UpsText<&UpsData::ShipTitle>},
    {167, 173, "1,2,2", UpsText<&UpsData::ToTitle>},
    {250, 143, "4,1,1", CommonText<&CommonData::ShipTo2>},
    {250, 167, "4,1,1", CommonText<&CommonData::ShipTo3>},
    {250, 191, "4,1,1", CommonText<&CommonData::ShipTo4>},
    {250, 215, "4,1,1", CommonText<&CommonData::ShipTo5>},
    {250, 239, "4,1,1", CommonText<&CommonData::ShipTo6>},
};

const TextElement kCounts[] = {
    {400, 5, "2,2,2", UpsText<&UpsData::WeightText>},
    {670, 5, "1,2,2", UpsText<&UpsData::PackageCountText>},
};

const TextElement kService[] = {
    {10, 523, "2,2,2", UpsText<&UpsData::ServiceName>},
    {10, 557, "4,1,1", UpsText<&UpsData::TrackingText>},
};

const TextElement kIndicators[] = {
    {500, 766, "2,3,2", UpsText<&UpsData::DocumentIndicator>},
    {655, 801, "4,1,1", UpsText<&UpsData::CustomsDocuments>},
};

// The MaxiCode's corner: a rule above it, an upright at its right side down
// to the service rule, and a rule from there to the right edge.
constexpr int kFrameTop = 275;
constexpr int kFrameCorner = 232;
const int kBillingRows[] = {767, 791, 815, 839};
const int kRules[] = {515, 582, 759};
// clang-format on

constexpr const char *kLineTemplate = "LO%03d,%04d,%03d,%03d\n";
constexpr int kCityLineNarrowAbove = 18;  // characters
constexpr int kPkgInfoRow = 50;
constexpr int kPkgInfoStep = 20;
constexpr std::size_t kFromLineLong = 31;

const ZalLib::MaxicodeDescriptor kMaxicode = {"m2", 0, 0, 0};

bool Equals(const char *field, const char *value) { return std::strcmp(field, value) == 0; }

// A line made with the LO template and appended as raw text, as the frame's
// upright and the ground service square are.
void AppendLineCommand(ZalLib::EPLDoc &doc, int x, int y, int width, int height) {
    doc.AppendRawText(FormatString(kLineTemplate, x, y, width, height).c_str());
}

void PrintPackageInfo(ZalLib::EPLDoc &doc, const UpsData &ups) {
    constexpr int kCapacity = sizeof(UpsData::PkgInfoLines) / sizeof(UpsData::PkgInfoLines[0]);
    int count = ups.PkgInfoLineCount < kCapacity ? ups.PkgInfoLineCount : kCapacity;
    int y = kPkgInfoRow;
    for (int i = 0; i < count; ++i) {
        if (doc.PrintText(560, y, "2,1,1", ups.PkgInfoLines[i])) y += kPkgInfoStep;
    }
}

void PrintMarks(ZalLib::EPLDoc &doc, const CommonData &common, const UpsData &ups, bool proactive) {
    if (ups.HandlingText[0] != '\0') {
        bool longFrom = std::strlen(common.From1) > kFromLineLong || std::strlen(common.From2) > kFromLineLong;
        doc.PrintText(longFrom ? 410 : 390, 50, "2,1,1", ups.HandlingText);
    }
    if (ups.ServiceMark[0] != '\0') doc.PrintText(687, 143, "2,3,2", ups.ServiceMark);
    if (proactive) {
        // "PRO" beside the ship-to, and a white P on black at the frame's right end
        doc.PrintText(687, 183, "2,3,2", ups.ProactiveMark);
        doc.PrintText(doc.Dims.Right - 60, 337, "5,1,1", "P");
        doc.DrawXorBox(doc.Dims.Right - 75, 327, 75, 72);
    }
    if (ups.RefrigerationMark[0] == 'R') doc.PrintText(687, 223, "2,3,2", ups.RefrigerationMark);
}

void DrawFrameAndRules(ZalLib::EPLDoc &doc, const JobContext &context) {
    doc.DrawLine(0, kFrameTop, kFrameCorner, 3);
    AppendLineCommand(doc, kFrameCorner, kFrameTop, 3, 240);
    doc.DrawLine(kFrameCorner, 323, doc.Dims.Right - kFrameCorner, 3);
    for (int y : kRules) doc.DrawLine(0, y, doc.Dims.Width, 3);
    if (context.Media.Length > 4.25f) doc.DrawLine(0, 865, doc.Dims.Width, 1);
}

// The MaxiCode area: the heavy package mark replaces the symbol; the routing
// code and the postal bar code follow.
void PrintRoutingArea(ZalLib::EPLDoc &doc, const UpsData &ups, bool proactive) {
    if (Equals(ups.HeavyFlag, "H")) {
        doc.PrintText(80, 365, "4,4,4", ups.HeavyFlag);
    } else {
        doc.DrawMaxicodeBarcode(294, kMaxicode, ups.MaxiCodeData);
    }

    bool routed = false;
    if (!IsBlankText(ups.RoutingCode, sizeof ups.RoutingCode) && Equals(ups.RouteFound, "Y")) {
        routed = doc.PrintTextEx(proactive ? 285 : 320, 330, ZalLib::kFont3, ups.RoutingCode);
    }

    // Up to 8 characters (AI 420 and a 5-digit ZIP) take the wide bars.
    ZalLib::BarcodeDescriptor postal = {"1A", 3, 9, 102, 1, 0};
    int x = 305;
    if (std::strlen(ups.PostalBarcodeData) > 8) {
        postal.NarrowBar = proactive ? 2 : 3;
        postal.WideBar = 6;
        x = proactive ? 315 : 270;
    }
    doc.DrawBarcode(x, routed ? 395 : 365, postal, ups.PostalBarcodeData);
}

void PrintServiceAndTracking(ZalLib::EPLDoc &doc, const LabelRecords &records) {
    const UpsData &ups = records.ups;
    ups::PrintTexts(doc, kService, records);
    if (Equals(ups.ServiceLevel, "0")) {
        AppendLineCommand(doc, 734, 516, 66, 66);  // ground services: a black square
    } else {
        doc.PrintText(635, 524, "5,1,1", ups.ServiceLevel);
    }

    // A shipper number with a letter leaves fewer digit pairs to pack, so
    // the symbol is longer: narrower bars keep it on the label.
    bool longHead = std::strlen(ups.TrackingBarcodeHead) == 10;
    ZalLib::BarcodeDescriptor tracking = {"1", 4, 4, 145, 1, 0};
    if (longHead) tracking.NarrowBar = tracking.WideBar = 3;
    std::string data = std::string(ups.TrackingBarcodeHead) + ups.TrackingBarcodeTail;
    doc.DrawBarcode(longHead ? 95 : 75, 599, tracking, data.c_str());
}

// Lines 5 to 8 have no room on this label.
void PrintBillingLines(ZalLib::EPLDoc &doc, const UpsData &ups) {
    const auto &lines = ups.BillingLines;
    if (Equals(ups.USPSServiceType, "U")) {
        doc.PrintText(10, kBillingRows[0], "4,1,1", lines[0]);
        doc.PrintText(10, kBillingRows[1], "4,1,1", lines[1]);
        return;
    }
    // a COD amount after the billing line is printed large
    bool codAmount = Contains(lines[0], "BILLING:") && ups.ServiceMark[0] == 'C';
    doc.PrintText(10, kBillingRows[0], "4,1,1", lines[0]);
    doc.PrintText(10, kBillingRows[1], codAmount ? "1,2,2" : "4,1,1", lines[1]);
    doc.PrintText(10, kBillingRows[2], "4,1,1", lines[2]);
    doc.PrintText(10, kBillingRows[3], "4,1,1", lines[3]);
}

void PrintReferenceLines(ZalLib::EPLDoc &doc, const UpsData &ups) {
    const JobWideValues &job = JobWide();
    if (!IsBlankText(ups.POLine, sizeof ups.POLine)) {
        doc.PrintText(10, 881, "2,1,1", ups.POLine);
        doc.PrintText(10, 909, "2,1,1", job.Remark);
    } else if (!IsBlankText(job.PONumber, sizeof job.PONumber)) {
        doc.PrintTextParts(10, 881, "2,1,1", {"PO # ", job.PONumber, nullptr});
        doc.PrintText(10, 909, "2,1,1", job.Remark);
    } else {
        doc.PrintText(10, 881, "2,1,1", job.Remark);
    }
}

void PrintBody(ZalLib::EPLDoc &doc, const JobContext &context, const CommonData &common, const UpsData &ups) {
    const LabelRecords records{common, ups};
    bool proactive = ups.ProactiveMark[0] == 'P';

    ups::PrintTexts(doc, kSender, records);
    ups::PrintTexts(doc, kShipTo, records);
    bool longCity = std::strlen(common.ShipTo7) > kCityLineNarrowAbove;
    doc.PrintText(250, 264, longCity ? "2,1,2" : "2,2,2", common.ShipTo7);
    ups::PrintTexts(doc, kCounts, records);
    PrintPackageInfo(doc, ups);
    PrintMarks(doc, common, ups, proactive);
    DrawFrameAndRules(doc, context);
    PrintRoutingArea(doc, ups, proactive);
    PrintServiceAndTracking(doc, records);
    PrintBillingLines(doc, ups);
    ups::PrintTexts(doc, kIndicators, records);
    doc.PrintTextParts(doc.Dims.Right - 290, 850, "1,1,1",
                       {VersionLine(), ups.RoutingVersion, " ", ups.RoutingDate, nullptr});
    if (Equals(common.TestModeFlag, "Y")) {
        PrintTestStamp(doc, doc.GetCenterX(), ups::TestStampRow(context, 650), common.TestID, kStampCentre);
    }
    if (context.Media.Length >= 4.5f) PrintReferenceLines(doc, ups);
}

}  // namespace

// upsPrint4x4
int32_t PrintUpsDomesticLabel(_JobInfoA *job, JobContext *context, bool headerPrefix) {
    static const ups::DocumentLabel kLabel = {kLabelName, "%s%s.%s.txt", "upsPrint4x4", upsFormatData, PrintBody};
    return ups::PrintDocumentLabel(kLabel, job, context, headerPrefix);
}

}  // namespace zal
