#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/Heap.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

using zal::test::LogCapture;

namespace {

TEST(Heap, AllocZeroesReAllocKeepsAndFreeLeavesTheMarker) {
    LogCapture capture(0x108);
    char *block = nullptr;
    ASSERT_TRUE(zal::HeapAllocHlpr(&block, 4, nullptr));
    EXPECT_EQ(std::string(block, 4), std::string(4, '\0'));
    std::memcpy(block, "abc", 4);
    ASSERT_TRUE(zal::HeapReAllocHlpr(&block, 4096, "grow"));
    EXPECT_STREQ(block, "abc");
    EXPECT_EQ(std::string(block + 4, 4092), std::string(4092, '\0'));
    char *before = block;
    ASSERT_TRUE(zal::HeapReAllocHlpr(&block, 4096, "grow"));  // same size: nothing to do
    EXPECT_EQ(block, before);
    zal::HeapFreeHlpr(&block, "grow");
    EXPECT_EQ(static_cast<void *>(block), zal::FreedMarker());
    zal::HeapFreeHlpr(&block, "grow");  // a second release frees nothing
    EXPECT_TRUE(capture.Logged("HeapFreeHlpr: Allocated memory for grow is already free. (INVALID_HANDLE_VALUE): "));
    EXPECT_FALSE(zal::HeapReAllocHlpr(&block, 16, "grow"));  // nor is a freed variable re-allocated
    EXPECT_TRUE(capture.HasErrorMessage("HeapReAllocHlpr: Memory re-allocation for grow is not allocated. (nullptr)"));
    EXPECT_FALSE(zal::HeapReAllocHlpr(static_cast<void **>(nullptr), 16, nullptr));
}

TEST(Heap, FailuresLeaveTheVariableDefined) {
    LogCapture capture(0x108);
    char *block = reinterpret_cast<char *>(0x1);
    zal::FailNextHeapAllocations(1);
    EXPECT_FALSE(zal::HeapAllocHlpr(&block, 100, "big"));
    EXPECT_EQ(block, nullptr);
    EXPECT_TRUE(capture.HasErrorMessage(
        "HeapAllocHlpr: Failed to allocate private heap memory for big (size requested=100); STATUS_NO_MEMORY."));
    ASSERT_TRUE(zal::HeapAllocHlpr(&block, 10, "big"));
    char *kept = block;
    zal::FailNextHeapAllocations(1);
    EXPECT_FALSE(zal::HeapReAllocHlpr(&block, 100, "big"));
    EXPECT_EQ(block, kept);  // original block still intact
    zal::HeapFreeHlpr(&block, "big");
    EXPECT_FALSE(zal::HeapAllocHlpr(static_cast<void **>(zal::FreedMarker()), 1, "m"));
    EXPECT_TRUE(capture.HasErrorMessage("HeapAllocHlpr: Pointer to be used for memory allocation for m is invalid. (nullptr)"));
}

TEST(Heap, IsAllocValidStates) {
    LogCapture capture(0x108);
    void *null = nullptr;
    void *marker = zal::FreedMarker();
    char byte = 0;
    void *live = &byte;
    EXPECT_FALSE(zal::IsAllocValid(&null, "n"));
    EXPECT_FALSE(zal::IsAllocValid(&marker, "m"));
    EXPECT_TRUE(zal::IsAllocValid(&live, "l"));
    EXPECT_FALSE(zal::IsAllocValid(static_cast<void *const *>(nullptr), nullptr));
    // An unreadable address is reported, not faulted on.
    EXPECT_FALSE(zal::IsAllocValid(reinterpret_cast<void *const *>(sizeof(void *)), "bad"));
}

}  // namespace
