// The settings and diagnostics entries on Linux, where the device's options
// live in the profile file and a dialog is answered by a script, or by
// nobody (as Cancel or Close would answer).
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <string>

#include "api/JobFixture.h"
#include "common/Log.h"
#include "common/PrinterOptions.h"
#include "dialogs/Dialogs.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

using zal::test::EnvVar;
using zal::test::FixedSeams;
using zal::test::HostJob;
using zal::test::LogCapture;

namespace {

constexpr const char *kNoAnswers = "";

// A host job whose device DEV has the given options in the profile.
struct SettingsHost : HostJob {
    explicit SettingsHost(const std::string &options = "")
        : HostJob("[Begin]\r\n", "[PeripheralSetup]\r\nDEV=FILE,Label,,,\r\n" + options) {
        zal::dialogs::ResetDialogStateForTests();
    }
    std::string Options() const {
        std::string out;
        for (int n = 1; n <= 4; ++n) {
            char value[64] = {};
            zal::platform::GetPrivateProfileString("PeripheralSetup", ("DEVOption" + std::to_string(n)).c_str(), "",
                                                  value, sizeof value, profileFile.c_str());
            out += (n > 1 ? "," : "") + std::string(value);
        }
        return out;
    }
};

struct AnswerRow {
    const char *options;  // the profile's lines for DEV before the dialog
    const char *answers;  // ZAL2443_SETTINGS_ANSWERS
    int32_t result;
    const char *stored;   // Option1 to Option4 afterwards
};

TEST(SettingsDialog, AnswersGoThroughTheDialogsRulesIntoTheProfile) {
    // clang-format off
    const AnswerRow rows[] = {
        // Nobody answers: Cancel writes the start values, empty options as the defaults.
        /*  0*/ {"",                  kNoAnswers,                   1, "10,2.5,0,20"},
        /*  1*/ {"DEVOption1=25\r\n", kNoAnswers,                   1, "25,2.5,0,20"},
        /*  2*/ {"",                  "heat=123456;voffset=12",     1, "12345,2.5,12,20"},
        /*  3*/ {"DEVOption3=7\r\n",  "speed=3.5;hoffset=",         1, "10,3.5,7,"},
        // What an offset field would not take from the keyboard is Cancel.
        /*  4*/ {"DEVOption1=3\r\n",  "heat=9;voffset=1234",        1, "3,2.5,0,20"},
        /*  5*/ {"DEVOption1=3\r\n",  "heat=9;cancel",              1, "3,2.5,0,20"},
        /*  6*/ {"DEVOption1=3\r\n",  "color=red",                  1, "3,2.5,0,20"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const AnswerRow &row = rows[i];
        FixedSeams seams;
        EnvVar prompt("ZAL2443_PROMPT", "cancel");
        EnvVar answers("ZAL2443_SETTINGS_ANSWERS", row.answers);
        SettingsHost host(row.options);
        EXPECT_EQ(ZALDevConfExA(&host.job, &host.peripheral), row.result) << "row " << i;
        EXPECT_EQ(host.Options(), row.stored) << "row " << i;
        EXPECT_TRUE(FixedSeams::Boxes().empty()) << "row " << i;
    }
}

TEST(SettingsDialog, OkSetsTheLibrarysHeatAndSpeedSettings) {
    EnvVar answers("ZAL2443_SETTINGS_ANSWERS", "heat=14;speed=1.5");
    SettingsHost host;
    ASSERT_EQ(ZALDevConfExA(&host.job, &host.peripheral), 1);
    EXPECT_STREQ(zal::CurrentPrinterOptions().heat, "14");
    EXPECT_STREQ(zal::CurrentPrinterOptions().speed, "1.5");
}

TEST(SettingsDialog, NarrowCaptionIsChosenOnceForTheProcess) {
    SettingsHost host;
    zal::CopyText(host.peripheral.DeviceName, "Zebra 2844");
    ASSERT_EQ(ZALDevConfExA(&host.job, &host.peripheral), 1);
    zal::CopyText(host.peripheral.DeviceName, "Eltron TLP2443");
    ASSERT_EQ(ZALDevConfExA(&host.job, &host.peripheral), 1);
    EXPECT_EQ(zal::dialogs::NarrowCaption(), "Zebra 2844 Settings");
}

TEST(SettingsDialog, NarrowCaptionFallsBackToTheProfileEntryThenTheStringTable) {
    // clang-format off
    const struct { const char *peripheral; const char *entry; const char *caption; } rows[] = {
        /*  0*/ {"Acme",           "Eltron TLP2443 (USB)", "Eltron 2443 Settings"},
        /*  1*/ {"Eltron TLP2443", "Zebra 2844",           "Eltron 2443 Settings"},
        /*  2*/ {"Acme",           "Acme",                 "Standard Eltron (EPL/2443) Settings"},
    };
    // clang-format on
    for (const auto &row : rows) {
        SettingsHost host;
        zal::CopyText(host.peripheral.DeviceName, row.peripheral);
        zal::CopyText(host.entry->DeviceDescription, row.entry);
        ASSERT_EQ(ZALDevConfExA(&host.job, &host.peripheral), 1);
        EXPECT_EQ(zal::dialogs::NarrowCaption(), row.caption) << row.peripheral << " / " << row.entry;
    }
}

TEST(SettingsDialog, RefusalsShowTheErrorBoxAndLeaveTheProfile) {
    // clang-format off
    const struct { const char *what; int record; const char *message; } rows[] = {
        /*  0*/ {"no profile entry: no device item", 0, "Error retrieving device data from list."},
        /*  1*/ {"no profile file: no node",         1, "Error retrieving device configuration data from node."},
        /*  2*/ {"no job record",                    2, "Error retrieving configuration job information."},
    };
    // clang-format on
    for (const auto &row : rows) {
        FixedSeams seams;
        SettingsHost host("DEVOption1=4\r\n");
        if (row.record == 0) host.job.ProfileEntry = nullptr;
        if (row.record == 1) host.job.ProfileFile = nullptr;
        EXPECT_EQ(ZALDevConfExA(row.record == 2 ? nullptr : &host.job, &host.peripheral), 0) << row.what;
        ASSERT_EQ(FixedSeams::Boxes().size(), 1u) << row.what;
        EXPECT_EQ(FixedSeams::Boxes()[0].text, std::string("An error has occurred:\n\n") + row.message) << row.what;
        EXPECT_EQ(FixedSeams::Boxes()[0].caption, "Quorra Peripheral Engine") << row.what;
        EXPECT_EQ(FixedSeams::Boxes()[0].style, 0x10u | 0x10000u | 0x40000u) << row.what;  // error icon, foreground, topmost
        EXPECT_EQ(host.Options(), "4,,,") << row.what;
    }
}

TEST(SettingsDialog, WideEntryNamesNoDeviceOnLinux) {
    FixedSeams seams;
    _JobInfoW job{};
    _PeripheralInfoW peripheral{};
    EXPECT_EQ(ZALDevConfExW(nullptr, nullptr), 1);
    EXPECT_EQ(ZALDevConfExW(&job, &peripheral), 0);
    ASSERT_EQ(FixedSeams::Boxes().size(), 1u);
    EXPECT_EQ(FixedSeams::Boxes()[0].text, "An error has occurred:\n\nError retrieving device data from list.");
}

TEST(SettingsDialog, AProfileThatCannotBeWrittenIsNotReportedStored) {
    FixedSeams seams;
    SettingsHost host;
    host.job.ProfileFile = host.dir.path().c_str();  // a folder: read as empty, never written
    EXPECT_EQ(ZALDevConfExA(&host.job, &host.peripheral), 0);
    ASSERT_EQ(FixedSeams::Boxes().size(), 1u);
    EXPECT_EQ(FixedSeams::Boxes()[0].text, "An error has occurred:\n\nError retrieving device configuration data from node.");
}

struct DiagRow {
    const char *answers;  // ZAL2443_DIAG_ANSWERS
    const char *sent;     // what reached the FILE port
    int configured;       // fresh device configurations (media default lines)
};

TEST(DiagnosticsDialog, EachPressConfiguresTheDeviceAndOnlyConfigPrints) {
    // clang-format off
    const DiagRow rows[] = {
        /*  0*/ {"config",                       "U\n",    1},
        /*  1*/ {"config,config",                "U\nU\n", 2},
        /*  2*/ {"network,status",               "",       2},
        // A name of no button: closed without a press.
        /*  3*/ {"config,print",                 "",       0},
        // Nobody to answer: Close.
        /*  4*/ {"",                             "",       0},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        LogCapture capture;
        EnvVar prompt("ZAL2443_PROMPT", "cancel");
        EnvVar answers("ZAL2443_DIAG_ANSWERS", rows[i].answers);
        HostJob host("[Begin]\r\n");
        EXPECT_EQ(ZALDevDiagA(&host.job, &host.peripheral), 1) << "row " << i;
        EXPECT_EQ(host.Output(), rows[i].sent) << "row " << i;
        int media = 0, orientation = 0;
        for (const std::string &m : capture.DebugMessages()) {
            media += m == "Job is missing media type, setting to library default type of 'Label 4x6\"'";
            orientation += m == "Job is missing orientation, setting to library default type of 'Portrait'";
        }
        EXPECT_EQ(media, rows[i].configured) << "row " << i;
        EXPECT_EQ(orientation, rows[i].configured) << "row " << i;
    }
}

TEST(DiagnosticsDialog, MediaAndOrientationOfTheProfileEntryNeedNoDefaults) {
    LogCapture capture;
    EnvVar answers("ZAL2443_DIAG_ANSWERS", "config");
    HostJob host("[Begin]\r\n");
    host.entry->Media.Id = 1220;
    host.entry->Orientation.Id = 3;
    ASSERT_EQ(ZALDevDiagA(&host.job, &host.peripheral), 1);
    EXPECT_EQ(host.Output(), "U\n");
    EXPECT_FALSE(capture.Logged("Job is missing"));
    // The job tag marks the lines while the dialog is open, and is reset.
    EXPECT_TRUE(capture.Logged("JOB1     Sending Print Configuration Label command 'U' to printer..."));
    EXPECT_STREQ(zal::log::JobTag(), " ");
}

TEST(DiagnosticsDialog, RefusalsShowTheErrorBoxAndStillAnswerOne) {
    FixedSeams seams;
    EnvVar answers("ZAL2443_DIAG_ANSWERS", "config");
    HostJob host("[Begin]\r\n");
    host.job.ProfileEntry = nullptr;
    EXPECT_EQ(ZALDevDiagA(&host.job, &host.peripheral), 1);
    EXPECT_EQ(ZALDevDiagA(nullptr, &host.peripheral), 1);
    EXPECT_EQ(ZALDevDiagA(nullptr, nullptr), 1);
    ASSERT_EQ(FixedSeams::Boxes().size(), 2u);
    EXPECT_EQ(FixedSeams::Boxes()[0].text, "An error has occurred:\n\nError retrieving device data from list.");
    EXPECT_EQ(FixedSeams::Boxes()[1].text, "An error has occurred:\n\nError retrieving diagnostic job information.");
    EXPECT_EQ(host.Output(), "");
}

}  // namespace

#endif  // !_WIN32
