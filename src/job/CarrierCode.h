// The carrier codes the job file's "Carrier" value is looked up into
// (carriers/CarrierTable.cpp holds the values and what each code prints).
#pragma once

#include <cstdint>

namespace zal {

// clang-format off
enum CarrierCode : int32_t {
    CARRIER_DHL = 102, CARRIER_FDX = 104, CARRIER_POS = 106, CARRIER_RPS = 107, CARRIER_RTX = 108,
    CARRIER_UPS = 109, CARRIER_UPS_PLD = 110, CARRIER_FDXINT = 111, CARRIER_UPSINT = 112,
    CARRIER_FXR = 116, CARRIER_RECEIPT = 117, CARRIER_UPSPR = 118, CARRIER_DEPTSTORE = 119,
    CARRIER_PCD = 121, CARRIER_RRDL = 124, CARRIER_ECON = 125, CARRIER_LONESTAR = 126,
    CARRIER_ONTRAC = 127, CARRIER_SMARTPOST = 128, CARRIER_SUREPOST = 129, CARRIER_UPSFLEX = 130,
    CARRIER_CN22 = 131, CARRIER_UPS_MI = 132, CARRIER_UPS_MIR = 133, CARRIER_UPS_AP = 134,
    CARRIER_GEN = 135, CARRIER_CUSTOM = 136, CARRIER_UPSBARCODE = 137,
    CARRIER_FONTS = 997, CARRIER_DIAG = 998, CARRIER_UNKNOWN = 999,
};
// clang-format on

}  // namespace zal
