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

}  // namespace
}  // namespace zal

#endif
