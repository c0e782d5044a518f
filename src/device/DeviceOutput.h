// The device configuration of a job and the writing of a finished command
// stream to its printer port.
#pragma once

#include <cstdint>

#include "common/JobFile.h"
#include "device/JobContext.h"
#include "zal2443/zal2443.h"

namespace zal {

// Fills the device and port fields of the context from the job record,
// its profile entry and port record, and the settings and profile files.
// False only when the job has no profile entry.
bool ConfigureDevice(const _JobInfoA *job, const JobFile &jobFile, JobContext *context);

// Writes count bytes to the job's device; returns a result code (0 success).
int32_t SendToDevice(JobContext *context, const char *bytes, int count);

}  // namespace zal
