// The CN22 customs form (PS Form 2976), in its 4x4 and 4x6 shapes: printed
// for carrier "CN22", on the CN22 device, and after other carriers' labels
// that ask for it.  Each routine formats the job's customs data
// (FormatCN22Data of formatting/cn22/Cn22Data.h) and prints the form as one
// EPL document with the job's xlabelc3 and xlabelc4 around its body; a
// label that prints the form after its own calls the routine of its shape
// with the same context once its own label has printed:
//
//   if (result == ZALERR_SUCCESS && wantsCustomsForm) result = PrintCn22Form4x6(label);
//
// Results: ZALERR_LABEL_DATAERROR when the customs data is refused (the
// reason is in the job file's "Error" section), ZALERR_ZALDOCERR when the
// document cannot be written, ZALERR_LABEL_GENERATIONERR after a fault,
// otherwise the device output's result.
#pragma once

#include <cstdint>

#include "job/LabelContext.h"

namespace zal {

// CN22Print4x4: the compressed form, for media shorter than 6 inches (and
// for carrier "CN22" on any device but the CN22 one).
int32_t PrintCn22Form4x4(LabelContext &label);
// CN22Print: the form on 4 x 6 inch media, with the test stamp in test mode.
int32_t PrintCn22Form4x6(LabelContext &label);

}  // namespace zal
