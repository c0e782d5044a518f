// Ports: the mode-text parser on both builds (the Windows build asks the
// system's own BuildCommDCBA), and on Linux the device names, sharing,
// parallel status, write failures and serial lines on a pseudo-terminal.
#include <gtest/gtest.h>

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

struct ModeRow {
    const char *text;
    const char *expected;  // Describe() of the result; null: refused, state unchanged
};

void CheckModes(const ModeRow *rows, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        CommState s = Odd();
        SetLastError(0);
        bool ok = BuildCommDCB(rows[i].text, s);
        if (rows[i].expected == nullptr) {
            EXPECT_FALSE(ok) << i << " [" << rows[i].text << "]";
            EXPECT_EQ(kErrorInvalidParameter, GetLastError()) << i;
            EXPECT_EQ(Describe(Odd()), Describe(s)) << i;
        } else {
            EXPECT_TRUE(ok) << i << " [" << rows[i].text << "]";
            EXPECT_EQ(rows[i].expected, Describe(s)) << i << " [" << rows[i].text << "]";
        }
    }
}

// Rows on which this build and the Windows system call agree.
TEST(BuildCommDCB, ModeTexts) {
    // clang-format off
    const ModeRow rows[] = {
        /*  0*/ {"9600,n,8,1",           "baud=9600 data=8 parity=0 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /*  1*/ {"96,N,8,1",             "baud=9600 data=8 parity=0 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /*  2*/ {"19,e,7,2",             "baud=19200 data=7 parity=2 stop=2 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /*  3*/ {"11,n,8,1",             "baud=110 data=8 parity=0 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /*  4*/ {"24,o,8,1",             "baud=2400 data=8 parity=1 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /*  5*/ {"14,n,8,1",             "baud=14 data=8 parity=0 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /*  6*/ {"7200,m,5,1.5",         "baud=7200 data=5 parity=3 stop=1 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /*  7*/ {"9600,s,8,1,x",         "baud=9600 data=8 parity=4 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=1 inx=1"},
        /*  8*/ {"9600,n,8,1,P",         "baud=9600 data=8 parity=0 stop=0 cts=1 dsr=1 dtr=2 rts=2 outx=0 inx=0"},
        /*  9*/ {"9600,n,8,1,",          "baud=9600 data=8 parity=0 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /* 10*/ {"9600 , n , 8 , 1",     "baud=9600 data=8 parity=0 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /* 11*/ {"COM1:9600,n,8,1",      "baud=9600 data=8 parity=0 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /* 12*/ {"com12: 4800,e,7,1",    "baud=4800 data=7 parity=2 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /* 13*/ {"COM1 9600,n,8,1",      "baud=9600 data=8 parity=0 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /* 14*/ {"4294967296,n,8,1",     "baud=4294967295 data=8 parity=0 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        // new form: only the fields named change; stop bits not named become one
        /* 15*/ {"baud=9600 parity=N data=8 stop=1",
                                         "baud=9600 data=8 parity=0 stop=0 cts=1 dsr=1 dtr=2 rts=3 outx=1 inx=1"},
        /* 16*/ {"Baud=1200",            "baud=1200 data=6 parity=4 stop=0 cts=1 dsr=1 dtr=2 rts=3 outx=1 inx=1"},
        /* 17*/ {"baud=110",             "baud=110 data=6 parity=4 stop=2 cts=1 dsr=1 dtr=2 rts=3 outx=1 inx=1"},
        /* 18*/ {"baud=96",              "baud=96 data=6 parity=4 stop=0 cts=1 dsr=1 dtr=2 rts=3 outx=1 inx=1"},
        /* 19*/ {"stop=1.5 data=5",      "baud=777 data=5 parity=4 stop=1 cts=1 dsr=1 dtr=2 rts=3 outx=1 inx=1"},
        /* 20*/ {"parity=m  stop=2",     "baud=777 data=6 parity=3 stop=2 cts=1 dsr=1 dtr=2 rts=3 outx=1 inx=1"},
        /* 21*/ {"xon=off octs=off odsr=OFF", "baud=777 data=6 parity=4 stop=0 cts=0 dsr=0 dtr=2 rts=3 outx=0 inx=0"},
        /* 22*/ {"dtr=off rts=on to=on idsr=off", "baud=777 data=6 parity=4 stop=0 cts=1 dsr=1 dtr=0 rts=1 outx=1 inx=1"},
        /* 23*/ {"data=8 data=7",        "baud=777 data=7 parity=4 stop=0 cts=1 dsr=1 dtr=2 rts=3 outx=1 inx=1"},
        /* 24*/ {"COM2: baud=4800",      "baud=4800 data=6 parity=4 stop=0 cts=1 dsr=1 dtr=2 rts=3 outx=1 inx=1"},
        /* 25*/ {"baud=0",               "baud=0 data=6 parity=4 stop=0 cts=1 dsr=1 dtr=2 rts=3 outx=1 inx=1"},
        // nothing to set: only the stop bits
        /* 26*/ {"",                     "baud=777 data=6 parity=4 stop=0 cts=1 dsr=1 dtr=2 rts=3 outx=1 inx=1"},
        /* 27*/ {"COM1:",                "baud=777 data=6 parity=4 stop=0 cts=1 dsr=1 dtr=2 rts=3 outx=1 inx=1"},
        // refused
        /* 28*/ {"9600", nullptr},
        /* 29*/ {"9600,n,8", nullptr},
        /* 30*/ {"9600,q,8,1", nullptr},
        /* 31*/ {"9600,n,4,1", nullptr},
        /* 32*/ {"9600,n,9,1", nullptr},
        /* 33*/ {"9600,n,8,3", nullptr},
        /* 34*/ {"9600,n,8,2.0", nullptr},
        /* 35*/ {"9600,,8,1", nullptr},
        /* 36*/ {"+9600,n,8,1", nullptr},
        /* 37*/ {"9600,n,8,1,y", nullptr},
        /* 38*/ {"9600,n,8,1,x,", nullptr},
        /* 39*/ {"9600,n,8,1 extra", nullptr},
        /* 40*/ {"9600;n;8;1", nullptr},
        /* 41*/ {"COM1", nullptr},
        /* 42*/ {"COM:9600", nullptr},
        /* 43*/ {"LPT1: 9600,n,8,1", nullptr},
        /* 44*/ {"abc", nullptr},
        /* 45*/ {"baud=abc", nullptr},
        /* 46*/ {"baud=", nullptr},
        /* 47*/ {"=9600", nullptr},
        /* 48*/ {"baud =9600", nullptr},
        /* 49*/ {"baud=9600 foo=1", nullptr},
        /* 50*/ {"baud=9600,parity=n", nullptr},
        /* 51*/ {"9600,n,8,1 baud=4800", nullptr},
        /* 52*/ {"xon=yes", nullptr},
        /* 53*/ {"stop=15", nullptr},
        /* 54*/ {"data=4", nullptr},
        /* 55*/ {"9600,n,8,1\t", nullptr},
    };
    // clang-format on
    CheckModes(rows, sizeof rows / sizeof rows[0]);
}

#if !defined(_WIN32)

// Where this build follows the documented mode syntax rather than the
// Windows emulation the cross-build is tested under.
TEST(BuildCommDCB, DocumentedForms) {
    // clang-format off
    const ModeRow rows[] = {
        /*  0*/ {"15,n,8,1",             "baud=150 data=8 parity=0 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /*  1*/ {"dtr=hs rts=hs",        "baud=777 data=6 parity=4 stop=0 cts=1 dsr=1 dtr=2 rts=2 outx=1 inx=1"},
        /*  2*/ {"rts=tg",               "baud=777 data=6 parity=4 stop=0 cts=1 dsr=1 dtr=2 rts=3 outx=1 inx=1"},
        /*  3*/ {"baud=9600 ",           "baud=9600 data=6 parity=4 stop=0 cts=1 dsr=1 dtr=2 rts=3 outx=1 inx=1"},
        /*  4*/ {" 9600,n,8,1",          "baud=9600 data=8 parity=0 stop=0 cts=0 dsr=0 dtr=1 rts=1 outx=0 inx=0"},
        /*  5*/ {"rts=hx", nullptr},
    };
    // clang-format on
    CheckModes(rows, sizeof rows / sizeof rows[0]);
    CommState s = Odd();
    EXPECT_FALSE(BuildCommDCB(nullptr, s));
    EXPECT_EQ(kErrorInvalidParameter, GetLastError());
}

class EnvVar {
public:
    EnvVar(const char *name, const std::string &value) : _name(name) {
        if (const char *old = std::getenv(name)) _old = old, _had = true;
        setenv(name, value.c_str(), 1);
    }
    ~EnvVar() { _had ? setenv(_name, _old.c_str(), 1) : unsetenv(_name); }

private:
    const char *_name;
    std::string _old;
    bool _had = false;
};

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
    for (const char *node : {"lp0", "lp1", "ttyS0", "ttyS9"}) test::WriteFile(dev.file(node), "");
    struct Row {
        const char *name;
        const char *node;
    };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"LPT1", "lp0"},
        /*  1*/ {"lpt2:", "lp1"},
        /*  2*/ {"\\\\.\\LPT1", "lp0"},
        /*  3*/ {"COM1", "ttyS0"},
        /*  4*/ {"com1:", "ttyS0"},
        /*  5*/ {"\\\\.\\COM10", "ttyS9"},
        /*  6*/ {"COM10:", "ttyS9"},
    };
    // clang-format on
    for (const Row &row : rows) {
        for (const char *node : {"lp0", "lp1", "ttyS0", "ttyS9"}) test::WriteFile(dev.file(node), "");
        Handle h = CreateFile(row.name, ReadWrite());
        ASSERT_TRUE(IsValidHandle(h)) << row.name;
        EXPECT_TRUE(WriteText(h, row.name));
        EXPECT_TRUE(CloseHandle(h));
        EXPECT_EQ(row.name, test::ReadFile(dev.file(row.node))) << row.name;
    }
    // A device name is never created, not even with open-always.
    for (const char *name : {"LPT3", "COM2:", "\\\\.\\COM3"}) {
        EXPECT_FALSE(IsValidHandle(CreateFile(name, ReadWrite(Disposition::OpenAlways)))) << name;
        EXPECT_EQ(kErrorFileNotFound, GetLastError()) << name;
    }
    EXPECT_FALSE(test::FileExists(dev.file("lp2")));
    EXPECT_FALSE(test::FileExists(dev.file("ttyS1")));
    // Not device names: LPT0, LPTSTAT without the prefix, COM with letters.
    for (const char *name : {"LPT0", "LPTSTAT1", "COMX", "LPT1000"}) {
        EXPECT_FALSE(IsValidHandle(CreateFile(name, ReadWrite()))) << name;
        EXPECT_EQ(kErrorFileNotFound, GetLastError()) << name;
    }

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
    Handle h = CreateFile(path.c_str(), o);
    ASSERT_TRUE(IsValidHandle(h));
    EXPECT_EQ(kErrorSuccess, GetLastError());
    EXPECT_TRUE(WriteText(h, "first;"));
    EXPECT_TRUE(CloseHandle(h));

    h = CreateFile(path.c_str(), o);
    ASSERT_TRUE(IsValidHandle(h));
    EXPECT_EQ(kErrorAlreadyExists, GetLastError());
    EXPECT_TRUE(SeekToEnd(h));
    EXPECT_TRUE(WriteText(h, "second;"));
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ("first;second;", test::ReadFile(path));

    EXPECT_FALSE(IsValidHandle(CreateFile(dir.file("missing").c_str(), ReadWrite())));
    EXPECT_EQ(kErrorFileNotFound, GetLastError());
    EXPECT_FALSE(IsValidHandle(CreateFile(dir.path().c_str(), ReadWrite())));
    EXPECT_EQ(kErrorAccessDenied, GetLastError());
}

TEST(Ports, NoSharingLocksTheFile) {
    test::TempDir dir;
    std::string path = dir.file("out.prn");
    test::WriteFile(path, "");
    Handle first = CreateFile(path.c_str(), ReadWrite());
    ASSERT_TRUE(IsValidHandle(first));
    EXPECT_FALSE(IsValidHandle(CreateFile(path.c_str(), ReadWrite())));
    EXPECT_EQ(kErrorSharingViolation, GetLastError());
    OpenOptions reader;
    reader.write = false;
    reader.shareRead = true;
    EXPECT_FALSE(IsValidHandle(CreateFile(path.c_str(), reader)));
    EXPECT_TRUE(CloseHandle(first));

    // Readers that share reading may be many; a writer then has to wait.
    Handle a = CreateFile(path.c_str(), reader);
    Handle b = CreateFile(path.c_str(), reader);
    EXPECT_TRUE(IsValidHandle(a));
    EXPECT_TRUE(IsValidHandle(b));
    EXPECT_FALSE(IsValidHandle(CreateFile(path.c_str(), ReadWrite())));
    CloseHandle(a);
    CloseHandle(b);
    Handle again = CreateFile(path.c_str(), ReadWrite());
    EXPECT_TRUE(IsValidHandle(again));
    CloseHandle(again);
}

TEST(Ports, FullDeviceGivesDiskFull) {
    Handle h = CreateFile("/dev/full", ReadWrite());
    ASSERT_TRUE(IsValidHandle(h));
    uint32_t written = 99;
    EXPECT_FALSE(WriteFile(h, "label", 5, &written));
    EXPECT_EQ(kErrorDiskFull, GetLastError());
    EXPECT_EQ(0u, written);
    CloseHandle(h);
}

OpenOptions StatusOptions() {
    OpenOptions o;
    o.write = false;
    o.shareRead = true;
    return o;
}

TEST(Ports, ParallelStatusFromStandInFiles) {
    test::TempDir dir;
    EnvVar folder("ZAL2443_LPTSTAT_DIR", dir.path());
    test::WriteFile(dir.file("LPTSTAT1"), "\xD8");
    test::WriteFile(dir.file("LPTSTAT2"), "\x58rest");
    test::WriteFile(dir.file("LPTSTAT3"), "");
    struct Row {
        const char *name;
        int status;  // -1: no byte
    };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"\\\\.\\LPTSTAT1", 0xD8},
        /*  1*/ {"\\\\.\\lptstat2", 0x58},
        /*  2*/ {"\\\\.\\LPTSTAT3", -1},
    };
    // clang-format on
    for (const Row &row : rows) {
        Handle h = CreateFile(row.name, StatusOptions());
        ASSERT_TRUE(IsValidHandle(h)) << row.name;
        for (int pass = 0; pass < 2; ++pass) {  // every read gives the status again
            unsigned char status = 0;
            uint32_t read = 7;
            EXPECT_TRUE(ReadFile(h, &status, 1, &read)) << row.name;
            EXPECT_EQ(row.status < 0 ? 0u : 1u, read) << row.name;
            if (row.status >= 0) {
                EXPECT_EQ(row.status, status) << row.name;
            }
        }
        uint32_t written = 0;
        EXPECT_FALSE(WriteFile(h, "x", 1, &written));
        EXPECT_TRUE(CloseHandle(h));
    }
    EXPECT_FALSE(IsValidHandle(CreateFile("\\\\.\\LPTSTAT4", StatusOptions())));
    EXPECT_EQ(kErrorFileNotFound, GetLastError());
}

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

TEST(Ports, CommCallsNeedASerialLine) {
    test::TempDir dir;
    std::string path = dir.file("plain");
    test::WriteFile(path, "");
    Handle h = CreateFile(path.c_str(), ReadWrite());
    ASSERT_TRUE(IsValidHandle(h));
    CommState state;
    CommTimeouts timeouts;
    CommProperties properties;
    EXPECT_FALSE(GetCommState(h, state));
    EXPECT_EQ(kErrorNotSupported, GetLastError());
    EXPECT_FALSE(SetCommTimeouts(h, timeouts));
    EXPECT_FALSE(GetCommProperties(h, properties));
    CloseHandle(h);
    EXPECT_FALSE(GetCommState(9999, state));
    EXPECT_EQ(kErrorInvalidHandle, GetLastError());
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
    termios Termios() const {
        termios t{};
        tcgetattr(_terminal, &t);
        return t;
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

struct LineRow {
    const char *mode;
    speed_t speed;
    tcflag_t size;
    tcflag_t set;    // among PARENB PARODD CMSPAR CSTOPB CRTSCTS
    tcflag_t input;  // among IXON IXOFF
};
constexpr tcflag_t kWatched = PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
// clang-format off
const LineRow kLineRows[] = {
    /*  0*/ {"9600,n,8,1", B9600, CS8, 0, 0},
    /*  1*/ {"19200,e,7,1", B19200, CS7, PARENB, 0},
    /*  2*/ {"COM1: baud=4800 parity=O data=7 stop=2", B4800, CS7, PARENB | PARODD | CSTOPB, 0},
    /*  3*/ {"2400,m,8,1", B2400, CS8, PARENB | PARODD | CMSPAR, 0},
    /*  4*/ {"12,s,6,2", B1200, CS6, PARENB | CMSPAR | CSTOPB, 0},
    /*  5*/ {"115200,n,8,1,p", B115200, CS8, CRTSCTS, 0},
    /*  6*/ {"38400,n,5,1.5,x", B38400, CS5, CSTOPB, IXON | IXOFF},
    /*  7*/ {"baud=9600 octs=on xon=on", B9600, CS8, CRTSCTS, IXON | IXOFF},
};
// clang-format on

CommState Mode(const char *mode) {
    CommState s;
    s.baudRate = 9600;
    EXPECT_TRUE(BuildCommDCB(mode, s)) << mode;
    return s;
}

TEST(LineSettings, ModeTextsToTermiosAndBack) {
    for (const LineRow &row : kLineRows) {
        CommState s = Mode(row.mode);
        posix::LineSettings line;
        line.lflag = ICANON | ECHO | ISIG;
        line.oflag = OPOST;
        line.iflag = ICRNL;
        line.cflag = CS8 | PARENB | B38400;  // the old settings do not survive
        ASSERT_TRUE(posix::ToLine(s, line)) << row.mode;
        EXPECT_EQ(row.speed, line.cflag & CBAUD) << row.mode;
        EXPECT_EQ(s.baudRate, line.speed) << row.mode;
        EXPECT_EQ(row.size, line.cflag & CSIZE) << row.mode;
        EXPECT_EQ(row.set, line.cflag & kWatched) << row.mode;
        EXPECT_EQ(row.input, line.iflag & (IXON | IXOFF)) << row.mode;
        EXPECT_EQ(0u, line.lflag & (ICANON | ECHO | ISIG)) << row.mode;
        EXPECT_EQ(0u, line.oflag & OPOST) << row.mode;
        EXPECT_EQ(0u, line.iflag & ICRNL) << row.mode;
        EXPECT_EQ(CREAD | CLOCAL, line.cflag & (CREAD | CLOCAL)) << row.mode;

        // DSR flow and the modem lines have no termios flag: not compared.
        CommState back;
        posix::FromLine(line, back);
        back.outxDsrFlow = s.outxDsrFlow;
        back.dtrControl = s.dtrControl;
        if (back.outxCtsFlow) {
            EXPECT_EQ(2, back.rtsControl) << row.mode;  // CRTSCTS is both directions
        }
        back.rtsControl = s.rtsControl;
        EXPECT_EQ(Describe(s), Describe(back)) << row.mode;
    }
    // Rates without a B-constant go by number.
    posix::LineSettings line;
    ASSERT_TRUE(posix::ToLine(Mode("7200,n,8,1"), line));
    EXPECT_EQ(7200u, line.speed);
    EXPECT_NE(B9600, line.cflag & CBAUD);
}

TEST_F(Pty, ModeTextsReachTheLine) {
    // A pseudo-terminal always keeps eight data bits and no parity checking;
    // the rest of the settings it keeps as given.
    constexpr tcflag_t kKept = PARODD | CMSPAR | CSTOPB | CRTSCTS;
    for (const LineRow &row : kLineRows) {
        Apply(row.mode);
        termios t = Termios();
        EXPECT_EQ(row.speed, cfgetospeed(&t)) << row.mode;
        EXPECT_EQ(row.set & kKept, t.c_cflag & kKept) << row.mode;
        EXPECT_EQ(row.input, t.c_iflag & (IXON | IXOFF)) << row.mode;
        EXPECT_EQ(0u, t.c_lflag & (ICANON | ECHO | ISIG)) << row.mode;
        EXPECT_EQ(0u, t.c_oflag & OPOST) << row.mode;

        CommState expected = Mode(row.mode), back;
        ASSERT_TRUE(GetCommState(_h, back));
        EXPECT_EQ(expected.baudRate, back.baudRate) << row.mode;
        EXPECT_EQ(expected.outX, back.outX) << row.mode;
        EXPECT_EQ(expected.inX, back.inX) << row.mode;
        EXPECT_EQ(expected.outxCtsFlow, back.outxCtsFlow) << row.mode;
    }
}

TEST_F(Pty, RatesWithoutAConstantAndRefusedSettings) {
    Apply("7200,n,8,1");
    CommState s;
    ASSERT_TRUE(GetCommState(_h, s));
    EXPECT_EQ(7200u, s.baudRate);

    struct Row {
        uint32_t baud;
        uint8_t size, parity, stop;
    };
    // clang-format off
    const Row refused[] = {
        /*  0*/ {0, 8, 0, 0},     // speed 0 would hang the line up
        /*  1*/ {9600, 8, 0, 1},  // 1.5 stop bits need five data bits
        /*  2*/ {9600, 5, 0, 2},  // and two stop bits more than five
        /*  3*/ {9600, 9, 0, 0},
        /*  4*/ {9600, 8, 5, 0},
    };
    // clang-format on
    for (const Row &row : refused) {
        CommState bad = s;
        bad.baudRate = row.baud;
        bad.byteSize = row.size;
        bad.parity = row.parity;
        bad.stopBits = row.stop;
        EXPECT_FALSE(SetCommState(_h, bad)) << row.baud << " " << int(row.size);
        EXPECT_EQ(kErrorInvalidParameter, GetLastError());
    }
    ASSERT_TRUE(GetCommState(_h, s));
    EXPECT_EQ(7200u, s.baudRate);  // unchanged by the refusals
}

TEST_F(Pty, BytesArriveUnchanged) {
    CommProperties p;
    p.maxRxQueue = p.maxTxQueue = 5;
    ASSERT_TRUE(GetCommProperties(_h, p));
    EXPECT_EQ(0u, p.maxRxQueue);
    EXPECT_EQ(0u, p.maxTxQueue);
    EXPECT_TRUE(SetupComm(_h, 3072, 8192));
    Apply("9600,n,8,1");
    CommTimeouts t;
    t.writeTotalTimeoutMultiplier = 8;
    ASSERT_TRUE(SetCommTimeouts(_h, t));
    CommTimeouts back;
    ASSERT_TRUE(GetCommTimeouts(_h, back));
    EXPECT_EQ(8u, back.writeTotalTimeoutMultiplier);

    const std::string label("N\nA10,10,0,3,1,1,N,\"x\"\r\n\x00\xff\x03P1\n", 34);
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
}

TEST_F(Pty, StalledLineGivesTheWriteTimeout) {
    Apply("9600,n,8,1");
    CommTimeouts t;
    t.writeTotalTimeoutConstant = 300;
    ASSERT_TRUE(SetCommTimeouts(_h, t));
    std::vector<char> big(1 << 20, 'x');  // more than the line holds
    uint32_t written = 0;
    SetLastError(0);
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(WriteFile(_h, big.data(), static_cast<uint32_t>(big.size()), &written));
    long spent = Milliseconds(start);
    EXPECT_EQ(kErrorTimeout, GetLastError());
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, big.size());
    EXPECT_GE(spent, 290);
    EXPECT_LT(spent, 1500);
}

TEST_F(Pty, WriteTimeoutGrowsWithTheByteCount) {
    Apply("9600,n,8,1");
    Stall();
    CommTimeouts t;
    t.writeTotalTimeoutMultiplier = 2;
    t.writeTotalTimeoutConstant = 50;
    ASSERT_TRUE(SetCommTimeouts(_h, t));
    std::string label(100, 'L');  // 2 x 100 + 50 = 250 ms
    uint32_t written = 99;
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(WriteFile(_h, label.data(), 100, &written));
    long spent = Milliseconds(start);
    EXPECT_EQ(0u, written);
    EXPECT_EQ(kErrorTimeout, GetLastError());
    EXPECT_GE(spent, 240);
    EXPECT_LT(spent, 1200);
}

TEST_F(Pty, ASerialLineIsOpenedOnce) {
    EXPECT_FALSE(IsValidHandle(CreateFile(_name.c_str(), ReadWrite())));
    EXPECT_EQ(kErrorAccessDenied, GetLastError());
}

TEST_F(Pty, ReadTimeoutReturnsWhatCame) {
    Apply("9600,n,8,1");
    CommTimeouts t;
    t.readTotalTimeoutConstant = 200;
    ASSERT_TRUE(SetCommTimeouts(_h, t));
    ASSERT_EQ(3, ::write(_master, "abc", 3));
    char buffer[16] = {};
    uint32_t read = 0;
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(ReadFile(_h, buffer, sizeof buffer, &read));
    EXPECT_EQ(3u, read);
    EXPECT_EQ(std::string("abc"), std::string(buffer, 3));
    EXPECT_GE(Milliseconds(start), 190);
}

#endif  // !_WIN32

}  // namespace
}  // namespace zal::platform
