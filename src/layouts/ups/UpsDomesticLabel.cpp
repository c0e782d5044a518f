// The UPS domestic smart label (carrier "UPS"): sender, ship-to, MaxiCode
// or the heavy package mark, postal and tracking bar codes, service, billing
// and reference lines, on an EPL document.
#include <cstring>

#include "common/Strings.h"
#include "formatting/ups/LibUPS.h"
#include "layouts/TestStamp.h"
#include "layouts/ups/UpsLabel.h"

namespace zal {
namespace {

using namespace layout;
using namespace ups;
using R = UpsRecords;

// ---------------------------------------------------------------- conditions


// A city line longer than this takes the narrower font.
constexpr std::size_t kCityLineNarrowAbove = 18;

bool LongCity(const R &r) { return std::strlen(Common(r).ShipTo7) > kCityLineNarrowAbove; }
bool ShortCity(const R &r) { return !LongCity(r); }
bool RoutedProactive(const R &r) { return Routed(r) && Proactive(r); }
bool RoutedPlain(const R &r) { return Routed(r) && !Proactive(r); }
// A USPS service type "U" leaves room for two billing lines only.
bool UspsBilling(const R &r) { return Is(Ups(r).USPSServiceType, "U"); }
bool FullBilling(const R &r) { return !UspsBilling(r); }
// A COD amount after the billing line is printed large.
bool CodAmount(const R &r) {
    return FullBilling(r) && Contains(Ups(r).BillingLines[0], "BILLING:") && Ups(r).ServiceMark[0] == 'C';
}
bool PlainSecondBillingLine(const R &r) { return !CodAmount(r); }

const char *Billing(const R &r, int line) { return Ups(r).BillingLines[line]; }
const char *Billing0(const R &r) { return Billing(r, 0); }
const char *Billing1(const R &r) { return Billing(r, 1); }
const char *Billing2(const R &r) { return Billing(r, 2); }
const char *Billing3(const R &r) { return Billing(r, 3); }

// ---------------------------------------------------------------- computed

// The package lines stack down from y 50: a line left out (blank) leaves
// no gap.
void PackageInfo(Canvas &canvas, const R &r) {
    const UpsData &ups = Ups(r);
    constexpr int kCapacity = sizeof(UpsData::PkgInfoLines) / sizeof(UpsData::PkgInfoLines[0]);
    int count = ups.PkgInfoLineCount < kCapacity ? ups.PkgInfoLineCount : kCapacity;
    int y = 50;
    for (int i = 0; i < count; ++i) {
        if (DrawText(canvas, 560, y, "2,1,1", ups.PkgInfoLines[i])) y += 20;
    }
}

// Up to 8 characters (AI 420 and a 5-digit ZIP) take the wide bars; longer
// data narrower ones, narrower still beside the proactive mark.  The bar
// code moves down below a printed routing code.
void PostalBarcode(Canvas &canvas, const R &r) {
    const UpsData &ups = Ups(r);
    bool proactive = Proactive(r);
    ZalLib::BarcodeDescriptor postal = {"1A", 3, 9, 102, 1, 0};
    int x = 305;
    if (std::strlen(ups.PostalBarcodeData) > 8) {
        postal.NarrowBar = proactive ? 2 : 3;
        postal.WideBar = 6;
        x = proactive ? 315 : 270;
    }
    Pieces data;
    data.text[data.count++] = ups.PostalBarcodeData;
    canvas.Barcode(x, Routed(r) ? 395 : 365, 3, 4, postal, data);
}

// ---------------------------------------------------------------- the label

// 0x99 is the trade mark sign of the Windows Latin-1 code page.
constexpr DocumentFrame kFrame = {"UPS Domestic Smart Label" "\x99" " GTL 2020 v1.0", "%s%s.%s.txt",
                                  kUpsLabelsModule, "upsPrint4x4", ZALERR_ZALDOCERR, false};

constexpr ZalLib::MaxicodeDescriptor kMaxicode = {"m2", 0, 0, 0};
constexpr ZalLib::BarcodeDescriptor kTracking = {"1", 4, 4, 145, 1, 0};
constexpr ZalLib::BarcodeDescriptor kTrackingNarrow = {"1", 3, 3, 145, 1, 0};

// The MaxiCode's corner: a rule above it, an upright at its right side down
// to the service rule, and a rule from there to the right edge.
constexpr int kFrameTop = 275;
constexpr int kFrameCorner = 232;

// clang-format off
constexpr Element<R> kBody[] = {
    // sender
    Text<R>(10,  2, "2,1,1", F<&CommonData::FromContact>),
    Text<R>(10, 22, "2,1,1", F<&CommonData::FromPhone>),
    Text<R>(10, 42, "2,1,1", F<&CommonData::From1>),
    Text<R>(10, 62, "2,1,1", F<&CommonData::From2>),
    Text<R>(10, 82, "2,1,1", F<&CommonData::From3>),
    // "SHIP" over "TO:", then the address; ShipTo1 is not printed on this label
    Text<R>(155, 143, "1,2,2", F<&UpsData::ShipTitle>),
    Text<R>(167, 173, "1,2,2", F<&UpsData::ToTitle>),
    Text<R>(250, 143, "4,1,1", F<&CommonData::ShipTo2>),
    Text<R>(250, 167, "4,1,1", F<&CommonData::ShipTo3>),
    Text<R>(250, 191, "4,1,1", F<&CommonData::ShipTo4>),
    Text<R>(250, 215, "4,1,1", F<&CommonData::ShipTo5>),
    Text<R>(250, 239, "4,1,1", F<&CommonData::ShipTo6>),
    Text<R>(250, 264, "2,1,2", F<&CommonData::ShipTo7>).When(LongCity),
    Text<R>(250, 264, "2,2,2", F<&CommonData::ShipTo7>).When(ShortCity),
    // weight, package count and the package lines
    Text<R>(400, 5, "2,2,2", F<&UpsData::WeightText>),
    Text<R>(670, 5, "1,2,2", F<&UpsData::PackageCountText>),
    Call<R>(PackageInfo),
    // marks
    Text<R>(410, 50, "2,1,1", F<&UpsData::HandlingText>).When(HandlingBesideLongFrom),
    Text<R>(390, 50, "2,1,1", F<&UpsData::HandlingText>).When(HandlingBesideShortFrom),
    Text<R>(687, 143, "2,3,2", F<&UpsData::ServiceMark>).When(ServiceMarked),
    // "PRO" beside the ship-to, and a white P on black at the frame's right end
    Text<R>(687, 183, "2,3,2", F<&UpsData::ProactiveMark>).When(Proactive),
    Text<R>(60, 337, "5,1,1", "P").Flag(kFromRight).When(Proactive),
    XorLine<R>(75, 327, 75, 72).Flag(kFromRight).When(Proactive),
    Text<R>(687, 223, "2,3,2", F<&UpsData::RefrigerationMark>).When(Refrigerated),
    // frame and rules
    Line<R>(0, kFrameTop, kFrameCorner, 3),
    Line<R>(kFrameCorner, kFrameTop, 3, 240),
    Line<R>(kFrameCorner, 323, 0, 3).Flag(kToRightEdge),
    Line<R>(0, 515, 0, 3).Flag(kFullWidth),
    Line<R>(0, 582, 0, 3).Flag(kFullWidth),
    Line<R>(0, 759, 0, 3).Flag(kFullWidth),
    Line<R>(0, 865, 0, 1).Flag(kFullWidth).When(TallerThan4x4),
    // the MaxiCode area: the heavy package mark replaces the symbol
    Text<R>(80, 365, "4,4,4", F<&UpsData::HeavyFlag>).When(Heavy),
    Maxicode<R>(294, kMaxicode, F<&UpsData::MaxiCodeData>).When(NotHeavy),
    Text<R>(285, 330, "3,2,3", F<&UpsData::RoutingCode>).When(RoutedProactive),
    Text<R>(320, 330, "3,2,3", F<&UpsData::RoutingCode>).When(RoutedPlain),
    Call<R>(PostalBarcode),
    // service and tracking; ground services show a black square
    Text<R>(10, 523, "2,2,2", F<&UpsData::ServiceName>),
    Text<R>(10, 557, "4,1,1", F<&UpsData::TrackingText>),
    Line<R>(734, 516, 66, 66).When(GroundService),
    Text<R>(635, 524, "5,1,1", F<&UpsData::ServiceLevel>).When(AirService),
    Barcode<R>(95, 599, kTrackingNarrow, F<&UpsData::TrackingBarcodeHead>, F<&UpsData::TrackingBarcodeTail>)
        .When(LongTrackingHead),
    Barcode<R>(75, 599, kTracking, F<&UpsData::TrackingBarcodeHead>, F<&UpsData::TrackingBarcodeTail>)
        .When(ShortTrackingHead),
    // billing: lines 5 to 8 have no room on this label
    Text<R>(10, 767, "4,1,1", Billing0),
    Text<R>(10, 791, "1,2,2", Billing1).When(CodAmount),
    Text<R>(10, 791, "4,1,1", Billing1).When(PlainSecondBillingLine),
    Text<R>(10, 815, "4,1,1", Billing2).When(FullBilling),
    Text<R>(10, 839, "4,1,1", Billing3).When(FullBilling),
    // document indicators, the version line and the test stamp
    Text<R>(500, 766, "2,3,2", F<&UpsData::DocumentIndicator>),
    Text<R>(655, 801, "4,1,1", F<&UpsData::CustomsDocuments>),
    Text<R>(290, 850, "1,1,1", VersionLine, F<&UpsData::RoutingVersion>, " ", F<&UpsData::RoutingDate>)
        .Flag(kFromRight),
    Include(TestStamp<R, &CommonData::TestID, 650>).When(InTestMode),
    // reference lines
    Text<R>(10, 881, "2,1,1", F<&UpsData::POLine>).When(HasPoLine),
    Text<R>(10, 881, "2,1,1", "PO # ", F<&JobWideValues::PONumber>).When(HasPoNumberOnly),
    Text<R>(10, 909, "2,1,1", F<&JobWideValues::Remark>).When(HasPurchaseOrder),
    Text<R>(10, 881, "2,1,1", F<&JobWideValues::Remark>).When(RemarkAlone),
};
// clang-format on

}  // namespace

// upsPrint4x4
int32_t PrintUpsDomesticLabel(LabelContext &label) { return ups::PrintUpsLabel(kFrame, upsFormatData, kBody, label); }

}  // namespace zal
