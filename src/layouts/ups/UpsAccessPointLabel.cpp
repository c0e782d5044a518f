// The UPS Access Point label (carrier "UPSAP"): applied to the package by
// the shipper, it names the consignee for whom the access point holds it.
#include <cstring>

#include "documents/EPLDoc.h"
#include "formatting/CommonData.h"
#include "formatting/ups/UpsAccessPoint.h"
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
constexpr const char *kLabelName = "UPS Access Point" "\x99" " GTL 2020 v1.0";

constexpr const char *kInstruction = "PLEASE APPLY THIS LABEL TO PACKAGE";
constexpr const char *kHoldTitle = "HOLD AT UPS ACCESS POINT FOR:";

// clang-format off
// "SHIP" over "FROM:", the sender beside them, the tracking number below.
const TextElement kSender[] = {
    { 15,  95, "1,2,2", UpsText<&UpsData::ShipTitle>},
    { 15, 123, "1,2,2", UpsText<&UpsData::FromTitle>},
    {120,  95, "3,1,1", CommonText<&CommonData::FromContact>},
    {120, 120, "3,1,1", CommonText<&CommonData::FromPhone>},
    {120, 145, "3,1,1", CommonText<&CommonData::From1>},
    { 20, 187, "1,2,2", UpsText<&UpsData::TrackingText>},
};

const TextElement kConsignee[] = {
    {15, 305, "4,1,1", CommonText<&CommonData::ShipTo1>},
    {15, 330, "4,1,1", CommonText<&CommonData::ShipTo2>},
    {15, 355, "4,1,1", CommonText<&CommonData::ShipTo3>},
    {15, 380, "4,1,1", CommonText<&CommonData::ShipTo4>},
    {15, 405, "4,1,1", CommonText<&CommonData::ShipTo5>},
    {15, 430, "4,1,1", CommonText<&CommonData::ShipTo6>},
    {15, 455, "4,1,1", CommonText<&CommonData::ShipTo7>},
    {15, 480, "4,1,1", CommonText<&CommonData::ShipToCountry>},
};
// clang-format on

// "D2R" fits beside the title at the right; "D2R/D2A" starts further left.
constexpr std::size_t kShortCode = 3;

void PrintBody(ZalLib::EPLDoc &doc, const JobContext &context, const CommonData &common, const UpsData &ups) {
    const LabelRecords records{common, ups};
    doc.PrintText(130, 20, "3,1,2", kInstruction);
    doc.DrawLine(0, 80, doc.Dims.Width, 3);
    ups::PrintTexts(doc, kSender, records);
    doc.DrawLine(0, 230, doc.Dims.Width, 3);
    doc.PrintText(15, 255, "1,2,2", kHoldTitle);
    doc.PrintText(std::strlen(ups.AccessPointCode) <= kShortCode ? 670 : 570, 275, "4,2,2", ups.AccessPointCode);
    ups::PrintTexts(doc, kConsignee, records);
    if (std::strcmp(ups.TestModeFlag, "Y") == 0) {
        PrintTestStamp(doc, doc.GetCenterX(), ups::TestStampRow(context, 650), common.TestID, kStampCentre);
    }
}

bool Format(UpsData &ups, CommonData &common, const _JobInfoA *job) {
    return upsAccessPointFormatData(ups, common, job->JobFile);
}

}  // namespace

// upsAccessPointPrint
int32_t PrintUpsAccessPointLabel(_JobInfoA *job, JobContext *context, bool headerPrefix) {
    static const ups::DocumentLabel kLabel = {kLabelName, "%s%s-AP.%s.txt", "upsAccessPointPrint", Format, PrintBody};
    return ups::PrintDocumentLabel(kLabel, job, context, headerPrefix);
}

}  // namespace zal
