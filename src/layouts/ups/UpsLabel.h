// What the UPS labels share: their records, the module their faults are
// reported under, and the routine that formats the job's UPS data and
// prints a label table in the document frame.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/Modules.h"
#include "formatting/CommonData.h"
#include "formatting/ups/UpsData.h"
#include "layouts/engine/Frame.h"

namespace zal::ups {

using UpsRecords = layout::Records<CommonData, UpsData>;
template <auto Member>
constexpr auto F = &layout::FieldText<Member, UpsRecords>;

using UpsFormatter = bool (*)(UpsData &ups, CommonData &common, LabelContext &label);

// -406 when the formatting fails, the frame's results otherwise.
int32_t PrintUpsLabel(const layout::DocumentFrame &frame, UpsFormatter format,
                      const layout::Element<UpsRecords> *body, std::size_t count, LabelContext &label);
template <std::size_t N>
int32_t PrintUpsLabel(const layout::DocumentFrame &frame, UpsFormatter format,
                      const layout::Element<UpsRecords> (&body)[N], LabelContext &label) {
    return PrintUpsLabel(frame, format, body, N, label);
}

}  // namespace zal::ups
