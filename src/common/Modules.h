// The source modules that fault reports name (the report's "Exception in
// <module> at <routine>").
#pragma once

namespace zal {

constexpr const char *kLibraryModule = "zal2443";
constexpr const char *kCommonLabelsModule = "Common";
constexpr const char *kUpsLabelsModule = "Label Printers/Zal2443/UPS";
constexpr const char *kLibCommonModule = "Shared/ZALLib/LibCommon";
constexpr const char *kLibUpsModule = "Shared/ZALLib/LibUPS";

}  // namespace zal
