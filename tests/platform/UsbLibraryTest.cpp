// The USB printing support library, loaded by name as the device output
// loads it.  On Linux it runs against a made-up device and sysfs tree; the
// Windows build (no USB printer under the emulation) checks the load and
// the not-found answers.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "support/TestSupport.h"
#include "zalusbex/ZalUsbEx.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <utility>
#endif

namespace zal::platform {
namespace {

class UsbLibrary : public testing::Test {
protected:
    void SetUp() override {
        _library = LoadLibrary(ZALUSB_LIBRARY_NAME);
        ASSERT_NE(nullptr, _library) << "ZalUsbEx not found: build the zal_usbex target";
        _type = reinterpret_cast<ZalUsbGetLibraryTypeFn>(GetProcAddress(_library, ZALUSB_GETLIBRARYTYPE));
        _debug = reinterpret_cast<ZalUsbSetDebugAFn>(GetProcAddress(_library, ZALUSB_SETUSBDEBUGA));
        _open = reinterpret_cast<ZalUsbOpenDeviceAFn>(GetProcAddress(_library, ZALUSB_OPENUSBDEVICEA));
        _openId = reinterpret_cast<ZalUsbOpenDeviceIDAFn>(GetProcAddress(_library, ZALUSB_OPENUSBDEVICEIDA));
        ASSERT_TRUE(_type && _debug && _open && _openId);
    }
    void TearDown() override {
        if (_library) FreeLibrary(_library);
    }

    LibraryHandle _library = nullptr;
    ZalUsbGetLibraryTypeFn _type = nullptr;
    ZalUsbSetDebugAFn _debug = nullptr;
    ZalUsbOpenDeviceAFn _open = nullptr;
    ZalUsbOpenDeviceIDAFn _openId = nullptr;
};

bool Opened(UsbHandle h) { return h != 0 && h != -1; }

TEST_F(UsbLibrary, MissingPrinterFillsTheErrorRecord) {
    UsbError error = {};
    EXPECT_FALSE(Opened(_open("NoSuchModel", "000", &error)));
    EXPECT_EQ(2u, error.Code);
    EXPECT_STREQ("No USB printer with model \"NoSuchModel\" and serial number \"000\" was found.", error.Message);

    error = {};
    EXPECT_FALSE(Opened(_openId(0xFFFE, 0x0001, &error)));
    EXPECT_EQ(2u, error.Code);
    EXPECT_STREQ("No USB printer with vendor id 0xfffe and product id 0x0001 was found.", error.Message);

    error = {};
    EXPECT_FALSE(Opened(_open("", " ", &error)));
    EXPECT_EQ(87u, error.Code);
    EXPECT_FALSE(Opened(_open(nullptr, nullptr, nullptr)));  // no record to fill: no fault
}

#if !defined(_WIN32)

// Four printers; lpx is not a printer node.
class FakeTree : public UsbLibrary {
protected:
    void SetUp() override {
        UsbLibrary::SetUp();
        test::WriteFile(_tree.root.file("dev/usb/lpx"), "");
        _tree.AddPrinter(0, "1-1", "0a5f", "00d3", "MFG:Zebra;CMD:EPL2;MDL:ZTC 2844;SN:12345;");
        _tree.AddPrinter(1, "1-2", "0a5f", "00a0", "MANUFACTURER:Eltron;COMMAND SET:EPL2;MODEL:TLP2443;SERN:A77;");
        _tree.AddPrinter(3, "1-4", "04f9", "2042", "MFG:Other;MDL:ZTC 2844;SERIALNUMBER:B88;\n");
        _tree.AddPrinter(12, "1-5", "0a5f", "00d3", " MDL : ZTC 2844 ; SN : 999 ;");
    }
    std::string Node(int n) const { return _tree.Node(n); }

    // Which node a handle writes to: -1 when no handle came back.
    int Written(UsbHandle h) {
        if (!Opened(h)) return -1;
        uint32_t written = 0;
        EXPECT_TRUE(WriteFile(h, "^@", 2, &written));
        EXPECT_TRUE(FlushFileBuffers(h));
        EXPECT_TRUE(CloseHandle(h));
        for (int n : {0, 1, 3, 12}) {
            if (test::ReadFile(Node(n)) == "^@") {
                test::WriteFile(Node(n), "");
                return n;
            }
        }
        return -2;
    }

    test::FakeUsbTree _tree;
};

TEST_F(FakeTree, FoundByModelAndSerialNumber) {
    // node: -1: not found
    struct Row { const char *model; const char *serial; int node; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"ZTC 2844", "12345", 0},
        /*  1*/ {"tlp2443", "a77", 1},     // MODEL: and SERN:, any case
        /*  2*/ {"ZTC 2844", "B88", 3},    // SERIALNUMBER:
        /*  3*/ {"ZTC 2844", "999", 12},   // blanks around keys and values
        /*  4*/ {"ZTC 2844", "", 0},       // no serial: the lowest number
        /*  5*/ {"ZTC 2844", "A77", -1},
        /*  6*/ {"ZTC", "12345", -1},      // no prefix matches
        /*  7*/ {"ZTC 28445", "12345", -1},
        /*  8*/ {"Zebra", "12345", -1},    // the maker is not the model
    };
    // clang-format on
    for (const Row &row : rows) {
        UsbError error = {};
        EXPECT_EQ(row.node, Written(_open(row.model, row.serial, &error))) << row.model << " - " << row.serial;
        EXPECT_EQ(row.node < 0 ? 2u : 0u, error.Code) << row.model << " - " << row.serial;
    }
}

TEST_F(FakeTree, FoundByVendorAndProduct) {
    struct Row { uint32_t vendor, product; int node; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {0x0a5f, 0x00d3, 0},
        /*  1*/ {0x0a5f, 0x00a0, 1},
        /*  2*/ {0x04f9, 0x2042, 3},
        /*  3*/ {0x0a5f, 0x9999, -1},
        /*  4*/ {0x10a5f, 0x00d3, -1},  // only the 16 bits of an id
    };
    // clang-format on
    for (const Row &row : rows) {
        UsbError error = {};
        EXPECT_EQ(row.node, Written(_openId(row.vendor, row.product, &error))) << row.vendor << "/" << row.product;
    }
}

TEST_F(FakeTree, UnopenablePrinterSaysWhy) {
    ASSERT_EQ(0, unlink(Node(1).c_str()));
    ASSERT_EQ(0, mkdir(Node(1).c_str(), 0755));  // matched, but no node to write
    UsbError error = {};
    EXPECT_FALSE(Opened(_open("TLP2443", "A77", &error)));
    EXPECT_NE(0u, error.Code);
    EXPECT_NE(nullptr, std::strstr(error.Message, "could not be opened")) << error.Message;
    EXPECT_NE(nullptr, std::strstr(error.Message, "/usb/lp1")) << error.Message;
}

// A node nobody serves (a FIFO without reader) answers "busy" at once
// instead of holding the open for ever; once served, it opens, and the
// handle writes as a blocking descriptor.
TEST_F(FakeTree, PrinterNobodyServesIsBusyAtOnce) {
    ASSERT_EQ(0, unlink(Node(0).c_str()));
    ASSERT_EQ(0, mkfifo(Node(0).c_str(), 0644));
    auto open = std::async(std::launch::async, [this] {
        UsbError error = {};
        UsbHandle h = _open("ZTC 2844", "12345", &error);
        return std::make_pair(h, error.Code);
    });
    int reader = -1;
    if (open.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "the open waited for a reader";
        reader = ::open(Node(0).c_str(), O_RDONLY | O_NONBLOCK);  // lets it end
    }
    auto [handle, code] = open.get();
    if (Opened(handle)) CloseHandle(handle);
    EXPECT_FALSE(Opened(handle));
    EXPECT_EQ(170u, code);

    if (reader < 0) reader = ::open(Node(0).c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    UsbError error = {};
    UsbHandle h = _open("ZTC 2844", "12345", &error);
    ASSERT_TRUE(Opened(h));
    EXPECT_EQ(0, fcntl(static_cast<int>(h), F_GETFL) & O_NONBLOCK);
    uint32_t written = 0;
    EXPECT_TRUE(WriteFile(h, "N\n", 2, &written));
    EXPECT_TRUE(CloseHandle(h));
    char got[8] = {};
    EXPECT_EQ(2, read(reader, got, sizeof got));
    close(reader);
}

TEST_F(FakeTree, NoPrinterFolderMeansNotFound) {
    test::EnvVar empty("ZAL2443_DEV_ROOT", _tree.root.file("nothing"));
    UsbError error = {};
    EXPECT_FALSE(Opened(_open("ZTC 2844", "12345", &error)));
    EXPECT_EQ(2u, error.Code);
}

TEST_F(FakeTree, LogsIntoTheCallersFolder) {
    test::TempDir logs;
    _LoggingConfigA config = {};
    std::snprintf(config.LogFolder, sizeof config.LogFolder, "%s", logs.path().c_str());
    std::strcpy(config.DebugLogName, "usb.log");
    std::strcpy(config.ErrorLogName, "usberr.log");
    std::strcpy(config.LineFormat, "%s %s %5d ZALL  %s %*s%s");
    std::strcpy(config.PlainLineFormat, "%s %s %5d ZALL  %s %s %s %n");  // a conversion too many
    config.Flags = 0x4;
    _debug(config);
    UsbError error = {};
    EXPECT_EQ(0, Written(_open("ZTC 2844", "12345", &error)));
    _open("ZTC 2844", "A77", &error);

    std::string debug = test::ReadFile(logs.file("usb.log"));
    EXPECT_NE(std::string::npos, debug.find(" ZALL  INFO       OpenUSBDeviceA: Looking for model \"ZTC 2844\""));
    EXPECT_NE(std::string::npos, debug.find("Opened USB printer \"" + Node(0) + "\""));
    EXPECT_EQ(std::string::npos, debug.find("DEBUG"));  // flags 4: INFO and above only
    std::vector<std::string> errors = test::ReadLines(logs.file("usberr.log"));
    ASSERT_EQ(1u, errors.size());
    const std::string tail = " ZALL  ERROR !!    No USB printer with model \"ZTC 2844\" and serial number \"A77\" was found.";
    ASSERT_GE(errors[0].size(), tail.size());
    EXPECT_EQ(tail, errors[0].substr(errors[0].size() - tail.size()));  // the default plain format took over

    config.Flags = 0;  // switched off: nothing more in the debug log
    _debug(config);
    EXPECT_EQ(0, Written(_open("ZTC 2844", "12345", &error)));
    EXPECT_EQ(debug, test::ReadFile(logs.file("usb.log")));
}

#endif  // !_WIN32

}  // namespace
}  // namespace zal::platform
