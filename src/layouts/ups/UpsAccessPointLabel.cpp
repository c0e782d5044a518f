// The UPS Access Point label (carrier "UPSAP"): applied to the package by
// the shipper, it names the consignee for whom the access point holds it.
#include <cstring>

#include "formatting/ups/UpsAccessPoint.h"
#include "layouts/TestStamp.h"
#include "layouts/ups/UpsLabel.h"

namespace zal {
namespace {

using namespace layout;
using ups::F;
using R = ups::UpsRecords;

// "D2R" fits beside the title at the right; "D2R/D2A" starts further left.
constexpr std::size_t kShortCode = 3;

bool ShortCode(const R &r) { return std::strlen(r.Of<UpsData>().AccessPointCode) <= kShortCode; }
bool LongCode(const R &r) { return !ShortCode(r); }
bool InTestMode(const R &r) { return std::strcmp(r.Of<UpsData>().TestModeFlag, "Y") == 0; }

// 0x99 is the trade mark sign of the Windows Latin-1 code page.
constexpr DocumentFrame kFrame = {"UPS Access Point" "\x99" " GTL 2020 v1.0", "%s%s-AP.%s.txt",
                                  kUpsLabelsModule, "upsAccessPointPrint", ZALERR_ZALDOCERR, false};

// clang-format off
constexpr Element<R> kBody[] = {
    Text<R>(130, 20, "3,1,2", "PLEASE APPLY THIS LABEL TO PACKAGE"),
    Line<R>(0, 80, 0, 3).Flag(kFullWidth),
    // "SHIP" over "FROM:", the sender beside them, the tracking number below
    Text<R>( 15,  95, "1,2,2", F<&UpsData::ShipTitle>),
    Text<R>( 15, 123, "1,2,2", F<&UpsData::FromTitle>),
    Text<R>(120,  95, "3,1,1", F<&CommonData::FromContact>),
    Text<R>(120, 120, "3,1,1", F<&CommonData::FromPhone>),
    Text<R>(120, 145, "3,1,1", F<&CommonData::From1>),
    Text<R>( 20, 187, "1,2,2", F<&UpsData::TrackingText>),
    Line<R>(0, 230, 0, 3).Flag(kFullWidth),
    // the consignee
    Text<R>(15, 255, "1,2,2", "HOLD AT UPS ACCESS POINT FOR:"),
    Text<R>(670, 275, "4,2,2", F<&UpsData::AccessPointCode>).When(ShortCode),
    Text<R>(570, 275, "4,2,2", F<&UpsData::AccessPointCode>).When(LongCode),
    Text<R>(15, 305, "4,1,1", F<&CommonData::ShipTo1>),
    Text<R>(15, 330, "4,1,1", F<&CommonData::ShipTo2>),
    Text<R>(15, 355, "4,1,1", F<&CommonData::ShipTo3>),
    Text<R>(15, 380, "4,1,1", F<&CommonData::ShipTo4>),
    Text<R>(15, 405, "4,1,1", F<&CommonData::ShipTo5>),
    Text<R>(15, 430, "4,1,1", F<&CommonData::ShipTo6>),
    Text<R>(15, 455, "4,1,1", F<&CommonData::ShipTo7>),
    Text<R>(15, 480, "4,1,1", F<&CommonData::ShipToCountry>),
    Include(TestStamp<R, &CommonData::TestID, 650>).When(InTestMode),
};
// clang-format on

bool Format(UpsData &ups, CommonData &common, LabelContext &label) {
    return upsAccessPointFormatData(ups, common, label);
}

}  // namespace

// upsAccessPointPrint
int32_t PrintUpsAccessPointLabel(LabelContext &label) { return ups::PrintUpsLabel(kFrame, Format, kBody, label); }

}  // namespace zal
