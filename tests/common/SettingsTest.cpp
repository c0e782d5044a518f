#include "common/Settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/DllCache.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

using zal::test::LogCapture;
using zal::test::TempDir;

namespace {

TEST(Settings, FileAndFolderChecks) {
    LogCapture capture(0x80C);
    TempDir dir;
    std::string file = dir.file("present.txt");
    zal::test::WriteFile(file, "x");
    EXPECT_EQ(zal::FileExist(file.c_str()), 1);
    EXPECT_EQ(zal::FileExist(dir.file("absent.txt").c_str()), 0);
    EXPECT_TRUE(zal::DirectoryExists(dir.path().c_str()));
    EXPECT_FALSE(zal::DirectoryExists(file.c_str()));
    EXPECT_FALSE(zal::DirectoryExists(dir.file("absent").c_str()));
}

TEST(Settings, AppendBackslashFitsOrLeavesAlone) {
    const struct { std::string path, expected; } rows[] = {
        /*  0*/ {"C:\\dir", "C:\\dir\\"},
        /*  1*/ {"C:\\dir\\", "C:\\dir\\"},
        /*  2*/ {"", ""},
        /*  3*/ {std::string(1023, 'a'), std::string(1023, 'a')},  // no room left
        /*  4*/ {std::string(1022, 'a'), std::string(1022, 'a') + "\\"},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        char path[1024];
        std::strcpy(path, rows[i].path.c_str());
        zal::AppendBackslash(path);
        EXPECT_EQ(path, rows[i].expected) << "row " << i;
    }
}

TEST(Settings, LibraryVersionOfThePluginFile) {
    LogCapture capture(0x8);
    zal::LibraryVersionInfo info = zal::GetLibraryVersion(zal::test::PluginFile("ZalTestLib").c_str());
    EXPECT_EQ(std::to_string(info.major) + "." + std::to_string(info.minor) + "." + std::to_string(info.build) + "." +
                  std::to_string(info.revision),
              "2.4.6.8");
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
}
#endif

// The device-library cache, with the small test library of plugins/testlib:
// names in any case are one library; a count never goes below 0; the list
// is emptied even while references are held.
TEST(DllCache, LoadsOnceCountsAndReleases) {
    LogCapture capture(0x10C);
    bool loadedNow = false;
    zal::platform::LibraryHandle first = zal::LoadLibraryOnce("ZalTestLib", &loadedNow);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(loadedNow);
    EXPECT_EQ(zal::DllCacheLibraryType("zaltestlib"), 7u);  // the library's own ZALGetLibraryType
    zal::ReleaseLibraryRef(first);
    EXPECT_EQ(zal::DllCacheReferences("ZalTestLib"), 0u);
    zal::platform::LibraryHandle second = zal::LoadLibraryOnce("ZALTESTLIB", &loadedNow);
    EXPECT_EQ(second, first);
    EXPECT_FALSE(loadedNow);
    EXPECT_EQ(zal::DllCacheReferences("ZalTestLib"), 1u);
    EXPECT_EQ(zal::DllCacheCount(), 1);
    zal::ReleaseLibraryRef(first);
    zal::ReleaseLibraryRef(first);  // already 0
    EXPECT_EQ(zal::DllCacheReferences("ZalTestLib"), 0u);
    zal::LoadLibraryOnce("ZalTestLib", &loadedNow);
    EXPECT_EQ(zal::DllCacheReferences("ZalTestLib"), 1u);
    zal::FreeDllList();  // one reference still held
    EXPECT_EQ(zal::DllCacheCount(), 0);
}

TEST(DllCache, MissingLibraryIsNotCached) {
    LogCapture capture(0x104);
    bool loadedNow = false;
    EXPECT_EQ(zal::LoadLibraryOnce("NoSuchLibrary", &loadedNow), nullptr);
    EXPECT_TRUE(loadedNow);
    EXPECT_EQ(zal::DllCacheCount(), 0);
    EXPECT_TRUE(capture.Logged("LoadLibraryOnce: Device library \"NoSuchLibrary\" could not be loaded: [WIN32 0x0000007e/C0126]"));
}

}  // namespace
