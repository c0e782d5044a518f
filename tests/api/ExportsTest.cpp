// The library's exports: its tables, its debug set-up and the job entry.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "api/JobFixture.h"
#include "api/Library.h"
#include "common/Log.h"
#include "common/PrinterOptions.h"
#include "support/TestSupport.h"

using zal::test::HostJob;
using zal::test::LogCapture;

namespace {

struct Buffers {
    std::vector<unsigned char> devices, media, orientations;
    _LibraryInfoA info{};
    Buffers(std::size_t d, std::size_t m, std::size_t o) : devices(d, 0xEE), media(m, 0xEE), orientations(o, 0xEE) {
        info.Devices = reinterpret_cast<LabelDeviceDescription *>(devices.data());
        info.DevicesSize = static_cast<uint32_t>(d);
        info.MediaTypes = reinterpret_cast<MediaType *>(media.data());
        info.MediaTypesSize = static_cast<uint32_t>(m);
        info.Orientations = reinterpret_cast<PrintOrientationDefinition *>(orientations.data());
        info.OrientationsSize = static_cast<uint32_t>(o);
    }
};

TEST(LibraryInfo, SizesThenTablesWithExactBuffers) {
    _LibraryInfoA sizes{};
    sizes.DeviceCount = sizes.MediaTypeCount = sizes.OrientationCount = 9;
    ASSERT_EQ(ZALGetLibraryInfoASizes(&sizes), 0);
    EXPECT_EQ(sizes.DevicesSize, 3 * sizeof(LabelDeviceDescription));
    EXPECT_EQ(sizes.MediaTypesSize, 5 * sizeof(MediaType));
    EXPECT_EQ(sizes.OrientationsSize, 2 * sizeof(PrintOrientationDefinition));
    EXPECT_EQ(sizes.DeviceCount + sizes.MediaTypeCount + sizes.OrientationCount, 0);

    Buffers b(sizes.DevicesSize, sizes.MediaTypesSize, sizes.OrientationsSize);
    ASSERT_EQ(ZALGetLibraryInfoA(&b.info), 0);
    EXPECT_EQ(b.info.InfoVersion, 1);
    EXPECT_STREQ(b.info.Version, "23.03.01");
    EXPECT_EQ(b.info.DeviceCount, 3);
    EXPECT_EQ(b.info.MediaTypeCount, 5);
    EXPECT_EQ(b.info.OrientationCount, 2);
    EXPECT_STREQ(b.info.Devices[2].Description, "Document - FedEx Ground COD Tag Eltron Standard ( EPL II; 203 dpi )");
    const MediaType *m = b.info.MediaTypes;
    EXPECT_STREQ(m[0].Name, "Label 4x6\"");
    for (int slot = 3; slot < 5; ++slot) {  // the two empty slots of the table
        EXPECT_EQ(m[slot].Id, 0);
        EXPECT_STREQ(m[slot].Name, "");
    }
    // The host's bytes after the length and the last float are left alone.
    EXPECT_EQ(m[0].Reserved60[0], 0xEE);
    EXPECT_EQ(b.media[72], 0xEE);
    EXPECT_STREQ(b.info.Orientations[1].Name, "Flipped");
}

TEST(LibraryInfo, TooSmallOrMissingBuffersGiveCountZeroOnly) {
    Buffers b(1470, 379, 52);
    ASSERT_EQ(ZALGetLibraryInfoA(&b.info), 0);
    EXPECT_EQ(b.info.MediaTypeCount, 0);
    EXPECT_EQ(b.info.DeviceCount, 3);
    EXPECT_EQ(b.info.OrientationCount, 2);
    EXPECT_EQ(b.media[0], 0xEE);
    Buffers c(1470, 380, 52);
    c.info.Devices = nullptr;
    ASSERT_EQ(ZALGetLibraryInfoA(&c.info), 0);
    EXPECT_EQ(c.info.DeviceCount, 0);
    EXPECT_EQ(c.info.MediaTypeCount, 5);
    EXPECT_EQ(ZALGetLibraryInfoA(nullptr), 6);
    EXPECT_EQ(ZALGetLibraryInfoASizes(nullptr), 6);
}

class SetDebug : public ::testing::Test {
protected:
    void SetUp() override {
        zal::log::ResetForTests();
        zal::api::ResetLibraryStateForTests();
        config = _LoggingConfigA{};
        zal::CopyText(config.LogFolder, dir.path().c_str());
        zal::CopyText(config.DebugLogName, "zal.log");
        zal::CopyText(config.ErrorLogName, "zal.err");
        config.Flags = 0x4;
    }
    void TearDown() override {
        zal::log::ResetForTests();
        zal::api::ResetLibraryStateForTests();
    }
    std::vector<std::string> Lines() { return zal::test::ReadLines(dir.file("zal.log")); }
    zal::test::TempDir dir;
    zal::test::FixedSeams seams;
    _LoggingConfigA config;
};

TEST_F(SetDebug, FirstCallConfiguresAndAnnounces) {
    ZALSetDebugA(config);
    EXPECT_TRUE(zal::api::DebugLoggingEnabled());
    EXPECT_STREQ(zal::api::CurrentLoggingConfig().LineFormat, "%s %s %5d 2443  %s %s %*s%s");
    EXPECT_STREQ(zal::api::CurrentLoggingConfig().PlainLineFormat, "%s %s %5d 2443  %s %s %s %s");
    ZALStartup();
    ZALShutdown();
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].substr(50), "Library \"ZAL2443.DLL\" has enabled debug logging.");
    EXPECT_EQ(lines[1].substr(50), "Library \"ZAL2443.DLL\" has started.");
    EXPECT_EQ(lines[2].substr(50), "Library \"ZAL2443.DLL\" has stopped.");
}

TEST_F(SetDebug, SecondCallOnlyUpdates) {
    ZALSetDebugA(config);
    _LoggingConfigA second = config;
    zal::CopyText(second.LineFormat, "%s");
    second.Flags = 0x2;
    ZALSetDebugA(second);
    EXPECT_EQ(zal::log::Flags(), 0x2u);
    EXPECT_STREQ(zal::api::CurrentLoggingConfig().LineFormat, "%s %s %5d 2443  %s %s %*s%s");
    EXPECT_EQ(Lines().size(), 1u);  // announced once
}

TEST_F(SetDebug, WideFormBeforeNarrowLeavesLoggingOff) {
    _LoggingConfigW wide{};
    wide.Flags = 0x8;
    ZALSetDebugW(wide);
    EXPECT_FALSE(zal::api::DebugLoggingEnabled());
    EXPECT_FALSE(zal::log::IsConfigured());
    EXPECT_EQ(zal::log::Flags(), 0x8u);
    ZALSetDebugA(config);
    EXPECT_TRUE(zal::api::DebugLoggingEnabled());
}

std::string Profile(const std::string &options) {
    return "[PeripheralSetup]\r\nDEV=FILE,Label,,,\r\n" + options;
}

TEST(JobEntry, UnmatchedSpeedKeepsThePreviousJobsCode) {
    HostJob first("[Begin]\r\nCarrier=DIAG\r\n", Profile("DEVOption2=2\r\n"));
    ASSERT_EQ(ZALProcessJobA(&first.job, &first.peripheral), 0);
    LogCapture capture(0x1004);
    HostJob second("[Begin]\r\nCarrier=DIAG\r\n", Profile("DEVOption2=4.5\r\n"));
    ASSERT_EQ(ZALProcessJobA(&second.job, &second.peripheral), 0);
    EXPECT_STREQ(zal::CurrentPrinterOptions().speed, "2");
    EXPECT_TRUE(capture.HasDebugMessage("ZALProcessJobA: Init: sSpeed=\"2\""));
}

TEST(JobEntry, OptionsAreTakenAndCutToFiveCharacters) {
    LogCapture capture(0x1004);
    HostJob host("[Begin]\r\nCarrier=DIAG\r\n",
                 Profile("DEVOption1=12\r\nDEVOption3=-8\r\nDEVOption4=123456789\r\n"));
    ASSERT_EQ(ZALProcessJobA(&host.job, &host.peripheral), 0);
    EXPECT_STREQ(zal::CurrentPrinterOptions().heat, "12");
    EXPECT_STREQ(zal::CurrentPrinterOptions().verticalOffset, "-8");
    EXPECT_STREQ(zal::CurrentPrinterOptions().horizontalOffset, "12345");
    EXPECT_STREQ(zal::log::JobTag(), " ");  // reset when the call ends
}

TEST(JobEntry, MissingRecordsAreRefusedBeforeAnyWork) {
    LogCapture capture;
    HostJob host("[Begin]\r\nCarrier=DIAG\r\n");
    EXPECT_EQ(ZALProcessJobA(nullptr, &host.peripheral), -1208);
    EXPECT_TRUE(capture.HasErrorMessage("ZALProcessJobA: Job data is invalid."));
    _JobProfileEntryA *entry = host.job.ProfileEntry;
    host.job.ProfileEntry = nullptr;
    EXPECT_EQ(ZALProcessJobA(&host.job, &host.peripheral), -1208);
    EXPECT_TRUE(capture.HasErrorMessage("ZALProcessJobA: Job profile entry data is invalid."));
    host.job.ProfileEntry = entry;
    EXPECT_EQ(ZALProcessJobA(&host.job, nullptr), -308);
    EXPECT_TRUE(capture.HasErrorMessage("ZALProcessJobA: Device port data is invalid."));
    EXPECT_TRUE(zal::test::FileExists(host.jobFile));  // the job file is not touched
}

TEST(JobEntry, AnyFailureOfTheDispatchIsOne) {
    HostJob flex("[Begin]\r\nCarrier=UPSFLEX\r\n");
    EXPECT_EQ(ZALProcessJobA(&flex.job, &flex.peripheral), 1);
    HostJob unopenable("[Begin]\r\nCarrier=DIAG\r\n");
    // A folder where the output file should be: the port cannot be opened.
    zal::test::WriteFile(unopenable.settingsFile, "[Setup]\r\nFileLocation=" + unopenable.dir.file("missing") +
                                                      zal::test::Separator() + "\r\n");
    EXPECT_EQ(ZALProcessJobA(&unopenable.job, &unopenable.peripheral), 1);
}

}  // namespace
