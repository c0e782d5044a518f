// The UPS Mail Innovations returns label (carrier "UPSMIR"): a postage-paid
// parcel return handed to the postal service, with the no-postage indicia,
// the Data Matrix symbol, the PIC bar code, the service and permit, the
// return address and the mailer identifier white on black.
#include <cstring>

#include "common/ErrorCodes.h"
#include "layouts/TestStamp.h"
#include "layouts/ups/UpsMailInnovationsLabel.h"

namespace zal {
namespace {

using namespace layout;
using R = ups::MiRecords;
using M = MailInnovationsData;
template <auto Member>
constexpr auto F = ups::MiF<Member>;

bool InTestMode(const R &r) { return std::strcmp(r.Of<CommonData>().TestModeFlag, "Y") == 0; }
bool TallerThan4x4(const R &r) { return r.label.device.Media.Length > 4.25f; }

// 0x99 is the trade mark sign of the Windows Latin-1 code page.
constexpr DocumentFrame kFrame = {"UPS Mail Innovations Returns Smart Label" "\x99" " GTL 2020 v1.0", "%s%s.%s.txt",
                                  kUpsLabelsModule, "upsMIReturnPrint", ZALERR_ZALDOCERR, false};

constexpr ZalLib::DataMatrixDescriptor kDataMatrix = {4};

// clang-format off
constexpr Element<R> kBody[] = {
    Text<R>(20, 25, "2,1,1", F<&CommonData::FromContact>),
    Text<R>(20, 47, "2,1,1", F<&CommonData::From1>),
    Text<R>(20, 69, "2,1,1", F<&CommonData::From2>),
    Text<R>(20, 91, "2,1,1", F<&CommonData::From3>),
    DataMatrix<R>(392, 22, kDataMatrix, F<&M::DataMatrixData>),
    // the indicia: the no-postage text in a frame over three bars
    Box<R>(572, 20, 202, 90, 3),
    Text<R>(620, 31, "1,1,1", F<&M::NoPostageText>),
    Text<R>(610, 50, "1,1,1", F<&M::NecessaryText>),
    Text<R>(605, 69, "1,1,1", F<&M::MailedInText>),
    Text<R>(605, 88, "1,1,1", F<&M::UnitedStatesText>),
    Line<R>(572, 115, 202, 13),
    Line<R>(572, 134, 202, 13),
    Line<R>(572, 153, 202, 13),
    Line<R>(0, 175, 0, 13).Flag(kFullWidth),
    // the PIC and its bar code
    Text<R>(180, 203, "2,2,2", F<&M::ServiceBanner>),
    ups::MiPicBarcode<34, 255>,
    Text<R>(140, 413, "4,1,1", F<&M::PICText>),
    Line<R>(0, 460, 0, 13).Flag(kFullWidth),
    // service and permit, return address, mailer identifier
    Box<R>(35, 490, 730, 105, 3),
    Text<R>(70, 502, "4,2,2", F<&M::ReturnServiceText>),
    Text<R>(65, 564, "2,1,1", F<&M::ReturnCarrierText>),
    Text<R>(545, 564, "2,1,1", F<&M::PermitText>),
    Text<R>(140, 620, "4,1,1", F<&M::ReturnsAddressText>),
    Text<R>(140, 660, "4,1,1", F<&M::ParcelReturnText>),
    Text<R>(140, 700, "4,1,1", F<&M::ReturnsZipText>),
    Text<R>(595, 695, "4,2,2", F<&M::ReturnMailerIDBox>),
    XorLine<R>(570, 680, 200, 75),
    Text<R>(160, 850, "1,1,1", F<&M::ApplicationVersion>, " E2844").Flag(kFromRight),
    Include(TestStamp<R, &CommonData::TestID, 650>).When(InTestMode),
    Line<R>(0, 865, 0, 3).Flag(kFullWidth).When(TallerThan4x4),
};
// clang-format on

}  // namespace

// upsMIReturnPrint
int32_t PrintUpsMiReturnsLabel(LabelContext &label) {
    return ups::PrintMiLabel(kFrame, upsMIReturnsFormatData, kBody, label);
}

}  // namespace zal
