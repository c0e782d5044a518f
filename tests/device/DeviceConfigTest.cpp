#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "common/Format.h"
#include "api/Library.h"
#include "device/DeviceOutput.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

namespace zal {
namespace {

// A job with its three INI files in a temporary folder, a profile entry and
// (when asked) a port record.
class Job {
public:
    Job() {
        job.SettingsFile = _settings.c_str();
        job.JobFile = _jobFile.c_str();
        job.ProfileFile = _profile.c_str();
        job.ProfileEntry = entry.get();
    }
    void Settings(const std::string &text) { test::WriteFile(_settings, text); }
    void WriteJobFile(const std::string &text) { test::WriteFile(_jobFile, text); }
    // A setup line under the given key of section PeripheralSetup.
    void SetupLine(const std::string &key, const std::string &line) {
        test::WriteFile(_profile, "[PeripheralSetup]\n" + key + "=" + line + "\n");
    }
    void UsePortRecord() { entry->PortInfo = port.get(); }
    bool Configure() {
        zal::JobFile file(_jobFile.c_str());
        return ConfigureDevice(&job, file, context.get());
    }

    _JobInfoA job{};
    std::unique_ptr<_JobProfileEntryA> entry = std::make_unique<_JobProfileEntryA>();
    std::unique_ptr<_PortInfoA> port = std::make_unique<_PortInfoA>();
    std::unique_ptr<JobContext> context = std::make_unique<JobContext>();

private:
    test::TempDir _dir;
    std::string _settings = _dir.file("settings.ini"), _jobFile = _dir.file("job.ini"), _profile = _dir.file("profile.ini");
};

// Whether the platform's INI reader finds a section with an empty name
// (Windows does; Wine does not).
bool ReadsEmptySection() {
    test::TempDir dir;
    std::string file = dir.file("probe.ini");
    test::WriteFile(file, "[]\nKey=1\n");
    char value[8] = "";
    platform::GetPrivateProfileString("", "Key", "0", value, sizeof value, file.c_str());
    return value[0] == '1';
}

TEST(DeviceConfigTest, BusyTimeout) {
    struct Row { int32_t job; const char *settings; uint32_t expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {0,    nullptr,                          10000},
        /*  1*/ {0,    "[Setup]\nBusyTimeout=30\n",      10000},  // only an empty-named section counts
        /*  2*/ {0,    "[]\nBusyTimeout=30\n",           30000},
        /*  3*/ {30,   "[]\nBusyTimeout=2\n",            30000},
        /*  4*/ {179,  nullptr,                          179000},
        /*  5*/ {180,  nullptr,                          10000},
        /*  6*/ {1000, nullptr,                          1000},
        /*  7*/ {-5,   "[]\nBusyTimeout=2\n",            2000},
        /*  8*/ {0,    "[]\nBusyTimeout=-3\n",           0},      // negative setting: no wait
        /*  9*/ {0,    "[]\nBusyTimeout=12abc\n",        12000},
        /* 10*/ {0,    "[]\nBusyTimeout=99999999999\n",  2147483647},
    };
    // clang-format on
    const bool emptySection = ReadsEmptySection();
    if (!emptySection) std::cout << "note: no empty-named INI sections here; rows reading one are skipped\n";
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        if (!emptySection && rows[i].settings && std::strncmp(rows[i].settings, "[]", 2) == 0) continue;
        Job job;
        if (rows[i].settings) job.Settings(rows[i].settings);
        job.job.BusyTimeout = rows[i].job;
        ASSERT_TRUE(job.Configure()) << "row " << i;
        EXPECT_EQ(job.context->BusyTimeout, rows[i].expected) << "row " << i;
    }
}

// The port fields of a configured context, as one text.
std::string Port(const JobContext &c) {
    return FormatString("%s|%s|kind %u|usb %u %04x:%04x|%s|%s|%u|%d|%s", c.DeviceKey, c.PortText, c.PortKind, c.IsUsb,
                        c.UsbVendorId, c.UsbProductId, c.PortPath, c.PortRecordText, c.PortNumber, c.PortType,
                        c.DeviceDescription);
}

// The device's line in the profile: port, description, two fields, and the
// network field that makes the port kind (without a port record).
TEST(DeviceConfigTest, SetupLineWithoutPortRecord) {
    struct Row { const char *line, *profileDescription, *port; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"LPT2:,Label - Eltron Standard ( EPL II; 203 dpi ),,,", "",
                 "Label1|LPT2:|kind 2|usb 0 0000:0000|||0|0|Label - Eltron Standard ( EPL II; 203 dpi )"},
        /*  1*/ {"LPT2:,Label,,,", "From profile",                "Label1|LPT2:|kind 2|usb 0 0000:0000|||0|0|From profile"},
        /*  2*/ {"USB Zebra 2844 - 12345,Label - Zebra", "",      "Label1|USB Zebra 2844 - 12345|kind 4|usb 1 0a5f:00a3|||0|0|Label - Zebra"},
        /*  3*/ {"USB Printer,Label - Eltron Standard", "",     "Label1|USB Printer|kind 4|usb 1 0a5f:00a3|||0|0|Label - Eltron Standard"},
        /*  4*/ {"LPT1:,Desc,a,b,NETWORK", "",                    "Label1|LPT1:|kind 0|usb 0 0000:0000|||0|0|Desc"},
        // the third field: empty ones do not count
        /*  5*/ {"LPT1:,Desc,,,NETWORK", "",                      "Label1|LPT1:|kind 1|usb 0 0000:0000|||0|0|Desc"},
        /*  6*/ {"LPT3,Desc,a,b,INTERNET", "",                    "Label1|LPT3|kind 3|usb 0 0000:0000|||0|0|Desc"},
        /*  7*/ {",,LPT1:,,Desc", "",                             "Label1|LPT1:|kind 1|usb 0 0000:0000|||0|0|Desc"},
        /*  8*/ {"LPT1", "",                                      "Label1|LPT1|kind 1|usb 0 0000:0000|||0|0|"},
        /*  9*/ {nullptr, "",                                     "Label1||kind 0|usb 0 0000:0000|||0|0|"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Job job;
        std::strcpy(job.entry->OptionKeyPrefix, "Label1");
        std::strcpy(job.entry->DeviceDescription, rows[i].profileDescription);
        job.entry->UsbVendorId = 0x0A5F;
        job.entry->UsbProductId = 0x00A3;
        if (rows[i].line) job.SetupLine("Label1", rows[i].line);
        ASSERT_TRUE(job.Configure()) << "row " << i;
        EXPECT_EQ(Port(*job.context), rows[i].port) << "row " << i;
    }
}

// With a port record its fields count; the profile entry's USB ids (0x1111,
// 0x2222) stand in for ids the record lacks.
TEST(DeviceConfigTest, PortRecord) {
    struct Row { uint32_t flags; uint8_t useUsbPath; uint16_t vendor, product; const char *port; };
    const std::string tail = "|Printer port|2|64|Line description";  // the NET field counts only without a record
    // clang-format off
    const Row rows[] = {
        /*  0*/ {0x8, 0, 0x0A5F, 0x00A3, "Label1|LPT1:|kind 2|usb 1 0a5f:00a3|\\\\?\\usb#device"},
        /*  1*/ {0x9, 1, 0,      0x00A3, "Label1|LPT1:|kind 2|usb 1 1111:00a3|\\\\?\\usb#alternative"},
        /*  2*/ {0x8, 0, 0x0A5F, 0,      "Label1|LPT1:|kind 2|usb 1 0a5f:2222|\\\\?\\usb#device"},
        /*  3*/ {0xC, 1, 0x0A5F, 0x00A3, "Label1|LPT1:|kind 2|usb 0 0000:0000|\\\\?\\usb#device"},  // bits 3 and 2: not USB
        /*  4*/ {0xD, 0, 0x0A5F, 0x00A3, "Label1|LPT1:|kind 2|usb 0 0000:0000|LPT1:"},  // bit 0: open by name
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        Job job;
        std::strcpy(job.entry->OptionKeyPrefix, "Label1");
        job.entry->UsbVendorId = 0x1111;
        job.entry->UsbProductId = 0x2222;
        job.SetupLine("Label1", "COM3,Line description,a,b,NET");
        job.UsePortRecord();
        _PortInfoA &p = *job.port;
        std::strcpy(p.PortName, "LPT1:");
        std::strcpy(p.DevicePath, "\\\\?\\usb#device");
        std::strcpy(p.UsbDevicePath, "\\\\?\\usb#alternative");
        std::strcpy(p.PortText, "Printer port");
        p.UseUsbDevicePath = row.useUsbPath;
        p.Flags = row.flags;
        p.PortNumber = 2;
        p.PortType = 64;
        p.UsbVendorId = row.vendor;
        p.UsbProductId = row.product;
        ASSERT_TRUE(job.Configure()) << "row " << i;
        EXPECT_EQ(Port(*job.context), row.port + tail) << "row " << i;
    }
}

// The device key comes from the job file when the profile entry has none;
// the output file (folder read into 200 bytes) only for the "FILE" port.
TEST(DeviceConfigTest, DeviceKeyAndOutputFile) {
    const std::string longKey(60, 'k'), longFolder = "c:\\" + std::string(240, 'f');
    struct Row { const char *prefix, *line; std::string settings, jobFile, key, output; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"Label1", "FILE,Desc",  "", "", "Label1", "c:\\orvandex\\\\Label1.out"},
        /*  1*/ {"Label1", "FILE,Desc",  "[Setup]\nFileLocation=d:\\labels\n", "", "Label1", "d:\\labels\\Label1.out"},
        /*  2*/ {"Label1", "file,Desc",  "", "", "Label1", ""},
        /*  3*/ {"Label1", "FILE:,Desc", "", "", "Label1", ""},
        /*  4*/ {"Label1", "FILE,Desc",  "[Setup]\nFileLocation=" + longFolder + "\n", "", "Label1",
                 longFolder.substr(0, 199) + "\\Label1.out"},
        /*  5*/ {"Label1", "LPT1,Desc",  "", "[BEGIN]\nDevice=Label2\n", "Label1", ""},
        /*  6*/ {"",       "LPT1,Desc",  "", "[BEGIN]\nDevice=Label2\n", "Label2", ""},
        /*  7*/ {"",       "LPT1,Desc",  "", "", "", ""},
        /*  8*/ {"",       "LPT1,Desc",  "", "[BEGIN]\nDevice=" + longKey + "\n", longKey.substr(0, 49), ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        Job job;
        std::strcpy(job.entry->OptionKeyPrefix, row.prefix);
        job.SetupLine(row.prefix, row.line);
        if (!row.settings.empty()) job.Settings(row.settings);
        job.WriteJobFile(row.jobFile);
        ASSERT_TRUE(job.Configure()) << "row " << i;
        EXPECT_EQ(test::Joined({job.context->DeviceKey, job.context->OutputFile}), test::Joined({row.key, row.output}))
            << "row " << i;
    }
}

TEST(DeviceConfigTest, UnterminatedHostFieldsAreReadWithinTheirWidth) {
    Job job;
    std::memset(job.entry->OptionKeyPrefix, 'K', sizeof job.entry->OptionKeyPrefix);
    std::memset(job.entry->_host564, 'X', sizeof job.entry->_host564);
    std::memset(job.entry->DeviceDescription, 'D', sizeof job.entry->DeviceDescription);
    job.UsePortRecord();
    std::memset(job.port->PortName, 'N', sizeof job.port->PortName);
    std::memset(job.port->_host258, 'X', sizeof job.port->_host258);
    std::memset(job.port->DevicePath, 'P', sizeof job.port->DevicePath);
    std::memset(job.port->PortText, 'T', sizeof job.port->PortText);
    ASSERT_TRUE(job.Configure());
    const JobContext &c = *job.context;
    EXPECT_EQ(std::string(c.DeviceKey), std::string(32, 'K'));
    EXPECT_EQ(std::string(c.DeviceDescription), std::string(255, 'D'));
    EXPECT_EQ(std::string(c.PortText), std::string(256, 'N'));
    EXPECT_EQ(std::string(c.PortPath), std::string(259, 'P'));
    EXPECT_EQ(std::string(c.PortRecordText), std::string(254, 'T'));
}

TEST(DeviceConfigTest, MediaAndOrientationOnlyWhenTheProfileNamesThem) {
    for (bool named : {false, true}) {
        Job job;
        job.context->Flag = 1;
        job.entry->DeviceId = 2;
        job.context->Media.Id = 7;
        job.context->Orientation.Id = 9;
        if (named) {
            job.entry->Media = api::kMediaTypes[2];
            job.entry->Orientation.Id = 3;
        }
        ASSERT_TRUE(job.Configure());
        EXPECT_EQ(job.context->Flag, 0);
        EXPECT_EQ(job.context->DeviceId, 2);
        EXPECT_EQ(job.context->Orientation.Id, named ? 3 : 9);
        if (named) {
            EXPECT_EQ(std::memcmp(&job.context->Media, &job.entry->Media, sizeof(MediaType)), 0);
        } else {
            EXPECT_EQ(job.context->Media.Id, 7);
        }
    }
}

TEST(DeviceConfigTest, NoProfileEntryLeavesTheContextAlone) {
    Job job;
    job.job.ProfileEntry = nullptr;
    std::memset(job.context.get(), 0x5A, sizeof(JobContext));
    EXPECT_FALSE(job.Configure());
    const auto *bytes = reinterpret_cast<const unsigned char *>(job.context.get());
    EXPECT_TRUE(std::all_of(bytes, bytes + sizeof(JobContext), [](unsigned char b) { return b == 0x5A; }));
}

}  // namespace
}  // namespace zal
