// What the UPS labels share: their records, the module their faults are
// reported under, and the routine that formats the job's UPS data and
// prints a label table in the document frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "common/Modules.h"
#include "common/Strings.h"
#include "formatting/CommonData.h"
#include "formatting/ups/UpsData.h"
#include "layouts/engine/Frame.h"

namespace zal::ups {

using UpsRecords = layout::Records<CommonData, UpsData>;
template <auto Member>
constexpr auto F = &layout::FieldText<Member, UpsRecords>;

// Conditions the UPS label tables share.
inline const UpsData &Ups(const UpsRecords &r) { return r.Of<UpsData>(); }
inline const CommonData &Common(const UpsRecords &r) { return r.Of<CommonData>(); }
inline bool Is(const char *field, const char *value) { return std::strcmp(field, value) == 0; }
// A sender line longer than this pushes the handling text to the right.
constexpr std::size_t kFromLineLong = 31;
inline bool LongFrom(const UpsRecords &r) {
    return std::strlen(Common(r).From1) > kFromLineLong || std::strlen(Common(r).From2) > kFromLineLong;
}
inline bool Handling(const UpsRecords &r) { return Ups(r).HandlingText[0] != '\0'; }
inline bool HandlingBesideLongFrom(const UpsRecords &r) { return Handling(r) && LongFrom(r); }
inline bool HandlingBesideShortFrom(const UpsRecords &r) { return Handling(r) && !LongFrom(r); }
inline bool ServiceMarked(const UpsRecords &r) { return Ups(r).ServiceMark[0] != '\0'; }
inline bool Proactive(const UpsRecords &r) { return Ups(r).ProactiveMark[0] == 'P'; }
inline bool Refrigerated(const UpsRecords &r) { return Ups(r).RefrigerationMark[0] == 'R'; }
inline bool TallerThan4x4(const UpsRecords &r) { return r.label.device.Media.Length > 4.25f; }
inline bool Heavy(const UpsRecords &r) { return Is(Ups(r).HeavyFlag, "H"); }
inline bool NotHeavy(const UpsRecords &r) { return !Heavy(r); }
inline bool Routed(const UpsRecords &r) {
    const UpsData &ups = Ups(r);
    return !IsBlankText(ups.RoutingCode, sizeof ups.RoutingCode) && Is(ups.RouteFound, "Y");
}
inline bool GroundService(const UpsRecords &r) { return Is(Ups(r).ServiceLevel, "0"); }
inline bool AirService(const UpsRecords &r) { return !GroundService(r); }
// A shipper number with a letter leaves fewer digit pairs to pack, so the
// symbol is longer: narrower bars keep it on the label.
inline bool LongTrackingHead(const UpsRecords &r) { return std::strlen(Ups(r).TrackingBarcodeHead) == 10; }
inline bool ShortTrackingHead(const UpsRecords &r) { return !LongTrackingHead(r); }
inline bool InTestMode(const UpsRecords &r) { return Is(Common(r).TestModeFlag, "Y"); }
// The reference lines need at least 4.5 inches.
inline bool HasReferenceRoom(const UpsRecords &r) { return r.label.device.Media.Length >= 4.5f; }
inline bool HasPoLine(const UpsRecords &r) { return HasReferenceRoom(r) && !IsBlankText(Ups(r).POLine, sizeof Ups(r).POLine); }
inline bool HasPoNumberOnly(const UpsRecords &r) {
    const JobWideValues &job = r.Of<JobWideValues>();
    return HasReferenceRoom(r) && !HasPoLine(r) && !IsBlankText(job.PONumber, sizeof job.PONumber);
}
inline bool HasPurchaseOrder(const UpsRecords &r) { return HasPoLine(r) || HasPoNumberOnly(r); }
inline bool RemarkAlone(const UpsRecords &r) { return HasReferenceRoom(r) && !HasPurchaseOrder(r); }
inline const char *VersionLine(const UpsRecords &r) { return r.label.versionLine; }
// "10 KG BOX" and "25 KG BOX" start a little further left.
inline bool BoxWeight(const UpsRecords &r) { return Contains(Ups(r).WeightText, "BOX"); }
inline bool OtherWeight(const UpsRecords &r) { return !BoxWeight(r); }

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
