// The one carrier table: each value of the job file's "Carrier" key, the
// code it is looked up into, and what a copy of its label does: the
// information line, the checks before the call, the label routine (which
// formats the job's data and prints its layout) and the special cases.
// The dispatch walks these rows; nothing else compares carrier values.
#pragma once

#include <cstdint>

#include "job/CarrierCode.h"
#include "job/LabelContext.h"

namespace zal {

// Formats the job's data and prints one copy of a label; returns a result
// code (ZALERR_LABEL_PRINTGENERIC or ZALERR_JOB_UNSUPCARRIER: print the
// generic label instead).
using LabelRoutine = int32_t (*)(LabelContext &label);

enum RouteFlags : unsigned {
    kBrdYear = 1,            // the information line ends in " BRD:<BRDYear>"
    kMediaCheck = 2,         // the media check after the information line
    kMediaCheckFirst = 4,    // the media check before the information line
    kNewLayoutLine = 8,      // "Calling new 4x4 label code." after a passed check
    kUpsVersionLine = 16,    // the UPS family's version line
    kUnspecified = 32,       // its format is not specified: the generic label is printed
    kNotBuilt = 64,          // its layout is not part of this build: the generic label is printed
    kRefused = 128,          // the service is no longer offered: refused with its reason
    kGenericLabel = 256,     // the generic label itself
};

struct CarrierRoute {
    const char *logLine;  // information line of the library name and the media name
    unsigned flags;
    LabelRoutine print;
    const char *refusal = nullptr;  // kRefused: the error line
};

struct CarrierRow {
    const char *value;  // compared without regard to case
    CarrierCode code;
    CarrierRoute route;
    // A carrier whose label depends on the job: chooses the route.
    const CarrierRoute *(*choose)(const LabelContext &label) = nullptr;
};

// A device that prints one carrier's forms only: any other carrier's job is
// cancelled on it.
struct DeviceForm {
    const char *device;  // found in the device's description
    CarrierCode carrier;
    const CarrierRoute *(*choose)(const LabelContext &label);
};

// The row of a "Carrier" value; the unknown row for any other value.
const CarrierRow &LookupCarrier(const char *value);
// The device form of a device description, or null.
const DeviceForm *FindDeviceForm(const char *deviceDescription);
// The generic label's route: the fallback of every route that gives up.
const CarrierRoute &GenericRoute();

}  // namespace zal
