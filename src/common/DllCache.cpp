#include "common/DllCache.h"

#include <cstring>

#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "common/Heap.h"
#include "common/Log.h"
#include "common/Strings.h"

namespace zal {
namespace {

// One entry of the cache, laid out as the 268-byte record it always was.
struct DllCacheEntry {
    platform::LibraryHandle handle;
    char name[260];
    uint16_t libraryType;
    uint16_t references;
};

DllCacheEntry *lpDllCache = nullptr;
int32_t g_count = 0;

bool IsUnloaded(platform::LibraryHandle h) { return h == nullptr || h == FreedMarker(); }

struct Deeper {
    Deeper() { log::IncreaseNesting(); }
    ~Deeper() { log::DecreaseNesting(); }
};

void LogReference(const char *name, platform::LibraryHandle handle) {
    log::LogDebug(log::kMemory, "LoadLibraryOnce: Device library \"%s\" reference pointer = address '%p'", name,
                  handle);
}

DllCacheEntry *Find(const char *name) {
    for (int32_t i = 0; i < g_count; ++i) {
        if (EqualsNoCase(lpDllCache[i].name, name)) return &lpDllCache[i];
    }
    return nullptr;
}

uint16_t QueryLibraryType(platform::LibraryHandle handle) {
    using TypeFn = int32_t (*)();
    auto fn = reinterpret_cast<TypeFn>(platform::GetProcAddress(handle, "ZALGetLibraryType"));
    return fn ? static_cast<uint16_t>(fn()) : 0;
}

}  // namespace

platform::LibraryHandle LoadLibraryOnce(bool *loadedNow) { return LoadLibraryOnce(kUsbLibraryName, loadedNow); }

platform::LibraryHandle LoadLibraryOnce(const char *name, bool *loadedNow) {
    Deeper deeper;
    char description[1024];
    if (DllCacheEntry *entry = g_count > 0 ? Find(name) : nullptr) {
        if (!IsUnloaded(entry->handle)) {
            if (loadedNow) *loadedNow = false;
            ++entry->references;
            log::LogMessage(log::kInfo | log::kMemory,
                            "LoadLibraryOnce: Device library \"%s\" already loaded, reference count is now %u, "
                            "returning reference pointer...",
                            name, entry->references);
            LogReference(name, entry->handle);
            return entry->handle;
        }
        platform::LibraryHandle handle = platform::LoadLibrary(name);
        if (handle == nullptr) {
            FormatErrorString(platform::GetLastError(), description, sizeof description, true, kKindWin32);
            log::LogMessage(log::kInfo | log::kMemory, "LoadLibraryOnce: Device library \"%s\" could not be reloaded: %s",
                            name, description);
            return nullptr;
        }
        if (loadedNow) *loadedNow = true;
        entry->handle = handle;
        entry->references = 1;
        log::LogMessage(log::kInfo | log::kMemory,
                        "LoadLibraryOnce: Device library \"%s\" was reloaded, reference count is now %u, returning "
                        "reference pointer...",
                        name, entry->references);
        LogReference(name, handle);
        return handle;
    }
    if (loadedNow) *loadedNow = true;
    platform::LibraryHandle handle = platform::LoadLibrary(name);
    if (handle == nullptr) {
        FormatErrorString(platform::GetLastError(), description, sizeof description, true, kKindWin32);
        log::LogMessage(log::kInfo | log::kMemory, "LoadLibraryOnce: Device library \"%s\" could not be loaded: %s",
                        name, description);
        return nullptr;
    }
    bool grown;
    if (lpDllCache == nullptr || g_count == 0) {
        grown = HeapAllocHlpr(&lpDllCache, sizeof(DllCacheEntry), "lpDllCache");
        if (!grown) {
            lpDllCache = nullptr;
            g_count = 0;
            log::LogMessageText(log::kInfo | log::kMemory, "Failed to obtain Dll Cache allocation.");
        }
    } else {
        grown = HeapReAllocHlpr(&lpDllCache, (static_cast<std::size_t>(g_count) + 1) * sizeof(DllCacheEntry),
                                "lpDllCache");
        if (!grown) log::LogMessageText(log::kInfo | log::kMemory, "Failed to reallocate Dll Cache.");
    }
    if (!grown) return handle;
    DllCacheEntry &entry = lpDllCache[g_count++];
    std::memset(&entry, 0, sizeof entry);
    CopyText(entry.name, name);
    entry.handle = handle;
    entry.references = 1;
    entry.libraryType = QueryLibraryType(handle);
    log::LogMessage(log::kInfo | log::kMemory, "LoadLibraryOnce: Loaded device library \"%s\"...", name);
    LogReference(name, handle);
    return handle;
}

void ReleaseLibraryRef(platform::LibraryHandle handle) {
    Deeper deeper;
    for (int32_t i = 0; i < g_count; ++i) {
        DllCacheEntry &entry = lpDllCache[i];
        if (entry.handle != handle) continue;
        if (entry.references > 0) {
            --entry.references;
        } else {
            log::LogDebug(log::kMemory,
                          "ReleaseLibraryRef: WARNING: Device library \"%s\" reference count is already 0. Cannot "
                          "decrement.",
                          entry.name);
        }
        log::LogMessage(log::kInfo | log::kMemory,
                        "ReleaseLibraryRef: Device library \"%s\" reference decremented. Remaining references: %u.",
                        entry.name, entry.references);
    }
}

void FreeDllList() {
    Deeper deeper;
    for (int32_t i = 0; i < g_count; ++i) {
        DllCacheEntry &entry = lpDllCache[i];
        if (entry.handle == nullptr) continue;
        if (entry.references != 0) {
            log::LogMessage(log::kInfo | log::kMemory,
                            "FreeDllList: WARNING: Loaded device library \"%s\" still has %u references which will "
                            "become invalid!",
                            entry.name, entry.references);
        }
        log::LogMessage(log::kInfo | log::kMemory, "FreeDllList: Freeing loaded device library \"%s\"...", entry.name);
        if (entry.handle != FreedMarker()) platform::FreeLibrary(entry.handle);
        entry.handle = nullptr;
    }
    if (lpDllCache != nullptr) HeapFreeHlpr(&lpDllCache, "lpDllCache");
    lpDllCache = nullptr;
    g_count = 0;
}

int DllCacheCount() { return g_count; }

unsigned DllCacheReferences(const char *name) {
    DllCacheEntry *entry = Find(name);
    return entry ? entry->references : 0;
}

unsigned DllCacheLibraryType(const char *name) {
    DllCacheEntry *entry = Find(name);
    return entry ? entry->libraryType : 0;
}

}  // namespace zal
