// The UPS pickup summary label (carrier "UPS PICKUP"): the driver's summary
// of a day's pickup, with the shipper, shipping record and account, the
// package counts per service, the receipt lines and the Data Matrix symbol
// that carries the summary.
#include <cstring>
#include <memory>

#include "common/ErrorCodes.h"
#include "common/Modules.h"
#include "formatting/ups/UpsPickupData.h"
#include "layouts/TestStamp.h"
#include "layouts/engine/Frame.h"

namespace zal {
namespace {

using namespace layout;
using P = PickupSummaryData;
using R = Records<P>;
template <auto Member>
constexpr auto F = &FieldText<Member, R>;

const P &Pickup(const R &r) { return r.Of<P>(); }

bool Pending(const R &r) { return Pickup(r).PendingText[0] != '\0'; }
bool Filed(const R &r) { return !Pending(r); }
bool InTestMode(const R &r) { return std::strcmp(Pickup(r).TestModeFlag, "Y") == 0; }
const char *VersionLine(const R &r) { return r.label.versionLine; }

// A count of 1 to 4 characters ends where a 5-character one would (12 dots
// a character in font 2); an empty count or a longer one starts at x.
constexpr int kCountCharWidth = 12;
constexpr std::size_t kCountColumns = 5;

void Count(Canvas &canvas, int x, int y, const char *count) {
    const std::size_t length = std::strlen(count);
    if (length >= 1 && length < kCountColumns) x += kCountCharWidth * static_cast<int>(kCountColumns - length);
    DrawText(canvas, x, y, "2,1,2", count);
}
void NextDay(Canvas &canvas, const R &r) { Count(canvas, 110, 372, Pickup(r).NextDay); }
void SecondDay(Canvas &canvas, const R &r) { Count(canvas, 110, 407, Pickup(r).SecondDay); }
void Cod(Canvas &canvas, const R &r) { Count(canvas, 400, 415, Pickup(r).COD); }
void ThirdDay(Canvas &canvas, const R &r) { Count(canvas, 110, 445, Pickup(r).ThirdDay); }

// 0x99 is the trade mark sign of the Windows Latin-1 code page.
constexpr DocumentFrame kFrame = {"UPS Pickup Summary Smart Label" "\x99" " GTL 2020 v1.0", "%s%s-PSB.%s.txt",
                                  kUpsLabelsModule, "upsPldPrint4x4", ZALERR_ZALDOCERR, false};

constexpr ZalLib::DataMatrixDescriptor kDataMatrix = {4};
// The stamp stands below the summary on every medium.
constexpr int kStampRow = 1100;

// clang-format off
constexpr Element<R> kBody[] = {
    Text<R>(10, 10, "1,2,2", "PICKUP SUMMARY BAR CODE REPORT"),
    Text<R>(10, 40, "4,1,1", "SHIP DATE:"),
    Text<R>(195, 40, "4,1,1", F<&P::Date>),
    Text<R>(10, 70, "4,1,1", "SHIPPING RECORD:"),
    Text<R>(270, 70, "4,1,1", F<&P::ShippingRecordText>),
    Text<R>(10, 97, "4,1,1", "ACCOUNT NUMBER:"),
    Text<R>(270, 97, "4,1,1", F<&P::AccountText>),
    Text<R>(10, 127, "4,1,1", "CUSTOMER"),
    Text<R>(10, 160, "4,1,1", F<&P::From1>),
    Text<R>(10, 190, "4,1,1", F<&P::From2>),
    Text<R>(10, 220, "4,1,1", F<&P::From3>),
    DataMatrix<R>(550, 80, kDataMatrix, F<&P::DataMatrixData>),
    Line<R>(0, 245, 0, 12).Flag(kFullWidth),
    // the driver's summary: packages per service
    Text<R>(50, 265, "3,2,2", "DRIVER SUMMARY"),
    Text<R>(50, 302, "3,1,2", "TOTAL NUMBER OF PACKAGES ="),
    Text<R>(450, 302, "3,1,2", F<&P::TotalNumberofPackages>),
    Text<R>(50, 337, "3,1,2", F<&P::ControlLogText>),
    Text<R>(50, 372, "2,1,2", "1DA"),
    Call<R>(NextDay),
    Text<R>(330, 372, "2,1,2", "INT'L pkgs"),
    Text<R>(500, 372, "2,1,2", F<&P::International>, "/ shpts", F<&P::IntlShipments>),
    Text<R>(50, 407, "2,1,2", "2DA"),
    Call<R>(SecondDay),
    Text<R>(330, 415, "2,1,2", "CODS"),
    Call<R>(Cod),
    Text<R>(50, 445, "2,1,2", "3DS"),
    Call<R>(ThirdDay),
    Text<R>(120, 485, "2,1,1", "SHIPMENTS SUBJECT TO TERMS OF AGREEMENT ON FILE"),
    Line<R>(0, 515, 0, 4).Flag(kToRightEdge),
    // the receipt: a pickup still pending in the pickup data says so
    Text<R>(10, 540, "4,1,1", "Received By:"),
    Line<R>(200, 564, 350, 4).When(Pending),
    Text<R>(580, 540, "4,1,1", F<&P::PendingText>).When(Pending),
    Line<R>(200, 564, 610, 4).When(Filed),
    Text<R>(10, 590, "4,1,1", "Pickup Time:"),
    Line<R>(200, 615, 290, 4),
    Text<R>(500, 590, "4,1,1", "Pkgs:"),
    Line<R>(579, 615, 200, 4),
    Text<R>(290, 850, "1,1,1", VersionLine, F<&P::RoutingVersion>, " ", F<&P::RoutingDate>).Flag(kFromRight),
    Include(TestStamp<R, &P::TestID, kStampRow>).When(InTestMode),
};
// clang-format on

}  // namespace

// upsPldPrint4x4
int32_t PrintUpsPickupLabel(LabelContext &label) {
    return Guarded(kFrame.module, kFrame.routine, [&]() -> int32_t {
        auto pickup = std::make_unique<P>();
        if (!upsPldFormatData(*pickup, label.job)) return ZALERR_LABEL_DATAERROR;
        const R records(label, kFrame.name, *pickup);
        return PrintDocument(kFrame, label, nullptr, nullptr,
                             [&](Canvas &canvas) { Draw(canvas, kBody, records); });
    });
}

}  // namespace zal
