#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/Settings.h"
#include "support/TestSupport.h"

using zal::test::LogCapture;
using zal::test::TempDir;

namespace {

class JobFile : public ::testing::Test {
protected:
    void SetUp() override {
        path = dir.file("job.ini");
        zal::test::WriteFile(path,
                             "[Begin]\r\n"
                             "Carrier=UPS\r\n"
                             "Empty=\r\n"
                             "Sentinel=__I_V_N_F__\r\n"
                             "Lower=__i_v_n_f__\r\n"
                             "Tabbed=Ship\tTo\r\n"
                             "Accent=Caf\xE9 \xA9 \x99 \xAE \xF7 end\r\n"
                             "Count=12\r\n"
                             "Quoted=\"a b\"\r\n");
    }
    TempDir dir;
    std::string path;
};

struct ReadRow { const char *key; const char *defaultValue; bool result; const char *text; };

TEST_F(JobFile, ReadINIStringTellsMissingFromEmpty) {
    LogCapture capture;
    // clang-format off
    const ReadRow rows[] = {
        /*  0*/ {"Carrier",  nullptr, true,  "UPS"},
        /*  1*/ {"carrier",  nullptr, true,  "UPS"},
        /*  2*/ {"Empty",    "dflt",  true,  ""},
        /*  3*/ {"Missing",  nullptr, false, ""},
        /*  4*/ {"Missing",  "dflt",  true,  "dflt"},
        /*  5*/ {"Sentinel", nullptr, false, ""},     // the stored sentinel counts as missing
        /*  6*/ {"Lower",    "d",     true,  "d"},    // compared without regard to case
        /*  7*/ {"Quoted",   nullptr, true,  "a b"},
    };
    // clang-format on
    for (std::size_t i = 0; i < sizeof rows / sizeof rows[0]; ++i) {
        char out[64] = "garbage";
        std::size_t length = 99;
        EXPECT_EQ(zal::ReadINIString(rows[i].key, rows[i].defaultValue, out, sizeof out, &length, path.c_str()),
                  rows[i].result)
            << "row " << i;
        EXPECT_STREQ(out, rows[i].text) << "row " << i;
        EXPECT_EQ(length, std::strlen(rows[i].text)) << "row " << i;
    }
}

TEST_F(JobFile, ReadINIValueCleansBytes) {
    LogCapture capture(0x4);
    char out[64];
    ASSERT_TRUE(zal::ReadINIValue("Tabbed", nullptr, out, sizeof out, nullptr, path.c_str()));
    EXPECT_STREQ(out, "ShipTo");
    ASSERT_TRUE(zal::ReadINIValue("Accent", nullptr, out, sizeof out, nullptr, path.c_str()));
    EXPECT_STREQ(out, "Caf \xA9 \x99 \xAE \xF7 end");
    ASSERT_TRUE(zal::ReadINIValue("Missing", "d\te", out, sizeof out, nullptr, path.c_str()));
    EXPECT_STREQ(out, "de");  // the default is cleaned too
    char small[4];
    std::size_t length = 0;
    ASSERT_TRUE(zal::ReadINIValue("Carrier", nullptr, small, sizeof small, &length, path.c_str()));
    EXPECT_STREQ(small, "UPS");
    EXPECT_EQ(length, 3u);
}

TEST_F(JobFile, MissingFileAndBadArguments) {
    LogCapture capture;
    char out[16];
    std::string missing = dir.file("none.ini");
    EXPECT_FALSE(zal::ReadINIString("Carrier", "x", out, sizeof out, nullptr, missing.c_str()));
    EXPECT_TRUE(capture.HasErrorMessage("INI file reading failed: Filename \"" + missing + "\" was not found."));
    EXPECT_FALSE(zal::ReadINIString("Carrier", "x", nullptr, 0, nullptr, path.c_str()));
    EXPECT_TRUE(capture.HasErrorMessage("INI file reading failed: Return string pointer is invalid."));
    EXPECT_FALSE(zal::ReadINIString("Carrier", "x", out, sizeof out, nullptr, nullptr));
    EXPECT_TRUE(capture.HasErrorMessage("INI file reading failed: Filename is invalid."));
}

TEST_F(JobFile, ReadINIInt) {
    LogCapture capture;
    int32_t value = 0;
    EXPECT_TRUE(zal::ReadINIInt("Count", 1, &value, path.c_str()));
    EXPECT_EQ(value, 12);
    EXPECT_TRUE(zal::ReadINIInt("Missing", 2020, &value, path.c_str()));
    EXPECT_EQ(value, 2020);
    EXPECT_TRUE(zal::ReadINIInt("Carrier", 5, &value, path.c_str()));
    EXPECT_EQ(value, 0);  // no digits
}

TEST(Settings, FileAndFolderChecks) {
    LogCapture capture(0x80C);
    TempDir dir;
    std::string file = dir.file("present.txt");
    zal::test::WriteFile(file, "x");
    EXPECT_EQ(zal::FileExist(file.c_str()), 1);
    EXPECT_EQ(zal::FileExist(dir.file("absent.txt").c_str()), 0);
    zal::test::FixedSeams::Sleeps().clear();
    EXPECT_TRUE(zal::DirectoryExists(dir.path().c_str()));
    EXPECT_FALSE(zal::DirectoryExists(file.c_str()));
    EXPECT_FALSE(zal::DirectoryExists(dir.file("absent").c_str()));
    // Every folder check waits 100 ms, even for an existing folder.
    EXPECT_EQ(zal::test::FixedSeams::Sleeps(), (std::vector<uint32_t>{100, 100, 100}));
    EXPECT_TRUE(capture.HasDebugMessage("DirectoryExists: \"" + file + "\" is not a folder."));
}

TEST(Settings, AppendBackslashFitsOrLeavesAlone) {
    char path[1024];
    std::strcpy(path, "C:\\dir");
    zal::AppendBackslash(path);
    EXPECT_STREQ(path, "C:\\dir\\");
    zal::AppendBackslash(path);
    EXPECT_STREQ(path, "C:\\dir\\");
    path[0] = '\0';
    zal::AppendBackslash(path);
    EXPECT_STREQ(path, "");
    // 1023 characters fill the buffer: no room for a backslash.
    std::memset(path, 'a', 1023);
    path[1023] = '\0';
    zal::AppendBackslash(path);
    EXPECT_EQ(std::strlen(path), 1023u);
    path[1022] = '\0';
    zal::AppendBackslash(path);
    EXPECT_EQ(std::strlen(path), 1023u);
    EXPECT_EQ(path[1022], '\\');
}

TEST(Settings, LibraryVersionOfThePluginFile) {
    LogCapture capture(0x8);
    zal::LibraryVersionInfo info = zal::GetLibraryVersion(zal::test::PluginFile("ZalTestLib").c_str());
    EXPECT_EQ(info.major, 2u);
    EXPECT_EQ(info.minor, 4u);
    EXPECT_EQ(info.build, 6u);
    EXPECT_EQ(info.revision, 8u);
    EXPECT_STREQ(info.productName, "Test Library");
    EXPECT_STREQ(info.companyName, "Test Company");
    EXPECT_STREQ(info.fileDescription, "Cache test library");
    EXPECT_STREQ(info.legalCopyright, "None");
    zal::LibraryVersionInfo none = zal::GetLibraryVersion(std::string(ZAL2443_SOURCE_DIR "/README.md").c_str());
    EXPECT_EQ(none.major, 0u);
    EXPECT_STREQ(none.productName, "");
}

#if !defined(_WIN32)
// The registry store of the Linux build.
TEST(Settings, RegistryStoreBooleansAndArchiveFolder) {
    LogCapture capture(0x8);
    TempDir dir;
    std::string store = dir.file("registry.ini");
    zal::test::EnvVar registry("ZAL2443_REGISTRY", store);
    bool value = false;
    // No store at all: every setting at its default.
    EXPECT_FALSE(zal::GetZALSettingBool("MaxiAllowPadding", &value, true));
    EXPECT_TRUE(value);
    zal::test::WriteFile(store,
                         "[SOFTWARE\\Norwick Solutions Inc.\\Orvandex]\n"
                         "MaxiCompressAll=dword:1\n"
                         "MaxiAllowPadding=dword:0\n"
                         "MaxiArchiveDir=/var/spool/maxi\n");
    EXPECT_TRUE(zal::GetZALSettingBool("MaxiCompressAll", &value, false));
    EXPECT_TRUE(value);
    EXPECT_TRUE(zal::GetZALSettingBool("MaxiAllowPadding", &value, true));
    EXPECT_FALSE(value);
    EXPECT_FALSE(zal::GetZALSettingBool("MaxiTestMode", &value, false));
    EXPECT_FALSE(value);
    char folder[1025];
    EXPECT_TRUE(zal::GetMaxiArchiveDir(folder));
    EXPECT_STREQ(folder, "/var/spool/maxi");
    EXPECT_TRUE(capture.HasDebugMessage(
        "Registry value read: Key \"SOFTWARE\\Norwick Solutions Inc.\\Orvandex:MaxiCompressAll\" = 1"));
    EXPECT_TRUE(capture.HasDebugMessage("RegistryKeyValueExists: Value \"MaxiTestMode\" does not exist."));
}
#endif

}  // namespace
