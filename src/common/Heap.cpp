#include "common/Heap.h"

#include "common/ErrorCodes.h"
#include "common/Log.h"
#include "platform/Platform.h"

namespace zal {
namespace {

int g_failNext = 0;

bool IsMarkerOrNull(const void *p) { return p == nullptr || p == FreedMarker(); }

constexpr uint32_t kMemoryDebug = log::kMemory;  // DEBUG | 0x100 = 0x108 via LogDebug

// Every log line of these routines is one level deeper than the caller's.
struct Deeper {
    Deeper() { log::IncreaseNesting(); }
    ~Deeper() { log::DecreaseNesting(); }
};

void *Allocate(std::size_t size) {
    if (g_failNext > 0) {
        --g_failNext;
        platform::SetLastError(kStatusNoMemory);
        return nullptr;
    }
    return platform::HeapAlloc(size);
}

void *Reallocate(void *block, std::size_t size) {
    if (g_failNext > 0) {
        --g_failNext;
        platform::SetLastError(kStatusNoMemory);
        return nullptr;
    }
    return platform::HeapReAlloc(block, size);
}

}  // namespace

void FailNextHeapAllocations(int count) { g_failNext = count; }

bool HeapAllocHlpr(void **variable, std::size_t size, const char *name) {
    Deeper deeper;
    if (IsMarkerOrNull(variable)) {
        if (name)
            log::LogError("HeapAllocHlpr: Pointer to be used for memory allocation for %s is invalid. (nullptr)", name);
        else
            log::LogErrorText("HeapAllocHlpr: Pointer to be used for memory allocation is invalid. (nullptr)");
        return false;
    }
    log::LogDebug(kMemoryDebug, "HeapAllocHlpr: Arg pointer = %p (%p).", *variable, static_cast<void *>(variable));
    platform::SetLastError(0);
    void *block = Allocate(size);
    if (block == nullptr) {
        // The heap raises "no memory" for a failed zeroed allocation.
        if (name)
            log::LogError("HeapAllocHlpr: Failed to allocate private heap memory for %s (size requested=%u); "
                          "STATUS_NO_MEMORY.",
                          name, static_cast<unsigned>(size));
        else
            log::LogError("HeapAllocHlpr: Failed to allocate private heap memory (size requested=%u); STATUS_NO_MEMORY.",
                          static_cast<unsigned>(size));
        *variable = nullptr;
        return false;
    }
    *variable = block;
    if (name)
        log::LogDebug(kMemoryDebug, "HeapAllocHlpr: Allocated %u byte(s) of heap memory for %s at address %p.",
                      static_cast<unsigned>(size), name, block);
    else
        log::LogDebug(kMemoryDebug, "HeapAllocHlpr: Allocated %u byte(s) of heap memory at address %p",
                      static_cast<unsigned>(size), block);
    return true;
}

bool HeapReAllocHlpr(void **variable, std::size_t size, const char *name) {
    Deeper deeper;
    platform::SetLastError(0);
    if (IsMarkerOrNull(variable)) {
        if (name)
            log::LogError("HeapReAllocHlpr: Pointer to be used for memory re-allocation for %s is invalid. (nullptr)",
                          name);
        else
            log::LogErrorText("HeapReAllocHlpr: Pointer to be used for memory re-allocation is invalid. (nullptr)");
        return false;
    }
    if (IsMarkerOrNull(*variable)) {
        if (name)
            log::LogError("HeapReAllocHlpr: Memory re-allocation for %s is not allocated. (nullptr)", name);
        else
            log::LogErrorText("HeapReAllocHlpr: Memory for re-allocation is not allocated. (nullptr)");
        return false;
    }
    std::size_t present = platform::HeapSize(*variable);
    log::LogDebug(kMemoryDebug, "HeapReAllocHlpr: Arg pointer = %p (%p).", *variable, static_cast<void *>(variable));
    log::LogDebug(kMemoryDebug, "HeapReAllocHlpr: Existing size=%u Requested size=%u.", static_cast<unsigned>(present),
                  static_cast<unsigned>(size));
    if (present == size) {
        if (name)
            log::LogDebug(kMemoryDebug, "HeapReAllocHlpr: Re-allocation unnecessary for heap memory for %s at address %p.",
                          name, *variable);
        else
            log::LogDebug(kMemoryDebug, "HeapReAllocHlpr: Re-allocation unnecessary for heap memory at address %p",
                          *variable);
        return true;
    }
    platform::SetLastError(0);
    void *block = Reallocate(*variable, size);
    if (block == nullptr || block == FreedMarker()) {
        if (name)
            log::LogError("HeapReAllocHlpr: Failed to re-allocate heap memory for %s (size requested=%u); "
                          "STATUS_NO_MEMORY; Original memory is still intact.",
                          name, static_cast<unsigned>(size));
        else
            log::LogError("HeapReAllocHlpr: Failed to re-allocate heap memory (size requested=%u); STATUS_NO_MEMORY; "
                          "Original memory is still intact.",
                          static_cast<unsigned>(size));
        return false;
    }
    *variable = block;
    if (name)
        log::LogDebug(kMemoryDebug, "HeapReAllocHlpr: Re-allocated %u byte(s) of heap memory for %s at address %p.",
                      static_cast<unsigned>(size), name, block);
    else
        log::LogDebug(kMemoryDebug, "HeapReAllocHlpr: Re-allocated %u byte(s) of heap memory at address %p",
                      static_cast<unsigned>(size), block);
    return true;
}

void HeapFreeHlpr(void **variable, const char *name) {
    Deeper deeper;
    if (variable == nullptr) {
        log::LogDebugText(kMemoryDebug, "HeapFreeHlpr: Arg pointer = nullptr.");
    } else if (variable == FreedMarker()) {
        log::LogDebugText(kMemoryDebug, "HeapFreeHlpr: Arg pointer = INVALID_HANDLE_VALUE.");
    } else {
        log::LogDebug(kMemoryDebug, "HeapFreeHlpr: Arg pointer = %p (%p).", *variable, static_cast<void *>(variable));
    }
    if (IsMarkerOrNull(variable)) {
        if (name)
            log::LogError("HeapFreeHlpr: Pointer to allocated memory for %s is invalid. (nullptr)", name);
        else
            log::LogErrorText("HeapFreeHlpr: Pointer to allocated memory is invalid. (nullptr)");
        return;
    }
    if (IsMarkerOrNull(*variable)) {
        if (name)
            log::LogDebug(kMemoryDebug, "HeapFreeHlpr: Allocated memory for %s is already free. (INVALID_HANDLE_VALUE): %p (%p)",
                          name, *variable, static_cast<void *>(variable));
        else
            log::LogDebug(kMemoryDebug, "HeapFreeHlpr: Allocated memory is already free. (INVALID_HANDLE_VALUE): %p (%p)",
                          *variable, static_cast<void *>(variable));
        return;
    }
    if (name)
        log::LogDebug(kMemoryDebug, "HeapFreeHlpr: Freeing heap allocated memory for %s at address %p (%p)", name,
                      *variable, static_cast<void *>(variable));
    else
        log::LogDebug(kMemoryDebug, "HeapFreeHlpr: Freeing heap allocated memory at address %p (%p)", *variable,
                      static_cast<void *>(variable));
    if (!platform::HeapFree(*variable)) {
        if (name)
            log::LogError("HeapFreeHlpr: Failed to free allocation for %s from default process heap at address %p (%p)",
                          name, *variable, static_cast<void *>(variable));
        else
            log::LogError("HeapFreeHlpr: Failed to free allocation from default process heap at address %p (%p)",
                          *variable, static_cast<void *>(variable));
    }
    *variable = FreedMarker();
}

bool IsAllocValid(void *const *variable, const char *name) {
    Deeper deeper;
    if (IsMarkerOrNull(variable)) {
        if (name)
            log::LogDebug(kMemoryDebug, "IsAllocValid: Pointer to handle for %s is invalid.", name);
        else
            log::LogDebugText(kMemoryDebug, "IsAllocValid: Pointer to handle is invalid.");
        return false;
    }
    if (!platform::CanReadMemory(variable, sizeof(void *))) {
        ExceptionRecord record;
        record.code = kExceptionAccessViolation;
        record.address = reinterpret_cast<const void *>(static_cast<bool (*)(void *const *, const char *)>(&IsAllocValid));
        record.parameterCount = 2;
        record.parameters[0] = 0;
        record.parameters[1] = reinterpret_cast<uintptr_t>(variable);
        ReportInvalidPointer(record, name);
        if (name)
            log::LogDebug(kMemoryDebug, "IsAllocValid: Handle for %s is invalid (EXCEPTION_READ_FAULT).", name);
        else
            log::LogDebugText(kMemoryDebug, "IsAllocValid: Handle is invalid (EXCEPTION_READ_FAULT).");
        return false;
    }
    void *value = *variable;
    if (value == nullptr) {
        if (name)
            log::LogDebug(kMemoryDebug, "IsAllocValid: Handle for %s is null (nullptr).", name);
        else
            log::LogDebugText(kMemoryDebug, "IsAllocValid: Handle is null (nullptr).");
        return false;
    }
    if (value == FreedMarker()) {
        if (name)
            log::LogDebug(kMemoryDebug, "IsAllocValid: Handle for %s is invalid (INVALID_HANDLE_VALUE).", name);
        else
            log::LogDebugText(kMemoryDebug, "IsAllocValid: Handle is invalid (INVALID_HANDLE_VALUE).");
        return false;
    }
    log::LogDebug(kMemoryDebug, "IsAllocValid: Handle %p (Pointer %p) is valid.", value,
                  static_cast<const void *>(variable));
    return true;
}

}  // namespace zal
