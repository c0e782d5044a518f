// The CN22 customs form: tracking bar code, sender and recipient, the
// declaration's headings and type-of-goods boxes, the line items, then the
// totals, tariff and origin, exemption legend, legal text and signature.
// The two shapes are the same down to the line item headings; below them
// the 4x4 form is compressed.
#include "layouts/cn22/Cn22Form.h"

#include <cstring>
#include <memory>

#include "common/ErrorCodes.h"
#include "common/Log.h"
#include "formatting/CommonData.h"
#include "formatting/cn22/Cn22Data.h"
#include "layouts/TestStamp.h"
#include "layouts/engine/Frame.h"

namespace zal {
namespace {

using namespace layout;
using R = Records<CommonData, Cn22Data>;
template <auto Member>
constexpr auto F = &FieldText<Member, R>;
using C = Cn22Data;

constexpr const char *kModule = "Label Printers/Zal2443/Common";

const C &Form(const R &r) { return r.Of<C>(); }
const CommonData &Common(const R &r) { return r.Of<CommonData>(); }
bool Is(const char *text, const char *value) { return std::strcmp(text, value) == 0; }

// The bar code: the IMpb package identification code, the UPS tracking
// number, or the form's own 13-character tracking number, by the job's flags.
bool ImpbBarcode(const R &r) { return Is(Form(r).PrintIMpbFlag, "Y"); }
bool UpsBarcode(const R &r) { return !ImpbBarcode(r) && Is(Form(r).PrintUPSMMIFlag, "Y"); }
bool OwnBarcode(const R &r) { return !ImpbBarcode(r) && !UpsBarcode(r); }
bool International(const R &r) { return Is(Form(r).IntlFlag, "Y"); }
bool Domestic(const R &r) { return !International(r); }
// A UPS tracking number replaces the postal service's heading.
bool PostalServiceHeading(const R &r) { return Form(r).UpsTrackingNumber[0] == '\0' || ImpbBarcode(r); }
template <int32_t Kind>
bool GoodsAre(const R &r) {
    return Form(r).TypeOfGoods == Kind;
}
template <int32_t Kind>
bool GoodsAreNot(const R &r) {
    return !GoodsAre<Kind>(r);
}
// The legal text of editions 1 to 3 runs to a fifth line, with the
// signature caption below it; edition 4 has four.  A SurePost form of
// edition 4 takes the five lines of edition 2, so the lines decide.
bool FourLegalLines(const R &r) { return Form(r).LegalLine5[0] == '\0'; }
bool FiveLegalLines(const R &r) { return !FourLegalLines(r); }
bool InTestMode(const R &r) { return Is(Common(r).TestModeFlag, "Y"); }
bool LongerThan4x4(const R &r) { return r.label.device.Media.Length > 4.25f; }

// ---------------------------------------------------------------- bar code

constexpr ZalLib::BarcodeDescriptor kBarcode = {"1", 3, 3, 102, 1, 0};
// The printer's Code 128 control bytes.
constexpr char kStartB = '\xCC';
constexpr char kStartC = '\xCD';
constexpr char kCodeB = '\xC8';
constexpr char kCodeC = '\xC7';
constexpr char kFnc1 = '\xCA';

// A character of the job inside the quotes of the bar code command: a
// double quote or a backslash would end the data or escape its quote.
void AppendQuoted(std::string &data, const char *text, std::size_t count = std::string::npos) {
    for (std::size_t i = 0; i < count && text[i] != '\0'; ++i) {
        if (text[i] == '"' || text[i] == '\\') data += '\\';
        data += text[i];
    }
}

void TrackingBarcode(Canvas &canvas, const R &r) {
    const C &form = Form(r);
    std::string data;
    int x;
    if (ImpbBarcode(r)) {
        log::LogMessageText(log::kJob, "Using imPB/PIC format for CN22 barcode.");
        x = 125;
        data = {kStartC, kFnc1};
        AppendQuoted(data, form.PICNumber);
    } else if (UpsBarcode(r)) {
        log::LogMessageText(log::kJob, "Using MMI format for CN22 barcode.");
        x = 185;
        data = {kStartC, kFnc1};
        AppendQuoted(data, form.UpsTrackingNumber);
    } else {
        // S10: two letters and a digit in set B, eight digits in set C, two letters in set B
        log::LogMessageText(log::kJob, "Using LM format for CN22 barcode.");
        x = 170;
        const char *number = form.TrackingNumber;
        const std::size_t length = std::strlen(number);
        data = kStartB;
        AppendQuoted(data, number, 3);
        data += kCodeC;
        if (length > 3) AppendQuoted(data, number + 3, 8);
        data += kCodeB;
        if (length > 11) AppendQuoted(data, number + 11, 2);
    }
    Pieces pieces;
    pieces.text[pieces.count++] = data.c_str();
    canvas.Barcode(x, 20, 3, 4, kBarcode, pieces);
}

// Item i at y 527 + 24 (i - 1): quantity, description, pounds, ounces, value.
void LineItems(Canvas &canvas, const R &r) {
    const C &form = Form(r);
    for (int item = 1; item <= form.LineItemCount && item <= kCn22MaxLineItems; ++item) {
        const int y = 527 + 24 * (item - 1);
        DrawText(canvas, 15, y, "2,1,1", form.ItemQty[item]);
        DrawText(canvas, 80, y, "2,1,1", form.ItemDescription[item]);
        DrawText(canvas, 530, y, "2,1,1", form.ItemLbs[item]);
        DrawText(canvas, 590, y, "2,1,1", form.ItemOz[item]);
        DrawText(canvas, 670, y, "2,1,1", form.ItemValue[item]);
    }
}

// ---------------------------------------------------------------- the form

// clang-format off
constexpr Element<R> kUpperPart[] = {
    Call<R>(TrackingBarcode),
    Text<R>(135, 145, "4,1,1", F<&C::PICNumberText>).When(ImpbBarcode),
    Text<R>(207, 145, "4,1,1", F<&C::UpsTrackingText>).When(UpsBarcode),
    Text<R>(250, 145, "4,1,1", F<&C::TrackingNumberText>).When(OwnBarcode),
    // sender and recipient: the ship-to of an international job, else the postal delivery address
    Text<R>(20, 190, "3,1,1", F<&C::FromCaption>),
    Text<R>(20, 220, "2,1,1", F<&CommonData::FromContact>),
    Text<R>(20, 240, "2,1,1", F<&CommonData::From1>).When(International),
    Text<R>(20, 260, "2,1,1", F<&CommonData::From2>).When(International),
    Text<R>(20, 280, "2,1,1", F<&CommonData::From3>).When(International),
    Text<R>(20, 300, "2,1,1", F<&CommonData::FromCountry>).When(International),
    Text<R>(20, 240, "2,1,1", F<&CommonData::FromPhone>).When(Domestic),
    Text<R>(20, 260, "2,1,1", F<&CommonData::From1>).When(Domestic),
    Text<R>(20, 280, "2,1,1", F<&CommonData::From2>).When(Domestic),
    Text<R>(20, 300, "2,1,1", F<&CommonData::From3>).When(Domestic),
    Text<R>(410, 190, "3,1,1", F<&C::ShipToCaption>),
    Text<R>(410, 220, "2,1,1", F<&CommonData::ShipTo4>).When(International),
    Text<R>(410, 240, "2,1,1", F<&CommonData::ShipTo5>).When(International),
    Text<R>(410, 260, "2,1,1", F<&CommonData::ShipTo6>).When(International),
    Text<R>(410, 280, "2,1,1", F<&CommonData::ShipTo7>).When(International),
    Text<R>(410, 300, "2,1,1", F<&CommonData::ShipToCountry>).When(International),
    Text<R>(410, 240, "2,1,1", F<&C::DeliverTo1>).When(Domestic),
    Text<R>(410, 260, "2,1,1", F<&C::DeliverTo2>).When(Domestic),
    Text<R>(410, 280, "2,1,1", F<&C::DeliverTo3>).When(Domestic),
    Text<R>(410, 300, "2,1,1", F<&C::DeliverToCityStZip>).When(Domestic),
    Line<R>(0, 323, 0, 3).Flag(kFullWidth),
    // headings
    Text<R>(20, 333, "4,1,1", F<&C::PostalServiceCaption>).When(PostalServiceHeading),
    Text<R>(20, 363, "4,1,1", F<&C::CustomsDeclarationCaption>),
    Text<R>(710, 333, "4,1,1", F<&C::Cn22Caption>),
    Text<R>(410, 363, "4,1,1", F<&C::OpenedOfficiallyCaption>),
    Line<R>(0, 392, 0, 3).Flag(kFullWidth),
    // type of goods: the job's box filled, the others outlined
    Text<R>(75, 410, "2,1,1", F<&C::GiftCaption>),
    Text<R>(335, 410, "2,1,1", F<&C::CommercialSampleCaption>),
    Text<R>(75, 448, "2,1,1", F<&C::DocumentsCaption>),
    Text<R>(335, 448, "2,1,1", F<&C::OtherCaption>),
    Line<R>(415, 466, 380, 2),
    Line<R>(30, 404, 26, 26).When(GoodsAre<0>),
    Box<R>(30, 404, 26, 26, 2).When(GoodsAreNot<0>),
    Line<R>(290, 404, 26, 26).When(GoodsAre<1>),
    Box<R>(290, 404, 26, 26, 2).When(GoodsAreNot<1>),
    Line<R>(30, 442, 26, 26).When(GoodsAre<2>),
    Box<R>(30, 442, 26, 26, 2).When(GoodsAreNot<2>),
    Line<R>(290, 442, 26, 26).When(GoodsAre<3>),
    Box<R>(290, 442, 26, 26, 2).When(GoodsAreNot<3>),
    Text<R>(420, 445, "2,1,1", F<&C::OtherDescription>).When(GoodsAre<3>),
    // line items
    Text<R>(537, 478, "2,1,1", F<&C::WeightCaption>),
    Text<R>(20, 500, "2,1,1", F<&C::QtyCaption>),
    Text<R>(80, 500, "2,1,1", F<&C::DescriptionCaption>),
    Text<R>(530, 500, "2,1,1", F<&C::LbsCaption>),
    Text<R>(590, 500, "2,1,1", F<&C::OzCaption>),
    Text<R>(655, 500, "2,1,1", F<&C::ValueCaption>),
    Line<R>(0, 520, 0, 3).Flag(kFullWidth),
    Call<R>(LineItems),
};

// The rows of the lower part in each shape.
struct LowerRows {
    int16_t rule1, captions1, captions2, rule2, totals, rule3, exemption, rule4;
    int16_t legal1, legal2, legal3, legal4;
    int16_t fourLinesRule, fourLinesSignature, fourLinesSignatureLine;
    int16_t fifthLine, fiveLinesRule, fiveLinesSignature, fiveLinesSignatureLine;
};
constexpr LowerRows kRows4x6 = {875, 877, 899, 925, 931, 960, 965, 995, 1002, 1023, 1044, 1066,
                                1093, 1097, 1200, 1089, 1103, 1111, 1200};
constexpr LowerRows kRows4x4 = {600, 608, 630, 650, 660, 685, 694, 720, 731, 749, 767, 785,
                                810, 820, 862, 803, 828, 840, 972};

template <const LowerRows &Y>
constexpr Element<R> kLowerPart[] = {
    Line<R>(0, Y.rule1, 0, 3).Flag(kFullWidth),
    Text<R>(20, Y.captions1, "2,1,1", F<&C::TariffCaption1>),
    Text<R>(655, Y.captions1, "2,1,1", F<&C::TotalValueCaption>),
    Text<R>(20, Y.captions2, "2,1,1", F<&C::TariffCaption2>),
    Text<R>(505, Y.captions2, "2,1,1", F<&C::TotalWeightCaption>),
    Text<R>(715, Y.captions2, "2,1,1", F<&C::UsDollarCaption>),
    Line<R>(0, Y.rule2, 0, 3).Flag(kFullWidth),
    Text<R>(20, Y.totals, "2,1,1", F<&C::HSTariffNumber>, "  ", F<&C::CountryOfOrigin>),
    Text<R>(490, Y.totals, "2,1,1", F<&C::TotalWeight>),
    Text<R>(663, Y.totals, "2,1,1", F<&C::TotalValue>),
    Line<R>(0, Y.rule3, 0, 3).Flag(kFullWidth),
    Text<R>(20, Y.exemption, "3,1,1", F<&C::ExemptionCaption>),
    Text<R>(520, Y.exemption, "3,1,1", F<&C::SEDText>),
    Line<R>(0, Y.rule4, 0, 3).Flag(kFullWidth),
    Text<R>(20, Y.legal1, "1,1,1", F<&C::LegalLine1>),
    Text<R>(20, Y.legal2, "1,1,1", F<&C::LegalLine2>),
    Text<R>(20, Y.legal3, "1,1,1", F<&C::LegalLine3>),
    Text<R>(20, Y.legal4, "1,1,1", F<&C::LegalLine4>),
    Line<R>(0, Y.fourLinesRule, 0, 3).Flag(kFullWidth).When(FourLegalLines),
    Text<R>(20, Y.fourLinesSignature, "2,1,1", F<&C::SignatureCaption>).When(FourLegalLines),
    Text<R>(20, Y.fifthLine, "2,1,1", F<&C::LegalLine5>).When(FiveLegalLines),
    Line<R>(0, Y.fiveLinesRule, 0, 3).Flag(kFullWidth).When(FiveLegalLines),
    Text<R>(20, Y.fiveLinesSignature, "2,1,1", F<&C::SignatureCaption>).When(FiveLegalLines),
    Line<R>(20, Y.fourLinesSignatureLine, 760, 3).When(FourLegalLines),
    Line<R>(20, Y.fiveLinesSignatureLine, 760, 3).When(FiveLegalLines),
};

constexpr Element<R> kForm4x4[] = {
    Include(kUpperPart),
    Include(kLowerPart<kRows4x4>),
    Line<R>(0, 865, 0, 1).Flag(kFullWidth).When(LongerThan4x4),
};

constexpr Element<R> kForm4x6[] = {
    Include(kUpperPart),
    Include(kLowerPart<kRows4x6>),
    Include(TestStamp<R, &CommonData::TestID, kStampTallMediaRow>).When(InTestMode),
};
// clang-format on

// The saved copy is named after the document's class.
constexpr DocumentFrame kFrame4x4 = {"USPS CN22 PS Form 2976 (UPS GTL 2020 v1.0)", "%s%s-CN22.EPLDoc.txt", kModule,
                                     "CN22Print4x4", ZALERR_ZALDOCERR, false};
constexpr DocumentFrame kFrame4x6 = {"USPS CN22 PS Form 2976 (UPS GTL 2020 v1.0) 4x6", "%s%s-CN22.EPLDoc.txt", kModule,
                                     "CN22Print", ZALERR_ZALDOCERR, false};

template <std::size_t N>
int32_t PrintForm(const DocumentFrame &frame, const Element<R> (&body)[N], LabelContext &label) {
    return Guarded(frame.module, frame.routine, [&]() -> int32_t {
        auto common = std::make_unique<CommonData>();
        auto cn22 = std::make_unique<Cn22Data>();
        if (!FormatCN22Data(*cn22, *common, label)) return ZALERR_LABEL_DATAERROR;
        const R records(label, frame.name, *common, *cn22);
        return PrintDocument(frame, label, common->xlabelc3, common->xlabelc4,
                             [&](Canvas &canvas) { Draw(canvas, body, records); });
    });
}

}  // namespace

int32_t PrintCn22Form4x4(LabelContext &label) { return PrintForm(kFrame4x4, kForm4x4, label); }

int32_t PrintCn22Form4x6(LabelContext &label) { return PrintForm(kFrame4x6, kForm4x6, label); }

}  // namespace zal
