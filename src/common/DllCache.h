// The device-library cache: libraries loaded once per process, counted per
// user, unloaded at shut-down.
#pragma once

#include "platform/Platform.h"

namespace zal {

constexpr const char *kUsbLibraryName = "ZalUsbEx";

// Loads (or finds) the USB support library.  loadedNow is set when this
// call actually loaded it.
platform::LibraryHandle LoadLibraryOnce(bool *loadedNow);
platform::LibraryHandle LoadLibraryOnce(const char *name, bool *loadedNow);
void ReleaseLibraryRef(platform::LibraryHandle handle);
void FreeDllList();

// Introspection for tests.
int DllCacheCount();
unsigned DllCacheReferences(const char *name);
unsigned DllCacheLibraryType(const char *name);

}  // namespace zal
