// The UPS Access Point formatting: the common record, the tracking number
// and the access point code of the label that holds a package at an access
// point for its consignee.
#pragma once

#include "formatting/CommonData.h"
#include "formatting/ups/UpsData.h"
#include "job/LabelContext.h"

namespace zal {

// Fills the records from the job file; false (with the reason in the job
// file's "Error" section) for a tracking number of other than 18 characters
// or a missing Access Point indicator.
bool LibUPSAccessPointFormatData(UpsData &ups, CommonData &common, LabelContext &label);
// LibUPSAccessPointFormatData with the error line of a failure.
bool upsAccessPointFormatData(UpsData &ups, CommonData &common, LabelContext &label);

}  // namespace zal
