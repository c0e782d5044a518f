#include "layouts/ups/UpsLabel.h"

#include <memory>

#include "common/ErrorCodes.h"

namespace zal::ups {

int32_t PrintUpsLabel(const layout::DocumentFrame &frame, UpsFormatter format,
                      const layout::Element<UpsRecords> *body, std::size_t count, LabelContext &label) {
    return layout::Guarded(frame.module, frame.routine, [&]() -> int32_t {
        auto common = std::unique_ptr<CommonData>(new CommonData);  // the formatting clears it
        auto ups = NewUpsData();
        if (!format(*ups, *common, label)) return ZALERR_LABEL_DATAERROR;
        const UpsRecords records(label, frame.name, *common, *ups);
        return layout::PrintDocument(frame, label, common->xlabelc1, common->xlabelc2,
                                     [&](layout::Canvas &canvas) { layout::Draw(canvas, body, count, records); });
    });
}

}  // namespace zal::ups
