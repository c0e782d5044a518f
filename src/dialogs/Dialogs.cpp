#include "dialogs/Dialogs.h"

#include <cstring>

#include "api/Library.h"
#include "common/Format.h"
#include "common/JobFile.h"
#include "common/Log.h"
#include "common/PrinterOptions.h"
#include "common/Seams.h"
#include "device/DeviceOutput.h"
#include "dialogs/DialogResources.h"
#include "job/LabelContext.h"
#include "platform/Platform.h"

namespace zal {

int32_t PrintDiagnosticLabel(LabelContext &label);  // layouts/DiagnosticLabel.cpp

namespace dialogs {
namespace {

constexpr const char *kErrorBoxCaption = "Quorra Peripheral Engine";

// Chosen by the first narrow call that finds one, then kept for the process.
std::string g_narrowCaption;
// The dialog's own offsets; the job offsets of the printer options are others.
char g_verticalOffset[kSettingLength + 1];
char g_horizontalOffset[kSettingLength + 1];

void StoreSettings(const OptionTexts &values) {
    PrinterOptions &options = CurrentPrinterOptions();
    CopyText(options.heat, values[kHeat].c_str());
    CopyText(options.speed, values[kSpeed].c_str());
    CopyText(g_verticalOffset, values[kVerticalOffset].c_str());
    CopyText(g_horizontalOffset, values[kHorizontalOffset].c_str());
}

const char *MessageFor(platform::DeviceNode lookup) {
    return lookup == platform::DeviceNode::NoListItem ? kNoListItem : kNoNode;
}

void ReportError(const char *routine, void *window, const char *message) {
    log::LogError("%s: %s", routine, message);
    ShowErrorBox(window, message);
}

// A host text field that need not be terminated.
template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
    return std::string(field, TextLength(field, N));
}

std::u16string FieldText(const zal_wchar *field, std::size_t size) {
    std::size_t n = 0;
    while (n < size && field[n] != 0) ++n;
    return std::u16string(field, n);
}

std::string SettingsCaptionString() { return platform::LoadResourceText(IDS_SETTINGS_CAPTION); }

// After the dialog: the values it kept go into the selected device's node.
// A dialog that never opened kept nothing of this device: the node is left
// as it is rather than given another device's or another job's values.
int32_t WriteBack(const SettingsSession &session, const char *routine) {
    if (!session.model) {
        log::LogError("%s: The settings dialog did not open; the device's options are left unchanged.", routine);
        return 0;
    }
    platform::DeviceNode lookup = platform::WriteDeviceOptions(session.owner, StoredSettings());
    if (lookup != platform::DeviceNode::Found) {
        ReportError(routine, session.owner.Window(), MessageFor(lookup));
        return 0;
    }
    return 1;
}

int32_t RunSettings(SettingsSession &session, const char *routine) {
    log::LogInfo("Displaying \"%s\" dialog...", session.caption.c_str());
    platform::RunSettingsDialog(session);  // OK or Cancel, both end in the node
    return WriteBack(session, routine);
}

// The job tag labels the log lines while the diagnostics dialog is open.
struct JobTagScope {
    explicit JobTagScope(const _JobInfoA &job) {
        char tag[9];
        CopyText(tag, job.JobTag != nullptr ? job.JobTag : " ");
        log::SetJobTag(tag);
    }
    ~JobTagScope() { log::SetJobTag(" "); }
    JobTagScope(const JobTagScope &) = delete;
    JobTagScope &operator=(const JobTagScope &) = delete;
};

}  // namespace

void *DialogOwner::Window() const {
    if (wide) return wideJob != nullptr ? wideJob->ParentWindow : nullptr;
    return job != nullptr ? job->ParentWindow : nullptr;
}

bool OpenSettings(SettingsSession &session, void *dialogWindow) {
    if (!session.owner.HasJob()) {
        ReportError("SettingsDialogProc", dialogWindow, kNoConfigurationJob);
        return false;
    }
    OptionTexts node;
    platform::DeviceNode lookup = platform::ReadDeviceOptions(session.owner, &node);
    if (lookup != platform::DeviceNode::Found) {
        ReportError("SettingsDialogProc", dialogWindow, MessageFor(lookup));
        return false;
    }
    session.model = std::make_unique<SettingsModel>(session.caption, node);
    return true;
}

void AcceptSettings(const OptionTexts &controls) { StoreSettings(SettingsModel::Accept(controls)); }

void CancelSettings(const SettingsSession &session) {
    if (session.model) StoreSettings(session.model->Cancel());
}

OptionTexts StoredSettings() {
    const PrinterOptions &options = CurrentPrinterOptions();
    return {options.heat, options.speed, g_verticalOffset, g_horizontalOffset};
}

const std::string &NarrowCaption() { return g_narrowCaption; }

void ResetDialogStateForTests() {
    g_narrowCaption.clear();
    g_verticalOffset[0] = '\0';
    g_horizontalOffset[0] = '\0';
}

bool OpenDiagnostics(const DiagnosticsSession &session, void *dialogWindow) {
    if (!session.owner.HasJob()) {
        ReportError("DiagnosticsDialogProc", dialogWindow, kNoDiagnosticJob);
        return false;
    }
    // Only the list item is needed here: the press reads the device afresh.
    if (platform::ReadDeviceOptions(session.owner, nullptr) == platform::DeviceNode::NoListItem) {
        ReportError("DiagnosticsDialogProc", dialogWindow, kNoListItem);
        return false;
    }
    return true;
}

void PressDiagnosticsButton(const DiagnosticsSession &session, int controlId) {
    const _JobInfoA &job = *session.owner.job;
    const _JobProfileEntryA *entry = job.ProfileEntry;
    if (entry == nullptr) {
        // Nothing names the device: there is no port to prepare.
        log::LogErrorText("DiagnosticsDialogProc: Job profile entry data is invalid.");
        return;
    }
    // Each press starts from a fresh context, so a device the host has
    // reconfigured since the last press is seen.
    JobContext context;
    std::memset(&context, 0, sizeof context);
    context.BusyTimeout = 10000;
    context.Media.DocutabLength = 0.75f;
    JobFile jobFile(job.JobFile);
    ConfigureDevice(&job, jobFile, &context);
    if (entry->Media.Id == 0) {
        context.Media = api::kMediaTypes[0];
        log::LogInfo("Job is missing media type, setting to library default type of '%s'", context.Media.Name);
    }
    if (entry->Orientation.Id == 0) {
        context.Orientation = api::kOrientations[0];
        log::LogInfo("Job is missing orientation, setting to library default type of '%s'", context.Orientation.Name);
    }
    // The network and status labels are not defined: those buttons only
    // prepare the device.
    if (controlId == IDC_DIAG_CONFIG) {
        LabelContext label(jobFile, context);
        PrintDiagnosticLabel(label);
    }
}

void ShowErrorBox(void *ownerWindow, const char *message) {
    std::string text = FormatString("%s\n\n%s", "An error has occurred:", message);
    platform::SetMessageBoxOwner(ownerWindow);
    seams::MessageBox(text.c_str(), kErrorBoxCaption,
                      platform::kBoxIconStop | platform::kBoxSetForeground | platform::kBoxTopmost);
    platform::SetMessageBoxOwner(nullptr);
}

int32_t DevConfExA(_JobInfoA *job, const _PeripheralInfoA *peripheral) {
    if (job == nullptr && peripheral == nullptr) return 1;
    if (job == nullptr) {
        // No window to own the dialog and no device list to read: the
        // dialog's own refusal, without the dialog.
        ReportError("ZALDevConfExA", nullptr, kNoConfigurationJob);
        return 0;
    }
    if (g_narrowCaption.empty() && peripheral != nullptr) g_narrowCaption = ModelCaption(FieldText(peripheral->DeviceName));
    if (g_narrowCaption.empty() && job->ProfileEntry != nullptr) {
        g_narrowCaption = ModelCaption(FieldText(job->ProfileEntry->DeviceDescription));
    }
    if (g_narrowCaption.empty()) g_narrowCaption = SettingsCaptionString();
    SettingsSession session;
    session.owner.job = job;
    session.caption = g_narrowCaption.substr(0, kCaptionLength);
    return RunSettings(session, "ZALDevConfExA");
}

int32_t DevConfExW(_JobInfoW *job, const _PeripheralInfoW *peripheral) {
    if (job == nullptr && peripheral == nullptr) return 1;
    if (job == nullptr) {
        ReportError("ZALDevConfExW", nullptr, kNoConfigurationJob);
        return 0;
    }
    // The wide entry chooses its caption on every call.
    std::string caption;
    if (peripheral != nullptr) caption = WideModelCaption(FieldText(peripheral->DeviceName, sizeof peripheral->DeviceName / sizeof(zal_wchar)));
    if (caption.empty()) caption = SettingsCaptionString();
    SettingsSession session;
    session.owner.wideJob = job;
    session.owner.wide = true;
    session.caption = caption.substr(0, kCaptionLength);
    return RunSettings(session, "ZALDevConfExW");
}

int32_t DevDiagA(_JobInfoA *job, const _PeripheralInfoA *peripheral) {
    if (job == nullptr && peripheral == nullptr) return 1;
    if (job == nullptr) {
        ReportError("ZALDevDiagA", nullptr, kNoDiagnosticJob);
        return 1;
    }
    JobTagScope tag(*job);
    log::LogInfo("Displaying diagnostics dialog...");
    DiagnosticsSession session;
    session.owner.job = job;
    platform::RunDiagnosticsDialog(session);
    return 1;
}

}  // namespace dialogs
}  // namespace zal
