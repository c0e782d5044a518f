// The FedEx International labels (carrier "FDXINT"): one or two copies of
// the air waybill (sender, recipient, customs and payment data, the legal
// statements, a Codabar tracking bar code and the copy's caption) and, when
// the job carries the full one-dimensional bar code, the package label
// (PDF417 symbol, service and routing block, Code 128 package bar code).
// Each is a string-built label of its own, printed one after the other;
// neither prints the version line.
#include <cstring>
#include <memory>
#include <vector>

#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "common/Log.h"
#include "common/Modules.h"
#include "common/Strings.h"
#include "formatting/CommonData.h"
#include "formatting/fedex/FedExInternationalData.h"
#include "layouts/engine/Frame.h"

namespace zal {
namespace {

using namespace layout;

using R = Records<CommonData, FedExIntlData>;
template <auto Member>
constexpr auto F = &FieldText<Member, R>;

const FedExIntlData &Intl(const R &r) { return r.Of<FedExIntlData>(); }
const JobWideValues &Job(const R &r) { return r.Of<JobWideValues>(); }

bool HasBroker(const R &r) { return Intl(r).BrokerName[0] != '\0'; }
bool HasReference(const R &r) { return Intl(r).Reference[0] != '\0'; }
// A shipment of several packages shows its piece count and master number;
// the master form id from the second package on.
bool MultiplePieces(const R &r) { return Job(r).ExpectedCount > 1; }
bool LaterPiece(const R &r) { return Job(r).ExpectedCount > 1 && Job(r).OrderCount > 1; }
// An expired routing code prints as EXPIRED over URSA.
bool RoutingExpired(const R &r) { return std::strcmp(Intl(r).RoutingCode, "URSAEXP") == 0; }
bool RoutingValid(const R &r) { return !RoutingExpired(r); }

// ---------------------------------------------------------------- statements

// A statement broken into lines of at most `width` characters in a working
// text of `workSize` bytes; only its first three lines are printed, the
// label has no room for more.
struct StatementBlock {
    std::size_t workSize;
    std::size_t width;
    int x;
    int y[3];
};

// clang-format off
constexpr StatementBlock kAwbExport    = {2048, 80, 20, {1050, 1070, 1090}};
constexpr StatementBlock kAwbLiability = {2048, 80, 20, {1115, 1135, 1155}};
constexpr StatementBlock kPackageExport = {1001, 63, 20, {734, 747, 760}};
// clang-format on

void DrawStatement(Canvas &canvas, const StatementBlock &block, const char *statement) {
    std::vector<char> work(block.workSize, '\0');
    CopyText(work.data(), work.size(), statement);
    WordWrap(work.data(), work.size(), block.width);
    char *line = work.data();
    for (int y : block.y) {
        char *end = std::strchr(line, '\n');
        if (end != nullptr) *end = '\0';
        DrawText(canvas, block.x, y, "1,1,1", line);
        line = end != nullptr ? end + 1 : line + std::strlen(line);
    }
}

void AwbExportStatement(Canvas &canvas, const R &r) { DrawStatement(canvas, kAwbExport, Intl(r).ExportStatement); }
void AwbLiabilityStatement(Canvas &canvas, const R &r) {
    DrawStatement(canvas, kAwbLiability, Intl(r).LiabilityStatement);
}
void PackageExportStatement(Canvas &canvas, const R &r) {
    DrawStatement(canvas, kPackageExport, Intl(r).ExportStatement);
}

// ---------------------------------------------------------------- the labels

// Codabar with start character B and stop character D, no readable line.
constexpr ZalLib::BarcodeDescriptor kTrackingBarcode = {"K", 2, 6, 102, 1, 0};
constexpr ZalLib::BarcodeDescriptor kPackageBarcode = {"1", 3, 3, 203, 1, 0};
constexpr ZalLib::Pdf417Descriptor kPdf417 = {0, 999, 500, 5, 1, 0, 2, 10, 99, 12};

// The sender block both labels open with.
// clang-format off
constexpr Element<R> kSender[] = {
    Text<R>( 10,  15, "2,1,1", F<&FedExIntlData::OriginLine>),
    Text<R>( 10,  35, "2,1,1", F<&CommonData::From1>),
    Text<R>( 10,  55, "2,1,1", F<&CommonData::FromContact>),
    Text<R>( 10,  75, "2,1,1", F<&CommonData::From2>),
    Text<R>( 10,  95, "2,1,1", F<&CommonData::From3>),
    Text<R>( 10, 115, "2,1,1", F<&CommonData::FromCountry>),
    Text<R>(225,  15, "2,1,1", F<&CommonData::FromPhone>),
};

constexpr Element<R> kAirWaybill[] = {
    Include(kSender),
    XorLine<R>(400, 15, 3, 138),
    Text<R>(410,  15, "2,1,1", F<&FedExIntlData::ShipDateLine>),
    Text<R>(410,  35, "2,1,1", F<&FedExIntlData::WeightLine>),
    Text<R>(410,  55, "2,1,1", F<&FedExIntlData::CadLine>),
    Text<R>(410,  75, "2,1,1", F<&FedExIntlData::AccountLine>),
    Text<R>(410,  95, "2,1,1", F<&FedExIntlData::DimensionsLine>),
    Text<R>(410, 115, "2,1,1", F<&FedExIntlData::DryIceLine>),
    Text<R>(410, 135, "2,1,1", F<&FedExIntlData::EinVatLine>),
    XorLine<R>(10, 153, 790, 3).Flag(kPadY4),
    // recipient
    Text<R>( 10, 165, "2,1,1", "TO:"),
    Text<R>(580, 165, "3,1,1", F<&CommonData::ShipToPhone>),
    Text<R>( 50, 165, "2,1,1", F<&CommonData::ShipTo1>),
    Text<R>( 50, 190, "2,1,1", F<&CommonData::ShipTo2>),
    Text<R>( 50, 215, "3,1,1", F<&CommonData::ShipTo3>),
    Text<R>( 50, 240, "3,1,1", F<&CommonData::ShipTo4>),
    Text<R>( 50, 265, "3,1,1", F<&CommonData::ShipTo5>),
    Text<R>( 50, 290, "3,1,1", F<&CommonData::ShipTo6>),
    Text<R>( 50, 315, "4,1,2", F<&CommonData::ShipTo7>),
    Text<R>(580, 382, "4,1,1", F<&FedExIntlData::LabelType>),
    Text<R>( 20, 407, "2,1,1", F<&FedExIntlData::ReferenceLine5>),
    Text<R>( 20, 425, "2,1,1", F<&FedExIntlData::ReferenceLine3>),
    Text<R>( 20, 443, "2,1,1", F<&FedExIntlData::ReferenceLine1>),
    Text<R>(400, 425, "2,1,1", F<&FedExIntlData::ReferenceLine4>),
    Text<R>(400, 443, "2,1,1", F<&FedExIntlData::ReferenceLine2>),
    // brand and the boxed service letter
    Text<R>(620, 192, "4,2,2", "FedEx"),
    Text<R>(710, 238, "1,1,1", "Express"),
    Text<R>(673, 278, "4,4,4", "E"),
    Box<R>(640, 257, 117, 120, 10),
    Text<R>(770, 376, "1,1,1", F<&FedExIntlData::VersionIdentifier>).Rotated(3),
    XorLine<R>(10, 460, 790, 3).Flag(kPadY4),
    // tracking
    Barcode<R>(40, 480, kTrackingBarcode, "B", F<&FedExIntlData::TrackingBarcodeData>, "D").Flag(kQuotedData),
    Text<R>( 80, 603, "2,1,1", F<&FedExIntlData::TrackingCaption>),
    Text<R>(140, 602, "4,1,1", F<&FedExIntlData::TrackingNumber>),
    Text<R>(385, 603, "1,1,1", "Form"),
    Text<R>(385, 620, "1,1,1", F<&FedExIntlData::FormId>),
    Text<R>(515, 475, "3,2,2", F<&FedExIntlData::RoutingCode>),
    Text<R>(515, 520, "1,1,2", F<&FedExIntlData::HandlingCodes>),
    Text<R>(515, 555, "3,1,1", F<&FedExIntlData::PackageTypeText>),
    Text<R>(515, 580, "1,2,2", F<&FedExIntlData::BrokerSelectMark>).When(HasBroker),
    Text<R>(490, 615, "1,1,2", F<&FedExIntlData::BrokerCaption>).When(HasBroker),
    Text<R>(490, 640, "1,1,2", F<&FedExIntlData::BrokerName>).When(HasBroker),
    Text<R>(490, 665, "1,1,2", F<&FedExIntlData::BrokerPhone>).When(HasBroker),
    Text<R>(490, 690, "1,1,2", F<&FedExIntlData::BrokerCityZipCountry>).When(HasBroker),
    Text<R>( 40, 660, "4,1,1", F<&FedExIntlData::EciMark>),
    Text<R>(250, 660, "4,1,1", F<&FedExIntlData::PieceLine>),
    Text<R>( 40, 712, "4,1,2", F<&FedExIntlData::ServiceType>),
    // reference and customs
    Text<R>( 40, 775, "2,1,1", "REF: ", F<&FedExIntlData::Reference>).When(HasReference),
    Text<R>( 40, 794, "2,1,1", "DESC1: ", F<&FedExIntlData::CustomsDesc1>),
    Text<R>( 40, 813, "2,1,1", "DESC2: ", F<&FedExIntlData::CustomsDesc2>),
    Text<R>( 40, 832, "2,1,1", "DESC3: ", F<&FedExIntlData::CustomsDesc3>),
    Text<R>( 40, 851, "2,1,1", "DESC4: ", F<&FedExIntlData::CustomsDesc4>),
    Text<R>( 40, 870, "2,1,1", F<&FedExIntlData::NdrSedTitle>, F<&FedExIntlData::FtsrText>),
    Text<R>( 40, 889, "2,1,1", F<&FedExIntlData::BookingCaption>, F<&FedExIntlData::BookingNumber>),
    Text<R>( 40, 908, "2,1,1", "SLAC: ", F<&FedExIntlData::SlacNumber>),
    XorLine<R>(10, 930, 790, 3).Flag(kPadY4),
    Text<R>( 40, 945, "2,1,1", "COUNTRY MFG: ", F<&FedExIntlData::CountryOfManufacture>),
    Text<R>( 40, 970, "2,1,1", "CARRIAGE VALUE: ", F<&FedExIntlData::CarriageValueText>),
    Text<R>( 40, 995, "2,1,1", "CUSTOM VALUE: ", F<&FedExIntlData::CustomsValueText>),
    Text<R>(470, 945, "2,1,1", "SIGN: ", F<&FedExIntlData::Signature>),
    Text<R>(470, 970, "2,1,1", "T/C: ", F<&FedExIntlData::PaymentType>, " ", F<&FedExIntlData::PaymentAccount>),
    Text<R>(470, 995, "2,1,1", "D/T: ", F<&FedExIntlData::DutyType>, " ", F<&FedExIntlData::DutyAccount>),
    XorLine<R>(10, 1020, 790, 3),
    Call<R>(AwbExportStatement),
    Call<R>(AwbLiabilityStatement),
    Text<R>(113, 1180, "4,1,1", F<&FedExIntlData::CopyCaption>),
};

constexpr Element<R> kPackageLabel[] = {
    Include(kSender),
    XorLine<R>(430, 15, 3, 138),
    Text<R>(440,  15, "2,1,1", F<&FedExIntlData::ShipDateLine>),
    Text<R>(440,  35, "2,1,1", F<&FedExIntlData::WeightLine>),
    Text<R>(440,  55, "2,1,1", F<&FedExIntlData::CadLine>),
    Text<R>(440,  75, "2,1,1", F<&FedExIntlData::DimensionsLine>),
    Text<R>(440,  95, "2,1,1", F<&FedExIntlData::DryIceLine>),
    Text<R>(440, 115, "2,1,1", F<&FedExIntlData::PaymentText>),
    Text<R>(440, 137, "1,1,1", F<&FedExIntlData::FtsrText>),
    XorLine<R>(10, 153, 790, 3).Flag(kPadY4),
    // recipient
    Text<R>( 20, 170, "2,1,1", "TO:"),
    Text<R>( 20, 350, "3,1,1", F<&CommonData::ShipToPhone>),
    Text<R>( 65, 170, "3,1,1", F<&CommonData::ShipTo1>),
    Text<R>( 65, 193, "3,1,1", F<&CommonData::ShipTo2>),
    Text<R>( 65, 216, "3,1,1", F<&CommonData::ShipTo3>),
    Text<R>( 65, 239, "3,1,1", F<&CommonData::ShipTo4>),
    Text<R>( 65, 262, "3,1,1", F<&CommonData::ShipTo5>),
    Text<R>( 65, 285, "3,1,1", F<&CommonData::ShipTo6>),
    Text<R>( 65, 308, "1,2,3", F<&CommonData::ShipTo7>),
    Text<R>(400, 354, "2,1,1", F<&FedExIntlData::ReferenceLine5>),
    Text<R>( 20, 373, "2,1,1", F<&FedExIntlData::ReferenceLine3>),
    Text<R>( 20, 392, "2,1,1", F<&FedExIntlData::ReferenceLine1>),
    Text<R>(400, 373, "2,1,1", F<&FedExIntlData::ReferenceLine4>),
    Text<R>(400, 392, "2,1,1", F<&FedExIntlData::ReferenceLine2>),
    XorLine<R>(10, 413, 790, 3).Flag(kPadY4),
    // the message holds its separators as escape texts
    Pdf417<R>(20, 427, kPdf417, F<&FedExIntlData::Pdf417Message>).Flag(kQuotedData),
    Call<R>(PackageExportStatement),
    // brand, the boxed service letter, release
    Text<R>(600, 430, "4,2,2", "FedEx"),
    Text<R>(690, 477, "1,1,1", "Express"),
    Text<R>(665, 523, "4,4,4", "E"),
    Box<R>(630, 500, 125, 125, 10),
    Text<R>(770, 623, "1,1,1", F<&FedExIntlData::VersionIdentifier>).Rotated(3),
    Text<R>(670, 725, "2,1,1", F<&FedExIntlData::ReleaseCaption>),
    Text<R>(670, 745, "2,1,1", F<&FedExIntlData::ReleaseNumber>),
    XorLine<R>(10, 777, 790, 3).Flag(kPadY4),
    // tracking, pieces, service and routing
    Text<R>( 20, 828, "2,1,1", F<&FedExIntlData::TrackingCaption>),
    Text<R>( 82, 833, "3,1,2", F<&FedExIntlData::TrackingNumber>),
    Box<R>(20, 848, 45, 19, 1),
    Text<R>( 25, 853, "1,1,1", F<&FedExIntlData::FormId>),
    Text<R>(100, 795, "4,1,1", F<&FedExIntlData::PieceCount>).When(MultiplePieces),
    Text<R>( 20, 877, "4,1,1", F<&FedExIntlData::MasterTrackingNumber>).When(MultiplePieces),
    Box<R>(350, 876, 45, 21, 1).When(LaterPiece),
    Text<R>(355, 881, "1,1,1", F<&FedExIntlData::MasterFormId>).When(LaterPiece),
    Text<R>(440, 787, "4,1,2", F<&FedExIntlData::PlannedServiceLevel>),
    // already right-aligned in 22 by the formatting
    Text<R>(410, 837, "4,1,2", F<&FedExIntlData::ServiceType>),
    Text<R>(135, 903, "4,2,2", "EXPIRED").When(RoutingExpired),
    Text<R>(175, 953, "4,2,2", "URSA").When(RoutingExpired),
    Text<R>( 20, 909, "4,3,4", F<&FedExIntlData::RoutingCode>).XDigits(2).When(RoutingValid),
    Text<R>(440, 887, "4,1,1", F<&FedExIntlData::HandlingCodes>),
    Text<R>(593, 917, "3,2,2", F<&FedExIntlData::ZipOnly>),
    Text<R>(560, 970, "4,1,1", F<&FedExIntlData::ZipStateCountry>),
    Text<R>(675, 958, "3,2,2", F<&FedExIntlData::DestinationRamp>),
    Barcode<R>(55, 1013, kPackageBarcode, F<&FedExIntlData::OneDeeBarcode>).Flag(kQuotedData),
};
// clang-format on

constexpr LegacyFrame kAirWaybillFrame = {ZalLib::MemoryCommand::M132, ZalLib::HeaderForm::A, nullptr};
constexpr LegacyFrame kPackageFrame = {ZalLib::MemoryCommand::M154, ZalLib::HeaderForm::A, nullptr};

constexpr const char *kOriginCopy = "ORIGIN AWB COPY - PLEASE PLACE IN POUCH";
constexpr const char *kShipperCopy = "SHIPPER AWB COPY";

int32_t FdxIntlPrintAwbCopy(LabelContext &label, const R &records) {
    const CommonData &common = records.Of<CommonData>();
    return PrintLegacy(kAirWaybillFrame, label, common.xlabelc1, common.xlabelc2,
                       [&](Canvas &canvas) { Draw(canvas, kAirWaybill, records); });
}

int32_t FdxIntlPrintPackageLabel(LabelContext &label, const R &records) {
    const CommonData &common = records.Of<CommonData>();
    return PrintLegacy(kPackageFrame, label, common.xlabelc1, common.xlabelc2,
                       [&](Canvas &canvas) { Draw(canvas, kPackageLabel, records); });
}

// The origin copy, the shipper copy for the first package of a shipment
// that is not documents only, then the package label.
int32_t FdxIntlPrintLabel(LabelContext &label) {
    auto data = std::make_unique<FedExIntlData>();
    auto common = std::make_unique<CommonData>();
    if (!FdxIntlFormatData(*data, *common, label)) {
        log::LogErrorText("FdxIntlPrintLabel: The common label data could not be read.");
        return ZALERR_LABEL_DATAERROR;
    }
    if (!FdxIntlEscapePdf417(data->Pdf417Message)) {
        log::LogErrorText("FdxIntlPrintLabel: The escaped PDF417 message does not fit its field.");
    }
    const R records(label, "FedEx International", *common, *data);

    int copies = data->CurrentLabel == 1 && std::strcmp(data->DocFlag, "Y") != 0 ? 2 : 1;
    for (int copy = 1; copy <= copies; ++copy) {
        CopyText(data->CopyCaption, copy == 1 ? kOriginCopy : kShipperCopy);
        int32_t result = FdxIntlPrintAwbCopy(label, records);
        if (result != ZALERR_SUCCESS) return result;
    }
    if (std::strlen(data->OneDeeBarcode) != kFdxIntlOneDeeLength) return ZALERR_SUCCESS;
    return FdxIntlPrintPackageLabel(label, records);
}

}  // namespace

int32_t PrintFedExInternationalLabels(LabelContext &label) {
    return Guarded(kCommonLabelsModule, "FdxIntlPrintLabel", [&] { return FdxIntlPrintLabel(label); });
}

}  // namespace zal
