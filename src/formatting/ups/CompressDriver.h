// The library's side of MaxiCode compression: the carrier's compression
// library (compress.dll, interface in plugins/compress/Compress.h) fed
// field by field or as a whole string, its return codes as texts, and the
// test-data archive of MaxiCode test mode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/Settings.h"
#include "formatting/ups/MaxiCodeFields.h"
#include "job/LabelContext.h"

namespace zal {

constexpr std::size_t kMaxiOutputSize = ZalLib::kMaxicodeDataSize;

// Field by field.  0, a code of the compression library, or -1 when the
// library cannot be used or a fault occurred.
int32_t upsMaxicodeCompress(const MaxiCodeFields &fields, const LabelContext &label, char output[kMaxiOutputSize]);
// The whole message at once, after the file and version check; one retry
// in mode 3 when mode 2 does not fit.  Same results.
int32_t upsMaxicodeCompressAll(const MaxiCodeFields &fields, const char *message, const LabelContext &label,
                               char output[kMaxiOutputSize], bool addressValidation);

// Name (64 bytes) and summary (512 bytes) of a return code; the summary's
// length, or 0 when the code has no text (-1, 0, 57-126, above 127).
int CompressErrorText(int32_t code, char name[64], char summary[512]);

// The value (at most 35 characters) sent for a field id; false for an
// unknown id.  length, when given, receives the value's length.
bool GetCompressField(const MaxiCodeFields &fields, int32_t id, char value[36], uint32_t *length);

// The whole-string method takes file versions 1.1.2.x with x at least 1.
bool IsSupportedCompressVersion(const LibraryVersionInfo &version);

// The compression folder: job key "CompressDir", else the host's folder
// (or, when that holds no compression library and the installed plugin
// folder does, that folder), with a trailing backslash; at most maxLength
// characters.
std::string CompressDirectory(const LabelContext &label, std::size_t maxLength);

// MaxiCode test mode: input.dat and complog.err of the compression folder,
// or a plain message, go to numbered files of the test-data folder.
void CopyInputDatFile(const LabelContext &label);
void CreateUncompressedDatFile(const LabelContext &label, const char *message);

}  // namespace zal
