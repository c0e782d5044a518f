// The UPS international and Puerto Rico smart labels (carriers "UPSINT" and
// "UPSPR"): sender with its country, ship-to with the destination country,
// MaxiCode, postal and tracking bar codes, service, billing, customs and
// reference lines, on an EPL document; each followed by the paperless
// invoice when the job is a paperless invoice shipment.
#include <cstring>
#include <memory>
#include <string>

#include "common/ErrorCodes.h"
#include "common/Strings.h"
#include "formatting/ups/LibUPS.h"
#include "layouts/TestStamp.h"
#include "layouts/ups/UpsLabel.h"
#include "layouts/ups/UpsPaperlessInvoice.h"

namespace zal {
namespace {

using namespace layout;
using namespace ups;
using R = UpsRecords;

// ---------------------------------------------------------------- conditions


// A city line longer than this takes the narrower font.
constexpr std::size_t kCityLineNarrowAbove = 18;
// A postal code of up to 5 characters takes the wide postal bars.
constexpr std::size_t kShortPostalCode = 5;

bool LongCity(const R &r) { return std::strlen(Common(r).ShipTo7) > kCityLineNarrowAbove; }
bool ShortCity(const R &r) { return !LongCity(r); }
// Without a printed routing code the readable postal code takes its place.
bool PostalTitled(const R &r) {
    const UpsData &ups = Ups(r);
    return !Routed(r) && !IsBlankText(ups.PostalTitle, sizeof ups.PostalTitle);
}
bool Isc(const R &r) { return Is(Ups(r).ISCFlag, "Y") || Is(Ups(r).ISCFlag, "B"); }

template <int Line>
const char *Billing(const R &r) {
    return Ups(r).BillingLines[Line];
}

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

// A postal code of up to five characters takes the wide bars, a longer one
// narrower bars further left; the bar code moves down below a printed
// routing code or readable postal code.  It is written even when empty.
void PostalBarcodeAt(Canvas &canvas, const R &r, const char *data) {
    const bool shortCode = std::strlen(Common(r).ShipToZip) <= kShortPostalCode;
    const ZalLib::BarcodeDescriptor postal = {"1A", 3, static_cast<int16_t>(shortCode ? 9 : 6), 102, 1, 0};
    Pieces pieces;
    pieces.text[pieces.count++] = data;
    canvas.Barcode(shortCode ? 305 : 270, Routed(r) || PostalTitled(r) ? 395 : 365, 3, 4, postal, pieces);
}

void InternationalPostalBarcode(Canvas &canvas, const R &r) { PostalBarcodeAt(canvas, r, Ups(r).PostalBarcodeData); }

// Puerto Rico: the first ten characters (AI, country and the start of the
// ZIP) in code set C, the rest after a switch to code set B.
std::string PuertoRicoPostalData(const char *data) {
    const std::string text = data;
    constexpr std::size_t kSetCChars = 10;
    return ">;" + text.substr(0, kSetCChars) + ">6" + (text.size() > kSetCChars ? text.substr(kSetCChars) : "");
}

void PuertoRicoPostalBarcode(Canvas &canvas, const R &r) {
    PostalBarcodeAt(canvas, r, PuertoRicoPostalData(Ups(r).PostalBarcodeData).c_str());
}

// ---------------------------------------------------------------- shared blocks

// The MaxiCode's corner: a rule above it, an upright at its right side down
// to the service rule, and a rule from there to the right edge.
constexpr int kFrameTop = 275;
constexpr int kFrameCorner = 232;

// clang-format off
// Sender with its country, ship-to with the destination country, package
// count and lines, handling.
constexpr Element<R> kAddresses[] = {
    Text<R>(10,   2, "2,1,1", F<&CommonData::FromContact>),
    Text<R>(10,  22, "2,1,1", F<&CommonData::FromPhone>),
    Text<R>(10,  42, "2,1,1", F<&CommonData::From1>),
    Text<R>(10,  62, "2,1,1", F<&CommonData::From2>),
    Text<R>(10,  82, "2,1,1", F<&CommonData::From3>),
    Text<R>(10, 102, "2,1,1", F<&CommonData::FromCountry>),
    // "SHIP" over "TO:", then the address; ShipTo1 is not printed on these labels
    Text<R>(155, 143, "1,2,2", F<&UpsData::ShipTitle>),
    Text<R>(167, 173, "1,2,2", F<&UpsData::ToTitle>),
    Text<R>(250, 143, "4,1,1", F<&CommonData::ShipTo2>),
    Text<R>(250, 167, "4,1,1", F<&CommonData::ShipTo3>),
    Text<R>(250, 191, "4,1,1", F<&CommonData::ShipTo4>),
    Text<R>(250, 215, "4,1,1", F<&CommonData::ShipTo5>),
    Text<R>(250, 239, "4,1,1", F<&CommonData::ShipTo6>),
    Text<R>(250, 264, "2,1,2", F<&CommonData::ShipTo7>).When(LongCity),
    Text<R>(250, 264, "2,2,2", F<&CommonData::ShipTo7>).When(ShortCity),
    Text<R>(250, 294, "2,2,2", F<&CommonData::ShipToCountry>),
};

constexpr Element<R> kPackageLines[] = {
    Text<R>(670, 5, "1,2,2", F<&UpsData::PackageCountText>),
    Call<R>(PackageInfo),
    Text<R>(410, 50, "2,1,1", F<&UpsData::HandlingText>).When(HandlingBesideLongFrom),
    Text<R>(390, 50, "2,1,1", F<&UpsData::HandlingText>).When(HandlingBesideShortFrom),
};

constexpr Element<R> kRefrigerationFrameAndRules[] = {
    Text<R>(687, 223, "3,2,3", F<&UpsData::RefrigerationMark>).When(Refrigerated),
    Line<R>(0, kFrameTop, kFrameCorner, 3),
    Line<R>(kFrameCorner, kFrameTop, 3, 240),
    Line<R>(kFrameCorner, 323, 0, 3).Flag(kToRightEdge),
    Line<R>(0, 515, 0, 3).Flag(kFullWidth),
    Line<R>(0, 582, 0, 3).Flag(kFullWidth),
    Line<R>(0, 759, 0, 3).Flag(kFullWidth),
    Line<R>(0, 865, 0, 1).Flag(kFullWidth).When(TallerThan4x4),
};

// Beside the MaxiCode: the routing code, or else the readable postal code.
constexpr Element<R> kRouting[] = {
    Text<R>(320, 330, "3,2,3", F<&UpsData::RoutingCode>).When(Routed),
    Text<R>(280, 330, "3,2,3", F<&UpsData::PostalTitle>).When(PostalTitled),
};

// Service and tracking number; ground services show a black square.
constexpr Element<R> kService[] = {
    Text<R>(10, 523, "2,2,2", F<&UpsData::ServiceName>),
    Text<R>(10, 557, "4,1,1", F<&UpsData::TrackingText>),
    Line<R>(734, 516, 66, 66).When(GroundService),
    Text<R>(635, 524, "5,1,1", F<&UpsData::ServiceLevel>).When(AirService),
};

// Billing lines 1 to 4 (5 to 8 have no room) and the document indicator.
constexpr Element<R> kBilling[] = {
    Text<R>(10, 767, "4,1,1", &Billing<0>),
    Text<R>(10, 791, "4,1,1", &Billing<1>),
    Text<R>(10, 815, "4,1,1", &Billing<2>),
    Text<R>(10, 839, "4,1,1", &Billing<3>),
    Text<R>(500, 766, "2,3,2", F<&UpsData::DocumentIndicator>),
};

constexpr Element<R> kIscAndVersion[] = {
    Text<R>(655, 825, "4,1,1", F<&UpsData::ISCText>).When(Isc),
    Text<R>(290, 850, "1,1,1", VersionLine, F<&UpsData::RoutingVersion>, " ", F<&UpsData::RoutingDate>)
        .Flag(kFromRight),
};

constexpr Element<R> kReferences[] = {
    Text<R>(10, 881, "2,1,1", F<&UpsData::POLine>).When(HasPoLine),
    Text<R>(10, 881, "2,1,1", "PO # ", F<&JobWideValues::PONumber>).When(HasPoNumberOnly),
    Text<R>(10, 909, "2,1,1", F<&JobWideValues::Remark>).When(HasPurchaseOrder),
    Text<R>(10, 881, "2,1,1", F<&JobWideValues::Remark>).When(RemarkAlone),
};

// The international label's test stamp stands higher on tall media.
constexpr int kIntlStampTallRow = 1050;
constexpr int kStampShortRow = 650;

// ---------------------------------------------------------------- the labels

constexpr ZalLib::MaxicodeDescriptor kIntlMaxicode = {"m3", 0, 0, 0};
constexpr ZalLib::MaxicodeDescriptor kDomesticMaxicode = {"m2", 0, 0, 0};
constexpr ZalLib::BarcodeDescriptor kTracking = {"1", 4, 4, 145, 1, 0};
constexpr ZalLib::BarcodeDescriptor kTrackingNarrow = {"1", 3, 3, 145, 1, 0};

constexpr Element<R> kInternational[] = {
    Include(kAddresses),
    Text<R>(390, 5, "2,2,2", F<&UpsData::WeightText>).When(BoxWeight),
    Text<R>(400, 5, "2,2,2", F<&UpsData::WeightText>).When(OtherWeight),
    Include(kPackageLines),
    Text<R>(687, 143, "2,3,2", F<&UpsData::ServiceMark>).When(ServiceMarked),
    Include(kRefrigerationFrameAndRules),
    // always the symbol, heavy or not
    Maxicode<R>(294, kIntlMaxicode, F<&UpsData::MaxiCodeData>),
    Include(kRouting),
    Call<R>(InternationalPostalBarcode),
    Include(kService),
    Barcode<R>(80, 599, kTrackingNarrow, F<&UpsData::TrackingBarcodeHead>, F<&UpsData::TrackingBarcodeTail>)
        .When(LongTrackingHead),
    Barcode<R>(80, 599, kTracking, F<&UpsData::TrackingBarcodeHead>, F<&UpsData::TrackingBarcodeTail>)
        .When(ShortTrackingHead),
    Include(kBilling),
    Text<R>(605, 801, "4,1,1", F<&UpsData::CustomsDocuments>),
    Include(kIscAndVersion),
    Include(TestStamp<R, &CommonData::TestID, kStampShortRow, kIntlStampTallRow>).When(InTestMode),
    Include(kReferences),
};

constexpr Element<R> kPuertoRico[] = {
    Include(kAddresses),
    Text<R>(400, 5, "2,2,2", F<&UpsData::WeightText>),
    Include(kPackageLines),
    Text<R>(687, 143, "3,2,3", F<&UpsData::ServiceMark>).When(ServiceMarked),
    // "PRO" beside the ship-to, and a white P on a black square at the frame's right end
    Text<R>(687, 183, "3,2,3", F<&UpsData::ProactiveMark>).When(Proactive),
    Line<R>(75, 327, 75, 72).Flag(kFromRight).When(Proactive),
    Text<R>(68, 335, "5,1,1", "P").Flag(kFromRight | kInverse).When(Proactive),
    Include(kRefrigerationFrameAndRules),
    // the heavy package mark replaces the symbol
    Text<R>(80, 365, "4,4,4", F<&UpsData::HeavyFlag>).When(Heavy),
    Maxicode<R>(294, kDomesticMaxicode, F<&UpsData::MaxiCodeData>).When(NotHeavy),
    Include(kRouting),
    Call<R>(PuertoRicoPostalBarcode),
    Include(kService),
    Barcode<R>(95, 599, kTrackingNarrow, F<&UpsData::TrackingBarcodeHead>, F<&UpsData::TrackingBarcodeTail>)
        .When(LongTrackingHead),
    Barcode<R>(75, 599, kTracking, F<&UpsData::TrackingBarcodeHead>, F<&UpsData::TrackingBarcodeTail>)
        .When(ShortTrackingHead),
    Include(kBilling),
    Text<R>(655, 801, "4,1,1", F<&UpsData::CustomsDocuments>),
    Include(kIscAndVersion),
    Include(TestStamp<R, &CommonData::TestID, kStampShortRow>).When(InTestMode),
    Include(kReferences),
};
// clang-format on

// 0x99 is the trade mark sign of the Windows Latin-1 code page.
constexpr DocumentFrame kIntlFrame = {"UPS International Smart Label" "\x99" " GTL 2020 v1.0", "%s%s.%s.txt",
                                      kUpsLabelsModule, "upsPrintIntl4x4", ZALERR_ZALDOCERR, false};
constexpr DocumentFrame kPuertoRicoFrame = {"UPS Domestic to Puerto Rico Smart Label" "\x99" " GTL 2020 v1.0",
                                            "%s%s.%s.txt", kUpsLabelsModule, "upsPrintPR4x4", ZALERR_ZALDOCERR,
                                            false};

// The smart label, then, when it printed and the job is a paperless invoice
// shipment, the invoice from the same records: its result is the label's.
template <std::size_t N>
int32_t PrintSmartLabel(const DocumentFrame &frame, const Element<R> (&body)[N], LabelContext &label) {
    return Guarded(frame.module, frame.routine, [&]() -> int32_t {
        auto common = std::unique_ptr<CommonData>(new CommonData);  // the formatting clears it
        auto ups = NewUpsData();
        if (!upsFormatData(*ups, *common, label)) return ZALERR_LABEL_DATAERROR;
        const R records(label, frame.name, *common, *ups);
        const int32_t result = PrintDocument(frame, label, common->xlabelc1, common->xlabelc2,
                                             [&](Canvas &canvas) { Draw(canvas, body, records); });
        if (result != ZALERR_SUCCESS || !Is(ups->PaperlessFlag, "Y")) return result;
        return PrintUpsPaperlessInvoice(label, *common, *ups);
    });
}

}  // namespace

// upsPrintIntl4x4
int32_t PrintUpsInternationalLabel(LabelContext &label) { return PrintSmartLabel(kIntlFrame, kInternational, label); }

// upsPrintPR4x4
int32_t PrintUpsPuertoRicoLabel(LabelContext &label) { return PrintSmartLabel(kPuertoRicoFrame, kPuertoRico, label); }

}  // namespace zal
