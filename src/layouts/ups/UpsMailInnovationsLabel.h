// What the two Mail Innovations labels (the outbound label and its returns
// label) share: their records, the GS1-128 bar code of the package
// identification code, and the routine that formats a job and prints a
// label table in the document frame.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/Modules.h"
#include "formatting/CommonData.h"
#include "formatting/ups/UpsMailInnovationsData.h"
#include "layouts/engine/Frame.h"

namespace zal::ups {

using MiRecords = layout::Records<CommonData, MailInnovationsData>;
template <auto Member>
constexpr auto MiF = &layout::FieldText<Member, MiRecords>;

using MiFormatter = bool (*)(MailInnovationsData &mi, CommonData &common, LabelContext &label);

// The PIC bar code: application identifier 420 with the ZIP, FNC1, the PIC,
// written unquoted so that the FNC1 marks stand between the quoted parts:
// F1"42056935"F1"9202...".
inline constexpr ZalLib::BarcodeDescriptor kMiPicBarcode = {"1C", 3, 7, 135, 0, 0};

// clang-format off
template <int X, int Y>
constexpr layout::Element<MiRecords> MiPicBarcode =
    layout::Barcode<MiRecords>(X, Y, kMiPicBarcode, "F1\"420", MiF<&MailInnovationsData::Zip5>, "\"F1\"",
                               MiF<&MailInnovationsData::USPSPICNumber>, "\"");
// clang-format on

// -406 when the formatting fails, the frame's results otherwise; the
// formatted record's CN22 flag is "Y" in customsForm after a label that
// asks for the customs form.
int32_t PrintMiLabel(const layout::DocumentFrame &frame, MiFormatter format,
                     const layout::Element<MiRecords> *body, std::size_t count, LabelContext &label,
                     bool *customsForm = nullptr);
template <std::size_t N>
int32_t PrintMiLabel(const layout::DocumentFrame &frame, MiFormatter format,
                     const layout::Element<MiRecords> (&body)[N], LabelContext &label,
                     bool *customsForm = nullptr) {
    return PrintMiLabel(frame, format, body, N, label, customsForm);
}

}  // namespace zal::ups
