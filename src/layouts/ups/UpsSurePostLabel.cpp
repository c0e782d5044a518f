// The UPS SurePost label (carrier "SUREPOST"): a UPS label whose lower half
// is the postal service's hand-off block (indicia, endorsement, USPS
// delivery address and the PIC bar code); the 4x6 CN22 form follows where
// the job asks for it.
#include <cstring>

#include "common/ErrorCodes.h"
#include "common/Strings.h"
#include "formatting/ups/LibUPS.h"
#include "layouts/TestStamp.h"
#include "layouts/cn22/Cn22Form.h"
#include "layouts/ups/UpsLabel.h"

namespace zal {
namespace {

using namespace layout;
using namespace ups;
using R = UpsRecords;


// A city line longer than this takes the narrower font.
constexpr std::size_t kCityLineNarrowAbove = 25;
// Up to 8 characters (AI 420 and a 5-digit ZIP) take the wider bars.
constexpr std::size_t kShortPostalData = 8;

bool LongCity(const R &r) { return std::strlen(Common(r).ShipTo7) > kCityLineNarrowAbove; }
bool ShortCity(const R &r) { return !LongCity(r); }
bool DimensionalWeight(const R &r) { return Ups(r).DimensionalWeight[0] != '\0'; }
bool ShortPostal(const R &r) { return std::strlen(Ups(r).PostalBarcodeData) <= kShortPostalData; }
// The postal bar code moves down below a printed routing code.
bool RoutedShortPostal(const R &r) { return Routed(r) && ShortPostal(r); }
bool RoutedLongPostal(const R &r) { return Routed(r) && !ShortPostal(r); }
bool PlainShortPostal(const R &r) { return !Routed(r) && ShortPostal(r); }
bool PlainLongPostal(const R &r) { return !Routed(r) && !ShortPostal(r); }

constexpr DocumentFrame kFrame = {"UPS SurePost GTL 2020 v1.0 4x6", "%s%s.%s.txt", kUpsLabelsModule, "SurePostPrint",
                                  ZALERR_ZALDOCERR, false};

constexpr ZalLib::MaxicodeDescriptor kMaxicode = {"m2", 0, 0, 0};
constexpr ZalLib::BarcodeDescriptor kPostalWide = {"1", 4, 4, 102, 1, 0};
constexpr ZalLib::BarcodeDescriptor kPostalNarrow = {"1", 3, 3, 102, 1, 0};
constexpr ZalLib::BarcodeDescriptor kTracking = {"1", 4, 4, 145, 1, 0};
constexpr ZalLib::BarcodeDescriptor kTrackingNarrow = {"1", 3, 3, 145, 1, 0};
// AI 420 with the ZIP, FNC1, the PIC.
constexpr ZalLib::BarcodeDescriptor kPic = {"1C", 3, 7, 135, 1, 0};

// The test stamp ends 15 dots inside the right edge, beside the indicia.
constexpr int kStampRightInset = 15;
constexpr int kStampRow = 845;

// clang-format off
constexpr Element<R> kTestStamp[] = {
    AlignedText<R>(Align::Right, kStampRightInset, kStampRow, "3,2,3", kStampIdCharWidth, F<&CommonData::TestID>)
        .Flag(kFromRight),
    AlignedText<R>(Align::Right, kStampRightInset, kStampRow + kStampNameLineOffset, "1,1,1", kStampNameCharWidth,
                   ZAL2443_MODULE_NAME " - ", LabelName<R>).Flag(kFromRight),
};

constexpr Element<R> kBody[] = {
    // sender, "SHIP" over "TO:", the consignee and its city line
    Text<R>(20, 20, "2,1,1", F<&CommonData::From1>),
    Text<R>(20, 40, "2,1,1", F<&CommonData::From2>),
    Text<R>(20, 60, "2,1,1", F<&CommonData::From3>),
    Text<R>(80, 118, "1,2,2", F<&UpsData::ShipTitle>),
    Text<R>(80, 162, "1,2,2", F<&UpsData::ToTitle>),
    Text<R>(170, 118, "4,1,1", F<&CommonData::ShipTo5>),
    Text<R>(170, 151, "4,1,1", F<&CommonData::ShipTo6>),
    Text<R>(168, 184, "2,1,2", F<&CommonData::ShipTo7>).When(LongCity),
    Text<R>(168, 184, "2,2,2", F<&CommonData::ShipTo7>).When(ShortCity),
    // weight, package count, dimensional weight, handling
    Text<R>(450, 20, "2,2,2", F<&UpsData::WeightText>),
    Text<R>(640, 20, "1,2,2", F<&UpsData::PackageCountText>),
    Text<R>(610, 60, "2,1,1", F<&UpsData::USPSWeightTitle>, F<&UpsData::DimensionalWeight>).When(DimensionalWeight),
    Text<R>(530, 85, "4,1,1", F<&UpsData::HandlingText>).When(Handling),
    // rules; the upright closes the MaxiCode's area
    Line<R>(0, 227, 0, 3).Flag(kFullWidth),
    Line<R>(240, 227, 3, 230),
    Line<R>(0, 446, 0, 13).Flag(kFullWidth),
    Line<R>(0, 548, 0, 3).Flag(kFullWidth),
    Line<R>(0, 725, 0, 13).Flag(kFullWidth),
    // the MaxiCode, whatever the weight; routing code and postal bar code
    Maxicode<R>(238, kMaxicode, F<&UpsData::MaxiCodeData>),
    Text<R>(320, 240, "3,2,3", F<&UpsData::RoutingCode>).When(Routed),
    Barcode<R>(305, 326, kPostalWide, F<&UpsData::PostalBarcodeData>).When(RoutedShortPostal),
    Barcode<R>(270, 326, kPostalNarrow, F<&UpsData::PostalBarcodeData>).When(RoutedLongPostal),
    Barcode<R>(305, 286, kPostalWide, F<&UpsData::PostalBarcodeData>).When(PlainShortPostal),
    Barcode<R>(270, 286, kPostalNarrow, F<&UpsData::PostalBarcodeData>).When(PlainLongPostal),
    // service and tracking; the black square marks every SurePost service
    Text<R>(20, 467, "2,2,2", F<&UpsData::ServiceName>),
    Text<R>(20, 515, "4,1,1", F<&UpsData::TrackingText>),
    Line<R>(700, 446, 100, 100),
    Barcode<R>(95, 565, kTrackingNarrow, F<&UpsData::TrackingBarcodeHead>, F<&UpsData::TrackingBarcodeTail>)
        .When(LongTrackingHead),
    Barcode<R>(75, 565, kTracking, F<&UpsData::TrackingBarcodeHead>, F<&UpsData::TrackingBarcodeTail>)
        .When(ShortTrackingHead),
    // the postal service's hand-off: indicia, endorsement, delivery address
    Box<R>(580, 750, 190, 100, 2),
    Text<R>(597, 763, "1,1,1", F<&UpsData::USPSClassText>),
    Text<R>(591, 783, "1,1,1", F<&UpsData::USPSPostagePaidText>),
    Text<R>(662, 803, "1,1,1", F<&UpsData::USPSUpsText>),
    Text<R>(662, 823, "1,1,1", F<&UpsData::USPSeVSText>),
    Text<R>(190, 747, "2,1,1", F<&UpsData::EndorsementText>),
    Text<R>(20, 785, "2,1,1", F<&UpsData::USPSDeliverToTitle>),
    Text<R>(20, 813, "2,1,1", F<&UpsData::USPSDelToLine1>),
    Text<R>(20, 838, "2,1,1", F<&UpsData::USPSDelToLine2>),
    Text<R>(20, 863, "2,1,1", F<&UpsData::USPSDelToLine3>),
    Text<R>(20, 888, "2,1,1", F<&UpsData::USPSDelToCityStZip>),
    Line<R>(0, 918, 0, 13).Flag(kFullWidth),
    // the PIC and its bar code
    Text<R>(250, 948, "4,1,1", F<&UpsData::USPSBarcodeTitle>),
    Barcode<R>(34, 1000, kPic, "420", F<&UpsData::USPSDelToZip5>, "\"F1\"", F<&UpsData::USPSPICNumber>),
    Text<R>(145, 1163, "4,1,1", F<&UpsData::USPSPICText>),
    Line<R>(0, 1200, 0, 13).Flag(kFullWidth),
    Include(kTestStamp).When(InTestMode),
};
// clang-format on

}  // namespace

// SurePostPrint
int32_t PrintUpsSurePostLabel(LabelContext &label) {
    int32_t result = ups::PrintUpsLabel(kFrame, upsFormatData, kBody, label);
    // the flag as the UPS formatting read it: one character, as it stands
    char flag[2] = "";
    label.job.Raw("PrintCN22Flag", "", flag);
    if (result == ZALERR_SUCCESS && std::strcmp(flag, "Y") == 0) result = PrintCn22Form4x6(label);
    return result;
}

}  // namespace zal
