// ZalUsbEx on Windows: the interfaces of the USB printing class driver.
//
// Printers are the present device interfaces of class
// {28d78fad-5a12-11d1-ae5b-0000f803a8c2}, enumerated with SetupAPI.  For
// each, the IEEE 1284 device id is asked of the device itself
// (IOCTL_USBPRINT_GET_1284_ID); when it holds no model or serial number,
// the device's friendly name (else its description) stands for the model
// and the last part of its instance id ("USB\VID_0A5F&PID_00D3\12345") for
// the serial number.  Vendor and product id are the VID_xxxx and PID_xxxx
// of the interface path.
//
// Matching is that of the Linux half: model and serial number trimmed and
// compared without regard to letter case, an empty part matching any
// device, both empty none; the first match in enumeration order is opened
// for writing, and the handle is returned as it is.
#include <windows.h>
#include <setupapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "UsbCommon.h"

namespace zalusb {
namespace {

const GUID kUsbPrintInterface = {0x28d78fad, 0x5a12, 0x11d1, {0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2}};
constexpr DWORD kGet1284Id = 0x220034;  // CTL_CODE(FILE_DEVICE_UNKNOWN, 13, METHOD_BUFFERED, FILE_ANY_ACCESS)

struct Printer {
    std::string path;        // interface path, opened with CreateFile
    std::string instanceId;  // USB\VID_xxxx&PID_xxxx\serial
    std::string name;        // friendly name or description
};

std::string Property(HDEVINFO set, SP_DEVINFO_DATA &device, DWORD property) {
    char buffer[512] = {};
    if (!SetupDiGetDeviceRegistryPropertyA(set, &device, property, nullptr, reinterpret_cast<BYTE *>(buffer),
                                           sizeof buffer - 1, nullptr))
        return std::string();
    return buffer;
}

std::vector<Printer> ListPrinters() {
    std::vector<Printer> printers;
    HDEVINFO set = SetupDiGetClassDevsA(&kUsbPrintInterface, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) return printers;
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA data = {};
        data.cbSize = sizeof data;
        if (!SetupDiEnumDeviceInterfaces(set, nullptr, &kUsbPrintInterface, index, &data)) break;
        DWORD size = 0;
        SetupDiGetDeviceInterfaceDetailA(set, &data, nullptr, 0, &size, nullptr);
        if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) continue;
        std::vector<char> buffer(size);
        auto *detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A *>(buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
        SP_DEVINFO_DATA device = {};
        device.cbSize = sizeof device;
        if (!SetupDiGetDeviceInterfaceDetailA(set, &data, detail, size, nullptr, &device)) continue;
        Printer p;
        p.path = detail->DevicePath;
        char id[512] = {};
        if (SetupDiGetDeviceInstanceIdA(set, &device, id, sizeof id, nullptr)) p.instanceId = id;
        p.name = Property(set, device, SPDRP_FRIENDLYNAME);
        if (p.name.empty()) p.name = Property(set, device, SPDRP_DEVICEDESC);
        printers.push_back(p);
    }
    SetupDiDestroyDeviceInfoList(set);
    return printers;
}

DeviceId ReadDeviceId(const Printer &p) {
    DeviceId id;
    HANDLE h = CreateFileA(p.path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        char buffer[1024] = {};
        DWORD got = 0;
        if (DeviceIoControl(h, kGet1284Id, nullptr, 0, buffer, sizeof buffer - 1, &got, nullptr) && got > 2)
            id = ParseDeviceId(std::string_view(buffer, got));
        CloseHandle(h);
    }
    if (id.model.empty()) id.model = p.name;
    if (id.serial.empty()) {
        std::size_t slash = p.instanceId.rfind('\\');
        if (slash != std::string::npos) id.serial = p.instanceId.substr(slash + 1);
    }
    return id;
}

// The four hex digits after "VID_" or "PID_" in the interface path.
bool PathId(const std::string &path, const char *tag, uint32_t &value) {
    for (std::size_t i = 0; i + 8 <= path.size(); ++i) {
        if (_strnicmp(path.c_str() + i, tag, 4) != 0) continue;
        char *end = nullptr;
        std::string digits = path.substr(i + 4, 4);
        value = static_cast<uint32_t>(std::strtoul(digits.c_str(), &end, 16));
        return end == digits.c_str() + 4;
    }
    return false;
}

std::string SystemText(DWORD code) {
    char text[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                             sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r' || text[n - 1] == ' ' || text[n - 1] == '.'))
        text[--n] = '\0';
    if (n == 0) std::snprintf(text, sizeof text, "error %lu", static_cast<unsigned long>(code));
    return text;
}

UsbHandle Open(const Printer &p, UsbError *error) {
    HANDLE h = CreateFileA(p.path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        DWORD code = GetLastError();
        Fail(error, code != 0 ? code : kErrorGenFailure, "The USB printer \"%s\" could not be opened: %s.",
             p.path.c_str(), SystemText(code).c_str());
        return -1;
    }
    Log(kLevelInfo, "Opened USB printer \"%s\" (handle %p).", p.path.c_str(), static_cast<void *>(h));
    return reinterpret_cast<UsbHandle>(h);
}

}  // namespace

std::string NativeLogPath(const std::string &windowsPath) { return windowsPath; }
uint32_t CurrentProcessId() { return GetCurrentProcessId(); }

namespace {

bool ReadVendorProduct(const Printer &p, uint32_t &vendor, uint32_t &product) {
    return PathId(p.path, "VID_", vendor) && PathId(p.path, "PID_", product);
}

}  // namespace

std::vector<std::unique_ptr<PrinterPort>> ListPrinterPorts() {
    return PortsOf<Printer, ReadDeviceId, ReadVendorProduct, Open>(ListPrinters());
}

}  // namespace zalusb
