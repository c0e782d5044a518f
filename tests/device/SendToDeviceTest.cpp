// The device output: ports written, flushed and closed, and under faults:
// ports and print queues that do not open (a Retry/Cancel box per try),
// parallel status, an output file another writer holds, output folders
// that are missing or closed, a write cut by a file-size limit, USB
// printers (FIFOs under the fake usblp tree) that take no data or stop
// taking it, and a serial line nobody drains.  Each ends in a result code
// and a log line that says what happened; none waits longer than the job's
// busy time-out.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "common/DllCache.h"
#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "common/Log.h"
#include "common/Seams.h"
#include "device/DeviceOutput.h"
#include "device/QueuePort.h"
#include "device/UsbPort.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <netinet/in.h>
#include <pty.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/posix/CupsLibrary.h"
#endif

namespace zal {
namespace {

using test::FixedSeams;

constexpr const char *kDevice = "Label - Test";
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

std::unique_ptr<JobContext> MakeContext(const char *portText, uint32_t busyTimeout = 10000) {
    auto context = std::make_unique<JobContext>();
    std::memset(context.get(), 0, sizeof(JobContext));
    std::strcpy(context->PortText, portText);
    std::strcpy(context->DeviceDescription, kDevice);
    context->BusyTimeout = busyTimeout;
    return context;
}

// A system error as the box shows it, and with its code as the log does.
std::string SystemText(uint32_t code) {
    std::string text;
    platform::SystemMessage(code, 0, text);
    return text;
}

std::string Describe(uint32_t code) {
    char description[256];
    FormatErrorString(code, description, sizeof description, true, kKindWin32);
    return description;
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

std::string OpenFileLine(const std::string &file, const std::string &rest) {
    return "SendToDevice: Error while opening output file \"" + file + "\" of device \"" + kDevice + "\"" + rest;
}

// The other writer of the output file: an open without sharing, as the
// port itself opens the file, let go after a number of busy waits.
struct OtherWriter {
    static platform::Handle handle;
    static int releaseAfter;  // 0: never
    static int waits;
    static void Wait(uint32_t ms) {
        FixedSeams::Sleeps().push_back(ms);
        if (++waits == releaseAfter) {
            platform::CloseHandle(handle);
            handle = platform::kInvalidHandle;
        }
    }
};
platform::Handle OtherWriter::handle = platform::kInvalidHandle;
int OtherWriter::releaseAfter = 0;
int OtherWriter::waits = 0;

TEST(SendToDeviceFaultTest, OutputFileHeldByAnotherWriterIsWaitedFor) {
    struct Row { uint32_t busyTimeout; int releaseAfter; int32_t result; std::size_t waits; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {1000, 3, ZALERR_SUCCESS,          3},
        /*  1*/ {100,  0, ZALERR_PRINTER_OPENFAIL, 2},  // 2 x 50 ms fill the busy time-out
        /*  2*/ {0,    0, ZALERR_PRINTER_OPENFAIL, 0},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LogCapture log;
        test::TempDir dir;
        const std::string out = dir.file("Label1.out");
        auto context = MakeContext("FILE", row.busyTimeout);
        std::strcpy(context->OutputFile, out.c_str());
        platform::OpenOptions exclusive;
        exclusive.disposition = platform::Disposition::OpenAlways;
        OtherWriter::handle = platform::CreateFile(out.c_str(), exclusive);
        ASSERT_TRUE(platform::IsValidHandle(OtherWriter::handle)) << "row " << i;
        OtherWriter::releaseAfter = row.releaseAfter;
        OtherWriter::waits = 0;
        seams::Current().sleep = OtherWriter::Wait;

        EXPECT_EQ(SendToDevice(context.get(), "N\nP1\n", 5), row.result) << "row " << i;
        if (platform::IsValidHandle(OtherWriter::handle)) platform::CloseHandle(OtherWriter::handle);
        EXPECT_EQ(FixedSeams::Sleeps(), std::vector<uint32_t>(row.waits, 50)) << "row " << i;
        EXPECT_EQ(test::ReadFile(out), row.result == 0 ? "N\nP1\n" : "") << "row " << i;
        if (row.result != 0) {
            EXPECT_TRUE(log.HasErrorMessage(OpenFileLine(
                out, " after waiting " + std::to_string(row.busyTimeout) +
                         " ms for another writer; " + Describe(platform::kErrorSharingViolation))))
                << "row " << i;
        }
        EXPECT_TRUE(FixedSeams::Boxes().empty()) << "row " << i;
    }
}

TEST(SendToDeviceFaultTest, OutputFileThatCannotBeOpenedSaysWhy) {
    struct Row { const char *name; uint32_t error; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"missing", kMissingFolderError},            // a folder that does not exist
        /*  1*/ {"",        platform::kErrorAccessDenied},   // the output file is a folder
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::LogCapture log;
        test::TempDir dir;
        std::string out = *rows[i].name ? dir.file(rows[i].name) + test::Separator() + "Label1.out" : dir.path();
        auto context = MakeContext("FILE", 10000);
        std::strcpy(context->OutputFile, out.c_str());
        EXPECT_EQ(SendToDevice(context.get(), "N\nP1\n", 5), ZALERR_PRINTER_OPENFAIL) << "row " << i;
        EXPECT_TRUE(log.HasErrorMessage(OpenFileLine(out, "; " + Describe(rows[i].error)))) << "row " << i;
        EXPECT_TRUE(FixedSeams::Sleeps().empty()) << "row " << i;  // nothing to wait for
    }
}

// ---------------------------------------------------------------- print queues
// The port texts that name a print queue, and what they name.
TEST(QueuePortTest, PortTextsNameTheirQueue) {
    struct Row { const char *text; bool parsed; const char *expected; };
    // expected: queue | host | port | encrypted | resource, or the reason
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"CUPS labels", true, "labels |  | 0 | 0 | /printers/labels"},
        /*  1*/ {"cups  Zebra_2844 ", true, "Zebra_2844 |  | 0 | 0 | /printers/Zebra_2844"},
        /*  2*/ {"CUPS Shipping Desk", true, "Shipping Desk |  | 0 | 0 | /printers/Shipping Desk"},  // a Windows name
        /*  3*/ {"ipp://print.local/printers/zq", true, "zq | print.local | 631 | 0 | /printers/zq"},
        /*  4*/ {"IPP://127.0.0.1:8631/printers/zq", true, "zq | 127.0.0.1 | 8631 | 0 | /printers/zq"},
        /*  5*/ {"ipps://[::1]:443/classes/docks", true, "docks | ::1 | 443 | 1 | /classes/docks"},
        /*  6*/ {"ipp://[fe80::1]/printers/zq", true, "zq | fe80::1 | 631 | 0 | /printers/zq"},
        /*  7*/ {"CUPS ", false, "no queue is named"},
        /*  8*/ {"CUPS zq/../admin", false, "\"zq/../admin\" is not a queue name"},
        /*  9*/ {"CUPS zq?x=1", false, "\"zq?x=1\" is not a queue name"},
        /* 10*/ {"CUPS zq\tx", false, "\"zq\tx\" is not a queue name"},
        /* 11*/ {"ipp://host:0/printers/zq", false, "\"0\" is not a port number"},
        /* 12*/ {"ipp://host:65536/printers/zq", false, "\"65536\" is not a port number"},
        /* 13*/ {"ipp://host:63x/printers/zq", false, "\"63x\" is not a port number"},
        /* 14*/ {"ipp://:631/printers/zq", false, "no server is named"},
        /* 15*/ {"ipp://[::1/printers/zq", false, "the address \"[::1\" has no closing ]"},
        /* 16*/ {"ipp://host/admin/zq", false, "the path \"/admin/zq\" is not /printers/<queue> or /classes/<queue>"},
        /* 17*/ {"ipp://host", false, "the path \"\" is not /printers/<queue> or /classes/<queue>"},
        /* 18*/ {"ipp://host/printers/", false, "no queue is named"},
        /* 19*/ {"ipp://host/printers/a/b", false, "\"a/b\" is not a queue name"},
        /* 20*/ {"LPT1:", false, "\"LPT1:\" names no print queue"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        platform::QueueAddress address;
        std::string error;
        ASSERT_EQ(ParseQueuePort(row.text, address, error), row.parsed) << "row " << i << ": " << error;
        std::string got = row.parsed ? test::Joined({address.queue, address.host, std::to_string(address.port),
                                                     std::to_string(address.encrypted), address.resource})
                                     : error;
        EXPECT_EQ(got, row.expected) << "row " << i;
        EXPECT_EQ(IsQueuePort(row.text), i < 20) << "row " << i;
    }
}

#if !defined(_WIN32)
// A loopback port nobody listens on: one the system handed out and took back.
int ClosedPort() {
    int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address);
    ::getsockname(s, reinterpret_cast<sockaddr *>(&address), &length);
    ::close(s);
    return ntohs(address.sin_port);
}

struct CupsLibraryName {
    explicit CupsLibraryName(const char *name) { platform::posix::g_cupsLibraryName = name; }
    ~CupsLibraryName() { platform::posix::g_cupsLibraryName = "libcups.so.2"; }
};
#endif

// A queue that cannot be reached or found fails as a port that does not
// open: a Retry/Cancel box and an error line per try naming the queue, -301.
TEST(QueuePortTest, UnreachableQueueAsksUntilCancel) {
    struct Row { std::string port; const char *library; std::string reason; };
#if defined(_WIN32)
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"CUPS NoSuchPrinter", nullptr, "cannot open the printer \"NoSuchPrinter\" of the spooler: "},
        /*  1*/ {"CUPS zq/x", nullptr, "\"zq/x\" is not a queue name"},
    };
    // clang-format on
#else
    const std::string server = "127.0.0.1:" + std::to_string(ClosedPort());
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"ipp://" + server + "/printers/zq", nullptr,
                 "CUPS queue \"zq\" at " + server + ": cannot reach the server: "},
        /*  1*/ {"CUPS zq", "libcups-missing.so.2",
                 "the CUPS library libcups-missing.so.2 could not be loaded (libcups-missing.so.2: cannot open shared "
                 "object file: No such file or directory)"},
        /*  2*/ {"CUPS zq/x", nullptr, "\"zq/x\" is not a queue name"},
    };
    // clang-format on
#endif
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LogCapture log;
        auto context = MakeContext(row.port.c_str());
        std::strcpy(context->JobName, "ship-0001.ini");
#if !defined(_WIN32)
        CupsLibraryName library(row.library != nullptr ? row.library : "libcups.so.2");
#endif
        FixedSeams seams;
        seams.ScriptAnswers({kRetry, kCancel});
        EXPECT_EQ(SendToDevice(context.get(), "N\nP1\n", 5), ZALERR_PRINTER_OPENFAIL) << "row " << i;
        ASSERT_EQ(FixedSeams::Boxes().size(), 2u) << "row " << i;
        EXPECT_EQ(FixedSeams::Boxes()[1].text.rfind(kOpenBox + row.port + "\nError: " + row.reason, 0), 0u)
            << "row " << i << ": " << FixedSeams::Boxes()[1].text;
        ASSERT_EQ(log.ErrorLines().size(), 2u) << "row " << i;
        EXPECT_TRUE(log.Logged("SendToDevice: Error while opening device \"Label - Test\" on port \"" + row.port +
                               "\"; " + row.reason))
            << "row " << i;
    }
}

// The job's name is the job file's, without its folder.
TEST(QueuePortTest, JobIsNamedAfterTheJobFile) {
    test::TempDir dir;
    std::string job = test::WriteJob(dir, "Carrier=GEN\n");
    _JobProfileEntryA entry{};
    _JobInfoA info{};
    info.JobFile = job.c_str();
    info.ProfileEntry = &entry;
    JobFile file(job.c_str());
    auto context = MakeContext("CUPS zq");
    ASSERT_TRUE(ConfigureDevice(&info, file, context.get()));
    EXPECT_STREQ(context->JobName, "job.ini");
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
    return code == 0 ? text : text + "; " + Describe(code);
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
    EXPECT_TRUE(log.HasErrorMessage("SendToDevice: Failed to write to output file \"/dev/full\" of device \"Label - "
                                    "Test\" (0 of 2 bytes written); " + Describe(platform::kErrorDiskFull)));
}

TEST(SendToDeviceTest, FailedWriteAsksUntilCancel) {
    test::LogCapture log;
    auto context = MakeContext("LPT1:");
    std::strcpy(context->PortPath, "/dev/full");
    FixedSeams seams;
    seams.ScriptAnswers({kRetry, kCancel});
    EXPECT_EQ(SendToDevice(context.get(), "N\n", 2), ZALERR_PRINTER_BADWRITE);
    const std::string description = Describe(platform::kErrorDiskFull);
    ASSERT_EQ(FixedSeams::Boxes().size(), 2u);
    EXPECT_EQ(FixedSeams::Boxes()[1].text, kSendBox + "LPT1:\nError: " + description);
    EXPECT_TRUE(log.HasErrorMessage("SendToDevice: Failed to write to device \"Label - Test\" on port \"LPT1:\"; " +
                                    description));
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

std::unique_ptr<JobContext> UsbContext(const char *portText, uint32_t busyTimeout = 10000) {
    auto context = MakeContext(portText, busyTimeout);
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

// A label of the given size whose bytes tell their place, so that a
// fragment or a repeated start shows.
std::string Label(std::size_t size) {
    std::string label = "N\n";
    while (label.size() + 3 < size) label += static_cast<char>('A' + label.size() % 23);
    return label + "P1\n";
}

int32_t Send(JobContext &context, const std::string &label) {
    return SendToDevice(&context, label.data(), static_cast<int>(label.size()));
}


TEST(SendToDeviceFaultTest, OutputFolderThatCannotBeWritten) {
    test::LogCapture log;
    test::TempDir dir;
    const std::string closed = dir.file("closed"), out = closed + "/Label1.out";
    ASSERT_EQ(0, ::mkdir(closed.c_str(), 0555));
    if (::access(closed.c_str(), W_OK) == 0) {
        if (std::getenv("ZAL2443_TEST_WITHOUT_CAPS") != nullptr) GTEST_SKIP() << "root writes the folder all the same";
        const int status = test::RerunWithoutCapabilities();
        if (status < 0) GTEST_SKIP() << "running as root, and setpriv could not drop the capabilities";
        EXPECT_EQ(status, 0) << "the test failed without the capabilities; its output is above";
        return;
    }
    auto context = MakeContext("FILE");
    std::strcpy(context->OutputFile, out.c_str());
    EXPECT_EQ(SendToDevice(context.get(), "N\nP1\n", 5), ZALERR_PRINTER_OPENFAIL);
    EXPECT_TRUE(log.HasErrorMessage(OpenFileLine(out, "; " + Describe(platform::kErrorAccessDenied))));
    EXPECT_TRUE(FixedSeams::Sleeps().empty());
}

// A second process takes the output file's lock and holds it for holdMs.
pid_t HoldLock(const std::string &path, int holdMs) {
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    pid_t pid = ::fork();
    if (pid == 0) {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0644);
        if (fd < 0 || ::flock(fd, LOCK_EX) != 0) ::_exit(1);
        char c = 'x';
        if (::write(ready[1], &c, 1) != 1) ::_exit(1);
        ::usleep(static_cast<useconds_t>(holdMs) * 1000);
        ::_exit(0);
    }
    char c = 0;
    bool locked = ::read(ready[0], &c, 1) == 1;
    ::close(ready[0]);
    ::close(ready[1]);
    return locked ? pid : -1;
}

long Milliseconds(std::chrono::steady_clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

TEST(SendToDeviceFaultTest, OutputFileLockedBySecondProcess) {
    struct Row { int holdMs; uint32_t busyTimeout; int32_t result; long least, most; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {300,  5000, ZALERR_SUCCESS,          250, 3000},
        /*  1*/ {5000, 200,  ZALERR_PRINTER_OPENFAIL, 150, 3000},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LogCapture log;
        seams::Current().sleep = platform::SleepMs;  // the other process needs real time
        test::TempDir dir;
        const std::string out = dir.file("Label1.out");
        pid_t holder = HoldLock(out, row.holdMs);
        ASSERT_GT(holder, 0) << "row " << i;
        auto context = MakeContext("FILE", row.busyTimeout);
        std::strcpy(context->OutputFile, out.c_str());
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(SendToDevice(context.get(), "N\nP1\n", 5), row.result) << "row " << i;
        long spent = Milliseconds(start);
        ::kill(holder, SIGKILL);
        ::waitpid(holder, nullptr, 0);
        EXPECT_GE(spent, row.least) << "row " << i;
        EXPECT_LT(spent, row.most) << "row " << i;
        EXPECT_EQ(test::ReadFile(out), row.result == 0 ? "N\nP1\n" : "") << "row " << i;
        EXPECT_EQ(log.Logged("for another writer; " + Describe(platform::kErrorSharingViolation)), row.result != 0)
            << "row " << i;
    }
}

// The limit is far above the log files, which keep growing meanwhile.
constexpr std::size_t kCutAt = 512 * 1024;
rlimit g_fileSize;  // the process's own limit, put back by the box's Retry

TEST(SendToDeviceFaultTest, CutWrite) {
    const std::string label = Label(2 * kCutAt);
    const std::string count = std::to_string(label.size());
    struct Row { const char *port; bool outputFile; int32_t result; std::string line; };
    // clang-format off
    const Row rows[] = {
        // Retry after the cut sends the rest: the label arrives once, whole
        /*  0*/ {"LPT1:", false, ZALERR_SUCCESS,
                 "SendToDevice: " + std::to_string(kCutAt) + " of " + count +
                 " bytes of the label went out to device \"Label - Test\" on port \"LPT1:\"."},
        /*  1*/ {"FILE",  true,  ZALERR_PRINTER_BADWRITE,
                 "\" of device \"Label - Test\" (" + std::to_string(kCutAt) + " of " + count + " bytes written); "},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LogCapture log;
        log.Unwrap();
        test::TempDir dir;
        const std::string port = dir.file("port");
        auto context = MakeContext(row.port, 10000);
        std::strcpy(row.outputFile ? context->OutputFile : context->PortPath, port.c_str());
        // A write past kCutAt bytes is cut (SIGXFSZ ignored: the write
        // returns what fitted) until Retry lifts the limit.
        seams::Current().messageBox = [](const char *text, const char *caption, uint32_t style) {
            FixedSeams::Boxes().push_back({text, caption, style});
            ::setrlimit(RLIMIT_FSIZE, &g_fileSize);
            return kRetry;
        };
        ::getrlimit(RLIMIT_FSIZE, &g_fileSize);
        const sighandler_t handler = ::signal(SIGXFSZ, SIG_IGN);
        rlimit cut = g_fileSize;
        cut.rlim_cur = kCutAt;
        ::setrlimit(RLIMIT_FSIZE, &cut);
        const int32_t result = Send(*context, label);
        ::setrlimit(RLIMIT_FSIZE, &g_fileSize);
        ::signal(SIGXFSZ, handler);
        EXPECT_EQ(result, row.result) << "row " << i;
        EXPECT_TRUE(log.Logged(row.line)) << "row " << i;
        if (row.outputFile) {
            EXPECT_TRUE(FixedSeams::Boxes().empty()) << "row " << i;
            continue;
        }
        ASSERT_EQ(FixedSeams::Boxes().size(), 1u) << "row " << i;
        EXPECT_TRUE(test::ReadFile(port) == label) << "row " << i << ": " << test::ReadFile(port).size() << " bytes";
        EXPECT_TRUE(log.HasDebugMessage("Writing " + std::to_string(label.size() - kCutAt) +
                                        " bytes of data to \"LPT1:\"..."))
            << "row " << i;
        EXPECT_TRUE(log.HasDebugMessage("Wrote " + count + " bytes of data.")) << "row " << i;
    }
}

// One USB printer lp0 for the support library whose node is a FIFO: the
// test is the printer, reading (or not) at the other end.
struct FifoPrinter : FakeUsbPrinter {
    FifoPrinter() {
        ::unlink(Node(0).c_str());
        EXPECT_EQ(0, ::mkfifo(Node(0).c_str(), 0644));
    }
    ~FifoPrinter() {
        if (reader >= 0) ::close(reader);
    }
    // The printer comes: its end opens, holding at most pipeSize bytes.
    void Attach(int pipeSize = 0) {
        reader = ::open(Node(0).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(reader, 0);
        if (pipeSize > 0) {
            ASSERT_GE(::fcntl(reader, F_SETPIPE_SZ, pipeSize), 0);
        }
    }
    std::string Drain() {
        std::string got;
        char buffer[65536];
        ssize_t n;
        while (reader >= 0 && (n = ::read(reader, buffer, sizeof buffer)) > 0) got.append(buffer, static_cast<std::size_t>(n));
        return got;
    }
    int reader = -1;
};

// Sends on a thread.  A send still running after a few seconds has hung:
// the test fails, and the printer starts reading so that the send ends.
int32_t SendOrReportHang(JobContext &context, const std::string &label, FifoPrinter &printer, std::string &read) {
    auto send = std::async(std::launch::async, [&] { return Send(context, label); });
    if (send.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "SendToDevice hung on the USB printer";
        if (printer.reader < 0) printer.Attach();
        while (send.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) read += printer.Drain();
    }
    int32_t result = send.get();
    read += printer.Drain();
    return result;
}

// A printer that takes no data (a FIFO without reader) is busy: tried again
// without a box until the busy time-out, then -305; one whose end opens
// during the wait gets the label.
FifoPrinter *g_printer = nullptr;

TEST(SendToDeviceFaultTest, UsbPrinterThatTakesNoDataIsBusy) {
    if (!UsbLibraryBuilt()) GTEST_SKIP() << "the USB support library is not built";
    struct Row { uint32_t busyTimeout; bool comes; int32_t result; const char *read; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {100,   false, ZALERR_PRINTER_DEVICEBUSY, ""},
        /*  1*/ {10000, true,  ZALERR_SUCCESS,            "N\nP1\n"},  // its end opens after two waits
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LogCapture log;
        log.Unwrap();
        FifoPrinter printer;
        g_printer = row.comes ? &printer : nullptr;
        seams::Current().sleep = [](uint32_t ms) {
            FixedSeams::Sleeps().push_back(ms);
            if (g_printer != nullptr && FixedSeams::Sleeps().size() == 2) g_printer->Attach();
        };
        FreeDllList();
        auto context = UsbContext("USB Zebra 2844 - 12345", row.busyTimeout);
        std::string read;
        EXPECT_EQ(SendOrReportHang(*context, "N\nP1\n", printer, read), row.result) << "row " << i;
        FreeDllList();
        g_printer = nullptr;
        EXPECT_EQ(read, row.read) << "row " << i;
        EXPECT_EQ(FixedSeams::Sleeps(), std::vector<uint32_t>(2, 50)) << "row " << i;
        ASSERT_EQ(FixedSeams::Boxes().size(), row.comes ? 0u : 1u) << "row " << i;
        if (row.comes) continue;
        const std::string reason =
            "The USB printer \"" + printer.Node(0) + "\" could not be opened: No such device or address.";
        EXPECT_EQ(FixedSeams::Boxes()[0].text, "An error has occurred while opening device:\n\nDevice: Label - "
                                               "Test\nPort: USB Zebra 2844 - 12345\nError: " + reason);
        EXPECT_TRUE(log.HasErrorMessage(
            "SendToDevice: Device \"Label - Test\" on port \"USB Zebra 2844 - 12345\" was still busy after 100 ms."));
        EXPECT_TRUE(log.HasErrorMessage(
            "SendToDevice: Error while opening device \"Label - Test\" on port \"USB Zebra 2844 - 12345\"; " + reason));
    }
}

// A printer that stops reading: the write gives up after the busy time-out
// without a byte taken, and says how much of the label went out.
TEST(SendToDeviceFaultTest, UsbPrinterThatStopsReading) {
    if (!UsbLibraryBuilt()) GTEST_SKIP() << "the USB support library is not built";
    test::LogCapture log;
    log.Unwrap();
    FifoPrinter printer;
    printer.Attach(4096);
    FreeDllList();
    auto context = UsbContext("USB Zebra 2844 - 12345", 300);
    const std::string label = Label(64 * 1024);
    std::string read;
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(SendOrReportHang(*context, label, printer, read), ZALERR_PRINTER_BADWRITE);
    long spent = Milliseconds(start);
    FreeDllList();
    EXPECT_GE(spent, 250);
    EXPECT_LT(spent, 3000);
    ASSERT_FALSE(read.empty());
    EXPECT_LT(read.size(), label.size());
    EXPECT_EQ(read, label.substr(0, read.size()));
    EXPECT_TRUE(log.HasErrorMessage("SendToDevice: Failed to write to device \"Label - Test\" on port \"USB Zebra 2844 - "
                                    "12345\"; " + Describe(platform::kErrorTimeout)));
    EXPECT_TRUE(log.HasErrorMessage("SendToDevice: " + std::to_string(read.size()) + " of " +
                                    std::to_string(label.size()) +
                                    " bytes of the label went out to device \"Label - Test\" on port \"USB Zebra 2844 "
                                    "- 12345\"."));
    ASSERT_EQ(FixedSeams::Boxes().size(), 1u);
}

// A serial line nobody drains: the write times out at the line's time-out
// (8 ms a byte at 9600 baud), the first time-out ends the job, and the log
// says how much of the label went out.
TEST(SendToDeviceFaultTest, SerialLineNobodyDrains) {
    int master = -1, terminal = -1;
    char name[256] = {};
    ASSERT_EQ(0, ::openpty(&master, &terminal, name, nullptr, nullptr));
    // Fill the line until the kernel takes no more, in the raw mode the
    // port is given (a change of mode could make room).
    termios raw = {};
    ::tcgetattr(terminal, &raw);
    ::cfmakeraw(&raw);
    ::cfsetspeed(&raw, B9600);
    ::tcsetattr(terminal, TCSANOW, &raw);
    ::fcntl(terminal, F_SETFL, ::fcntl(terminal, F_GETFL) | O_NONBLOCK);
    std::vector<char> block(4096, 'f');
    for (int quiet = 0; quiet < 3;) {
        bool took = false;
        while (::write(terminal, block.data(), block.size()) > 0) took = true;
        quiet = took ? 0 : quiet + 1;
        ::usleep(20 * 1000);
    }
    test::LogCapture log;
    log.Unwrap();
    test::TempDir dir;
    test::WriteFile(dir.file("win.ini"), "[ports]\nCOM1:=9600,n,8,1\n");
    EnvVar winIni("ZAL2443_WIN_INI", dir.file("win.ini"));
    auto context = MakeContext("COM1", 10000);
    std::strcpy(context->PortPath, name);
    const std::string label = Label(50);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Send(*context, label), ZALERR_PRINTER_BADWRITE);
    long spent = Milliseconds(start);
    ::close(master);
    ::close(terminal);
    EXPECT_GE(spent, 350);  // 50 x 8 ms
    EXPECT_LT(spent, 3000);
    EXPECT_EQ(FixedSeams::Boxes().size(), 1u);
    EXPECT_TRUE(log.HasErrorMessage("SendToDevice: Failed to write to device \"Label - Test\" on port \"COM1\"; " +
                                    Describe(platform::kErrorTimeout)));
    // The kernel may take a few bytes more than it seemed to have room for.
    EXPECT_TRUE(log.Logged(" of 50 bytes of the label went out to device \"Label - Test\" on port \"COM1\"."));
}

#endif  // !_WIN32

}  // namespace
}  // namespace zal
