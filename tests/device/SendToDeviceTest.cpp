#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/DllCache.h"
#include "common/ErrorCodes.h"
#include "common/Log.h"
#include "common/Seams.h"
#include "device/DeviceOutput.h"
#include "device/UsbPort.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zal {
namespace {

using test::FixedSeams;

constexpr const char *kCaption = "Quorra Peripheral Engine";
constexpr uint32_t kRetryCancelStyle = 0x50005;
constexpr int kRetry = 4;
constexpr int kCancel = 2;
const std::string kOpenBox = "An error has occurred while opening device:\n\nDevice: Label - Test\nPort: ";
const std::string kSendBox = "An error has occurred while sending data to device:\n\nDevice: Label - Test\nPort: ";

// Opening a file in a folder that does not exist.
#if defined(_WIN32)
constexpr uint32_t kMissingFolderError = platform::kErrorPathNotFound;
#else
constexpr uint32_t kMissingFolderError = platform::kErrorFileNotFound;
#endif

std::unique_ptr<JobContext> MakeContext(const char *portText) {
    auto context = std::make_unique<JobContext>();
    std::memset(context.get(), 0, sizeof(JobContext));
    std::strcpy(context->PortText, portText);
    std::strcpy(context->DeviceDescription, "Label - Test");
    context->BusyTimeout = 10000;
    return context;
}

std::string SystemText(uint32_t code) {
    std::string text;
    platform::SystemMessage(code, 0, text);
    return text;
}

// True when the file can be opened without sharing, so nobody holds it.
bool NobodyHolds(const std::string &path) {
    platform::OpenOptions options;
    platform::Handle h = platform::CreateFile(path.c_str(), options);
    if (!platform::IsValidHandle(h)) return false;
    platform::CloseHandle(h);
    return true;
}

TEST(SendToDeviceTest, DiscardPortDropsAnyCount) {
    test::LogCapture log;
    test::TempDir dir;
    const std::string file = dir.file("label.out");
    for (int count : {5, 0, -1}) {
        auto context = MakeContext("LPT1:");
        context->PortType = kPortTypeDiscard;
        std::strcpy(context->OutputFile, file.c_str());
        EXPECT_EQ(SendToDevice(context.get(), "ABCDE", count), 0) << count;
        const std::string line = "Discarded " + std::to_string(count) + " bytes of data to \"LPT1:\".";
        EXPECT_TRUE(log.HasDebugMessage(line)) << count;
    }
    EXPECT_FALSE(test::FileExists(file));
    EXPECT_TRUE(FixedSeams::Boxes().empty());
}

TEST(SendToDeviceTest, OutputFileCollectsEachLabelQuietly) {
    test::LogCapture log;
    test::TempDir dir;
    const std::string file = dir.file("Label1.out");
    test::WriteFile(file, "old;");
    auto context = MakeContext("FILE");
    std::strcpy(context->OutputFile, file.c_str());
    EXPECT_EQ(SendToDevice(context.get(), "N\nA10,10\nP1\n", 12), 0);
    EXPECT_EQ(SendToDevice(context.get(), "N\nP2\n", 5), 0);
    EXPECT_EQ(test::ReadFile(file), "old;N\nA10,10\nP1\nN\nP2\n");
    EXPECT_TRUE(log.DebugLines().empty());
    EXPECT_TRUE(log.ErrorLines().empty());
    EXPECT_TRUE(FixedSeams::Boxes().empty());
}

TEST(SendToDeviceTest, OutputFileThatCannotBeOpened) {
    FixedSeams seams;
    test::TempDir dir;
    auto context = MakeContext("FILE");
    std::strcpy(context->OutputFile, (dir.file("missing") + test::Separator() + "Label1.out").c_str());
    EXPECT_EQ(SendToDevice(context.get(), "N\n", 2), ZALERR_PRINTER_OPENFAIL);
    EXPECT_TRUE(FixedSeams::Boxes().empty());
}

TEST(SendToDeviceTest, PortPathIsWrittenFlushedAndClosed) {
    test::LogCapture log;
    test::TempDir dir;
    const std::string port = dir.file("port");
    auto context = MakeContext("LPT1:");
    std::strcpy(context->PortPath, port.c_str());
    EXPECT_EQ(SendToDevice(context.get(), "N\nP1\n", 5), 0);
    EXPECT_EQ(test::ReadFile(port), "N\nP1\n");
    EXPECT_TRUE(NobodyHolds(port));
    EXPECT_TRUE(log.HasDebugMessage("Opening port \"LPT1:\" (\"" + port + "\")..."));
    EXPECT_TRUE(log.HasDebugMessage("Writing 5 bytes of data to \"LPT1:\"..."));
    EXPECT_TRUE(log.HasDebugMessage("Wrote 5 bytes of data."));
    bool closeLine = false;
    for (const std::string &m : log.DebugMessages()) {
        closeLine |= m.rfind("CloseAndDestroyHandle: Closing SendToDevice:DevHandle=", 0) == 0;
    }
    EXPECT_TRUE(closeLine);
    EXPECT_TRUE(FixedSeams::Boxes().empty());
}

TEST(SendToDeviceTest, NegativeCountWritesNothing) {
    FixedSeams seams;
    test::TempDir dir;
    const std::string port = dir.file("port");
    auto context = MakeContext("LPT1:");
    std::strcpy(context->PortPath, port.c_str());
    EXPECT_EQ(SendToDevice(context.get(), "ABC", -3), 0);
    EXPECT_EQ(test::ReadFile(port), "");
}

TEST(SendToDeviceTest, UnopenablePortAsksUntilCancel) {
    struct Row { bool emptyPath; uint32_t error; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {false, kMissingFolderError},
        /*  1*/ {true,  platform::kErrorPathNotFound},  // no port record: nothing to open
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::LogCapture log;
        test::TempDir dir;
        auto context = MakeContext("LPT9:");
        if (!rows[i].emptyPath) {
            std::strcpy(context->PortPath, (dir.file("missing") + test::Separator() + "port").c_str());
        }
        FixedSeams seams;
        seams.ScriptAnswers({kRetry, kCancel});
        EXPECT_EQ(SendToDevice(context.get(), "N\n", 2), ZALERR_UNKNOWNFAIL) << "row " << i;
        const std::string error = SystemText(rows[i].error);
        ASSERT_FALSE(error.empty()) << "row " << i;
        ASSERT_EQ(FixedSeams::Boxes().size(), 2u) << "row " << i;
        for (const FixedSeams::Box &box : FixedSeams::Boxes()) {
            EXPECT_EQ(box.text, kOpenBox + "LPT9:\nError: " + error) << "row " << i;
            EXPECT_EQ(box.caption, kCaption);
            EXPECT_EQ(box.style, kRetryCancelStyle);
        }
        const std::string line = "SendToDevice: Error while opening device \"Label - Test\" on port \"LPT9:\"; " + error;
        int lines = 0;
        for (const std::string &l : log.ErrorLines()) {
            lines += l.size() >= line.size() && l.compare(l.size() - line.size(), line.size(), line) == 0;
        }
        EXPECT_EQ(lines, 2) << "row " << i;
    }
}

TEST(SendToDeviceTest, MissingUsbLibraryAsksUntilCancel) {
    test::LogCapture log;
    FreeDllList();
    SetUsbLibraryNameForTests("ZalUsbExMissing");
    auto context = MakeContext("USB Zebra 2844 - 12345");
    context->IsUsb = 1;
    context->PortKind = 4;
    FixedSeams seams;
    seams.ScriptAnswers({kRetry, kCancel});
    EXPECT_EQ(SendToDevice(context.get(), "N\n", 2), ZALERR_USBLIBFAIL);
    SetUsbLibraryNameForTests(nullptr);
    ASSERT_EQ(FixedSeams::Boxes().size(), 2u);
    EXPECT_EQ(FixedSeams::Boxes()[1].text,
              kOpenBox + "USB Zebra 2844 - 12345\nError: Error loading ZalUsbEx library.");
    EXPECT_TRUE(log.HasErrorMessage(
        "SendToDevice: Error while opening device \"Label - Test\" on port \"USB Zebra 2844 - 12345\"; Error loading "
        "ZalUsbEx library."));
    EXPECT_EQ(DllCacheCount(), 0);
}

TEST(SendToDeviceTest, FailedSerialSetupClosesThePortAndSendsNothing) {
    test::LogCapture log;
    test::TempDir dir;
    const std::string port = dir.file("not-a-line");
    test::WriteFile(port, "");
    auto context = MakeContext("COM1");
    std::strcpy(context->PortPath, port.c_str());
    EXPECT_EQ(SendToDevice(context.get(), "N\nP1\n", 5), LABEL_CONFIGFAIL);
    EXPECT_EQ(test::ReadFile(port), "");
    EXPECT_TRUE(NobodyHolds(port));
    EXPECT_TRUE(FixedSeams::Boxes().empty());
    bool setupLine = false;
    for (const std::string &l : log.ErrorLines()) {
        setupLine |= l.find("ConfigureSerialPort: Error ") != std::string::npos &&
                     l.find(" for device \"Label - Test\" on port \"COM1\"; [WIN32 0x") != std::string::npos;
    }
    EXPECT_TRUE(setupLine);
    EXPECT_FALSE(log.HasDebugMessage("Writing 5 bytes of data to \"COM1\"..."));
}

#if !defined(_WIN32)

int Count(const std::vector<std::string> &lines, const std::string &line) {
    int n = 0;
    for (const std::string &l : lines) n += l == line ? 1 : 0;
    return n;
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const std::string &value) : _name(name) {
        if (const char *old = std::getenv(name)) {
            _had = true;
            _old = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (_had) {
            setenv(_name, _old.c_str(), 1);
        } else {
            unsetenv(_name);
        }
    }

private:
    const char *_name;
    bool _had = false;
    std::string _old;
};

// A parallel port LPT1 whose status comes from a file, writing to a file.
class ParallelPort {
public:
    ParallelPort() {
        WinIni("");
        context = MakeContext("LPT1:");
        context->PortKind = 1;
        std::strcpy(context->PortPath, port().c_str());
    }
    void Status(uint8_t status, unsigned number = 1) {
        test::WriteFile(_dir.file("LPTSTAT" + std::to_string(number)), std::string(1, static_cast<char>(status)));
    }
    void WinIni(const std::string &text) { test::WriteFile(_dir.file("win.ini"), text); }
    std::string port() const { return _dir.file("port"); }
    std::string written() const { return test::ReadFile(port()); }

    std::unique_ptr<JobContext> context;

private:
    test::TempDir _dir;
    ScopedEnv _status{"ZAL2443_LPTSTAT_DIR", _dir.path()};
    ScopedEnv _winIni{"ZAL2443_WIN_INI", _dir.file("win.ini")};
};

TEST(SendToDeviceTest, BusyPortIsWaitedForThenReported) {
    test::LogCapture log;
    ParallelPort lpt;
    lpt.Status(0x58);
    lpt.context->BusyTimeout = 100;
    FixedSeams seams;
    seams.ScriptAnswers({kRetry, kCancel});
    EXPECT_EQ(SendToDevice(lpt.context.get(), "N\nP1\n", 5), ZALERR_PRINTER_DEVICEBUSY);
    EXPECT_EQ(FixedSeams::Sleeps(), (std::vector<uint32_t>{50, 50, 50, 50}));
    ASSERT_EQ(FixedSeams::Boxes().size(), 2u);
    EXPECT_EQ(FixedSeams::Boxes()[0].text, kSendBox + "LPT1:\nError: Port is busy.");
    EXPECT_EQ(FixedSeams::Boxes()[0].style, kRetryCancelStyle);
    EXPECT_EQ(lpt.written(), "");
    EXPECT_EQ(Count(log.DebugMessages(), "Writing 5 bytes of data to \"LPT1:\"..."), 6);
    EXPECT_TRUE(log.HasErrorMessage(
        "SendToDevice: Failed to write to device \"Label - Test\" on port \"LPT1:\"; port is busy."));
}

TEST(SendToDeviceTest, BusyPortThatBecomesReadyIsWritten) {
    FixedSeams fixed;
    ParallelPort lpt;
    lpt.Status(0x58);
    static int sleeps = 0;
    static ParallelPort *current = nullptr;
    sleeps = 0;
    current = &lpt;
    seams::Current().sleep = [](uint32_t ms) {
        FixedSeams::Sleeps().push_back(ms);
        if (++sleeps == 3) current->Status(0xD8);
    };
    EXPECT_EQ(SendToDevice(lpt.context.get(), "N\nP1\n", 5), 0);
    EXPECT_EQ(FixedSeams::Sleeps().size(), 3u);
    EXPECT_TRUE(FixedSeams::Boxes().empty());
    EXPECT_EQ(lpt.written(), "N\nP1\n");
}

TEST(SendToDeviceTest, ZeroBusyTimeoutReportsAtOnce) {
    FixedSeams seams;
    ParallelPort lpt;
    lpt.Status(0x48);
    lpt.context->BusyTimeout = 0;
    EXPECT_EQ(SendToDevice(lpt.context.get(), "N\n", 2), ZALERR_PRINTER_DEVICEBUSY);
    EXPECT_TRUE(FixedSeams::Sleeps().empty());
    EXPECT_EQ(FixedSeams::Boxes().size(), 1u);
}

TEST(SendToDeviceTest, PortThatIsNotReady) {
    test::LogCapture log;
    ParallelPort lpt;
    lpt.Status(0xF8);  // paper out
    EXPECT_EQ(SendToDevice(lpt.context.get(), "N\n", 2), ZALERR_PRINTER_DEVICEOFFLINE);
    ASSERT_EQ(FixedSeams::Boxes().size(), 1u);
    EXPECT_EQ(FixedSeams::Boxes()[0].text, kSendBox + "LPT1:\nError: Port is not ready");
    EXPECT_TRUE(FixedSeams::Sleeps().empty());
    EXPECT_EQ(lpt.written(), "");
    EXPECT_TRUE(log.HasErrorMessage(
        "SendToDevice: Failed to write to device \"Label - Test\" on port \"LPT1:\"; port is not ready."));
}

TEST(SendToDeviceTest, PortKindFourIgnoresTheStatus) {
    FixedSeams seams;
    ParallelPort lpt;
    lpt.Status(0xF8, 4);
    lpt.Status(0xF8, 1);
    lpt.context->PortKind = 4;
    EXPECT_EQ(SendToDevice(lpt.context.get(), "N\n", 2), 0);
    EXPECT_EQ(lpt.written(), "N\n");
}

TEST(SendToDeviceTest, PortCheckSkipWhenTheStatusDeviceIsMissing) {
    struct Row { const char *winIni; int32_t result; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"[Quorra]\nPortCheckSkip=Y\n",   0},
        /*  1*/ {"[Quorra]\nPortCheckSkip=Yes\n", 0},
        /*  2*/ {"[Quorra]\nPortCheckSkip=y\n",   ZALERR_PRINTER_DEVICEOFFLINE},
        /*  3*/ {"[Quorra]\nPortCheckSkip=N\n",   ZALERR_PRINTER_DEVICEOFFLINE},
        /*  4*/ {"[Other]\nPortCheckSkip=Y\n",    ZALERR_PRINTER_DEVICEOFFLINE},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        FixedSeams seams;
        ParallelPort lpt;  // no LPTSTAT1 file
        lpt.WinIni(rows[i].winIni);
        EXPECT_EQ(SendToDevice(lpt.context.get(), "N\n", 2), rows[i].result) << "row " << i;
        EXPECT_EQ(lpt.written(), rows[i].result == 0 ? "N\n" : "") << "row " << i;
        EXPECT_EQ(FixedSeams::Boxes().size(), rows[i].result == 0 ? 0u : 1u) << "row " << i;
    }
}

TEST(SendToDeviceTest, OutputFileThatCannotBeWritten) {
    FixedSeams seams;
    auto context = MakeContext("FILE");
    std::strcpy(context->OutputFile, "/dev/full");
    EXPECT_EQ(SendToDevice(context.get(), "N\n", 2), ZALERR_PRINTER_BADWRITE);
    EXPECT_TRUE(FixedSeams::Boxes().empty());
}

TEST(SendToDeviceTest, FailedWriteAsksUntilCancel) {
    test::LogCapture log;
    auto context = MakeContext("LPT1:");
    std::strcpy(context->PortPath, "/dev/full");
    FixedSeams seams;
    seams.ScriptAnswers({kRetry, kCancel});
    EXPECT_EQ(SendToDevice(context.get(), "N\n", 2), ZALERR_PRINTER_BADWRITE);
    char description[256];
    FormatErrorString(platform::kErrorDiskFull, description, sizeof description, true, kKindWin32);
    ASSERT_EQ(FixedSeams::Boxes().size(), 2u);
    EXPECT_EQ(FixedSeams::Boxes()[1].text, kSendBox + "LPT1:\nError: " + description);
    EXPECT_TRUE(log.HasErrorMessage("SendToDevice: Failed to write to device \"Label - Test\" on port \"LPT1:\"; " +
                                    std::string(description)));
    EXPECT_FALSE(log.HasDebugMessage("Wrote 2 bytes of data."));
}

TEST(SendToDeviceTest, MissingUsbLibraryOnThePluginPath) {
    FixedSeams seams;
    test::TempDir empty;
    ScopedEnv path("ZAL2443_PLUGIN_PATH", empty.path());
    FreeDllList();
    ASSERT_EQ(platform::LoadLibrary(kUsbLibraryName), nullptr) << "the USB library is reachable from here";
    auto context = MakeContext("USB Zebra 2844 - 12345");
    context->IsUsb = 1;
    context->PortKind = 4;
    EXPECT_EQ(SendToDevice(context.get(), "N\n", 2), ZALERR_USBLIBFAIL);
    ASSERT_EQ(FixedSeams::Boxes().size(), 1u);
    EXPECT_EQ(FixedSeams::Boxes()[0].text, kOpenBox + "USB Zebra 2844 - 12345\nError: Error loading ZalUsbEx library.");
}

TEST(SendToDeviceTest, SerialLineReceivesTheLabel) {
    FixedSeams seams;
    test::TempDir dir;
    ScopedEnv winIni("ZAL2443_WIN_INI", dir.file("win.ini"));
    test::WriteFile(dir.file("win.ini"), "[ports]\nCOM1:=2400,n,8,1\n");
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    auto context = MakeContext("COM1");
    std::strcpy(context->PortPath, ptsname(master));
    EXPECT_EQ(SendToDevice(context.get(), "N\nA10,10\nP1\n", 12), 0);
    std::string received;
    char buffer[64];
    for (int tries = 0; tries < 50 && received.size() < 12; ++tries) {
        fcntl(master, F_SETFL, O_NONBLOCK);
        ssize_t n = read(master, buffer, sizeof buffer);
        if (n > 0) received.append(buffer, static_cast<std::size_t>(n));
        else usleep(10000);
    }
    close(master);
    EXPECT_EQ(received, "N\nA10,10\nP1\n");
    EXPECT_TRUE(FixedSeams::Boxes().empty());
}

// A fake USB printer lp0 for the support library: the device node is a
// plain file, the device id and USB ids sit in a fake sysfs tree.
class FakeUsbPrinter {
public:
    FakeUsbPrinter() {
        Mkdir(_dir.path() + "/dev");
        Mkdir(_dir.path() + "/dev/usb");
        for (const char *folder : {"/sys", "/sys/class", "/sys/class/usbmisc", "/sys/class/usbmisc/lp0",
                                   "/sys/class/usbmisc/lp0/device"}) {
            Mkdir(_dir.path() + folder);
        }
        test::WriteFile(node(), "");
        test::WriteFile(_dir.path() + "/sys/class/usbmisc/lp0/device/ieee1284_id",
                        "MFG:Zebra;CMD:EPL2;MDL:Zebra 2844;SN:12345;");
        test::WriteFile(_dir.path() + "/sys/class/usbmisc/lp0/idVendor", "0a5f\n");
        test::WriteFile(_dir.path() + "/sys/class/usbmisc/lp0/idProduct", "00a3\n");
    }
    std::string node() const { return _dir.path() + "/dev/usb/lp0"; }
    std::string written() const { return test::ReadFile(node()); }

private:
    static void Mkdir(const std::string &path) { mkdir(path.c_str(), 0755); }
    test::TempDir _dir;
    ScopedEnv _dev{"ZAL2443_DEV_ROOT", _dir.path() + "/dev"};
    ScopedEnv _sys{"ZAL2443_SYSFS_ROOT", _dir.path() + "/sys"};
};

// The support library as the build made it; the tests below need it.
bool UsbLibraryBuilt() {
    platform::LibraryHandle library = platform::LoadLibrary(kUsbLibraryName);
    if (library == nullptr) return false;
    platform::FreeLibrary(library);
    return true;
}

std::unique_ptr<JobContext> UsbContext(const char *portText) {
    auto context = MakeContext(portText);
    context->IsUsb = 1;
    context->PortKind = 4;
    context->UsbVendorId = 0x0A5F;
    context->UsbProductId = 0x00A3;
    return context;
}

TEST(SendToDeviceTest, UsbPrinterByNameThroughTheSupportLibrary) {
    if (!UsbLibraryBuilt()) GTEST_SKIP() << "the USB support library is not built";
    test::LogCapture log;
    log::ConfigureUsbLogging(log.config);
    FakeUsbPrinter printer;
    FreeDllList();
    auto context = UsbContext("USB Zebra 2844 - 12345");
    // the node is a plain file here: each open writes it from the start
    EXPECT_EQ(SendToDevice(context.get(), "N\nP1\n", 5), 0);
    EXPECT_EQ(printer.written(), "N\nP1\n");
    EXPECT_EQ(SendToDevice(context.get(), "N\nP2\n", 5), 0);
    EXPECT_EQ(printer.written(), "N\nP2\n");
    EXPECT_TRUE(FixedSeams::Boxes().empty());
    EXPECT_EQ(DllCacheReferences(kUsbLibraryName), 0u);
    // the library's debug log is set once, when it is loaded
    const std::string setDebug = "Setting USB Printing Support library debug to level '" +
                                 std::to_string(log.config.Flags) + "' and log file \"" +
                                 std::string(log.config.LogFolder) + "debug.log\".";
    EXPECT_EQ(Count(log.DebugMessages(), setDebug), 1);
    EXPECT_EQ(Count(log.DebugMessages(), "Opening USB port \"USB Zebra 2844 - 12345\"..."), 2);
    EXPECT_EQ(Count(log.DebugMessages(), "Wrote 5 bytes of data."), 2);
    FreeDllList();
}

TEST(SendToDeviceTest, UsbPrinterByIdWhenTheNameDoesNotMatch) {
    if (!UsbLibraryBuilt()) GTEST_SKIP() << "the USB support library is not built";
    test::LogCapture log;
    FakeUsbPrinter printer;
    FreeDllList();
    auto context = UsbContext("USB Zebra 2844 - 99999");
    EXPECT_EQ(SendToDevice(context.get(), "N\n", 2), 0);
    EXPECT_EQ(printer.written(), "N\n");
    EXPECT_TRUE(log.HasDebugMessage("Opening USB port \"USB Zebra 2844 - 99999\" via VID (0xa5f) / PID (0xa3)..."));
    FreeDllList();
}

TEST(SendToDeviceTest, UsbPrinterNotFoundShowsTheLibraryMessage) {
    if (!UsbLibraryBuilt()) GTEST_SKIP() << "the USB support library is not built";
    FixedSeams seams;
    FakeUsbPrinter printer;
    FreeDllList();
    auto context = UsbContext("USB Zebra 2844 - 99999");
    context->UsbProductId = 0x0001;
    EXPECT_EQ(SendToDevice(context.get(), "N\n", 2), ZALERR_PRINTER_OPENFAIL);
    ASSERT_EQ(FixedSeams::Boxes().size(), 1u);
    EXPECT_EQ(FixedSeams::Boxes()[0].text,
              kOpenBox + "USB Zebra 2844 - 99999\nError: No USB printer with vendor id 0x0a5f and product id 0x0001 "
                         "was found.");
    EXPECT_EQ(printer.written(), "");
    FreeDllList();
}

#endif  // !_WIN32

}  // namespace
}  // namespace zal
