// The device output under port faults: an output file another writer
// holds, output folders that are missing or closed, a write cut by a
// file-size limit, USB printers (FIFOs under the fake usblp tree) that take
// no data or stop taking it, and a serial line nobody drains.  Each ends in
// a result code and a log line that says what happened; none waits longer
// than the job's busy time-out.
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
#include "device/UsbPort.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#endif

namespace zal {
namespace {

using test::FixedSeams;

constexpr const char *kDevice = "Label - Test";

// Opening a file in a folder that does not exist.
#if defined(_WIN32)
constexpr uint32_t kMissingFolderError = platform::kErrorPathNotFound;
#else
constexpr uint32_t kMissingFolderError = platform::kErrorFileNotFound;
#endif

std::unique_ptr<JobContext> MakeContext(const char *portText, uint32_t busyTimeout) {
    auto context = std::make_unique<JobContext>();
    std::memset(context.get(), 0, sizeof(JobContext));
    std::strcpy(context->PortText, portText);
    std::strcpy(context->DeviceDescription, kDevice);
    context->BusyTimeout = busyTimeout;
    return context;
}

std::string Describe(uint32_t code) {
    char description[256];
    FormatErrorString(code, description, sizeof description, true, kKindWin32);
    return description;
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

#if !defined(_WIN32)

using test::EnvVar;

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

// A test that needs a user without root's rights (root may write any
// folder).  Run as root, it runs again in a child process under setpriv as
// user nobody, with a scratch folder that nobody owns, and the child's
// outcome is checked here; otherwise it runs here in a folder of its own.
class WithoutRoot {
public:
    explicit WithoutRoot(const char *test) {
        if (::geteuid() != 0) {
            const char *given = std::getenv(kScratchVariable);
            _scratch = given != nullptr ? given : _own.path();
            _runHere = true;
            return;
        }
        if (std::system("setpriv --reuid=65534 --regid=65534 --clear-groups true >/dev/null 2>&1") != 0) {
            _skipReason = "running as root, and setpriv (util-linux) cannot switch to user nobody here";
            return;
        }
        EXPECT_EQ(0, ::chown(_own.path().c_str(), kNobody, kNobody));
        char self[4096] = {};
        if (::readlink("/proc/self/exe", self, sizeof self - 1) <= 0) {
            ADD_FAILURE() << "this test program's path cannot be read";
            return;
        }
        std::string filter = std::string("--gtest_filter=") + test;
        pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv(kScratchVariable, _own.path().c_str(), 1);
            ::execlp("setpriv", "setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--", self,
                     filter.c_str(), static_cast<char *>(nullptr));
            ::_exit(127);
        }
        int status = -1;
        EXPECT_EQ(pid, ::waitpid(pid, &status, 0));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << test << " failed as user nobody (through setpriv); its output is above";
    }
    bool RunHere() const { return _runHere; }
    const std::string &SkipReason() const { return _skipReason; }
    const std::string &Scratch() const { return _scratch; }

private:
    static constexpr const char *kScratchVariable = "ZAL2443_TEST_SCRATCH";
    static constexpr uid_t kNobody = 65534;
    test::TempDir _own;
    std::string _scratch;
    std::string _skipReason;
    bool _runHere = false;
};

// The log of a run that may not write the build tree: into the scratch folder.
struct ScratchLog {
    explicit ScratchLog(const std::string &folder) : _folder(folder) {
        log::ResetForTests();
        _LoggingConfigA config = {};
        CopyText(config.LogFolder, folder.c_str());
        CopyText(config.DebugLogName, "debug.log");
        CopyText(config.ErrorLogName, "error.log");
        CopyText(config.ModuleName, "tests");
        config.WrapWidth = 4000;
        config.Flags = 0x1FFFF;
        log::ConfigureLogging(config);
    }
    ~ScratchLog() { log::ResetForTests(); }
    bool HasErrorEnding(const std::string &message) const {
        for (const std::string &line : test::ReadLines(_folder + "/error.log")) {
            if (line.size() >= message.size() && line.compare(line.size() - message.size(), message.size(), message) == 0)
                return true;
        }
        return false;
    }
    std::string _folder;
};

TEST(SendToDeviceFaultTest, OutputFolderThatCannotBeWritten) {
    WithoutRoot user("SendToDeviceFaultTest.OutputFolderThatCannotBeWritten");
    if (!user.SkipReason().empty()) GTEST_SKIP() << user.SkipReason();
    if (!user.RunHere()) return;
    const std::string closed = user.Scratch() + "/closed";
    ASSERT_EQ(0, ::mkdir(closed.c_str(), 0555));
    ScratchLog log(user.Scratch());
    FixedSeams seams;
    auto context = MakeContext("FILE", 10000);
    const std::string out = closed + "/Label1.out";
    std::strcpy(context->OutputFile, out.c_str());
    EXPECT_EQ(SendToDevice(context.get(), "N\nP1\n", 5), ZALERR_PRINTER_OPENFAIL);
    EXPECT_TRUE(log.HasErrorEnding(OpenFileLine(out, "; " + Describe(platform::kErrorAccessDenied))));
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

// The process may write files of at most the given size; a write past it
// is cut (SIGXFSZ ignored, so the write returns what fitted).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &_old);
        _oldHandler = ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = _old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        Lift();
        ::signal(SIGXFSZ, _oldHandler);
    }
    void Lift() { ::setrlimit(RLIMIT_FSIZE, &_old); }

private:
    rlimit _old = {};
    sighandler_t _oldHandler = SIG_DFL;
};

constexpr int kRetry = 4;
// The limit is far above the log files, which keep growing meanwhile.
constexpr std::size_t kCutAt = 512 * 1024;
FileSizeLimit *g_limit = nullptr;

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
        seams::Current().messageBox = [](const char *text, const char *caption, uint32_t style) {
            FixedSeams::Boxes().push_back({text, caption, style});
            g_limit->Lift();
            return kRetry;
        };
        int32_t result;
        {
            FileSizeLimit limit(kCutAt);
            g_limit = &limit;
            result = Send(*context, label);
            g_limit = nullptr;
        }
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
struct FifoPrinter : test::FakeUsbTree {
    FifoPrinter() {
        AddPrinter(0, "1-1", "0a5f", "00a3", "MFG:Zebra;CMD:EPL2;MDL:Zebra 2844;SN:12345;");
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

bool UsbLibraryBuilt() {
    platform::LibraryHandle library = platform::LoadLibrary(kUsbLibraryName);
    if (library == nullptr) return false;
    platform::FreeLibrary(library);
    return true;
}

std::unique_ptr<JobContext> UsbContext(uint32_t busyTimeout) {
    auto context = MakeContext("USB Zebra 2844 - 12345", busyTimeout);
    context->IsUsb = 1;
    context->PortKind = 4;
    context->UsbVendorId = 0x0A5F;
    context->UsbProductId = 0x00A3;
    return context;
}

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
        auto context = UsbContext(row.busyTimeout);
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
    auto context = UsbContext(300);
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
