// The settings and diagnostics dialogs the host opens through ZALDevConfExA,
// ZALDevConfExW and ZALDevDiagA: the entries, what a dialog does when it
// opens and when its buttons are pressed, and the values kept for the
// process.  How a dialog is shown is the platform's (platform/win32: the
// modal dialogs; platform/posix: a form on the terminal).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "dialogs/SettingsModel.h"
#include "zal2443/zal2443.h"

namespace zal::dialogs {

// The job record a dialog was opened with: the narrow one, or the wide one
// of ZALDevConfExW.
struct DialogOwner {
    const _JobInfoA *job = nullptr;
    const _JobInfoW *wideJob = nullptr;
    bool wide = false;

    bool HasJob() const { return wide ? wideJob != nullptr : job != nullptr; }
    // The host window that owns the dialog and holds the device list.
    void *Window() const;
};

// One open settings dialog.
struct SettingsSession {
    DialogOwner owner;
    std::string caption;
    std::unique_ptr<SettingsModel> model;  // once the dialog has opened
};

// One open diagnostics dialog.
struct DiagnosticsSession {
    DialogOwner owner;
};

// The settings dialog opens: the job record, the device's node and its
// options.  False after the error box, when the dialog must end.
bool OpenSettings(SettingsSession &session, void *dialogWindow);
// OK and Cancel: the values the entry then writes into the node.
void AcceptSettings(const OptionTexts &controls);
void CancelSettings(const SettingsSession &session);

// The diagnostics dialog opens: the job record and the selected device.
// False after the error box, when the dialog must end.
bool OpenDiagnostics(const DiagnosticsSession &session, void *dialogWindow);
// A press of one of the print buttons (703 to 705): a fresh job context for
// the device; the configuration label is sent for 703 only.
void PressDiagnosticsButton(const DiagnosticsSession &session, int controlId);

// "An error has occurred:" and the message, in the library's error box.
void ShowErrorBox(void *ownerWindow, const char *message);

// The exported entries.
int32_t DevConfExA(_JobInfoA *job, const _PeripheralInfoA *peripheral);
int32_t DevConfExW(_JobInfoW *job, const _PeripheralInfoW *peripheral);
int32_t DevDiagA(_JobInfoA *job, const _PeripheralInfoA *peripheral);

// The values the settings dialog keeps for the process: the heat and speed
// settings, the dialog's own two offsets, in the node's order.
OptionTexts StoredSettings();
const std::string &NarrowCaption();
void ResetDialogStateForTests();

// Messages of the error box.
constexpr const char *kNoConfigurationJob = "Error retrieving configuration job information.";
constexpr const char *kNoDiagnosticJob = "Error retrieving diagnostic job information.";
constexpr const char *kNoListItem = "Error retrieving device data from list.";
constexpr const char *kNoNode = "Error retrieving device configuration data from node.";

}  // namespace zal::dialogs
