// The FedEx Express label (carrier "FDX"): sender and shipment lines,
// ship-to block, reference lines, delivery bar code, PDF417, service box,
// tracking and routing blocks, the one-dimensional bar code; then, when the
// job orders it for this package, the COD return label.
#include "layouts/fedex/FedExExpressLabel.h"

#include <cstring>
#include <memory>

#include "common/ErrorCodes.h"
#include "common/Modules.h"
#include "common/Strings.h"

namespace zal {
namespace {

using namespace layout;
using fedex::F;
using R = fedex::ExpressRecords;
using X = FedExExpressData;

constexpr const char *kModule = "Label Printers/Zal2443/Common";
// The routing code of an expired routing table prints as two words.
constexpr const char *kExpiredRouting = "URSAEXP";
constexpr std::size_t kServiceTypeWidth = 22;

const X &Express(const R &r) { return r.Of<X>(); }
const JobWideValues &Order(const R &r) { return r.Of<JobWideValues>(); }

bool HasDeliveryBarcode(const R &r) { return Express(r).DeliveryBarcodeData[0] != '\0'; }
// A multi-piece shipment: the master tracking number and more than one piece.
bool MultiPiece(const R &r) { return Express(r).MasterTrackingNumber[0] != '\0' && Order(r).ExpectedCount > 1; }
bool SinglePiece(const R &r) { return !MultiPiece(r); }
// Every piece after the first also shows the master's form id.
bool LaterPiece(const R &r) { return Order(r).OrderCount > 1; }
bool ExpiredRouting(const R &r) { return std::strcmp(Express(r).RoutingCode, kExpiredRouting) == 0; }
bool Routed(const R &r) { return !ExpiredRouting(r); }

constexpr ZalLib::Pdf417Descriptor kPdf417 = {0, 800, 800, 5, 1, 0, 2, 10, 99, 12};

// clang-format off
constexpr Element<R> kMultiPiece[] = {
    Text<R>(100, 795, "4,1,1", F<&X::PieceCount>),
    Text<R>(20, 828, "2,1,1", F<&X::TrackingCaption>),
    Box<R>(20, 848, 45, 21, 1),
    Text<R>(25, 853, "1,1,1", F<&X::FormId>),
    Text<R>(82, 833, "3,1,2", F<&X::TrackingNumber>),
    Text<R>(20, 877, "4,1,1", F<&X::MasterTrackingNumber>),
    Box<R>(350, 878, 45, 19, 1).When(LaterPiece),
    Text<R>(355, 883, "1,1,1", F<&X::MasterFormId>).When(LaterPiece),
};

constexpr Element<R> kSinglePiece[] = {
    Text<R>(20, 830, "2,1,1", F<&X::TrackingCaption>),
    Text<R>(82, 835, "3,1,2", F<&X::TrackingNumber>),
    Box<R>(20, 848, 45, 19, 1),
    Text<R>(25, 853, "1,1,1", F<&X::FormId>),
};

constexpr Element<R> kBody[] = {
    // sender and shipment
    Text<R>(10,  15, "2,1,1", F<&X::OriginLine>),
    Text<R>(10,  35, "2,1,1", F<&CommonData::From1>),
    Text<R>(10,  55, "2,1,1", F<&CommonData::FromContact>),
    Text<R>(10,  75, "2,1,1", F<&CommonData::From2>),
    Text<R>(10,  95, "2,1,1", F<&CommonData::From3>),
    Text<R>(10, 115, "2,1,1", F<&CommonData::FromCountry>),
    Text<R>(225, 15, "2,1,1", F<&CommonData::FromPhone>),
    XorLine<R>(430, 10, 3, 143),
    Text<R>(440,  15, "2,1,1", F<&X::ShipDateLine>),
    Text<R>(440,  35, "2,1,1", F<&X::WeightLine>),
    Text<R>(440,  55, "2,1,1", F<&X::CadLine>),
    Text<R>(440,  75, "2,1,1", F<&X::DimensionsLine>),
    Text<R>(440,  95, "2,1,1", F<&X::DryIceLine>),
    Text<R>(440, 115, "2,1,1", F<&X::PaymentLine>),
    XorLine<R>(10, 153, 790, 3).Flag(kPadY4),
    // ship-to; the city, state and ZIP line large
    Text<R>(20, 169, "2,1,1", F<&X::ToCaption>),
    Text<R>(65, 169, "3,1,1", F<&CommonData::ShipTo1>),
    Text<R>(65, 191, "3,1,1", F<&CommonData::ShipTo2>),
    Text<R>(65, 213, "3,1,1", F<&CommonData::ShipTo3>),
    Text<R>(65, 235, "3,1,1", F<&CommonData::ShipTo4>),
    Text<R>(65, 257, "3,1,1", F<&CommonData::ShipTo5>),
    Text<R>(65, 279, "3,1,1", F<&CommonData::ShipTo6>),
    Text<R>(65, 302, "1,2,3", F<&CommonData::ShipTo7>),
    Text<R>(20, 370, "3,1,1", F<&CommonData::ShipToPhone>),
    // reference lines: 1, 3 and 5 on the left, 2 and 4 on the right, 5 on top
    Text<R>(400, 374, "2,1,1", F<&X::ReferenceLine5>),
    Text<R>(20,  393, "2,1,1", F<&X::ReferenceLine3>),
    Text<R>(20,  412, "2,1,1", F<&X::ReferenceLine1>),
    Text<R>(400, 393, "2,1,1", F<&X::ReferenceLine4>),
    Text<R>(400, 412, "2,1,1", F<&X::ReferenceLine2>),
    XorLine<R>(10, 440, 790, 3).Flag(kPadY4),
    // bar codes and the service box
    Barcode<R>(20, 453, fedex::kExpressDeliveryBarcode, F<&X::DeliveryBarcodeData>)
        .Flag(kQuotedData).When(HasDeliveryBarcode),
    Pdf417<R>(20, 495, kPdf417, F<&X::Pdf417Message>).Flag(kQuotedData),
    Text<R>(600, 495, "4,2,2", F<&X::Brand>),
    Text<R>(690, 542, "1,1,1", F<&X::BrandLine2>),
    Text<R>(665, 588, "4,4,4", F<&X::ServiceLetter>),
    Box<R>(630, 565, 125, 125, 10),
    Text<R>(770, 688, "1,1,1", F<&X::VersionIdentifier>).Rotated(3),
    Text<R>(630, 730, "2,1,1", F<&X::ReleaseCaption>),
    Text<R>(630, 753, "2,1,1", F<&X::ReleaseNumber>),
    XorLine<R>(10, 777, 790, 3).Flag(kPadY4),
    // tracking, service and routing
    Include(kMultiPiece).When(MultiPiece),
    Include(kSinglePiece).When(SinglePiece),
    Text<R>(410, 837, "4,1,2", F<&X::ServiceType>),
    Text<R>(440, 787, "4,1,2", F<&X::PlannedServiceLevel>),
    Text<R>(135, 903, "4,2,2", "EXPIRED").When(ExpiredRouting),
    Text<R>(175, 953, "4,2,2", "URSA").When(ExpiredRouting),
    Text<R>(20, 909, "4,3,4", F<&X::RoutingCode>).XDigits(2).When(Routed),
    Text<R>(440, 887, "4,1,1", F<&X::HandlingCodes>),
    Text<R>(622, 917, "3,2,2", F<&X::ZipOnly>),
    Text<R>(580, 970, "4,1,1", F<&X::ZipStateCountry>),
    Text<R>(678, 958, "3,2,2", F<&X::DestinationRamp>),
    Barcode<R>(55, 1013, fedex::kExpressOneDeeBarcode, F<&X::OneDeeBarcode>).Flag(kQuotedData),
};
// clang-format on

int32_t PrintExpress(LabelContext &label) {
    auto common = std::make_unique<CommonData>();
    auto express = std::make_unique<FedExExpressData>();
    if (!FdxFormatData(*express, *common, label)) return ZALERR_LABEL_DATAERROR;
    // only this label right-aligns the service type in 22 characters
    PadL(express->ServiceType, sizeof express->ServiceType, kServiceTypeWidth);
    const R records(label, "FedEx Express Label", *common, *express);
    int32_t result = PrintLegacy(fedex::kExpressFrame, label, common->xlabelc1, common->xlabelc2,
                                 [&](Canvas &canvas) { Draw(canvas, kBody, records); });
    // a failed Express label is never followed by its COD return label
    if (result != ZALERR_SUCCESS) return result;
    if (FedExCodReturnLabelOrdered(*express, label.jobWide)) return fedex::PrintExpressCodReturnLabel(label, records);
    return ZALERR_SUCCESS;
}

}  // namespace

// FdxPrintLabel
int32_t PrintFedExExpressLabel(LabelContext &label) {
    return Guarded(kModule, "FdxPrintLabel", [&] { return PrintExpress(label); });
}

}  // namespace zal
