// The FedEx COD return label, printed after the Express label of a
// collect-on-delivery shipment: the shipment's recipient is now the sender
// and the COD return address the recipient; the COD tracking number, amount
// and security, the COD PDF417 and one-dimensional bar codes.
#include "layouts/fedex/FedExExpressLabel.h"

namespace zal::fedex {
namespace {

using namespace layout;
using R = ExpressRecords;
using X = FedExExpressData;

bool HasCodDeliveryBarcode(const R &r) {
    return r.Of<X>().CodDeliveryBarcodeData[0] != '\0';
}

constexpr ZalLib::Pdf417Descriptor kCodPdf417 = {0, 999, 500, 5, 1, 0, 2, 10, 99, 12};

// clang-format off
constexpr Element<R> kBody[] = {
    // the shipment's recipient as the sender
    Text<R>(10,  15, "2,1,1", F<&X::OriginLine>),
    Text<R>(10,  35, "2,1,1", F<&CommonData::ShipTo4>),
    Text<R>(10,  55, "2,1,1", F<&CommonData::ShipTo5>),
    Text<R>(10,  75, "2,1,1", F<&CommonData::ShipTo6>),
    Text<R>(10,  95, "2,1,1", F<&CommonData::ShipTo7>),
    Text<R>(10, 115, "2,1,1", F<&X::CountryLine>),
    Text<R>(225, 15, "2,1,1", F<&CommonData::ShipToPhone>),
    XorLine<R>(430, 15, 3, 138),
    Text<R>(440, 55, "2,1,1", F<&X::CadLine>),
    Text<R>(440, 95, "2,1,1", F<&X::PaymentLine>),
    XorLine<R>(10, 153, 790, 3).Flag(kPadY4),
    // the COD return address; its last line large
    Text<R>(10, 169, "2,1,1", F<&X::ToCaption>),
    Text<R>(20, 370, "3,1,1", F<&X::CodReturnPhone>),
    Text<R>(65, 228, "3,1,1", F<&X::CodReturnAddress1>),
    Text<R>(65, 249, "3,1,1", F<&X::CodReturnAddress2>),
    Text<R>(65, 270, "1,2,3", F<&X::CodReturnAddress3>),
    Text<R>(400, 374, "2,1,1", F<&X::ReferenceLine5>),
    Text<R>(20,  393, "2,1,1", F<&X::ReferenceLine3>),
    Text<R>(20,  412, "2,1,1", F<&X::ReferenceLine1>),
    Text<R>(400, 393, "2,1,1", F<&X::ReferenceLine4>),
    Text<R>(400, 412, "2,1,1", F<&X::ReferenceLine2>),
    XorLine<R>(10, 440, 790, 3).Flag(kPadY4),
    // bar codes and the service box
    Barcode<R>(20, 453, kExpressDeliveryBarcode, F<&FedExExpressData::CodDeliveryBarcodeData>)
        .Flag(kQuotedData).When(HasCodDeliveryBarcode),
    Pdf417<R>(20, 495, kCodPdf417, F<&FedExExpressData::CodPdf417Message>).Flag(kQuotedData),
    Text<R>(595, 497, "4,2,2", F<&X::Brand>),
    Text<R>(685, 543, "1,1,1", F<&X::BrandLine2>),
    Text<R>(663, 588, "4,4,4", F<&X::ServiceLetter>),
    Box<R>(630, 567, 122, 120, 10),
    Text<R>(770, 685, "1,1,1", F<&X::VersionIdentifier>).Rotated(3),
    XorLine<R>(10, 780, 790, 3).Flag(kPadY4),
    // COD tracking, amount and service
    Text<R>(20, 850, "2,1,1", F<&X::CodTrackingCaption>),
    Text<R>(82, 858, "3,1,2", F<&X::CodReturnTrackingNumber>),
    Box<R>(20, 870, 45, 21, 1),
    Text<R>(25, 875, "1,1,1", F<&X::CodFormId>),
    Text<R>(20, 935, "4,1,1", F<&X::CodAmountLine>),
    Text<R>(20, 965, "3,1,1", F<&X::CodSecurity>),
    Text<R>(730, 787, "4,1,2", F<&X::CodServiceLevel>),
    Text<R>(470, 837, "4,1,2", F<&X::CodServiceType>),
    Text<R>(600, 887, "4,1,1", F<&X::CodReturnCaption>),
    Text<R>(622, 917, "3,2,2", F<&X::CodZipOnly>),
    Text<R>(580, 970, "4,1,1", F<&X::CodZipStateCountry>),
    Barcode<R>(55, 1010, kExpressOneDeeBarcode, F<&FedExExpressData::CodOneDeeBarcode>).Flag(kQuotedData),
};
// clang-format on

}  // namespace

// FdxPrintCodReturnLabel
int32_t PrintExpressCodReturnLabel(LabelContext &label, const ExpressRecords &records) {
    const CommonData &common = records.Of<CommonData>();
    return PrintLegacy(kExpressFrame, label, common.xlabelc3, common.xlabelc4,
                       [&](Canvas &canvas) { Draw(canvas, kBody, records); });
}

}  // namespace zal::fedex
