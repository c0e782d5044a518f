#include "api/Library.h"

#include <cstring>

#include "api/Dispatch.h"
#include "common/DllCache.h"
#include "common/Format.h"
#include "common/Heap.h"
#include "common/Log.h"
#include "common/Modules.h"
#include "dialogs/Dialogs.h"

namespace zal::api {
namespace {

constexpr uint32_t kDeviceRowsSize = 1470;     // 3 devices
constexpr uint32_t kMediaRowsSize = 380;       // 5 media types
constexpr uint32_t kOrientationRowsSize = 52;  // 2 orientations

bool g_debugEnabled = false;
_LoggingConfigA g_loggingConfig{};

LabelDeviceDescription Device(uint16_t id, const char *description, uint16_t kind) {
    LabelDeviceDescription d{};
    d.Id = id;
    CopyText(d.Description, description);
    CopyText(d.LibraryFile, ZAL2443_MODULE_NAME);
    CopyText(d.ModuleName, ZAL2443_MODULE_NAME);
    d.InterfaceValue = 0x090B;
    d.DeviceKind = kind;
    return d;
}

MediaType Media(uint16_t id, const char *name, float width, float length, uint8_t docutab) {
    MediaType m{};
    m.Id = id;
    m.Kind = id != 0 ? 2 : 0;
    CopyText(m.Name, name);
    m.Width = width;
    m.Length = length;
    m.Docutab = docutab;
    m.DocutabLength = 0.75f;
    return m;
}

PrintOrientationDefinition Orientation(uint16_t id, const char *name) {
    PrintOrientationDefinition o{};
    o.Id = id;
    CopyText(o.Name, name);
    return o;
}

}  // namespace

// clang-format off
const LabelDeviceDescription kDevices[3] = {
    Device(1, "Label - Eltron Standard ( EPL II; 203 dpi )", 1),
    Device(2, "Label - Eltron Standard ( EPL II; 203 dpi; no-mem )", 1),
    Device(3, "Document - FedEx Ground COD Tag Eltron Standard ( EPL II; 203 dpi )", 4),
};
const MediaType kMediaTypes[5] = {
    Media(1230, "Label 4x6\"", 4.0f, 6.0f, 0),
    Media(1220, "Label 4x4.25\"", 4.0f, 4.25f, 0),
    Media(1240, "Label 4x6.75\" Docutab", 4.0f, 6.75f, 1),
    Media(0, "", 0.0f, 0.0f, 0),
    Media(0, "", 0.0f, 0.0f, 0),
};
const PrintOrientationDefinition kOrientations[2] = {
    Orientation(1, "Portrait"),
    Orientation(3, "Flipped"),
};
// clang-format on

int32_t GetLibraryInfoASizes(_LibraryInfoA *info) {
    if (info == nullptr) return 6;
    info->DevicesSize = kDeviceRowsSize;
    info->MediaTypesSize = kMediaRowsSize;
    info->OrientationsSize = kOrientationRowsSize;
    info->DeviceCount = 0;
    info->MediaTypeCount = 0;
    info->OrientationCount = 0;
    return 0;
}

int32_t GetLibraryInfoA(_LibraryInfoA *info) {
    if (info == nullptr) return 6;
    info->InfoVersion = 1;
    CopyText(info->Version, 16, ZAL2443_VERSION_TEXT);

    info->DeviceCount = 0;
    if (IsAllocValid(&info->Devices, "Devices") && info->DevicesSize >= kDeviceRowsSize) {
        uint16_t count = 0;
        for (uint32_t offset = 0; offset < 3 * sizeof(LabelDeviceDescription); offset += sizeof(LabelDeviceDescription)) {
            if (offset >= info->DevicesSize) break;
            LabelDeviceDescription &row = info->Devices[count];
            const LabelDeviceDescription &src = kDevices[count];
            row.Id = src.Id;
            CopyText(row.Description, 101, src.Description);
            CopyText(row.LibraryFile, 257, src.LibraryFile);
            CopyText(row.ModuleName, 65, src.ModuleName);
            row.InterfaceValue = src.InterfaceValue;
            row.DeviceKind = src.DeviceKind;
            ++count;
        }
        info->DeviceCount = count;
    }

    info->MediaTypeCount = 0;
    if (IsAllocValid(&info->MediaTypes, "MediaTypes") && info->MediaTypesSize >= kMediaRowsSize) {
        for (int i = 0; i < 5; ++i) {
            MediaType &row = info->MediaTypes[i];
            const MediaType &src = kMediaTypes[i];
            row.Id = src.Id;
            row.Kind = src.Kind;
            CopyText(row.Name, src.Name);
            row.Width = src.Width;
            row.Length = src.Length;
            row.Docutab = src.Docutab;
        }
        info->MediaTypeCount = 5;
        info->MediaReserved = 0;
    }

    info->OrientationCount = 0;
    if (IsAllocValid(&info->Orientations, "Orientations") && info->OrientationsSize >= kOrientationRowsSize) {
        for (int i = 0; i < 2; ++i) {
            info->Orientations[i].Id = kOrientations[i].Id;
            CopyText(info->Orientations[i].Name, kOrientations[i].Name);
        }
        info->OrientationCount = 2;
        info->OrientationReserved = 0;
        info->OrientationFlag = 0;
    }
    return 0;
}

void SetDebugA(const _LoggingConfigA &config) {
    log::SetFlags(config.Flags);
    if (g_debugEnabled) {
        log::UpdateLogging(config);
        log::ConfigureUsbLogging(config);
        return;
    }
    _LoggingConfigA record = config;
    // The library's tag column "2443  " sits between the process id and the label.
    std::memset(record.LineFormat, 0, sizeof record.LineFormat);
    std::memset(record.PlainLineFormat, 0, sizeof record.PlainLineFormat);
    Format(record.LineFormat, sizeof record.LineFormat, "%s%s%s", "%s %s %5d ", "2443  ", "%s %s %*s%s");
    Format(record.PlainLineFormat, sizeof record.PlainLineFormat, "%s%s%s", "%s %s %5d ", "2443  ", "%s %s %s %s");
    log::ConfigureLogging(record);
    log::ConfigureUsbLogging(record);
    g_debugEnabled = true;
    g_loggingConfig = record;
    log::LogInfo("Library \"%s\" has enabled debug logging.", ZAL2443_MODULE_NAME);
}

void SetDebugW(const _LoggingConfigW &config) {
    log::SetFlags(config.Flags);
    if (!g_debugEnabled) log::LogInfo("Library \"%s\" has enabled debug logging.", ZAL2443_MODULE_NAME);
}

int32_t Startup() {
    log::LogInfo("Library \"%s\" has started.", ZAL2443_MODULE_NAME);
    return 0;
}

int32_t Shutdown() {
    FreeDllList();
    CloseResultChannel();
    log::LogInfo("Library \"%s\" has stopped.", ZAL2443_MODULE_NAME);
    return 0;
}

bool DebugLoggingEnabled() { return g_debugEnabled; }
const _LoggingConfigA &CurrentLoggingConfig() { return g_loggingConfig; }

void ResetLibraryStateForTests() {
    g_debugEnabled = false;
    g_loggingConfig = _LoggingConfigA{};
}

void ReportEscapedException(const std::exception *error, const char *function) {
    if (error != nullptr) {
        ReportUnhandledCppException(*error, kLibraryModule, function);
    } else {
        log::LogError("An unhandled exception has been raised: (Exception in %s at %s) %s.", kLibraryModule, function,
                      "[unknown] An exception of unknown type was thrown");
    }
}

// The settings and diagnostics dialogs (dialogs/Dialogs.cpp).
int32_t DevConfExA(_JobInfoA *job, _PeripheralInfoA *peripheral) { return dialogs::DevConfExA(job, peripheral); }
int32_t DevConfExW(_JobInfoW *job, const _PeripheralInfoW *peripheral) { return dialogs::DevConfExW(job, peripheral); }
int32_t DevDiagA(_JobInfoA *job, _PeripheralInfoA *peripheral) { return dialogs::DevDiagA(job, peripheral); }

}  // namespace zal::api
