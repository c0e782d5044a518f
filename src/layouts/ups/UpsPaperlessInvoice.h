// The UPS paperless invoice: the backup document that an international or
// Puerto Rico smart label prints right after itself when the job is a
// paperless invoice shipment.
#pragma once

#include <cstdint>

#include "formatting/CommonData.h"
#include "formatting/ups/UpsData.h"
#include "job/LabelContext.h"

namespace zal {

// upsPrintPaperless4x4: prints from the records the smart label formatted;
// the label's results (-1030 when the document cannot be started or ended,
// otherwise the print's).
int32_t PrintUpsPaperlessInvoice(LabelContext &label, const CommonData &common, const UpsData &ups);

}  // namespace zal
