// What the FedEx Express label and its COD return label share: their
// records and the frame.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formatting/CommonData.h"
#include "formatting/fedex/FedExExpressData.h"
#include "layouts/engine/Frame.h"

namespace zal::fedex {

using ExpressRecords = layout::Records<CommonData, FedExExpressData>;
template <auto Member>
constexpr auto F = &layout::FieldText<Member, ExpressRecords>;

// Both labels: the legacy frame of the FedEx domestic family (memory
// command M132, header form A), no version line.
inline constexpr layout::LegacyFrame kExpressFrame = {ZalLib::MemoryCommand::M132, ZalLib::HeaderForm::A, nullptr};
// The Code 128 bar codes of both labels: the delivery address above the
// PDF417, the one-dimensional tracking bar code at the foot.
inline constexpr ZalLib::BarcodeDescriptor kExpressDeliveryBarcode = {"1", 2, 4, 31, 1, 0};
inline constexpr ZalLib::BarcodeDescriptor kExpressOneDeeBarcode = {"1", 3, 3, 203, 1, 0};

// The COD return label (the job's xlabelc3 and xlabelc4 around its body).
int32_t PrintExpressCodReturnLabel(LabelContext &label, const ExpressRecords &records);

}  // namespace zal::fedex
