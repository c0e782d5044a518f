// The MaxiCode registry settings, through the posix registry store.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "formatting/ups/MaxiCodeJob.h"

namespace zal {
namespace {

using test::BuildMaxicode;
using test::SplitMessage;
using test::Visible;

// A job with a street, city and state, the stand-in compression library and
// the given registry values.
struct SettingsJob : test::CompressJob {
    explicit SettingsJob(const std::string &values)
        : CompressJob("StreetAddress=1 Elm\nCity=Boston\nState=MA\n", true, values) {}
};

TEST(MaxicodeSettingsTest, SettingsApplyOnlyInTestMode) {
    struct Row { const char *values; const char *postal; const char *street; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"",                                                          "303280000", "1 ELM"},
        /*  1*/ {"MaxiAllowPadding=dword:0\nMaxiIncludeAddr1=dword:0\n",     "303280000", "1 ELM"},
        /*  2*/ {"MaxiTestMode=dword:1\nMaxiAllowPadding=dword:0\n",         "30328",     "1 ELM"},
        /*  3*/ {"MaxiTestMode=dword:1\nMaxiIncludeAddr1=dword:0\n",         "303280000", ""},
        /*  4*/ {"MaxiTestMode=dword:7\n",                                   "303280000", "1 ELM"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SettingsJob j(rows[i].values);
        std::vector<std::string> fields = SplitMessage(BuildMaxicode(j));
        ASSERT_EQ(fields.size(), 15u) << "row " << i;
        EXPECT_EQ(fields[0], rows[i].postal) << "row " << i;
        EXPECT_EQ(fields[11], rows[i].street) << "row " << i;
    }
}

TEST(MaxicodeSettingsTest, PlainMessageIsArchivedInTestMode) {
    test::TempDir archive;
    test::LogCapture log;
    SettingsJob j("MaxiTestMode=dword:1\nMaxiArchiveDir=" + archive.path() + "\n");
    std::string message = BuildMaxicode(j);
    EXPECT_EQ(test::ReadFile(archive.file("EltronA-JOB42-00016.uncomp.dat")), "[ELTRON]\r\n" + message + "\r\n");
}

TEST(MaxicodeSettingsTest, WholeStringMethodInTestMode) {
    // without the format 05 block a short message fits the 100 characters
    test::LogCapture log;
    SettingsJob j("MaxiTestMode=dword:1\nMaxiCompressAll=dword:1\nMaxiIncludeFmt05=dword:0\n");
    CopyText(j.ups->CompressMaxicode, "Y");
    bool ok = false;
    std::string data = BuildMaxicode(j, &ok);
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

}  // namespace
}  // namespace zal

#endif
