// The UPS Mail Innovations label (carrier "UPSMI"): an outbound parcel
// handed to the postal service, with the postage-paid indicia of its mail
// class, the Data Matrix symbol, the PIC bar code (or, for an international
// parcel without a PIC, the tracking number) and the addresses; the 4x4
// CN22 form follows where the job asks for it.
#include "layouts/ups/UpsMailInnovationsLabel.h"

#include <cstring>
#include <memory>

#include "common/ErrorCodes.h"
#include "common/Strings.h"
#include "layouts/TestStamp.h"
#include "layouts/cn22/Cn22Form.h"

namespace zal {

namespace ups {

int32_t PrintMiLabel(const layout::DocumentFrame &frame, MiFormatter format,
                     const layout::Element<MiRecords> *body, std::size_t count, LabelContext &label,
                     bool *customsForm) {
    return layout::Guarded(frame.module, frame.routine, [&]() -> int32_t {
        auto common = std::make_unique<CommonData>();
        auto mi = std::make_unique<MailInnovationsData>();
        if (!format(*mi, *common, label)) return ZALERR_LABEL_DATAERROR;
        if (customsForm != nullptr) *customsForm = std::strcmp(mi->PrintCN22Flag, "Y") == 0;
        const MiRecords records(label, frame.name, *common, *mi);
        return layout::PrintDocument(frame, label, common->xlabelc1, common->xlabelc2,
                                     [&](layout::Canvas &canvas) { layout::Draw(canvas, body, count, records); });
    });
}

}  // namespace ups

namespace {

using namespace layout;
using R = ups::MiRecords;
using M = MailInnovationsData;
template <auto Member>
constexpr auto F = ups::MiF<Member>;

const M &Mi(const R &r) { return r.Of<M>(); }
const CommonData &Common(const R &r) { return r.Of<CommonData>(); }
bool Is(const char *field, const char *value) { return std::strcmp(field, value) == 0; }

// From this label generation on the label names the shipment by its
// tracking number (MMID) rather than by the consignee's postal code.
constexpr int32_t kMmidYear = 2016;
// A city line longer than this takes the narrower font.
constexpr std::size_t kCityLineNarrowAbove = 19;
// The version line moves left as the application version grows.
constexpr int32_t kShortVersion = 7;
constexpr int32_t kMediumVersion = 10;

bool International(const R &r) { return Is(Mi(r).IntlFlag, "Y"); }
bool Domestic(const R &r) { return !International(r); }
bool LongCity(const R &r) { return Domestic(r) && std::strlen(Common(r).ShipTo7) > kCityLineNarrowAbove; }
bool ShortCity(const R &r) { return Domestic(r) && std::strlen(Common(r).ShipTo7) <= kCityLineNarrowAbove; }
bool HasPic(const R &r) { return Mi(r).USPSPICNumber[0] != '\0'; }
bool Evs(const R &r) { return Is(Mi(r).EvsFlag, "Y"); }
bool EvsIndicia(const R &r) { return HasPic(r) && Evs(r); }
bool PlainIndicia(const R &r) { return HasPic(r) && !Evs(r); }
bool EvsPicTitle(const R &r) { return HasPic(r) && Evs(r); }
bool PlainPicTitle(const R &r) { return HasPic(r) && !Evs(r); }
bool Mmid(const R &r) { return Mi(r).BRDYear >= kMmidYear; }
bool PostalCode(const R &r) { return !Mmid(r); }
// An international parcel without a PIC that the customs form names by its
// UPS tracking number shows that number's bar code instead.
bool TrackingBlock(const R &r) {
    return !HasPic(r) && Mmid(r) && International(r) && Is(Mi(r).CN22PrintUPSMMIFlag, "Y");
}
bool ShortVersion(const R &r) { return Mi(r).ApplicationVersionLength <= kShortVersion; }
bool MediumVersion(const R &r) {
    return Mi(r).ApplicationVersionLength > kShortVersion && Mi(r).ApplicationVersionLength <= kMediumVersion;
}
bool LongVersion(const R &r) { return Mi(r).ApplicationVersionLength > kMediumVersion; }
bool InTestMode(const R &r) { return Is(Common(r).TestModeFlag, "Y"); }
bool TallerThan4x4(const R &r) { return r.label.device.Media.Length > 4.25f; }
// The reference lines need at least 4.5 inches.
bool HasReferenceRoom(const R &r) { return r.label.device.Media.Length >= 4.5f; }
bool HasPoNumber(const R &r) {
    const JobWideValues &job = r.Of<JobWideValues>();
    return HasReferenceRoom(r) && !IsBlankText(job.PONumber, sizeof job.PONumber);
}
bool RemarkAlone(const R &r) { return HasReferenceRoom(r) && !HasPoNumber(r); }

// 0x99 is the trade mark sign of the Windows Latin-1 code page.
constexpr DocumentFrame kFrame = {"UPS Mail Innovations Smart Label" "\x99" " GTL 2020 v1.0", "%s%s.%s.txt",
                                  kUpsLabelsModule, "upsMailInnovationsPrint4x4", ZALERR_ZALDOCERR, false};

constexpr ZalLib::DataMatrixDescriptor kDataMatrix = {4};
constexpr ZalLib::BarcodeDescriptor kTrackingBarcode = {"1", 3, 7, 103, 1, 0};

// clang-format off
constexpr Element<R> kBody[] = {
    // sender; the country only on an international parcel
    Text<R>(10,  2, "2,1,1", F<&CommonData::FromContact>),
    Text<R>(10, 22, "2,1,1", F<&CommonData::From1>),
    Text<R>(10, 42, "2,1,1", F<&CommonData::From2>),
    Text<R>(10, 62, "2,1,1", F<&CommonData::From3>),
    Text<R>(10, 82, "2,1,1", F<&CommonData::FromCountry>).When(International),
    // the indicia of a parcel with a PIC; eVS adds a line
    Box<R>(555, 20, 217, 90, 2).When(EvsIndicia),
    Text<R>(567, 33, "1,1,1", F<&M::MailClass>).When(EvsIndicia),
    Text<R>(582, 53, "1,1,1", F<&M::PostagePaidText>).When(EvsIndicia),
    Text<R>(565, 73, "1,1,1", F<&M::IndiciaCarrierText>).When(EvsIndicia),
    Text<R>(648, 93, "1,1,1", F<&M::EvsText>).When(EvsIndicia),
    Box<R>(555, 20, 217, 70, 2).When(PlainIndicia),
    Text<R>(567, 33, "1,1,1", F<&M::MailClass>).When(PlainIndicia),
    Text<R>(598, 53, "1,1,1", F<&M::PostagePaidText>).When(PlainIndicia),
    Text<R>(585, 73, "1,1,1", F<&M::IndiciaCarrierText>).When(PlainIndicia),
    Text<R>(65, 158, "2,1,1", F<&M::EndorsementText>),
    // "SHIP" over "TO:", then the consignee
    Text<R>(50, 235, "1,2,2", F<&M::ShipTitle>),
    Text<R>(50, 265, "1,2,2", F<&M::ToTitle>),
    Text<R>(130, 231, "4,1,1", F<&CommonData::ShipTo4>).When(International),
    Text<R>(130, 254, "4,1,1", F<&CommonData::ShipTo5>).When(International),
    Text<R>(130, 279, "4,1,1", F<&CommonData::ShipTo6>).When(International),
    Text<R>(130, 303, "4,1,1", F<&CommonData::ShipTo7>).When(International),
    Text<R>(130, 327, "2,2,2", F<&CommonData::ShipToCountry>).When(International),
    Text<R>(130, 231, "4,1,1", F<&CommonData::ShipTo3>).When(Domestic),
    Text<R>(130, 254, "4,1,1", F<&CommonData::ShipTo4>).When(Domestic),
    Text<R>(130, 279, "4,1,1", F<&CommonData::ShipTo5>).When(Domestic),
    Text<R>(130, 303, "4,1,1", F<&CommonData::ShipTo6>).When(Domestic),
    Text<R>(130, 327, "1,2,2", F<&CommonData::ShipTo7>).When(LongCity),
    Text<R>(130, 327, "2,2,2", F<&CommonData::ShipTo7>).When(ShortCity),
    Line<R>(0, 357, 0, 3).Flag(kFullWidth),
    // the Data Matrix beside the carrier, shipment, package and cost centre
    DataMatrix<R>(20, 382, kDataMatrix, F<&M::DataMatrixData>),
    Line<R>(190, 357, 3, 193),
    Text<R>(215, 382, "2,2,2", F<&M::CarrierTitle>),
    Text<R>(215, 437, "4,1,1", F<&M::MmidTitle>, F<&M::TrackingNumber>).When(Mmid),
    Text<R>(215, 437, "4,1,1", F<&M::PostalCodeTitle>, F<&CommonData::ShipToZip>).When(PostalCode),
    Text<R>(215, 477, "4,1,1", F<&M::PackageIdTitle>, F<&M::PkgID>),
    Text<R>(215, 517, "4,1,1", F<&M::CostCenterTitle>, F<&M::CostCenter>),
    Line<R>(0, 550, 0, 3).Flag(kFullWidth),
    Text<R>(210, 557, "1,1,1", F<&M::ApplicationVersion>, " E2844").Flag(kFromRight).When(ShortVersion),
    Text<R>(230, 557, "1,1,1", F<&M::ApplicationVersion>, " E2844").Flag(kFromRight).When(MediumVersion),
    Text<R>(290, 557, "1,1,1", F<&M::ApplicationVersion>, " E2844").Flag(kFromRight).When(LongVersion),
    // the PIC and its bar code
    Line<R>(0, 578, 0, 13).Flag(kFullWidth).When(HasPic),
    Text<R>(230, 601, "4,1,1", F<&M::TrackingTitle>).When(EvsPicTitle),
    Text<R>(280, 601, "4,1,1", F<&M::TrackingTitle>).When(PlainPicTitle),
    ups::MiPicBarcode<34, 659>.When(HasPic),
    Text<R>(135, 822, "4,1,1", F<&M::PICText>).When(HasPic),
    Line<R>(0, 855, 0, 13).Flag(kFullWidth).When(HasPic),
    // or the tracking number's
    Line<R>(0, 578, 0, 3).Flag(kToRightEdge).When(TrackingBlock),
    Barcode<R>(185, 636, kTrackingBarcode, F<&M::TrackingNumber>).When(TrackingBlock),
    Text<R>(207, 800, "4,1,1", F<&M::TrackingText>).When(TrackingBlock),
    Include(TestStamp<R, &CommonData::TestID, 650>).When(InTestMode),
    Line<R>(0, 865, 0, 3).Flag(kFullWidth).When(TallerThan4x4),
    // reference lines
    Text<R>(10, 881, "2,1,1", "PO # ", F<&JobWideValues::PONumber>).When(HasPoNumber),
    Text<R>(10, 909, "2,1,1", F<&JobWideValues::Remark>).When(HasPoNumber),
    Text<R>(10, 881, "2,1,1", F<&JobWideValues::Remark>).When(RemarkAlone),
};
// clang-format on

}  // namespace

// upsMailInnovationsPrint4x4
int32_t PrintUpsMailInnovationsLabel(LabelContext &label) {
    bool customsForm = false;
    int32_t result = ups::PrintMiLabel(kFrame, upsMailInnovationsFormatData, kBody, label, &customsForm);
    if (result == ZALERR_SUCCESS && customsForm) result = PrintCn22Form4x4(label);
    return result;
}

}  // namespace zal
