// The SmartPost record: every text the SmartPost label prints, filled from
// the job file.  Widths include the terminator.
#pragma once

#include <cstdint>

#include "formatting/CommonData.h"
#include "job/LabelContext.h"

namespace zal {

struct SmartPostData {
    char ShipFromCaption[11];
    char ShipCaption[5];
    char ToCaption[4];
    char ServiceLetter[2];
    char GroundLetter[2];
    char VersionIdentifier[31];
    char PickupCarrier[2];
    char ServiceTypeCode[4];
    char ServiceClass[4];
    char Endorsement1[31];
    char Endorsement2[31];
    char Banner[33];
    char GroupedTrackingNumber[38];
    char GroundTrackingNumber[23];
    char GroundTrackingLine[27];
    char ServiceName[21];
    char IndiciaLine[21];
    char PaidLine[21];
    char CarrierLine[21];
    char EvsLine[21];
    char RoutingPart[9];
    char PackagePart[23];
    char Cn22Flag[2];
    int32_t IndiciaKind;  // 0 none, 1 postage paid, 2 postage and fees
    int32_t EndorsementCount;
    int32_t FsmsVersion;
};

// The oldest FSMS server version whose labels this library prints.
constexpr int32_t kFirstFsmsVersion = 110;

// Fills the SmartPost record and the common record from the job file.  False
// when the job is refused: a tracking number of other than 30 characters
// (the reason is written into the job file) or a fault (reported).
bool FormatSmartPostData(SmartPostData &smartPost, CommonData &common, LabelContext &label);

}  // namespace zal
