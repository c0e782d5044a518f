// The generic address label: printed for carriers and services without a
// layout of their own and whenever a carrier's label gives up.  All its
// texts are turned a quarter (rotation 1): the sender in font 4, the
// recipient in font 2 at double width and height.
#include <cstring>

#include "common/ErrorCodes.h"
#include "common/Log.h"
#include "common/Strings.h"
#include "formatting/CommonData.h"
#include "layouts/engine/Frame.h"

namespace zal {
namespace {

using namespace layout;

// The country line prints for a foreign recipient in the job's new format.
struct CountryLine {
    bool printed;
};
using R = Records<CommonData, CountryLine>;
template <auto Member>
constexpr auto F = &FieldText<Member, R>;

bool PrintsCountry(const R &r) { return r.Of<CountryLine>().printed; }

// clang-format off
constexpr Element<R> kBody[] = {
    Text<R>(780,  30, "4,1,1", F<&CommonData::From1>).Rotated(1),
    Text<R>(755,  30, "4,1,1", F<&CommonData::From2>).Rotated(1),
    Text<R>(730,  30, "4,1,1", F<&CommonData::From3>).Rotated(1),
    Text<R>(705,  30, "4,1,1", F<&CommonData::FromPhone>).Rotated(1),
    Text<R>(355, 245, "2,2,2", F<&CommonData::ShipTo1>).Rotated(1),
    Text<R>(320, 245, "2,2,2", F<&CommonData::ShipTo2>).Rotated(1),
    Text<R>(285, 245, "2,2,2", F<&CommonData::ShipTo3>).Rotated(1),
    Text<R>(250, 245, "2,2,2", F<&CommonData::ShipTo4>).Rotated(1),
    Text<R>(215, 245, "2,2,2", F<&CommonData::ShipTo5>).Rotated(1),
    Text<R>(180, 245, "2,2,2", F<&CommonData::ShipTo6>).Rotated(1),
    Text<R>(145, 245, "2,2,2", F<&CommonData::ShipTo7>, " ", F<&CommonData::ShipToZip>).Rotated(1),
    Text<R>(110, 245, "2,2,2", F<&CommonData::ShipToCountry>).Rotated(1).When(PrintsCountry),
};
// clang-format on

constexpr LegacyFrame kFrame = {ZalLib::MemoryCommand::M132, ZalLib::HeaderForm::A, nullptr};

}  // namespace

int32_t PrintGenericLabel(LabelContext &label) {
    CommonData data;  // FormatCommonData clears it
    if (!FormatCommonData(data, label.job, label.jobWide)) {
        log::LogErrorText("PrintGenericLabel: The common label data could not be read.");
        return ZALERR_LABEL_DATAERROR;
    }
    ReplaceDblQuotes(data);

    char newFormat[2] = "";
    label.job.Raw("NewFormat", "", newFormat);
    UpperCase(newFormat);
    UpperCase(data.FromCountry);
    UpperCase(data.ShipToCountry);
    bool domestic = data.ShipToCountry[0] == '\0' || std::strcmp(data.FromCountry, data.ShipToCountry) == 0;
    const CountryLine country = {newFormat[0] == 'Y' && !domestic};

    const R records(label, "Generic Label", data, country);
    return PrintLegacy(kFrame, label, data.xlabelc1, data.xlabelc2,
                       [&](Canvas &canvas) { Draw(canvas, kBody, records); });
}

}  // namespace zal
