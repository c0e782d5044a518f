// The UPS pickup summary formatting: the driver's summary of a day's
// pickup (shipper, shipping record, account, package counts per service)
// and the Data Matrix message that carries it.
#pragma once

#include <cstdint>

#include "job/LabelContext.h"

namespace zal {

// Widths include the terminator.  Zeroed by the label before formatting.
struct PickupSummaryData {
    char TotalNumberofPackages[8];
    char Declare1To5[8];
    char DeclareOver5[8];
    char NextDay[8];
    char SecondDay[8];
    char ThirdDay[8];
    char International[8];
    char IntlShipments[8];
    char COD[8];
    char From1[31];
    char From2[31];
    char From3[31];
    char AccountText[10];          // 123 - 456
    char ShippingRecordText[13];   // 1234 5678 90
    char PickupSummaryBarcode[24];
    char Date[13];
    char RoutingVersion[6];
    char RoutingDate[8];
    char ControlLogText[25];
    char PendingText[12];
    char DataMatrixData[701];  // escaped for EPL
    int32_t DataMatrixLength;
    char TestModeFlag[2];
    char TestID[11];
};

// Fills the record from the job file; false (the reason in the job file's
// "Error" section) for a pickup bar code of other than 23 characters.
bool LibUPSPldFormatData(PickupSummaryData &pickup, const JobFile &job);
// LibUPSPldFormatData with its error line, then the message escaped for a
// quoted EPL field; false when it does not fit.
bool upsPldFormatData(PickupSummaryData &pickup, const JobFile &job);

}  // namespace zal
