// The peripheral dispatch: a validated job becomes printed labels and a
// result file.
#pragma once

#include <cstdint>

#include "job/LabelContext.h"
#include "zal2443/zal2443.h"

namespace zal {

// Prints the job's copies by its row of the carrier table and turns the job
// file into its result file; returns the result of the last copy.
int32_t DoPeripheral(_JobInfoA *job, LabelContext &label);
// Closes the host's result file (ZAL2443_RESULT_LOG), at shut-down.
void CloseResultChannel();
// Media of the context: at least 4.0 inches wide and 4.25 long.
bool CheckMediaDims(const JobContext *context);

}  // namespace zal
