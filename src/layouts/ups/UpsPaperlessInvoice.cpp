// The UPS paperless invoice: the tracking and shipment numbers, the PDF417
// symbol with the invoice data, the carrier's terms notice and the
// shipper's signature line, on an EPL document without user commands.
#include "layouts/ups/UpsPaperlessInvoice.h"

#include <cstring>

#include "layouts/TestStamp.h"
#include "layouts/ups/UpsLabel.h"

namespace zal {
namespace {

using namespace layout;
using namespace ups;
using R = UpsRecords;


bool Reduced(const R &r) { return Ups(r).PDF417Reduced; }
bool FullSize(const R &r) { return !Reduced(r); }
bool InTestMode(const R &r) { return std::strcmp(Ups(r).TestModeFlag, "Y") == 0; }

// The notice is worded to fill 13 lines (the formatting wraps it at 80
// columns); they stand 9 dots apart from y 670 down to 778.
template <int Line>
const char *TermsLine(const R &r) {
    return Ups(r).TermsLines[Line];
}
constexpr int kTermsTop = 670;
constexpr int kTermsPitch = 9;
template <int Line>
constexpr Element<R> Terms() {
    return Text<R>(10, kTermsTop + Line * kTermsPitch, "1,1,1", &TermsLine<Line>);
}

// 0x99 is the trade mark sign of the Windows Latin-1 code page.
constexpr DocumentFrame kFrame = {"UPS Paperless Invoice" "\x99" " GTL 2020 v1.0", "%s%s-PI.%s.txt",
                                  kUpsLabelsModule, "upsPrintPaperless4x4", ZALERR_ZALDOCERR, false};

constexpr ZalLib::Pdf417Descriptor kPdf417 = {0, 800, 800, 5, 0, 0, 2, 6, 99, 12};

// clang-format off
constexpr Element<R> kBody[] = {
    Text<R>(100, 10, "3,1,1", F<&UpsData::BackupDocumentText>),
    Text<R>( 10, 50, "4,1,1", F<&UpsData::BackupTrackingTitle>),
    Text<R>( 70, 50, "4,1,1", F<&UpsData::BackupTrackingNumber>),
    Text<R>(470, 50, "4,1,1", F<&UpsData::BackupShipmentTitle>),
    Text<R>(545, 50, "4,1,1", F<&UpsData::ShipmentNumber>),
    Line<R>(0, 85, 0, 3).Flag(kFullWidth),
    Terms<0>(), Terms<1>(), Terms<2>(), Terms<3>(), Terms<4>(), Terms<5>(), Terms<6>(),
    Terms<7>(), Terms<8>(), Terms<9>(), Terms<10>(), Terms<11>(), Terms<12>(),
    // a message the printer reads in its reduced form starts higher and further left
    Pdf417<R>(130, 120, kPdf417, F<&UpsData::PDF417Data>).When(FullSize),
    Pdf417<R>(110, 110, kPdf417, F<&UpsData::PDF417Data>).When(Reduced),
    Line<R>(0, 790, 0, 3).Flag(kFullWidth),
    Text<R>( 15, 800, "2,1,1", F<&UpsData::BackupSignatureTitle>),
    Text<R>(500, 800, "2,1,1", F<&UpsData::BackupDateTitle>),
    Text<R>(290, 850, "1,1,1", VersionLine, F<&UpsData::RoutingVersion>, " ", F<&UpsData::RoutingDate>)
        .Flag(kFromRight),
    Include(TestStamp<R, &UpsData::TestID, 795>).When(InTestMode),
};
// clang-format on

}  // namespace

// upsPrintPaperless4x4
int32_t PrintUpsPaperlessInvoice(LabelContext &label, const CommonData &common, const UpsData &ups) {
    return Guarded(kFrame.module, kFrame.routine, [&]() -> int32_t {
        const R records(label, kFrame.name, common, ups);
        return PrintDocument(kFrame, label, nullptr, nullptr,
                             [&](Canvas &canvas) { Draw(canvas, kBody, records); });
    });
}

}  // namespace zal
