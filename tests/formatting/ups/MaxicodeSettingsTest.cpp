// The MaxiCode registry settings, through the posix registry store.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "formatting/ups/MaxiCodeJob.h"
#include "formatting/ups/Maxicode.h"
#include "platform/Platform.h"

namespace zal {
namespace {

using test::MaxiJob;
using test::SplitMessage;
using test::Visible;

// A registry store with the given values under the engine settings key.
class RegistryStore {
public:
    explicit RegistryStore(const std::string &values) {
        path_ = dir_.file("registry.ini");
        test::WriteFile(path_, "[SOFTWARE\\Norwick Solutions Inc.\\Orvandex]\n" + values);
        setenv("ZAL2443_REGISTRY", path_.c_str(), 1);
    }
    ~RegistryStore() { unsetenv("ZAL2443_REGISTRY"); }

private:
    test::TempDir dir_;
    std::string path_;
};

struct CompressFolder {
    test::TempDir compressDir;
};

struct SettingsJob : CompressFolder, MaxiJob {
    explicit SettingsJob(const std::string &lines)
        : MaxiJob(lines + "CompressDir=" + compressDir.path() + "\nStreetAddress=1 Elm\nCity=Boston\nState=MA\n") {
        platform::CopyFile(ZAL2443_BINARY_DIR "/lib/libcompress.so", compressDir.file("libcompress.so").c_str(), false);
    }
};

std::string Build(MaxiJob &j, bool *ok = nullptr) {
    char destination[400] = {};
    bool result = LibUPSFormatMaxicode(destination, sizeof destination, *j.common, *j.ups, &j.job);
    if (ok != nullptr) *ok = result;
    return destination;
}

TEST(MaxicodeSettingsTest, SettingsApplyOnlyInTestMode) {
    struct Row {
        const char *values;
        const char *postal;
        const char *street;
    };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"",                                                          "303280000", "1 ELM"},
        /*  1*/ {"MaxiAllowPadding=dword:0\nMaxiIncludeAddr1=dword:0\n",     "303280000", "1 ELM"},
        /*  2*/ {"MaxiTestMode=dword:0\nMaxiAllowPadding=dword:0\n",         "303280000", "1 ELM"},
        /*  3*/ {"MaxiTestMode=dword:1\nMaxiAllowPadding=dword:0\n",         "30328",     "1 ELM"},
        /*  4*/ {"MaxiTestMode=dword:1\nMaxiIncludeAddr1=dword:0\n",         "303280000", ""},
        /*  5*/ {"MaxiTestMode=dword:7\n",                                   "303280000", "1 ELM"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        RegistryStore store(rows[i].values);
        SettingsJob j("");
        std::vector<std::string> fields = SplitMessage(Build(j));
        ASSERT_EQ(fields.size(), 15u) << "row " << i;
        EXPECT_EQ(fields[0], rows[i].postal) << "row " << i;
        EXPECT_EQ(fields[11], rows[i].street) << "row " << i;
    }
}

TEST(MaxicodeSettingsTest, PlainMessageIsArchivedInTestMode) {
    test::TempDir archive;
    test::LogCapture log;
    RegistryStore store("MaxiTestMode=dword:1\nMaxiArchiveDir=" + archive.path() + "\n");
    SettingsJob j("");
    std::string message = Build(j);
    EXPECT_EQ(test::ReadFile(archive.file("EltronA-JOB42-00016.uncomp.dat")), "[ELTRON]\r\n" + message + "\r\n");
}

TEST(MaxicodeSettingsTest, WholeStringMethodInTestMode) {
    // without the format 05 block a short message fits the 100 characters
    test::LogCapture log;
    RegistryStore store("MaxiTestMode=dword:1\nMaxiCompressAll=dword:1\nMaxiIncludeFmt05=dword:0\n");
    SettingsJob j("");
    CopyText(j.ups->CompressMaxicode, "Y");
    bool ok = false;
    std::string data = Build(j, &ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(j.ups->MaxiCodeCompressed);
    EXPECT_EQ(Visible(data),
              "[)><RS>01<GS>96303280000<GS>840<GS>002<GS>1Z05271688<GS>UPSN<GS>12345E<GS>000<GS>SHP12345<GS>2/3<GS>11"
              "<GS>N<GS>1 ELM<GS>BOSTON<GS>MA<RS><EOT>");
    EXPECT_TRUE(log.HasDebugMessage(
        "LibUPSFormatMaxicode: Beginning UPS Maxicode compression using ANSIStringBuildAll method."));
    EXPECT_TRUE(log.HasDebugMessage("-> Maxicode Compression Test Mode Enabled."));
    // the compressor's input went to the job's archive folder
    std::string archived = test::ReadFile(j.archiveFolder + "MaxicodeOutput/EltronA-JOB42-00016.input.dat");
    EXPECT_NE(archived.find(data), std::string::npos);
}

TEST(MaxicodeSettingsTest, WholeStringMethodRefusesALongMessage) {
    // the format 05 block makes the message longer than the 100 characters
    test::LogCapture log;
    RegistryStore store("MaxiTestMode=dword:1\nMaxiCompressAll=dword:1\n");
    SettingsJob j("AddressLine2=Suite 500\n");
    CopyText(j.ups->CompressMaxicode, "Y");
    bool ok = true;
    std::string data = Build(j, &ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(j.ups->MaxiCodeCompressed);
    EXPECT_EQ(j.ups->MaxiCodeCompressedLength, 0);
    EXPECT_EQ(static_cast<int32_t>(data.size()), j.ups->MaxiCodeMessageLength);
    EXPECT_NE(data.find("20LSUITE 500"), std::string::npos);
    EXPECT_TRUE(
        log.HasErrorMessage("Maxicode Compression was unsuccessful: Build fault: Compression error: The allocated data "
                            "area is too small."));
    EXPECT_TRUE(log.HasDebugMessage("LibUPSFormatMaxicode: UPS Maxicode compression return code: 24."));
}

}  // namespace
}  // namespace zal

#endif
