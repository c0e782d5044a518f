#include <gtest/gtest.h>

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

TEST(SendToDeviceTest, PortPathIsWrittenFlushedAndClosed) {
    test::LogCapture log;
    test::TempDir dir;
    const std::string port = dir.file("port");
    auto context = MakeContext("LPT1:");
    std::strcpy(context->PortPath, port.c_str());
    EXPECT_EQ(SendToDevice(context.get(), "ABC", -3), 0);  // a negative count writes nothing
    EXPECT_EQ(test::ReadFile(port), "");
    EXPECT_EQ(SendToDevice(context.get(), "N\nP1\n", 5), 0);
    EXPECT_EQ(test::ReadFile(port), "N\nP1\n");
    EXPECT_TRUE(NobodyHolds(port));
    EXPECT_TRUE(FixedSeams::Boxes().empty());
}

// A port that cannot be opened: a Retry/Cancel box and an error line per try.
TEST(SendToDeviceTest, UnopenablePortAsksUntilCancel) {
    enum Path { MissingFolder, None, UsbLibraryMissing };
    struct Row { const char *port; Path path; int32_t result; std::string error; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"LPT9:", MissingFolder, ZALERR_PRINTER_OPENFAIL, SystemText(kMissingFolderError)},
        /*  1*/ {"LPT9:", None, ZALERR_PRINTER_OPENFAIL, SystemText(platform::kErrorPathNotFound)},  // no port record
        /*  2*/ {"COM9", None, ZALERR_PRINTER_OPENFAIL, SystemText(platform::kErrorPathNotFound)},
        /*  3*/ {"USB Zebra 2844 - 12345", UsbLibraryMissing, ZALERR_USBLIBFAIL, "Error loading ZalUsbEx library."},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        ASSERT_FALSE(row.error.empty()) << "row " << i;
        test::LogCapture log;
        test::TempDir dir;
        auto context = MakeContext(row.port);
        if (row.path == MissingFolder) {
            std::strcpy(context->PortPath, (dir.file("missing") + test::Separator() + "port").c_str());
        } else if (row.path == UsbLibraryMissing) {
            FreeDllList();
            SetUsbLibraryNameForTests("ZalUsbExMissing");
            context->IsUsb = 1;
            context->PortKind = 4;
        }
        FixedSeams seams;
        seams.ScriptAnswers({kRetry, kCancel});
        EXPECT_EQ(SendToDevice(context.get(), "N\n", 2), row.result) << "row " << i;
        SetUsbLibraryNameForTests(nullptr);
        ASSERT_EQ(FixedSeams::Boxes().size(), 2u) << "row " << i;
        const FixedSeams::Box &box = FixedSeams::Boxes()[1];
        EXPECT_EQ(box.text, kOpenBox + row.port + "\nError: " + row.error) << "row " << i;
        EXPECT_EQ(box.caption, kCaption);
        EXPECT_EQ(box.style, kRetryCancelStyle);
        EXPECT_EQ(log.ErrorLines().size(), 2u) << "row " << i;
        EXPECT_TRUE(log.HasErrorMessage(std::string("SendToDevice: Error while opening device \"Label - Test\" on port \"") +
                                        row.port + "\"; " + row.error))
            << "row " << i;
    }
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
    EXPECT_TRUE(log.Logged(" for device \"Label - Test\" on port \"COM1\"; [WIN32 0x"));
}

#if !defined(_WIN32)

using test::EnvVar;

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
    // A status device that opens but cannot be read, or holds no byte.
    void StatusFolder() { ::mkdir(_dir.file("LPTSTAT1").c_str(), 0755); }
    void EmptyStatus() { test::WriteFile(_dir.file("LPTSTAT1"), ""); }
    void WinIni(const std::string &text) { test::WriteFile(_dir.file("win.ini"), text); }
    std::string port() const { return _dir.file("port"); }
    std::string written() const { return test::ReadFile(port()); }

    std::unique_ptr<JobContext> context;

private:
    test::TempDir _dir;
    EnvVar _status{"ZAL2443_LPTSTAT_DIR", _dir.path()};
    EnvVar _winIni{"ZAL2443_WIN_INI", _dir.file("win.ini")};
};

// The error text of a status device that cannot be read, as the box and
// the error line give it.
std::string Unreadable(const char *what, uint32_t code) {
    std::string text = std::string("the status device \"\\\\.\\LPTSTAT1\" ") + what;
    if (code == 0) return text;
    char description[256];
    FormatErrorString(code, description, sizeof description, true, kKindWin32);
    return text + "; " + description;
}

// Retry, then Cancel on each box.
TEST(SendToDeviceTest, ParallelPortStatus) {
    enum Device { Byte, NoDevice, Folder, Empty };
    struct Row {
        Device device;
        int status;
        uint32_t portKind, busyTimeout;
        const char *winIni;
        int32_t result;
        std::size_t sleeps;
        std::string box;   // after "Error: " in the box
        std::string line;  // after "...on port \"LPT1:\"" in the error line
    };
    const std::string busy = "Port is busy.", notReady = "Port is not ready";
    const std::string unopened = Unreadable("could not be opened", platform::kErrorFileNotFound);
    const std::string unread = Unreadable("could not be read", platform::kErrorAccessDenied);
    const std::string noByte = Unreadable("gave no status byte", 0);
    // clang-format off
    const Row rows[] = {
        // two 50 ms waits fill the 100 ms busy timeout, on each try
        /*  0*/ {Byte, 0x58, 1, 100,   "", ZALERR_PRINTER_DEVICEBUSY,    4, busy, "; port is busy."},
        /*  1*/ {Byte, 0x48, 1, 0,     "", ZALERR_PRINTER_DEVICEBUSY,    0, busy, "; port is busy."},
        /*  2*/ {Byte, 0xF8, 1, 10000, "", ZALERR_PRINTER_DEVICEOFFLINE, 0, notReady, "; port is not ready."},  // paper out
        /*  3*/ {Byte, 0xF8, 4, 10000, "", 0,                            0, "", ""},  // port kind 4: status not read
        // no status device: only PortCheckSkip=Y (upper case) skips the check
        /*  4*/ {NoDevice, 0, 1, 10000, "[Quorra]\nPortCheckSkip=Y\n",   0, 0, "", ""},
        /*  5*/ {NoDevice, 0, 1, 10000, "[Quorra]\nPortCheckSkip=Yes\n", 0, 0, "", ""},
        // a status that cannot be read says so: nothing is known of the printer
        /*  6*/ {NoDevice, 0, 1, 10000, "[Quorra]\nPortCheckSkip=y\n",   LABEL_BADREAD, 0,
                 "Port status could not be read: " + unopened, "; " + unopened},
        /*  7*/ {NoDevice, 0, 1, 10000, "[Other]\nPortCheckSkip=Y\n",    LABEL_BADREAD, 0,
                 "Port status could not be read: " + unopened, "; " + unopened},
        /*  8*/ {Folder,   0, 1, 10000, "[Quorra]\nPortCheckSkip=Y\n",   LABEL_BADREAD, 0,
                 "Port status could not be read: " + unread, "; " + unread},
        /*  9*/ {Empty,    0, 1, 10000, "", LABEL_BADREAD, 0, "Port status could not be read: " + noByte, "; " + noByte},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LogCapture log;
        ParallelPort lpt;
        if (row.device == Byte) lpt.Status(static_cast<uint8_t>(row.status), row.portKind);
        if (row.device == Folder) lpt.StatusFolder();
        if (row.device == Empty) lpt.EmptyStatus();
        lpt.WinIni(row.winIni);
        lpt.context->PortKind = row.portKind;
        lpt.context->BusyTimeout = row.busyTimeout;
        FixedSeams seams;
        seams.ScriptAnswers({kRetry, kCancel});
        EXPECT_EQ(SendToDevice(lpt.context.get(), "N\nP1\n", 5), row.result) << "row " << i;
        EXPECT_EQ(FixedSeams::Sleeps(), std::vector<uint32_t>(row.sleeps, 50)) << "row " << i;
        EXPECT_EQ(lpt.written(), row.result == 0 ? "N\nP1\n" : "") << "row " << i;
        ASSERT_EQ(FixedSeams::Boxes().size(), row.box.empty() ? 0u : 2u) << "row " << i;
        if (row.box.empty()) continue;
        EXPECT_EQ(FixedSeams::Boxes()[0].text, kSendBox + "LPT1:\nError: " + row.box) << "row " << i;
        EXPECT_EQ(FixedSeams::Boxes()[0].style, kRetryCancelStyle) << "row " << i;
        const char *lead = row.result == LABEL_BADREAD ? "SendToDevice: Failed to read the port status of device"
                                                        : "SendToDevice: Failed to write to device";
        EXPECT_TRUE(log.HasErrorMessage(lead + std::string(" \"Label - Test\" on port \"LPT1:\"") + row.line))
            << "row " << i;
    }
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

TEST(SendToDeviceTest, OutputFileThatCannotBeWritten) {
    test::LogCapture log;
    auto context = MakeContext("FILE");
    std::strcpy(context->OutputFile, "/dev/full");
    EXPECT_EQ(SendToDevice(context.get(), "N\n", 2), ZALERR_PRINTER_BADWRITE);
    EXPECT_TRUE(FixedSeams::Boxes().empty());
    char description[256];
    FormatErrorString(platform::kErrorDiskFull, description, sizeof description, true, kKindWin32);
    EXPECT_TRUE(log.HasErrorMessage("SendToDevice: Failed to write to output file \"/dev/full\" of device \"Label - "
                                    "Test\" (0 of 2 bytes written); " +
                                    std::string(description)));
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

// One USB printer lp0 for the support library; its node is a plain file.
struct FakeUsbPrinter : test::FakeUsbTree {
    FakeUsbPrinter() { AddPrinter(0, "1-1", "0a5f", "00a3", "MFG:Zebra;CMD:EPL2;MDL:Zebra 2844;SN:12345;"); }
    std::string written() const { return test::ReadFile(Node(0)); }
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
    log.Unwrap();
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
    EXPECT_TRUE(log.HasDebugMessage("Opening USB port \"USB Zebra 2844 - 12345\"..."));
    // The host's folder comes without its separator; the line adds it.
    EXPECT_TRUE(log.HasDebugMessage("Setting USB Printing Support library debug to level '" +
                                    std::to_string(log.config.Flags) + "' and log file \"" + log.dir().path() +
                                    "\\debug.log\"."));
    FreeDllList();
}

// Another serial number: the printer is looked up by its USB ids.
TEST(SendToDeviceTest, UsbPrinterByIdWhenTheNameDoesNotMatch) {
    if (!UsbLibraryBuilt()) GTEST_SKIP() << "the USB support library is not built";
    for (uint16_t product : {0x00A3, 0x0001}) {
        test::LogCapture log;
        FakeUsbPrinter printer;
        FreeDllList();
        auto context = UsbContext("USB Zebra 2844 - 99999");
        context->UsbProductId = product;
        const bool found = product == 0x00A3;
        EXPECT_EQ(SendToDevice(context.get(), "N\n", 2), found ? 0 : ZALERR_PRINTER_OPENFAIL);
        EXPECT_EQ(printer.written(), found ? "N\n" : "");
        ASSERT_EQ(FixedSeams::Boxes().size(), found ? 0u : 1u);
        if (!found) {
            EXPECT_EQ(FixedSeams::Boxes()[0].text, kOpenBox + "USB Zebra 2844 - 99999\nError: No USB printer with vendor "
                                                              "id 0x0a5f and product id 0x0001 was found.");
        } else {
            EXPECT_TRUE(log.HasDebugMessage("Opening USB port \"USB Zebra 2844 - 99999\" via VID (0xa5f) / PID (0xa3)..."));
        }
        FreeDllList();
    }
}

#endif  // !_WIN32

}  // namespace
}  // namespace zal
