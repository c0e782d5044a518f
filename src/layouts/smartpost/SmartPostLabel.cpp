// The SmartPost label (carrier "SMARTPOST"): sender, the ground carrier's
// marks, indicia box, endorsements, addressee, the GS1-128 bar code of the
// postal tracking number and the ground carrier's own bar code,
// string-built.
#include <cstdint>

#include "common/ErrorCodes.h"
#include "common/Log.h"
#include "common/Modules.h"
#include "formatting/CommonData.h"
#include "formatting/smartpost/SmartPostData.h"
#include "layouts/engine/Frame.h"

namespace zal {
namespace {

using namespace layout;

using R = Records<CommonData, SmartPostData>;
template <auto Member>
constexpr auto F = &FieldText<Member, R>;

const SmartPostData &SmartPost(const R &r) { return r.Of<SmartPostData>(); }

// The ground carrier picked the parcel up: its boxed S and G and its bar code.
bool GroundPickup(const R &r) { return SmartPost(r).PickupCarrier[0] == 'G'; }
bool PostagePaid(const R &r) { return SmartPost(r).IndiciaKind == 1; }
bool PostageAndFees(const R &r) { return SmartPost(r).IndiciaKind == 2; }
bool OneEndorsement(const R &r) { return SmartPost(r).EndorsementCount == 1; }
bool TwoEndorsements(const R &r) { return SmartPost(r).EndorsementCount == 2; }

constexpr LegacyFrame kFrame = {ZalLib::MemoryCommand::M160, ZalLib::HeaderForm::A, nullptr};

// GS1-128: the routing part (application identifier 420 and the ZIP), a
// function-1 separator, the package part; the data are written whole in
// the pieces (F1" <routing> "F1" <package> ").
constexpr ZalLib::BarcodeDescriptor kPostal = {"1C", 3, 7, 154, 0, 0};
constexpr ZalLib::BarcodeDescriptor kGround = {"1E", 4, 4, 285, 1, 0};

// clang-format off
constexpr Element<R> kBody[] = {
    // sender
    Text<R>(20, 30, "4,1,1", F<&SmartPostData::ShipFromCaption>),
    Text<R>(20, 55, "2,1,1", F<&CommonData::From1>),
    Text<R>(20, 75, "2,1,1", F<&CommonData::FromContact>),
    Text<R>(20, 95, "2,1,1", F<&CommonData::From2>),
    Text<R>(20, 115, "2,1,1", F<&CommonData::From3>),
    // the ground carrier's marks
    Text<R>(443, 52, "4,4,4", F<&SmartPostData::ServiceLetter>).When(GroundPickup),
    Box<R>(430, 30, 80, 125, 3).When(GroundPickup),
    Text<R>(659, 387, "5,2,2", F<&SmartPostData::GroundLetter>).When(GroundPickup),
    Box<R>(630, 370, 120, 127, 10).When(GroundPickup),
    Text<R>(760, 495, "1,1,1", F<&SmartPostData::VersionIdentifier>).Rotated(3),
    // indicia box: its frame also when there is no indicia
    Text<R>(540, 55, "2,1,1", F<&SmartPostData::ServiceName>).When(PostagePaid),
    Text<R>(540, 77, "2,1,1", F<&SmartPostData::IndiciaLine>).When(PostagePaid),
    Text<R>(540, 99, "2,1,1", F<&SmartPostData::CarrierLine>).When(PostagePaid),
    Text<R>(540, 121, "2,1,1", F<&SmartPostData::EvsLine>).When(PostagePaid),
    Text<R>(540, 40, "2,1,1", F<&SmartPostData::ServiceName>).When(PostageAndFees),
    Text<R>(540, 62, "2,1,1", F<&SmartPostData::IndiciaLine>).When(PostageAndFees),
    Text<R>(540, 87, "2,1,1", F<&SmartPostData::PaidLine>).When(PostageAndFees),
    Text<R>(540, 109, "2,1,1", F<&SmartPostData::CarrierLine>).When(PostageAndFees),
    Text<R>(540, 131, "2,1,1", F<&SmartPostData::EvsLine>).When(PostageAndFees),
    Box<R>(525, 30, 250, 125, 3),
    // endorsements: with a count of 1 the first one prints, even when only
    // the second was given
    Text<R>(20, 185, "2,1,1", F<&SmartPostData::Endorsement1>).When(OneEndorsement),
    Text<R>(20, 177, "2,1,1", F<&SmartPostData::Endorsement1>).When(TwoEndorsements),
    Text<R>(20, 197, "2,1,1", F<&SmartPostData::Endorsement2>).When(TwoEndorsements),
    // addressee
    Text<R>(20, 340, "2,2,2", F<&SmartPostData::ShipCaption>),
    Text<R>(20, 380, "2,2,2", F<&SmartPostData::ToCaption>),
    Text<R>(130, 260, "2,1,2", F<&CommonData::ShipTo1>),
    Text<R>(130, 295, "2,1,2", F<&CommonData::ShipTo2>),
    Text<R>(130, 330, "2,1,2", F<&CommonData::ShipTo3>),
    Text<R>(130, 365, "2,1,2", F<&CommonData::ShipTo4>),
    Text<R>(130, 400, "2,1,2", F<&CommonData::ShipTo5>),
    Text<R>(130, 435, "2,1,2", F<&CommonData::ShipTo6>),
    Text<R>(130, 470, "2,1,2", F<&CommonData::ShipTo7>),
    // postal tracking number
    XorLine<R>(10, 515, 775, 11),
    Text<R>(246, 553, "3,1,2", F<&SmartPostData::Banner>),
    XorLine<R>(10, 846, 775, 11),
    Barcode<R>(64, 613, kPostal, "F1\"", F<&SmartPostData::RoutingPart>, "\"F1\"", F<&SmartPostData::PackagePart>,
               "\"").XDigits(2),
    Text<R>(174, 797, "4,1,1", F<&SmartPostData::GroupedTrackingNumber>),
    // the ground carrier's tracking number
    Barcode<R>(70, 884, kGround, F<&SmartPostData::GroundTrackingNumber>).When(GroundPickup),
    Text<R>(190, 1194, "4,1,1", F<&SmartPostData::GroundTrackingLine>).When(GroundPickup),
};
// clang-format on

int32_t PrintSmartPost(LabelContext &label) {
    SmartPostData smartPost = {};
    CommonData common = {};
    if (!FormatSmartPostData(smartPost, common, label)) {
        log::LogErrorText("PrintSmartPostLabel: The SmartPost label data could not be formatted. Printing cancelled.");
        return ZALERR_LABEL_DATAERROR;
    }
    if (smartPost.FsmsVersion < kFirstFsmsVersion) {
        log::LogError("PrintSmartPostLabel: FSMS server version %d is not supported (%d or later). Printing "
                      "cancelled.",
                      static_cast<int>(smartPost.FsmsVersion), static_cast<int>(kFirstFsmsVersion));
        return ZALERR_UNSUPFSMSVER;
    }
    const R records(label, "SmartPost Label", common, smartPost);
    const int32_t result = PrintLegacy(kFrame, label, common.xlabelc1, common.xlabelc2,
                                       [&](Canvas &canvas) { Draw(canvas, kBody, records); });
    // The label is printed, but the customs form that should follow it is
    // not: the job reports that.
    if (result == ZALERR_SUCCESS && smartPost.Cn22Flag[0] == 'Y') {
        log::LogErrorText("SmartPostPrintLabel_110x: CN22 support not complete. Returning error ZALERR_NOTCODED.");
        return ZALERR_NOTCODED;
    }
    return result;
}

}  // namespace

int32_t PrintSmartPostLabel(LabelContext &label) {
    return Guarded(kCommonLabelsModule, "PrintSmartPostLabel", [&] { return PrintSmartPost(label); });
}

}  // namespace zal
