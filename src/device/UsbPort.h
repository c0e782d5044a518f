// Opening a USB printer through the USB support library "ZalUsbEx".
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "device/JobContext.h"
#include "platform/Platform.h"

namespace zal {

// The two parts of a USB port name "USB <model> - <serial>", each cut to
// 255 characters.  A name without " - " is all model and no serial; a name
// of fewer than 4 characters gives two empty parts.
struct UsbPortName {
    std::string model;
    std::string serial;
};
UsbPortName SplitUsbPortName(const char *portText);

// Opens the job's USB printer: by name, then by vendor and product id.
// Returns 0 with a valid handle, else the result code (-1050 library or
// function missing, -305 the printer is busy, -301 no printer) and the
// error text for the box.
int32_t OpenUsbPort(const JobContext &context, platform::Handle &handle, std::string &errorText);

// Shows the USB exception box for an exception that left a call into the
// library (error null: not a standard exception).
void ShowUsbExceptionBox(const char *function, const std::exception *error);

// Runs a call into the library; an exception that leaves it is shown in the
// USB exception box and the call counts as failed (false).
template <typename Body>
bool GuardUsbCall(const char *function, Body &&body) {
    try {
        body();
        return true;
    } catch (const std::exception &e) {
        ShowUsbExceptionBox(function, &e);
    } catch (...) {
        ShowUsbExceptionBox(function, nullptr);
    }
    return false;
}

// Tests: load the library under another name (null: "ZalUsbEx" again).
void SetUsbLibraryNameForTests(const char *name);

}  // namespace zal
