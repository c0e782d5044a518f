// Pieces of the USB printing support library shared by its Linux and
// Windows halves: the IEEE 1284 device id, the matching rules, the error
// record and the library's own log.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ZalUsbEx.h"

#if defined(_WIN32)
#define ZALUSB_EXPORT extern "C" __declspec(dllexport)
#else
#define ZALUSB_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace zalusb {

// Win32 numbering of the codes put into the error record.
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorSharingViolation = 32;
constexpr uint32_t kErrorBusy = 170;  // ERROR_BUSY: the device takes nothing yet
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorGenFailure = 31;

// The fields of an IEEE 1284 device id this library reads.
struct DeviceId {
    std::string manufacturer;  // MFG: / MANUFACTURER:
    std::string model;         // MDL: / MODEL:
    std::string serial;        // SN: / SERN: / SERIALNUMBER:
};
// "MFG:Zebra;CMD:EPL2;MDL:ZTC 2844;SN:12345;"; a leading two-byte length
// (as the kernel's ioctl returns it) is skipped.
DeviceId ParseDeviceId(std::string_view text);

// Blanks trimmed, letters compared without regard to case.
bool SameText(std::string_view a, std::string_view b);
std::string_view Trim(std::string_view text);

// A non-empty wanted part must equal the device's; an empty one matches any.
bool Matches(const DeviceId &id, std::string_view model, std::string_view serial);

// Fills the caller's record (when there is one) and writes an error line.
void Fail(UsbError *error, uint32_t code, const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// Log lines of the library, in the caller's debug log (after SetUSBDebugA).
constexpr uint32_t kLevelInfo = 0x4;
constexpr uint32_t kLevelDebug = 0x8;
void Log(uint32_t level, const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
void LogError(const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// The OS half supplies these.
std::string NativeLogPath(const std::string &windowsPath);
uint32_t CurrentProcessId();

// One USB printer as the OS half finds it.
class PrinterPort {
public:
    virtual ~PrinterPort() = default;
    virtual const std::string &Path() const = 0;
    virtual DeviceId ReadDeviceId() const = 0;
    // The USB device's vendor and product ids; false when unknown.
    virtual bool ReadVendorProduct(uint32_t &vendor, uint32_t &product) const = 0;
    virtual UsbHandle Open(UsbError *error) const = 0;
};
// The printers present, in a stable order.
std::vector<std::unique_ptr<PrinterPort>> ListPrinterPorts();

// A system half's own printer record (with a `path`) and its three
// functions, seen as PrinterPorts.
template <typename Printer, DeviceId (*ReadId)(const Printer &),
          bool (*ReadIds)(const Printer &, uint32_t &, uint32_t &), UsbHandle (*OpenPrinter)(const Printer &, UsbError *)>
std::vector<std::unique_ptr<PrinterPort>> PortsOf(std::vector<Printer> printers) {
    class Port : public PrinterPort {
    public:
        explicit Port(Printer p) : _printer(std::move(p)) {}
        const std::string &Path() const override { return _printer.path; }
        DeviceId ReadDeviceId() const override { return ReadId(_printer); }
        bool ReadVendorProduct(uint32_t &vendor, uint32_t &product) const override {
            return ReadIds(_printer, vendor, product);
        }
        UsbHandle Open(UsbError *error) const override { return OpenPrinter(_printer, error); }

    private:
        Printer _printer;
    };
    std::vector<std::unique_ptr<PrinterPort>> ports;
    for (Printer &p : printers) ports.push_back(std::make_unique<Port>(std::move(p)));
    return ports;
}

}  // namespace zalusb
