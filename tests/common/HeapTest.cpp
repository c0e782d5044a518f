#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/Heap.h"
#include "platform/Platform.h"
#include "support/TestSupport.h"

using zal::test::LogCapture;

namespace {

TEST(Heap, AllocZeroesAndFreeLeavesTheMarker) {
    LogCapture capture(0x108);
    char *block = nullptr;
    ASSERT_TRUE(zal::HeapAllocHlpr(&block, 64, "block"));
    for (int i = 0; i < 64; ++i) ASSERT_EQ(block[i], 0);
    zal::HeapFreeHlpr(&block, "block");
    EXPECT_EQ(static_cast<void *>(block), zal::FreedMarker());
    capture.Clear();
    zal::HeapFreeHlpr(&block, "block");  // second release frees nothing
    auto messages = capture.DebugMessages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].rfind("HeapFreeHlpr: Arg pointer = ", 0), 0u);
    EXPECT_EQ(messages[1].rfind("HeapFreeHlpr: Allocated memory for block is already free. (INVALID_HANDLE_VALUE): ", 0),
              0u);
}

TEST(Heap, ReAllocKeepsContentsAndZeroesTheRest) {
    LogCapture capture(0x108);
    char *block = nullptr;
    ASSERT_TRUE(zal::HeapAllocHlpr(&block, 4, nullptr));
    std::memcpy(block, "abc", 4);
    ASSERT_TRUE(zal::HeapReAllocHlpr(&block, 4096, "grow"));
    EXPECT_STREQ(block, "abc");
    for (int i = 4; i < 4096; ++i) ASSERT_EQ(block[i], 0);
    char *before = block;
    capture.Clear();
    ASSERT_TRUE(zal::HeapReAllocHlpr(&block, 4096, "grow"));  // same size: nothing to do
    EXPECT_EQ(block, before);
    EXPECT_TRUE(capture.HasDebugMessage("HeapReAllocHlpr: Existing size=4096 Requested size=4096."));
    zal::HeapFreeHlpr(&block, "grow");
}

TEST(Heap, ReAllocOfAFreedVariableFails) {
    LogCapture capture(0x108);
    char *block = nullptr;
    ASSERT_TRUE(zal::HeapAllocHlpr(&block, 8, "x"));
    zal::HeapFreeHlpr(&block, "x");
    EXPECT_FALSE(zal::HeapReAllocHlpr(&block, 16, "x"));
    EXPECT_TRUE(capture.HasErrorMessage("HeapReAllocHlpr: Memory re-allocation for x is not allocated. (nullptr)"));
    EXPECT_FALSE(zal::HeapReAllocHlpr(static_cast<void **>(nullptr), 16, nullptr));
    EXPECT_TRUE(capture.HasErrorMessage("HeapReAllocHlpr: Pointer to be used for memory re-allocation is invalid. (nullptr)"));
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
    EXPECT_TRUE(capture.HasDebugMessage("IsAllocValid: Handle for n is null (nullptr)."));
    EXPECT_TRUE(capture.HasDebugMessage("IsAllocValid: Handle for m is invalid (INVALID_HANDLE_VALUE)."));
    EXPECT_TRUE(capture.HasDebugMessage("IsAllocValid: Pointer to handle is invalid."));
    EXPECT_TRUE(capture.HasDebugMessage("IsAllocValid: Handle for bad is invalid (EXCEPTION_READ_FAULT)."));
}

}  // namespace
