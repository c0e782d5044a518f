#include "carriers/CarrierTable.h"

#include "common/Strings.h"

namespace zal {

// The label routines, each in its layout table file under layouts/.
int32_t PrintGenericLabel(LabelContext &label);         // GenericLabel.cpp
int32_t PrintFontSampleLabel(LabelContext &label);      // FontSampleLabel.cpp
int32_t PrintDiagnosticLabel(LabelContext &label);      // DiagnosticLabel.cpp
int32_t PrintUpsDomesticLabel(LabelContext &label);     // ups/UpsDomesticLabel.cpp
int32_t PrintUpsAccessPointLabel(LabelContext &label);  // ups/UpsAccessPointLabel.cpp
int32_t PrintUspsLabel(LabelContext &label);            // usps/UspsLabel.cpp
int32_t PrintSmartPostLabel(LabelContext &label);       // smartpost/SmartPostLabel.cpp
int32_t PrintFedExExpressLabel(LabelContext &label);    // fedex/FedExExpressLabel.cpp
int32_t PrintFedExInternationalLabels(LabelContext &label);  // fedex/FedExInternationalLabels.cpp
int32_t PrintCn22Form4x4(LabelContext &label);          // cn22/Cn22Form.cpp
int32_t PrintCn22Form4x6(LabelContext &label);          // cn22/Cn22Form.cpp
int32_t PrintUpsInternationalLabel(LabelContext &label);   // ups/UpsInternationalLabel.cpp
int32_t PrintUpsPuertoRicoLabel(LabelContext &label);      // ups/UpsInternationalLabel.cpp
int32_t PrintUpsSurePostLabel(LabelContext &label);        // ups/UpsSurePostLabel.cpp
int32_t PrintUpsMailInnovationsLabel(LabelContext &label); // ups/UpsMailInnovationsLabel.cpp
int32_t PrintUpsMiReturnsLabel(LabelContext &label);       // ups/UpsMiReturnsLabel.cpp
int32_t PrintUpsPickupLabel(LabelContext &label);          // ups/UpsPickupLabel.cpp

namespace {

constexpr unsigned kUpsSmartLabel = kBrdYear | kMediaCheck | kNewLayoutLine | kUpsVersionLine;
constexpr CarrierRoute kGeneric = {"%s: GENERIC LABEL (%s)", kGenericLabel, PrintGenericLabel};

// The combined Mail Innovations and CN22 label ("PrintCN22Flag" M, upper
// case only) is not specified; the Mail Innovations label otherwise.
const CarrierRoute *ChooseMailInnovations(const LabelContext &label) {
    static const CarrierRoute kCombined = {"%s: CARRIER_UPS_MI (%s) BRD:%d", kBrdYear | kUnspecified, nullptr};
    static const CarrierRoute kAlone = {"%s: CARRIER_UPS_MI (%s) BRD:%d", kBrdYear | kMediaCheck | kNewLayoutLine,
                                        PrintUpsMailInnovationsLabel};
    char flag[2] = "";
    label.job.Raw("PrintCN22Flag", "", flag);
    return flag[0] == 'M' ? &kCombined : &kAlone;
}

// The CN22 device prints the 4x4 form on media shorter than 6 inches.
const CarrierRoute *ChooseCn22Form(const LabelContext &label) {
    static const CarrierRoute k4x4 = {"%s: PS Form 2976 - CN22 Customs Declaration 4x4 (%s)", kMediaCheckFirst,
                                      PrintCn22Form4x4};
    static const CarrierRoute k4x6 = {"%s: PS Form 2976 - CN22 Customs Declaration 4x6 (%s)", kMediaCheckFirst,
                                      PrintCn22Form4x6};
    return label.device.Media.Length < 6.0f ? &k4x4 : &k4x6;
}

const CarrierRoute *ChooseCodTag(const LabelContext &) {
    static const CarrierRoute kCodTag = {"%s: FedEx Ground COD Tag (%s)", kUnspecified, nullptr};
    return &kCodTag;
}

// clang-format off
const CarrierRow kCarriers[] = {
    {"CN22",       CARRIER_CN22,       {"%s: PS Form 2976 - CN22 Customs Declaration (%s)", kMediaCheck, PrintCn22Form4x4}},
    {"DHL",        CARRIER_DHL,        {"%s: CARRIER_DHL (%s)",        kUnspecified, nullptr}},
    {"ECON",       CARRIER_ECON,       kGeneric},
    {"FDX",        CARRIER_FDX,        {"%s: CARRIER_FDX (%s)",        0, PrintFedExExpressLabel}},
    {"FDXINT",     CARRIER_FDXINT,     {"%s: CARRIER_FDXINT (%s)",     0, PrintFedExInternationalLabels}},
    {"LONESTAR",   CARRIER_LONESTAR,   {"%s: CARRIER_LONESTAR (%s)",   kUnspecified, nullptr}},
    {"ONTRAC",     CARRIER_ONTRAC,     {"%s: CARRIER_ONTRAC (%s)",     kUnspecified, nullptr}},
    {"POS",        CARRIER_POS,        {"%s: CARRIER_POS (%s)",        0, PrintUspsLabel}},
    {"RPS",        CARRIER_RPS,        {"%s: CARRIER_RPS (%s)",        kUnspecified, nullptr}},
    {"RTX",        CARRIER_RTX,        {"%s: CARRIER_RTX (%s)",        kUnspecified, nullptr}},
    {"SMARTPOST",  CARRIER_SMARTPOST,  {"%s: CARRIER_SMARTPOST (%s)",  0, PrintSmartPostLabel}},
    {"SUREPOST",   CARRIER_SUREPOST,   {"%s: CARRIER_SUREPOST (%s)",   0, PrintUpsSurePostLabel}},
    {"UPS",        CARRIER_UPS,        {"%s: CARRIER_UPS (%s) BRD:%d",    kUpsSmartLabel, PrintUpsDomesticLabel}},
    {"UPSINT",     CARRIER_UPSINT,     {"%s: CARRIER_UPSINT (%s) BRD:%d", kUpsSmartLabel, PrintUpsInternationalLabel}},
    {"UPS PICKUP", CARRIER_UPS_PLD,    {"%s: CARRIER_UPS_PLD (%s) BRD:%d", kUpsSmartLabel, PrintUpsPickupLabel}},
    {"UPSPR",      CARRIER_UPSPR,      {"%s: CARRIER_UPSPR (%s) BRD:%d",  kUpsSmartLabel, PrintUpsPuertoRicoLabel}},
    {"UPSFLEX",    CARRIER_UPSFLEX,    {"%s: CARRIER_UPSFLEX (%s)",    kRefused, nullptr,
                                        "DoPeripheral: UPS Returns Flexible Access is not longer a supported/available "
                                        "service. Printing cancelled."}},
    {"UPSMI",      CARRIER_UPS_MI,     {}, ChooseMailInnovations},
    {"UPSMIR",     CARRIER_UPS_MIR,    {"%s: CARRIER_UPS_MIR (%s)",    0, PrintUpsMiReturnsLabel}},
    {"UPSAP",      CARRIER_UPS_AP,     {"%s: CARRIER_UPS_AP (%s)",     0, PrintUpsAccessPointLabel}},
    {"UPSBARCODE", CARRIER_UPSBARCODE, kGeneric},
    {"FXR",        CARRIER_FXR,        {"%s: CARRIER_FXR (%s)",        kUnspecified, nullptr}},
    {"RECEIPT",    CARRIER_RECEIPT,    kGeneric},
    {"DEPTSTORE",  CARRIER_DEPTSTORE,  kGeneric},
    {"PCD",        CARRIER_PCD,        {"%s: CARRIER_PCD (%s)",        kUnspecified, nullptr}},
    {"RRDL",       CARRIER_RRDL,       kGeneric},
    {"DIAG",       CARRIER_DIAG,       {"%s: DIAGNOSTIC LABEL (%s)",   0, PrintDiagnosticLabel}},
    {"FONTS",      CARRIER_FONTS,      {"%s: FONT SAMPLE LABEL (%s)",  0, PrintFontSampleLabel}},
    {"GEN",        CARRIER_GEN,        kGeneric},
    {"CUSTOM",     CARRIER_CUSTOM,     kGeneric},
};
const CarrierRow kUnknown = {"", CARRIER_UNKNOWN, kGeneric};

const DeviceForm kDeviceForms[] = {
    {"FedEx Ground COD Tag",     CARRIER_RPS,  ChooseCodTag},
    {"CN22 Customs Declaration", CARRIER_CN22, ChooseCn22Form},
};
// clang-format on

}  // namespace

const CarrierRow &LookupCarrier(const char *value) {
    for (const CarrierRow &row : kCarriers) {
        if (EqualsNoCase(value, row.value)) return row;
    }
    return kUnknown;
}

const DeviceForm *FindDeviceForm(const char *deviceDescription) {
    for (const DeviceForm &form : kDeviceForms) {
        if (Contains(deviceDescription, form.device)) return &form;
    }
    return nullptr;
}

const CarrierRoute &GenericRoute() { return kGeneric; }

}  // namespace zal
