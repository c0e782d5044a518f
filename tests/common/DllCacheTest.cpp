#include "common/DllCache.h"

#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "support/TestSupport.h"

using zal::test::LogCapture;

namespace {

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
