// The UPS formatting: the job file becomes the UpsData record that the UPS
// layouts print (postal and tracking bar codes, service texts, billing and
// instruction lines, MaxiCode and PDF417 messages, terms notice).
#pragma once

#include <cstddef>
#include <cstdint>

#include "formatting/CommonData.h"
#include "formatting/ups/UpsData.h"
#include "job/LabelContext.h"

namespace zal {

// The single entry of the UPS layouts: LibUPSFormatData, the MaxiCode
// message, the PDF417 message and its EPL escaping, the terms notice.
bool upsFormatData(UpsData &ups, CommonData &common, LabelContext &label);
bool LibUPSFormatData(UpsData &ups, CommonData &common, LabelContext &label);
bool EncodeUPSMaxicodeString(UpsData &ups, CommonData &common, const LabelContext &label);
bool LibUPSFormatPDF417Data(UpsData &ups, const LabelContext &label, const char *printerFamily);
bool EncodeUPSPDF417String(UpsData &ups);
// Class of service of a two-character service code, or -1.
int32_t upsMaxicodeServiceCode(const char *code);
// In a text of the given capacity, " becomes \" and ' becomes \'.  False
// (text unchanged) when the result does not fit.
bool EplEscape(char *text, std::size_t capacity);
// Rounds a weight up to a step (0.1 or 1), the UPS way.
double UpsRoundUp(double weight, double step);

}  // namespace zal
