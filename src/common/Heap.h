// Named heap helpers: every allocation and release is logged with the name
// of what it is for, and a released pointer holds the freed marker (all
// bits set) so that a second release is recognised.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zal {

inline void *FreedMarker() { return reinterpret_cast<void *>(~static_cast<std::uintptr_t>(0)); }

bool HeapAllocHlpr(void **variable, std::size_t size, const char *name);
bool HeapReAllocHlpr(void **variable, std::size_t size, const char *name);
void HeapFreeHlpr(void **variable, const char *name);
bool IsAllocValid(void *const *variable, const char *name);

template <typename T>
bool HeapAllocHlpr(T **variable, std::size_t size, const char *name) {
    return HeapAllocHlpr(reinterpret_cast<void **>(variable), size, name);
}
template <typename T>
bool HeapReAllocHlpr(T **variable, std::size_t size, const char *name) {
    return HeapReAllocHlpr(reinterpret_cast<void **>(variable), size, name);
}
template <typename T>
void HeapFreeHlpr(T **variable, const char *name) {
    HeapFreeHlpr(reinterpret_cast<void **>(variable), name);
}
template <typename T>
bool IsAllocValid(T *const *variable, const char *name) {
    return IsAllocValid(reinterpret_cast<void *const *>(variable), name);
}

// Tests: make the next allocations fail.
void FailNextHeapAllocations(int count);

}  // namespace zal
