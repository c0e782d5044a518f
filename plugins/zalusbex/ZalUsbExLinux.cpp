// ZalUsbEx on Linux: the printers of the kernel's usblp driver.
//
// Printers are the character devices <dev>/usb/lpN (dev root /dev, or
// ZAL2443_DEV_ROOT).  The IEEE 1284 device id of each is read from
// <sys>/class/usbmisc/lpN/device/ieee1284_id (sysfs root /sys, or
// ZAL2443_SYSFS_ROOT), else from the device itself (LPIOC_GET_DEVICE_ID);
// its vendor and product id from the idVendor and idProduct files of the
// USB device above that interface, <sys>/class/usbmisc/lpN/device/../.
//
// Matching.  OpenUSBDeviceA: the model part must equal the MDL: (or
// MODEL:) field and the serial part the SN:, SERN: or SERIALNUMBER: field,
// each trimmed of blanks and compared without regard to letter case; an
// empty part matches any device, both parts empty match none.
// OpenUSBDeviceIDA: both ids equal.  Devices are tried in the order of
// their number (lp0 first) and the first match is opened, write-only.  The
// handle is that file descriptor: the caller writes, flushes and closes it.
//
// The open does not wait: a printer that another program holds (EBUSY) or
// that nobody serves yet (ENXIO, as a FIFO without reader answers) fails
// at once with code 32 or 170, and the caller tries again within its busy
// time-out, as a spooler does.  The descriptor is handed over in blocking
// mode; the caller bounds its writes.
#include <dirent.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "UsbCommon.h"
#include "platform/posix/WindowsPaths.h"

// From the usblp driver: the device id, led by its two-byte length.
#define LPIOC_GET_DEVICE_ID(len) _IOC(_IOC_READ, 'P', 1, len)

namespace zalusb {
namespace {

std::string Root(const char *variable, const char *fallback) {
    const char *value = std::getenv(variable);
    return value != nullptr && *value != '\0' ? value : fallback;
}

struct Printer {
    unsigned number = 0;
    std::string path;  // <dev>/usb/lpN
};

std::vector<Printer> ListPrinters() {
    std::vector<Printer> printers;
    std::string folder = Root("ZAL2443_DEV_ROOT", "/dev") + "/usb";
    DIR *dir = ::opendir(folder.c_str());
    if (dir == nullptr) return printers;
    while (dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (std::strncmp(name, "lp", 2) != 0 || name[2] == '\0') continue;
        if (std::strspn(name + 2, "0123456789") != std::strlen(name + 2)) continue;
        printers.push_back({static_cast<unsigned>(std::strtoul(name + 2, nullptr, 10)), folder + "/" + name});
    }
    ::closedir(dir);
    std::sort(printers.begin(), printers.end(), [](const Printer &a, const Printer &b) { return a.number < b.number; });
    return printers;
}

bool ReadSmallFile(const std::string &path, std::string &text) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char buffer[1024];
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    if (n < 0) return false;
    text.assign(buffer, static_cast<std::size_t>(n));
    return true;
}

std::string SysfsDevice(const Printer &p) {
    return Root("ZAL2443_SYSFS_ROOT", "/sys") + "/class/usbmisc/lp" + std::to_string(p.number) + "/device";
}

DeviceId ReadDeviceId(const Printer &p) {
    std::string text;
    if (ReadSmallFile(SysfsDevice(p) + "/ieee1284_id", text)) return ParseDeviceId(text);
    int fd = ::open(p.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return DeviceId();
    char buffer[1024] = {};
    if (::ioctl(fd, LPIOC_GET_DEVICE_ID(sizeof buffer - 1), buffer) == 0) text = std::string(buffer, sizeof buffer - 1);
    ::close(fd);
    // The length leads; what follows it may hold no terminator.
    if (text.size() >= 2) {
        std::size_t length = (static_cast<unsigned char>(text[0]) << 8) | static_cast<unsigned char>(text[1]);
        text.resize(std::min(std::max<std::size_t>(length, 2), text.size()));
    }
    return ParseDeviceId(text);
}

bool ReadHexId(const std::string &path, uint32_t &value) {
    std::string text;
    if (!ReadSmallFile(path, text)) return false;
    char *end = nullptr;
    unsigned long v = std::strtoul(text.c_str(), &end, 16);
    if (end == text.c_str()) return false;
    value = static_cast<uint32_t>(v);
    return true;
}

uint32_t Win32FromErrno(int err) {
    switch (err) {
        case ENOENT: return kErrorFileNotFound;
        case EACCES:
        case EPERM: return kErrorAccessDenied;
        case EBUSY: return kErrorSharingViolation;
        case ENXIO:
        case EAGAIN: return kErrorBusy;
        default: return kErrorGenFailure;
    }
}

UsbHandle Open(const Printer &p, UsbError *error) {
    int fd = ::open(p.path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    int flags = fd < 0 ? -1 : ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        int err = errno;
        if (fd >= 0) ::close(fd);
        Fail(error, Win32FromErrno(err), "The USB printer \"%s\" could not be opened: %s.", p.path.c_str(),
             std::strerror(err));
        return -1;
    }
    Log(kLevelInfo, "Opened USB printer \"%s\" (handle %d).", p.path.c_str(), fd);
    return fd;
}

}  // namespace

std::string NativeLogPath(const std::string &windowsPath) {
    return zal::platform::posix::MapWindowsPath(windowsPath.c_str());
}

uint32_t CurrentProcessId() { return static_cast<uint32_t>(::getpid()); }

namespace {

bool ReadVendorProduct(const Printer &p, uint32_t &vendor, uint32_t &product) {
    std::string parent = SysfsDevice(p) + "/../";
    return ReadHexId(parent + "idVendor", vendor) && ReadHexId(parent + "idProduct", product);
}

}  // namespace

std::vector<std::unique_ptr<PrinterPort>> ListPrinterPorts() {
    return PortsOf<Printer, ReadDeviceId, ReadVendorProduct, Open>(ListPrinters());
}

}  // namespace zalusb
