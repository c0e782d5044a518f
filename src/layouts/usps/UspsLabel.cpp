// The USPS label of the 2012 generation (carrier "POS"): class box and
// trademark line, indicia box, package facts, service banner, sender and
// addressee, and the IMpb, Priority Mail Express or ZIP routing bar code,
// string-built.
#include <cstdint>
#include <cstring>

#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "common/Log.h"
#include "common/Modules.h"
#include "common/Strings.h"
#include "formatting/CommonData.h"
#include "formatting/usps/UspsData.h"
#include "layouts/engine/Frame.h"

namespace zal {
namespace {

using namespace layout;

// What the layout decides once from the records, in the order the label's
// rules are tried.
struct UspsChoices {
    enum class ClassBox : uint8_t { None, Letters, FirstClassLetters, Square };
    enum class Indicia : uint8_t { Express, InternationalFee, International, DomesticFee, Domestic };
    enum class Barcode : uint8_t { None, Impb, Express, Routing5, Routing9 };
    ClassBox classBox;
    Indicia indicia;
    Barcode barcode;
    char zip5[6];            // the ZIP in the IMpb bar code
    char routingDigits[30];  // the digits of the ZIP
    char routingZip5[6];     // the caption of a nine-digit routing bar code
};

using R = Records<CommonData, UspsData, UspsChoices>;
template <auto Member>
constexpr auto F = &FieldText<Member, R>;

bool Is(const char *text, const char *value) { return std::strcmp(text, value) == 0; }

// ---------------------------------------------------------------- choices

// An IMpb tracking number has 26 characters.
constexpr std::size_t kImpbLength = 26;

UspsChoices::ClassBox ClassBoxOf(const UspsData &usps) {
    using C = UspsChoices::ClassBox;
    const char *code = usps.ClassCode;
    if (usps.InternationalFlag[0] == 'Y') return C::None;
    if (Contains("P,F,E,G", code)) return C::Letters;
    if (Contains("PP,PS", code)) return C::Square;
    if (Is(code, "FCM")) return C::FirstClassLetters;
    if (code[0] == 'D' && usps.ExpressFlag != 'Y') return C::Square;
    return C::None;
}

UspsChoices::Indicia IndiciaOf(const UspsData &usps) {
    using I = UspsChoices::Indicia;
    const bool fee = usps.FeeLine[0] != '\0';
    if (usps.ExpressFlag == 'Y') return I::Express;
    if (usps.InternationalFlag[0] == 'Y') return fee ? I::InternationalFee : I::International;
    return fee ? I::DomesticFee : I::Domestic;
}

UspsChoices::Barcode BarcodeOf(const UspsData &usps, const UspsChoices &choices) {
    using B = UspsChoices::Barcode;
    if (std::strlen(usps.TrackingNumber) == kImpbLength) return B::Impb;
    if (usps.ExpressFlag == 'Y') return B::Express;
    if (usps.PostalRoutingFlag[0] == 'Y') {
        std::size_t digits = std::strlen(choices.routingDigits);
        if (digits == 5) return B::Routing5;
        if (digits == 9) return B::Routing9;
    }
    return B::None;
}

UspsChoices ChoicesFor(const UspsData &usps, const CommonData &common) {
    UspsChoices c = {};
    c.classBox = ClassBoxOf(usps);
    c.indicia = IndiciaOf(usps);
    CopyText(c.zip5, common.ShipToZip);
    KeepDigits(c.routingDigits, common.ShipToZip);
    CopyText(c.routingZip5, c.routingDigits);
    c.barcode = BarcodeOf(usps, c);
    return c;
}

// ---------------------------------------------------------------- conditions

const UspsData &Usps(const R &r) { return r.Of<UspsData>(); }
const UspsChoices &Choices(const R &r) { return r.Of<UspsChoices>(); }

template <UspsChoices::ClassBox V>
bool ClassBoxIs(const R &r) { return Choices(r).classBox == V; }
template <UspsChoices::Indicia V>
bool IndiciaIs(const R &r) { return Choices(r).indicia == V; }
template <UspsChoices::Barcode V>
bool BarcodeIs(const R &r) { return Choices(r).barcode == V; }

bool International(const R &r) { return Usps(r).InternationalFlag[0] == 'Y'; }
bool Domestic(const R &r) { return !International(r); }
bool Express(const R &r) { return Usps(r).ExpressFlag == 'Y'; }
bool OtherService(const R &r) { return !Express(r); }
bool HasArticle(const R &r) { return Usps(r).ArticleNumber[0] != '\0'; }
bool HasFromPhone(const R &r) { return r.Of<CommonData>().FromPhone[0] != '\0'; }
bool HasInvoice(const R &r) { return OtherService(r) && Usps(r).InvoiceNumber[0] != '\0'; }
// The last address line: First-Class Mail in font 2, a foreign one in font 2
// above the country, any other in font 3.
bool FirstClass(const R &r) { return Is(Usps(r).ClassCode, "FCM"); }
bool ForeignLastLine(const R &r) { return !FirstClass(r) && International(r); }
bool PlainLastLine(const R &r) { return !FirstClass(r) && !International(r); }
// The Express banner moves right when no signature is asked for.
bool ExpressWaiver(const R &r) { return BarcodeIs<UspsChoices::Barcode::Express>(r) && Usps(r).WaiverFlag[0] == 'Y'; }
bool ExpressSignature(const R &r) {
    return BarcodeIs<UspsChoices::Barcode::Express>(r) && Usps(r).WaiverFlag[0] != 'Y';
}

// ---------------------------------------------------------------- computed

// The service-type banner stands centred over the IMpb bar code: its x by
// its text; a banner not listed prints no line.
struct BannerPlace {
    const char *banner;
    int x;
};
// clang-format off
const BannerPlace kBannerPlaces[] = {
    {"USPS TRACKING #",                292},
    {"USPS SIGNATURE TRACKING #",      227},
    {"USPS COD SIGNATURE TRACKING #",  195},
    {"USPS CERTIFIED MAIL",            265},
    {"USPS REGISTERED MAIL COD",       232},
    {"USPS ADULT SIG/RESTR DEL",       230},
    {"USPS PARCEL RETURN SERVICE",     215},
    {"USPS RECYCLE RETURN SERVICE",    210},
    {"USPS SCAN AT ACCEPTANCE",        237},
    {"USPS SIGNATURE TRACKING NUMBER", 187},
    {"USPS REGISTERED MAIL",           258},
    {"USPS ADULT SIGNATURE",           258},
    {"USPS SCAN ON ARRIVAL",           258},
    {"USPS TRACKING NUMBER",           258},
};
// clang-format on

void ImpbBanner(Canvas &canvas, const R &r) {
    const char *banner = Usps(r).ServiceTypeBanner;
    for (const BannerPlace &place : kBannerPlaces) {
        if (!Is(banner, place.banner)) continue;
        Pieces pieces;
        pieces.text[pieces.count++] = banner;
        canvas.Text({place.x, 836, 0, "3,1,2", false, 3, 4, pieces});
        return;
    }
}

// ---------------------------------------------------------------- the label

constexpr LegacyFrame kFrame = {ZalLib::MemoryCommand::M132, ZalLib::HeaderForm::A, "05/14"};

// GS1-128 with application identifier 420 and the ZIP, a function-1
// separator, then the tracking number: the data are written whole in the
// pieces (F1"420" <zip> "F1" <tracking> ").
constexpr ZalLib::BarcodeDescriptor kImpb = {"1C", 3, 7, 155, 0, 0};
constexpr ZalLib::BarcodeDescriptor kExpressCode39 = {"3", 3, 8, 155, 1, 0};
constexpr ZalLib::BarcodeDescriptor kRouting = {"1E", 3, 7, 150, 1, 0};

using C = UspsChoices::ClassBox;
using I = UspsChoices::Indicia;
using B = UspsChoices::Barcode;

// clang-format off
constexpr Element<R> kBody[] = {
    // class box and trademark line (domestic)
    Box<R>(15, 10, 203, 203, 4).When(ClassBoxIs<C::Letters>),
    Text<R>(70, 40, "5,3,3", F<&UspsData::ClassCode>).When(ClassBoxIs<C::Letters>),
    XorLine<R>(15, 10, 203, 204).When(ClassBoxIs<C::Square>),
    Box<R>(15, 10, 203, 203, 4).When(ClassBoxIs<C::FirstClassLetters>),
    Text<R>(65, 64, "5,1,2", F<&UspsData::ClassCode>).When(ClassBoxIs<C::FirstClassLetters>),
    Text<R>(22, 1160, "1,1,1", F<&UspsData::TrademarkLine>).When(Domestic),
    // indicia box
    Box<R>(380, 10, 380, 95, 2).When(IndiciaIs<I::Express>),
    Text<R>(390, 20, "2,1,1", F<&UspsData::Service>).When(IndiciaIs<I::Express>),
    Text<R>(390, 40, "2,1,1", F<&UspsData::IndiciaLine>).When(IndiciaIs<I::Express>),
    Text<R>(390, 60, "2,1,1", F<&UspsData::ExpressBoxTitle>).When(IndiciaIs<I::Express>),
    Text<R>(390, 80, "2,1,1", F<&UspsData::ExpressAccount>).When(IndiciaIs<I::Express>),
    Box<R>(359, 10, 427, 115, 4).When(IndiciaIs<I::InternationalFee>),
    Text<R>(369, 20, "2,1,1", F<&UspsData::ServiceBanner>).When(IndiciaIs<I::InternationalFee>),
    Text<R>(369, 40, "2,1,1", F<&UspsData::IndiciaLine>).When(IndiciaIs<I::InternationalFee>),
    Text<R>(369, 60, "2,1,1", F<&UspsData::FeeLine>).When(IndiciaIs<I::InternationalFee>),
    Text<R>(369, 80, "2,1,1", F<&UspsData::EntryPoint>).When(IndiciaIs<I::InternationalFee>),
    Text<R>(369, 100, "2,1,1", F<&UspsData::PermitLine>).When(IndiciaIs<I::InternationalFee>),
    Box<R>(359, 10, 427, 95, 4).When(IndiciaIs<I::International>),
    Text<R>(369, 20, "2,1,1", F<&UspsData::ServiceBanner>).When(IndiciaIs<I::International>),
    Text<R>(369, 40, "2,1,1", F<&UspsData::IndiciaLine>).When(IndiciaIs<I::International>),
    Text<R>(369, 60, "2,1,1", F<&UspsData::EntryPoint>).When(IndiciaIs<I::International>),
    Text<R>(369, 80, "2,1,1", F<&UspsData::PermitLine>).When(IndiciaIs<I::International>),
    Box<R>(380, 10, 380, 95, 2).When(IndiciaIs<I::DomesticFee>),
    Text<R>(390, 20, "2,1,1", F<&UspsData::IndiciaLine>).When(IndiciaIs<I::DomesticFee>),
    Text<R>(390, 40, "2,1,1", F<&UspsData::FeeLine>).When(IndiciaIs<I::DomesticFee>),
    Text<R>(390, 60, "2,1,1", F<&UspsData::EntryPoint>).When(IndiciaIs<I::DomesticFee>),
    Text<R>(390, 80, "2,1,1", F<&UspsData::PermitLine>).When(IndiciaIs<I::DomesticFee>),
    Box<R>(380, 10, 380, 75, 2).When(IndiciaIs<I::Domestic>),
    Text<R>(390, 20, "2,1,1", F<&UspsData::IndiciaLine>).When(IndiciaIs<I::Domestic>),
    Text<R>(390, 40, "2,1,1", F<&UspsData::EntryPoint>).When(IndiciaIs<I::Domestic>),
    Text<R>(390, 60, "2,1,1", F<&UspsData::PermitLine>).When(IndiciaIs<I::Domestic>),
    // package facts
    Text<R>(380, 121, "2,1,1", F<&UspsData::MachinabilityLine>),
    Text<R>(380, 141, "2,1,1", F<&UspsData::PieceCaption>, F<&UspsData::ArticleNumber>).When(HasArticle),
    Text<R>(380, 161, "2,1,1", F<&UspsData::WeightCaption>, F<&UspsData::WeightLine>),
    Text<R>(380, 181, "2,1,1", F<&UspsData::BoxCaption>, F<&UspsData::PieceCountLine>),
    // service banner band: a domestic band starts right of the class box
    XorLine<R>(15, 210, 780, 4).When(International),
    XorLine<R>(218, 210, 577, 4).When(Domestic),
    Text<R>(38, 230, "2,2,3", F<&UspsData::ServiceBanner>),
    XorLine<R>(15, 287, 780, 4),
    // sender
    Text<R>(15, 307, "2,1,1", F<&CommonData::FromContact>),
    Text<R>(15, 328, "2,1,1", F<&CommonData::From1>),
    Text<R>(15, 349, "2,1,1", F<&CommonData::From2>),
    Text<R>(15, 370, "2,1,1", F<&CommonData::From3>),
    Text<R>(465, 307, "2,1,1", F<&UspsData::FromPhoneCaption>, F<&CommonData::FromPhone>).When(HasFromPhone),
    // right-hand notes
    Text<R>(465, 328, "2,1,1", F<&UspsData::InvoiceCaption>, F<&UspsData::InvoiceNumber>).When(HasInvoice),
    Text<R>(465, 349, "2,1,1", F<&UspsData::RestrictedDeliveryLine>).When(OtherService),
    Text<R>(20, 438, "3,1,1", F<&UspsData::Endorsement>).When(OtherService),
    Text<R>(465, 335, "2,1,2", F<&UspsData::ShipDateLine>).When(Express),
    Text<R>(20, 438, "3,1,1", F<&UspsData::ExpressWaiverLine>).When(Express),
    Text<R>(20, 463, "3,1,1", F<&UspsData::NoDeliveryLine>).When(Express),
    // addressee
    Text<R>(25, 605, "3,1,2", F<&UspsData::ShipCaption>),
    Text<R>(43, 645, "3,1,2", F<&UspsData::ToCaption>),
    Text<R>(120, 535, "2,1,2", F<&CommonData::ShipTo1>),
    Text<R>(120, 570, "2,1,2", F<&CommonData::ShipTo2>),
    Text<R>(120, 605, "2,1,2", F<&CommonData::ShipTo3>),
    Text<R>(120, 640, "2,1,2", F<&CommonData::ShipTo4>),
    Text<R>(120, 675, "2,1,2", F<&CommonData::ShipTo5>),
    Text<R>(120, 710, "2,1,2", F<&CommonData::ShipTo6>),
    Text<R>(120, 745, "2,1,2", F<&CommonData::ShipTo7>).When(FirstClass),
    Text<R>(120, 745, "2,1,2", F<&CommonData::ShipTo7>).When(ForeignLastLine),
    Text<R>(120, 783, "3,1,2", F<&CommonData::ShipToCountry>).When(ForeignLastLine),
    Text<R>(120, 747, "3,1,2", F<&CommonData::ShipTo7>).When(PlainLastLine),
    // IMpb: the banner of the service type, GS1-128, the grouped number
    XorLine<R>(10, 795, 770, 12).When(BarcodeIs<B::Impb>),
    Call<R>(ImpbBanner).When(BarcodeIs<B::Impb>),
    Barcode<R>(30, 899, kImpb, "F1\"420", F<&UspsChoices::zip5>, "\"F1\"", F<&UspsData::TrackingNumber>, "\"")
        .Flag(kPadY4).When(BarcodeIs<B::Impb>),
    Text<R>(140, 1080, "4,1,1", F<&UspsData::GroupedTrackingNumber>).When(BarcodeIs<B::Impb>),
    XorLine<R>(10, 1127, 770, 12).When(BarcodeIs<B::Impb>),
    // Priority Mail Express: Code 39 of the tracking number
    XorLine<R>(10, 795, 770, 12).When(BarcodeIs<B::Express>),
    Text<R>(285, 836, "3,1,2", F<&UspsData::ServiceTypeBanner>).Flag(kPadY4).When(ExpressWaiver),
    Text<R>(220, 836, "3,1,2", F<&UspsData::ServiceTypeBanner>).Flag(kPadY4).When(ExpressSignature),
    Barcode<R>(63, 899, kExpressCode39, F<&UspsData::TrackingNumber>).Flag(kPadY4).When(BarcodeIs<B::Express>),
    Text<R>(265, 1080, "4,1,1", F<&UspsData::GroupedTrackingNumber>).When(BarcodeIs<B::Express>),
    XorLine<R>(10, 1127, 770, 12).When(BarcodeIs<B::Express>),
    // ZIP routing bar code
    Barcode<R>(267, 840, kRouting, F<&UspsData::RoutingAI>, F<&UspsChoices::routingDigits>)
        .When(BarcodeIs<B::Routing5>),
    Text<R>(348, 1020, "2,1,2", "ZIP ", F<&UspsChoices::routingDigits>).When(BarcodeIs<B::Routing5>),
    Barcode<R>(235, 840, kRouting, F<&UspsData::RoutingAI>, F<&UspsChoices::routingDigits>)
        .When(BarcodeIs<B::Routing9>),
    Text<R>(348, 1020, "2,1,2", "ZIP ", F<&UspsChoices::routingZip5>).When(BarcodeIs<B::Routing9>),
};
// clang-format on

int32_t PrintUsps(LabelContext &label) {
    const int32_t year = label.job.RawInt("USPSYear", 0);
    if (year < kFirstUspsYear) {
        log::LogError("PrintUspsLabel: USPS labels before the %d generation are not supported (USPSYear %d). "
                      "Printing cancelled.",
                      static_cast<int>(kFirstUspsYear), static_cast<int>(year));
        return ZALERR_LABEL_DATAERROR;
    }
    UspsData usps = {};
    CommonData common = {};
    if (!FormatUspsData(usps, common, label)) {
        log::LogErrorText("PrintUspsLabel: The USPS label data could not be formatted. Printing cancelled.");
        return ZALERR_LABEL_DATAERROR;
    }
    const UspsChoices choices = ChoicesFor(usps, common);
    const R records(label, "USPS Label", common, usps, choices);
    return PrintLegacy(kFrame, label, common.xlabelc1, common.xlabelc2,
                       [&](Canvas &canvas) { Draw(canvas, kBody, records); });
}

}  // namespace

int32_t PrintUspsLabel(LabelContext &label) {
    return Guarded(kCommonLabelsModule, "PrintUspsLabel", [&] { return PrintUsps(label); });
}

}  // namespace zal
