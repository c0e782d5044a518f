// The control bytes that separate the parts of the two-dimensional bar code
// messages (the ISO/IEC 15434 envelope of the MaxiCode and PDF417 texts),
// as characters and as texts for the append helpers.
#pragma once

namespace zal {

constexpr char kRecordSeparator = '\x1E';    // RS
constexpr char kGroupSeparator = '\x1D';     // GS
constexpr char kFileSeparator = '\x1C';      // FS
constexpr char kEndOfTransmission = '\x04';  // EOT

inline constexpr char kRecordSeparatorText[] = {kRecordSeparator, '\0'};
inline constexpr char kGroupSeparatorText[] = {kGroupSeparator, '\0'};
inline constexpr char kFileSeparatorText[] = {kFileSeparator, '\0'};
inline constexpr char kEndOfTransmissionText[] = {kEndOfTransmission, '\0'};

}  // namespace zal
