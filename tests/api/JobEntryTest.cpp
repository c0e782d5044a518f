#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "api/JobFixture.h"
#include "api/Library.h"
#include "common/Log.h"
#include "common/PrinterOptions.h"
#include "support/TestSupport.h"

using zal::test::HostJob;
using zal::test::LogCapture;

namespace {

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
