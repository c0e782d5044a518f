// Ports: the mode-text parser on both builds (the Windows build asks the
// system's own BuildCommDCBA), and on Linux the device names, sharing,
// parallel status, write failures and serial lines on a pseudo-terminal.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>

#include "platform/Platform.h"
#include "support/TestSupport.h"

#if !defined(_WIN32)
#include "platform/posix/PortsInternal.h"
#endif

#if !defined(_WIN32)
#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <vector>
#endif

namespace zal::platform {
namespace {

// The line settings as one text, so that a failing row shows them all.
std::string Describe(const CommState &s) {
    char text[128];
    std::snprintf(text, sizeof text, "baud=%u data=%d parity=%d stop=%d cts=%d dsr=%d dtr=%d rts=%d outx=%d inx=%d",
                  s.baudRate, s.byteSize, s.parity, s.stopBits, s.outxCtsFlow, s.outxDsrFlow, s.dtrControl,
                  s.rtsControl, s.outX, s.inX);
    return text;
}

CommState Odd() {  // a state no mode text gives, to see what a text changes
    CommState s;
    s.baudRate = 777;
    s.byteSize = 6;
    s.parity = 4;
    s.stopBits = 1;
    s.outxCtsFlow = s.outxDsrFlow = true;
    s.dtrControl = 2;
    s.rtsControl = 3;
    s.outX = s.inX = true;
    return s;
}

// Rows on which this build and the Windows system call agree.
// expected: Describe() of the result; null: refused, state unchanged.
TEST(BuildCommDCB, ModeTexts) {
    struct ModeRow { const char *text; const char *expected; };
    // clang-format off
    const ModeRow rows[] = {
        /*  0*/ {"9600,n,8,1",           "baud=9600 data=8 parity=0 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /*  1*/ {"96,N,8,1",             "baud=9600 data=8 parity=0 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /*  2*/ {"19,e,7,2",             "baud=19200 data=7 parity=2 stop=2 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /*  3*/ {"7200,m,5,1.5",         "baud=7200 data=5 parity=3 stop=1 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /*  4*/ {"9600,s,8,1,x",         "baud=9600 data=8 parity=4 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=1 inx=1"},
        /*  5*/ {"9600,n,8,1,P",         "baud=9600 data=8 parity=0 stop=0 cts=1 dsr=1 dtr=2 rts=2 outx=0 inx=0"},
        /*  6*/ {"9600 , n , 8 , 1",     "baud=9600 data=8 parity=0 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /*  7*/ {"com12: 4800,e,7,1",    "baud=4800 data=7 parity=2 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /*  8*/ {"4294967296,n,8,1",     "baud=4294967295 data=8 parity=0 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        // new form: only the fields named change; stop bits not named become one
        /*  9*/ {"baud=9600 parity=N data=8 stop=1",
                                         "baud=9600 data=8 parity=0 stop=0 cts=1 dsr=1 dtr=2 rts=3 outx=1 inx=1"},
        /* 10*/ {"baud=110",             "baud=110 data=6 parity=4 stop=2 cts=1 dsr=1 dtr=2 rts=3 outx=1 inx=1"},
        /* 11*/ {"stop=1.5 data=5",      "baud=777 data=5 parity=4 stop=1 cts=1 dsr=1 dtr=2 rts=3 outx=1 inx=1"},
        /* 12*/ {"xon=off octs=off odsr=OFF", "baud=777 data=6 parity=4 stop=0 cts=0 dsr=0 dtr=2 rts=3 outx=0 inx=0"},
        /* 13*/ {"dtr=off rts=on to=on idsr=off", "baud=777 data=6 parity=4 stop=0 cts=1 dsr=1 dtr=0 rts=1 outx=1 inx=1"},
        // nothing to set: only the stop bits
        /* 14*/ {"",                     "baud=777 data=6 parity=4 stop=0 cts=1 dsr=1 dtr=2 rts=3 outx=1 inx=1"},
        // refused
        /* 15*/ {"9600,n,8", nullptr},
        /* 16*/ {"9600,q,8,1", nullptr},
        /* 17*/ {"9600,n,8,3", nullptr},
        /* 18*/ {"9600,n,8,1,y", nullptr},
        /* 19*/ {"COM1", nullptr},
        /* 20*/ {"LPT1: 9600,n,8,1", nullptr},
        /* 21*/ {"baud=abc", nullptr},
        /* 22*/ {"baud=9600 foo=1", nullptr},
        /* 23*/ {"9600,n,8,1 baud=4800", nullptr},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(std::to_string(i) + " [" + rows[i].text + "]");
        CommState s = Odd();
        SetLastError(0);
        const bool ok = BuildCommDCB(rows[i].text, s);
        EXPECT_EQ(ok, rows[i].expected != nullptr);
        EXPECT_EQ(Describe(s), rows[i].expected ? rows[i].expected : Describe(Odd()));
        if (!ok) {
            EXPECT_EQ(kErrorInvalidParameter, GetLastError());
        }
    }
}

// Folders named in the settings and by a job are compared in their
// canonical form (more spellings in MaxicodeCompressTest).
TEST(Ports, CanonicalPathsCompare) {
    test::TempDir dir;
    const std::string folder = CanonicalPath(dir.path().c_str());
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(SamePath(CanonicalPath((dir.path() + test::Separator()).c_str()), folder));
    EXPECT_TRUE(CanonicalPath(dir.file("missing").c_str()).empty());
    EXPECT_NE(kErrorSuccess, GetLastError());
    // The code's own folder: the test program's, which links it in statically.
    const std::string module = CanonicalPath(ModuleFolder().c_str());
    EXPECT_TRUE(SamePath(module, CanonicalPath(ExecutableFolder().c_str()))) << module;
#if defined(_WIN32)
    std::string upper = folder;
    for (char &c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_TRUE(SamePath(CanonicalPath(upper.c_str()), folder));
#else
    // A link leads to where it points; a folder others may write is told.
    const std::string sub = dir.file("sub");
    ASSERT_EQ(0, ::mkdir(sub.c_str(), 0755));
    ASSERT_EQ(0, ::symlink(sub.c_str(), dir.file("link").c_str()));
    EXPECT_EQ(CanonicalPath(dir.file("link").c_str()), CanonicalPath(sub.c_str()));
    EXPECT_FALSE(WritableByOthers(sub.c_str()));
    ::chmod(sub.c_str(), 0757);
    EXPECT_TRUE(WritableByOthers(sub.c_str()));
#endif
}

#if !defined(_WIN32)

using test::EnvVar;

long Milliseconds(std::chrono::steady_clock::time_point start);

OpenOptions ReadWrite(Disposition d = Disposition::OpenExisting) {
    OpenOptions o;
    o.disposition = d;
    return o;
}

bool WriteText(Handle h, const std::string &text) {
    uint32_t written = 0;
    return WriteFile(h, text.data(), static_cast<uint32_t>(text.size()), &written) && written == text.size();
}

TEST(Ports, DeviceNamesMapBelowTheDeviceRoot) {
    test::TempDir dev;
    EnvVar root("ZAL2443_DEV_ROOT", dev.path());
    // clang-format off
    const struct { const char *name, *node; } rows[] = {
        /*  0*/ {"LPT1", "lp0"}, /*  1*/ {"lpt2:", "lp1"}, /*  2*/ {"\\\\.\\COM10", "ttyS9"}, /*  3*/ {"com1:", "ttyS0"},
    };
    // clang-format on
    for (const auto &row : rows) {
        for (const char *node : {"lp0", "lp1", "ttyS0", "ttyS9"}) test::WriteFile(dev.file(node), "");
        Handle h = CreateFile(row.name, ReadWrite());
        ASSERT_TRUE(IsValidHandle(h)) << row.name;
        EXPECT_TRUE(WriteText(h, row.name));
        EXPECT_TRUE(CloseHandle(h));
        EXPECT_EQ(row.name, test::ReadFile(dev.file(row.node))) << row.name;
    }
    // A device name is never created, not even with open-always; LPT0,
    // LPTSTAT without the prefix and COM with letters are no device names.
    const char *names[] = {"LPT3", "COM2:", "LPT0", "LPTSTAT1", "COMX", "LPT1000"};
    for (std::size_t i = 0; i < std::size(names); ++i) {
        Disposition d = i < 2 ? Disposition::OpenAlways : Disposition::OpenExisting;
        EXPECT_FALSE(IsValidHandle(CreateFile(names[i], ReadWrite(d)))) << names[i];
        EXPECT_EQ(kErrorFileNotFound, GetLastError()) << names[i];
    }
    EXPECT_FALSE(test::FileExists(dev.file("lp2")));
    Handle nul = CreateFile("nul", ReadWrite());
    ASSERT_TRUE(IsValidHandle(nul));
    EXPECT_TRUE(WriteText(nul, "dropped"));
    EXPECT_TRUE(CloseHandle(nul));
}

TEST(Ports, OpenAlwaysCreatesAndReportsAnExistingFile) {
    test::TempDir dir;
    std::string path = dir.file("Label1.out");
    OpenOptions o = ReadWrite(Disposition::OpenAlways);
    o.writeThrough = true;
    for (const char *text : {"first;", "second;"}) {
        Handle h = CreateFile(path.c_str(), o);
        ASSERT_TRUE(IsValidHandle(h));
        EXPECT_EQ(text[0] == 'f' ? kErrorSuccess : kErrorAlreadyExists, GetLastError());
        EXPECT_TRUE(SeekToEnd(h));
        EXPECT_TRUE(WriteText(h, text));
        EXPECT_TRUE(CloseHandle(h));
    }
    EXPECT_EQ("first;second;", test::ReadFile(path));
    EXPECT_FALSE(IsValidHandle(CreateFile(dir.file("missing").c_str(), ReadWrite())));
    EXPECT_EQ(kErrorFileNotFound, GetLastError());
    EXPECT_FALSE(IsValidHandle(CreateFile(dir.path().c_str(), ReadWrite())));
    EXPECT_EQ(kErrorAccessDenied, GetLastError());
}

// A device that stops taking data is written under the write time-out
// (SendToDeviceFaultTest); one whose reader has gone, a FIFO here, fails
// the write at once instead of ending the process with SIGPIPE.
TEST(Ports, DeviceWhoseReaderHasGone) {
    test::TempDir dir;
    const std::string fifo = dir.file("printer");
    ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0644));
    int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    OpenOptions writer;  // read and write would make this end a reader too
    writer.read = false;
    Handle h = CreateFile(fifo.c_str(), writer);
    ASSERT_TRUE(IsValidHandle(h));
    ASSERT_TRUE(SetWriteTimeout(h, 10000));
    ::close(reader);
    uint32_t written = 99;
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(WriteFile(h, "N\nP1\n", 5, &written));
    EXPECT_LT(Milliseconds(start), 1000);
    EXPECT_EQ(0u, written);
    EXPECT_TRUE(CloseHandle(h));
}

TEST(Ports, NoSharingLocksTheFile) {
    test::TempDir dir;
    std::string path = dir.file("out.prn");
    test::WriteFile(path, "");
    OpenOptions reader;
    reader.write = false;
    reader.shareRead = true;
    Handle first = CreateFile(path.c_str(), ReadWrite());
    ASSERT_TRUE(IsValidHandle(first));
    EXPECT_FALSE(IsValidHandle(CreateFile(path.c_str(), ReadWrite())));
    EXPECT_EQ(kErrorSharingViolation, GetLastError());
    EXPECT_FALSE(IsValidHandle(CreateFile(path.c_str(), reader)));
    EXPECT_TRUE(CloseHandle(first));
    // Readers that share reading may be many; a writer then has to wait.
    Handle a = CreateFile(path.c_str(), reader), b = CreateFile(path.c_str(), reader);
    EXPECT_TRUE(IsValidHandle(a) && IsValidHandle(b));
    EXPECT_FALSE(IsValidHandle(CreateFile(path.c_str(), ReadWrite())));
    CloseHandle(a);
    CloseHandle(b);
}

OpenOptions StatusOptions() {
    OpenOptions o;
    o.write = false;
    o.shareRead = true;
    return o;
}

// The status stand-in files are read through the device output's status
// checks; see SendToDeviceTest.
TEST(Ports, ParallelStatusNeedsAParallelPrinter) {
    test::TempDir dev;
    EnvVar root("ZAL2443_DEV_ROOT", dev.path());
    unsetenv("ZAL2443_LPTSTAT_DIR");
    test::WriteFile(dev.file("lp0"), "\xD8");  // a file: the status ioctl fails
    EXPECT_FALSE(IsValidHandle(CreateFile("\\\\.\\LPTSTAT1", StatusOptions())));
    EXPECT_NE(kErrorSuccess, GetLastError());
    EXPECT_FALSE(IsValidHandle(CreateFile("\\\\.\\LPTSTAT2", StatusOptions())));
    EXPECT_EQ(kErrorFileNotFound, GetLastError());
}

// A pseudo-terminal pair: the library works on the terminal side, the test
// reads (or does not read) the other.
class Pty : public testing::Test {
protected:
    void SetUp() override {
        char name[256] = {};
        ASSERT_EQ(0, openpty(&_master, &_terminal, name, nullptr, nullptr));
        _name = name;
        _h = CreateFile(_name.c_str(), ReadWrite());
        ASSERT_TRUE(IsValidHandle(_h));
    }
    void TearDown() override {
        if (IsValidHandle(_h)) CloseHandle(_h);
        ::close(_master);
        ::close(_terminal);
    }
    void Apply(const char *mode) {
        CommState s;
        ASSERT_TRUE(GetCommState(_h, s));
        ASSERT_TRUE(BuildCommDCB(mode, s)) << mode;
        ASSERT_TRUE(SetCommState(_h, s)) << mode;
    }
    // Fills the line until the kernel takes no more, even after it has
    // moved what it holds on to the other side's buffer.
    void Stall() {
        ::fcntl(_terminal, F_SETFL, ::fcntl(_terminal, F_GETFL) | O_NONBLOCK);
        std::vector<char> block(4096, 'f');
        for (int quiet = 0; quiet < 3;) {
            bool took = false;
            while (::write(_terminal, block.data(), block.size()) > 0) took = true;
            quiet = took ? 0 : quiet + 1;
            usleep(20 * 1000);
        }
    }

    int _master = -1;
    int _terminal = -1;
    std::string _name;
    Handle _h = kInvalidHandle;
};

long Milliseconds(std::chrono::steady_clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

// The line settings of mode texts, as termios flags: on the line itself a
// pseudo-terminal keeps eight data bits and no parity checking, so the
// data size and parity enable are compared on the converted settings.
TEST_F(Pty, ModeTextsReachTheLineAndComeBack) {
    // set: among PARENB PARODD CMSPAR CSTOPB CRTSCTS
    // input: among IXON IXOFF
    struct Row { const char *mode; speed_t speed; tcflag_t size; tcflag_t set; tcflag_t input; };
    constexpr tcflag_t kWatched = PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
    constexpr tcflag_t kKept = PARODD | CMSPAR | CSTOPB | CRTSCTS;
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"9600,n,8,1", B9600, CS8, 0, 0},
        /*  1*/ {"COM1: baud=4800 parity=O data=7 stop=2", B4800, CS7, PARENB | PARODD | CSTOPB, 0},
        /*  2*/ {"2400,m,8,1", B2400, CS8, PARENB | PARODD | CMSPAR, 0},
        /*  3*/ {"12,s,6,2", B1200, CS6, PARENB | CMSPAR | CSTOPB, 0},
        /*  4*/ {"115200,n,8,1,p", B115200, CS8, CRTSCTS, 0},
        /*  5*/ {"38400,n,5,1.5,x", B38400, CS5, CSTOPB, IXON | IXOFF},
    };
    // clang-format on
    for (const Row &row : rows) {
        Apply(row.mode);
        termios t{};
        tcgetattr(_terminal, &t);
        EXPECT_EQ(row.speed, cfgetospeed(&t)) << row.mode;
        EXPECT_EQ(row.set & kKept, t.c_cflag & kKept) << row.mode;
        EXPECT_EQ(row.input, t.c_iflag & (IXON | IXOFF)) << row.mode;
        EXPECT_EQ(0u, t.c_lflag & (ICANON | ECHO | ISIG)) << row.mode;
        EXPECT_EQ(0u, t.c_oflag & OPOST) << row.mode;

        CommState expected, back;
        expected.baudRate = 9600;
        ASSERT_TRUE(BuildCommDCB(row.mode, expected));
        posix::LineSettings line;
        line.cflag = CS8 | PARENB | B38400;  // the old settings do not survive
        ASSERT_TRUE(posix::ToLine(expected, line)) << row.mode;
        EXPECT_EQ(row.size, line.cflag & CSIZE) << row.mode;
        EXPECT_EQ(row.set, line.cflag & kWatched) << row.mode;
        EXPECT_EQ(CREAD | CLOCAL, line.cflag & (CREAD | CLOCAL)) << row.mode;
        // DSR flow and the modem lines have no termios flag: not compared.
        ASSERT_TRUE(GetCommState(_h, back));
        EXPECT_EQ(expected.baudRate, back.baudRate) << row.mode;
        EXPECT_EQ(expected.outX, back.outX) << row.mode;
        EXPECT_EQ(expected.inX, back.inX) << row.mode;
        EXPECT_EQ(expected.outxCtsFlow, back.outxCtsFlow) << row.mode;
    }
}

TEST_F(Pty, BytesArriveUnchanged) {
    EXPECT_TRUE(SetupComm(_h, 3072, 8192));
    Apply("9600,n,8,1");
    CommTimeouts t;
    t.writeTotalTimeoutMultiplier = 8;
    ASSERT_TRUE(SetCommTimeouts(_h, t));
    CommTimeouts back;
    ASSERT_TRUE(GetCommTimeouts(_h, back));
    EXPECT_EQ(8u, back.writeTotalTimeoutMultiplier);

    const std::string label = std::string("N\nA10,10,0,3,1,1,N,\"x\"\r\n") + '\0' + "\xff\x03P1\n";
    uint32_t written = 0;
    ASSERT_TRUE(WriteFile(_h, label.data(), static_cast<uint32_t>(label.size()), &written));
    EXPECT_EQ(label.size(), written);
    std::string got;
    char buffer[256];
    auto start = std::chrono::steady_clock::now();
    while (got.size() < label.size() && Milliseconds(start) < 2000) {
        ssize_t n = ::read(_master, buffer, sizeof buffer);
        if (n > 0) got.append(buffer, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(label, got);
    EXPECT_TRUE(FlushFileBuffers(_h));
    // A serial line is opened once.
    EXPECT_FALSE(IsValidHandle(CreateFile(_name.c_str(), ReadWrite())));
    EXPECT_EQ(kErrorAccessDenied, GetLastError());
}

// The write timeout is its constant plus the multiplier per byte; what was
// written before it ran out is reported.
TEST_F(Pty, WriteTimeout) {
    Apply("9600,n,8,1");
    // clang-format off
    const struct { bool stalled; uint32_t bytes, multiplier, constant; long least, most; } rows[] = {
        /*  0*/ {false, 1u << 20, 0, 300, 290, 1500},  // more than the line holds
        /*  1*/ {true,  100,      2, 50,  240, 1200},  // 2 x 100 + 50 = 250 ms
    };
    // clang-format on
    for (const auto &row : rows) {
        if (row.stalled) Stall();
        CommTimeouts t;
        t.writeTotalTimeoutMultiplier = row.multiplier;
        t.writeTotalTimeoutConstant = row.constant;
        ASSERT_TRUE(SetCommTimeouts(_h, t));
        std::vector<char> data(row.bytes, 'x');
        uint32_t written = 99;
        SetLastError(0);
        auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(WriteFile(_h, data.data(), row.bytes, &written));
        long spent = Milliseconds(start);
        EXPECT_EQ(kErrorTimeout, GetLastError());
        EXPECT_LT(written, row.bytes);
        EXPECT_EQ(row.stalled, written == 0) << written;
        EXPECT_GE(spent, row.least);
        EXPECT_LT(spent, row.most);
    }
}

// A line opened by another name than COMn gets no comm time-outs: the
// device write time-out keeps a stalled one from holding the write for ever.
TEST_F(Pty, LineWithoutCommTimeoutsTakesTheWriteTimeout) {
    Apply("9600,n,8,1");
    Stall();
    ASSERT_TRUE(SetWriteTimeout(_h, 200));
    uint32_t written = 99;
    SetLastError(0);
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(WriteFile(_h, "N\nP1\n", 5, &written));
    long spent = Milliseconds(start);
    EXPECT_EQ(kErrorTimeout, GetLastError());
    EXPECT_LT(written, 5u);
    EXPECT_GE(spent, 150);
    EXPECT_LT(spent, 1500);
}

#endif  // !_WIN32

}  // namespace
}  // namespace zal::platform
