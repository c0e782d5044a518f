// The working record of one job: created zeroed by the job entry (and the
// diagnostics dialog), filled by the device configuration, passed to the
// dispatch, every layout and the device output.
#pragma once

#include <cstdint>

#include "zal2443/zal2443.h"

namespace zal {

struct JobContext {
    uint32_t PortKind;        // 0 no status check; 1-3 parallel LPTn status; 4 USB
    uint32_t PortNumber;      // the host port record's number; not read by the output
    uint32_t BusyTimeout;     // milliseconds
    char PortText[1025];      // "LPT1:", "COM1", "FILE", "USB Zebra 2844 - 12345", ...
    char DeviceDescription[1025];
    uint16_t DeviceId;
    uint8_t Flag;
    char OutputFile[1025];    // the "FILE" port's output file
    char DeviceKey[50];       // key of the device in section "PeripheralSetup"
    MediaType Media;
    PrintOrientationDefinition Orientation;
    uint8_t IsUsb;
    uint16_t UsbVendorId;
    uint16_t UsbProductId;
    char PortPath[260];       // what is opened for a port that is not USB
    uint16_t PortType;        // 64 = discard port
    char PortRecordText[255];
    char JobName[256];        // the job file's name, cut: what a print queue calls the job
};

constexpr uint16_t kPortTypeDiscard = 64;

}  // namespace zal
