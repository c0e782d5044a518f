// The UPS Mail Innovations formatting: the record of the outbound Mail
// Innovations label and of its returns label (a parcel handed to the postal
// service), with the Data Matrix message each of them carries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "formatting/CommonData.h"
#include "job/LabelContext.h"

namespace zal {

// Widths include the terminator.  Zeroed by the label before formatting.
struct MailInnovationsData {
    char TrackingNumber[19];
    char TrackingText[24];  // 1 Z999AA 101 2345678 4
    char EvsFlag[2];
    char PrintCN22Flag[2];
    char IntlFlag[2];
    char CN22PrintUPSMMIFlag[2];
    char ShipTitle[5];
    char ToTitle[4];
    char EndorsementText[36];
    char PostalCodeTitle[14];
    char MmidTitle[8];
    char PackageIdTitle[15];
    char CostCenterTitle[16];
    char PkgID[31];
    char CostCenter[31];
    char ApplicationVersion[21];
    int32_t ApplicationVersionLength;
    char MailClass[21];  // centred in 20 characters
    char PostagePaidText[21];
    char IndiciaCarrierText[21];
    char EvsText[21];
    char CarrierTitle[51];
    char USPSPICNumber[27];
    char TrackingTitle[51];
    char ServiceBanner[51];
    char Zip5[11];
    char PICText[51];  // 9200 1902 3456 7890 1234 56
    char DataMatrixData[501];  // escaped for EPL
    int32_t DataMatrixLength;
    char TestModeFlag[2];
    char TestID[11];
    int32_t BRDYear;
    // The returns label's indicia, service, permit and address texts.
    char NoPostageText[11];
    char NecessaryText[13];
    char MailedInText[14];
    char UnitedStatesText[14];
    char ReturnServiceText[22];
    char ReturnCarrierText[21];
    char PermitText[17];
    char ReturnsAddressText[29];
    char ParcelReturnText[22];
    char ReturnsZipText[6];
    char ReturnMailerIDBox[6];
};

// The returns label's data; false (the reason in the job file's "Error"
// section) for a tracking number of other than 18 characters.
bool LibUPSMIReturnsFormatData(MailInnovationsData &mi, CommonData &common, LabelContext &label);
// LibUPSMIReturnsFormatData and the message's escaping, with the error line
// of a failure.
bool upsMIReturnsFormatData(MailInnovationsData &mi, CommonData &common, LabelContext &label);

// The outbound label's data; refused as the returns label's.
bool LibUPSMailInnovationsFormatData(MailInnovationsData &mi, CommonData &common, LabelContext &label);
bool upsMailInnovationsFormatData(MailInnovationsData &mi, CommonData &common, LabelContext &label);

// The Data Matrix message escaped for a quoted EPL field (a backslash before
// every double quote and apostrophe) within its 501 bytes, and its length;
// false, the message unchanged, when the escaped text does not fit.
bool EncodeUPSDataMatrixString(MailInnovationsData &mi);

// Key "TrackingNumber" into mi.TrackingNumber; false, the reason in the job
// file, for other than 18 characters.
bool ReadMiTrackingNumber(MailInnovationsData &mi, const JobFile &job);

// A Mail Innovations label's data through `format`, then the message's
// escaping; the error line "Error while formatting <what>." or the Data
// Matrix one on failure, a fault reported under `routine`.
using MiFormatter = bool (*)(MailInnovationsData &mi, CommonData &common, LabelContext &label);
bool FormatMiLabelData(const char *routine, const char *what, MiFormatter format, MailInnovationsData &mi,
                       CommonData &common, LabelContext &label);


}  // namespace zal
