#include "common/JobState.h"

#include "common/PrinterOptions.h"

namespace zal {
namespace {

PrinterOptions g_options{};
char g_versionLine[kVersionLineSize] = "";
char g_modelTag[8] = "";

}  // namespace

PrinterOptions &CurrentPrinterOptions() { return g_options; }
char *VersionLine() { return g_versionLine; }
char *ModelTag() { return g_modelTag; }

}  // namespace zal
