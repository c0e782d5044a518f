#include "common/DllCache.h"

#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "support/TestSupport.h"

using zal::test::LogCapture;

namespace {

// The device-library cache, with the small test library of plugins/testlib.
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
    EXPECT_TRUE(capture.HasDebugMessage(
        "LoadLibraryOnce: Device library \"ZALTESTLIB\" already loaded, reference count is now 1, returning "
        "reference pointer..."));
    zal::ReleaseLibraryRef(first);
    zal::ReleaseLibraryRef(first);  // already 0
    EXPECT_TRUE(capture.HasDebugMessage(
        "ReleaseLibraryRef: WARNING: Device library \"ZalTestLib\" reference count is already 0. Cannot decrement."));
    zal::LoadLibraryOnce("ZalTestLib", &loadedNow);
    zal::FreeDllList();  // one reference still held
    EXPECT_TRUE(capture.HasDebugMessage(
        "FreeDllList: WARNING: Loaded device library \"ZalTestLib\" still has 1 references which will become invalid!"));
    EXPECT_EQ(zal::DllCacheCount(), 0);
}

TEST(DllCache, MissingLibraryIsNotCached) {
    LogCapture capture(0x104);
    bool loadedNow = false;
    EXPECT_EQ(zal::LoadLibraryOnce("NoSuchLibrary", &loadedNow), nullptr);
    EXPECT_TRUE(loadedNow);
    EXPECT_EQ(zal::DllCacheCount(), 0);
    auto messages = capture.DebugMessages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().rfind("LoadLibraryOnce: Device library \"NoSuchLibrary\" could not be loaded: [WIN32 0x0000007e/C0126]", 0), 0u);
}

}  // namespace
