// The label layout routines, as the dispatch calls them.  Each returns a
// result code (0 printed; -401 or -1210 make the dispatch print the
// generic label instead).
#pragma once

#include <cstdint>

#include "device/JobContext.h"
#include "zal2443/zal2443.h"

namespace zal {

// Form A: job file path, context, header-prefix flag.
using LayoutA = int32_t (*)(const char *jobFile, JobContext *context, bool headerPrefix);
// Form B: job record, context, header-prefix flag.
using LayoutB = int32_t (*)(_JobInfoA *job, JobContext *context, bool headerPrefix);
// Form C: the context only (the diagnostic label).
using LayoutC = int32_t (*)(JobContext *context);

// Utility labels.
int32_t PrintDiagnosticLabel(JobContext *context);
int32_t FontSamplePrint(_JobInfoA *job, JobContext *context, bool headerPrefix);
int32_t PrintGenericLabel(const char *jobFile, JobContext *context, bool headerPrefix);

// UPS.
int32_t PrintUpsDomesticLabel(_JobInfoA *job, JobContext *context, bool headerPrefix);
int32_t PrintUpsAccessPointLabel(_JobInfoA *job, JobContext *context, bool headerPrefix);

// Layouts that this library does not lay out itself: the carrier formats
// of DHL, FedEx Ground (RPS) and its COD tag, FXR, Lone Star, OnTrac, PCD,
// RTX and the combined Mail Innovations and CN22 label.  They answer
// ZALERR_JOB_UNSUPCARRIER, so the dispatch prints the generic label.
int32_t PrintUnspecifiedLabelA(const char *jobFile, JobContext *context, bool headerPrefix);
int32_t PrintUnspecifiedLabelB(_JobInfoA *job, JobContext *context, bool headerPrefix);

}  // namespace zal

namespace zal {

// Layouts of carriers this build does not print yet (FedEx, USPS,
// SmartPost, FedEx International, UPS international, Puerto Rico, pickup
// summary, Mail Innovations, SurePost, the CN22 form): they too answer
// ZALERR_JOB_UNSUPCARRIER and the generic label is printed.
int32_t PrintNotBuiltLabelA(const char *jobFile, JobContext *context, bool headerPrefix);
int32_t PrintNotBuiltLabelB(_JobInfoA *job, JobContext *context, bool headerPrefix);

}  // namespace zal
