// The settings and diagnostics dialogs on Linux.  A host here has no window
// and no device list: the device's options are read from, and written back
// to, the job record's profile file (section "PeripheralSetup", the device's
// keys Option1 to Option4).  Who answers a dialog, first that applies:
//   1. a script, through ZAL2443_SETTINGS_ANSWERS or ZAL2443_DIAG_ANSWERS;
//   2. the user, in a form on the terminal, with ZAL2443_PROMPT=ask and a
//      terminal at hand;
//   3. nobody: the dialog answers as Cancel (or Close) does and logs why,
//      so an unattended run never waits.
#include <cstdio>
#include <optional>
#include <sstream>
#include <string>

#include "common/Format.h"
#include "common/Log.h"
#include "dialogs/DialogResources.h"
#include "dialogs/Dialogs.h"
#include "platform/Platform.h"

namespace zal::platform {
namespace {

constexpr const char *kSection = "PeripheralSetup";
constexpr uint32_t kOptionBuffer = 50;  // a node's option field

// The terminal the form talks to; closed with the form.
class Terminal {
public:
    Terminal() : _tty(std::fopen("/dev/tty", "r+")) {}
    ~Terminal() {
        if (_tty != nullptr) std::fclose(_tty);
    }
    Terminal(const Terminal &) = delete;
    Terminal &operator=(const Terminal &) = delete;
    bool Open() const { return _tty != nullptr; }
    void Say(const std::string &text) {
        std::fputs(text.c_str(), _tty);
        std::fflush(_tty);
    }
    // One answer, without its line end; nothing once the terminal is closed.
    std::optional<std::string> Ask(const std::string &prompt) {
        Say(prompt);
        char line[256];
        if (std::fgets(line, sizeof line, _tty) == nullptr) return std::nullopt;
        std::string answer = line;
        while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r')) answer.pop_back();
        return answer;
    }

private:
    std::FILE *_tty;
};

enum class Answerer { Script, Terminal, Nobody };

// Who answers the dialog; why nobody does goes into the log.
Answerer ChooseAnswerer(const char *scriptVariable, const char *routine, std::string &script) {
    script = GetEnvironment(scriptVariable);
    if (!script.empty()) return Answerer::Script;
    std::string policy = GetEnvironment("ZAL2443_PROMPT");
    if (policy.empty()) policy = kDefaultPromptPolicy;
    if (policy == "ask") {
        if (Terminal().Open()) return Answerer::Terminal;
        log::LogWarning("%s: No terminal to show the dialog on; answered as Cancel.", routine);
    } else {
        log::LogWarning("%s: ZAL2443_PROMPT is \"%s\", not \"ask\", and %s gives no answers; answered as Cancel.",
                        routine, policy.c_str(), scriptVariable);
    }
    return Answerer::Nobody;
}

std::vector<std::string> Split(const std::string &text, char separator) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, separator)) {
        if (!part.empty()) parts.push_back(part);
    }
    return parts;
}

// ZAL2443_SETTINGS_ANSWERS: "heat=12;speed=3.5;voffset=5;hoffset=20", any
// of them, and "cancel" to press Cancel instead of OK.  An offset is taken
// only as its field would take it from the keyboard.  True for OK.
bool ApplyScript(const std::string &script, dialogs::OptionTexts &controls) {
    static const char *const kNames[4] = {"heat", "speed", "voffset", "hoffset"};
    bool ok = true;
    for (const std::string &answer : Split(script, ';')) {
        if (answer == "cancel" || answer == "ok") {
            ok = answer == "ok";
            continue;
        }
        std::size_t eq = answer.find('=');
        std::string name = answer.substr(0, eq);
        std::string value = eq == std::string::npos ? std::string() : answer.substr(eq + 1);
        int option = -1;
        for (int i = 0; i < 4; ++i) {
            if (name == kNames[i]) option = i;
        }
        if (eq == std::string::npos || option < 0) {
            log::LogError("SettingsDialogProc: Answer \"%s\" names no control; answered as Cancel.", answer.c_str());
            return false;
        }
        if (option >= dialogs::kVerticalOffset && !dialogs::OffsetFieldAccepts(value)) {
            log::LogError("SettingsDialogProc: The offset fields take at most %zu digits, not \"%s\"; answered as Cancel.",
                          dialogs::kOffsetFieldLength, value.c_str());
            return false;
        }
        controls[option] = value;
    }
    return ok;
}

std::string ListLine(const std::vector<std::string> &items) {
    std::string line;
    for (const std::string &item : items) line += (line.empty() ? "" : "  ") + item;
    return line;
}

// The form: the four controls top to bottom, each showing its current text
// (Enter keeps it), then OK or Cancel.  True for OK.
bool RunSettingsForm(Terminal &tty, const dialogs::SettingsModel &model, const std::string &device,
                     dialogs::OptionTexts &controls) {
    tty.Say("\n== " + model.Caption() + " ==\n" + device + "\n");
    struct Row {
        dialogs::Option option;
        const char *label;
        const std::vector<std::string> *items;
    };
    const Row rows[] = {{dialogs::kSpeed, TEXT_SPEED_LABEL, &model.SpeedItems()},
                        {dialogs::kHeat, TEXT_HEAT_LABEL, &model.HeatItems()},
                        {dialogs::kVerticalOffset, TEXT_VOFFSET_LABEL, nullptr},
                        {dialogs::kHorizontalOffset, TEXT_HOFFSET_LABEL, nullptr}};
    for (const Row &row : rows) {
        if (row.items != nullptr) tty.Say(std::string(row.label) + " " + ListLine(*row.items) + "\n");
        for (;;) {
            std::string prompt = row.items != nullptr ? "  [" : std::string(row.label) + " [";
            std::optional<std::string> answer = tty.Ask(prompt + controls[row.option] + "] ");
            if (!answer) return false;
            if (answer->empty()) break;
            if (row.items == nullptr && !dialogs::OffsetFieldAccepts(*answer)) {
                tty.Say(FormatString("  at most %zu digits\n", dialogs::kOffsetFieldLength));
                continue;
            }
            controls[row.option] = *answer;
            break;
        }
    }
    std::optional<std::string> answer = tty.Ask("OK or Cancel? [OK] ");
    return answer && (answer->empty() || (*answer)[0] == 'o' || (*answer)[0] == 'O');
}

// The buttons of the diagnostics dialog, as a script names them and as the
// form numbers them.
struct DiagButton {
    const char *name;
    int id;
    const char *text;
};
// clang-format off
const DiagButton kDiagButtons[] = {
    {"config",  IDC_DIAG_CONFIG,  TEXT_DIAG_CONFIG},
    {"network", IDC_DIAG_NETWORK, TEXT_DIAG_NETWORK},
    {"status",  IDC_DIAG_STATUS,  TEXT_DIAG_STATUS},
};
// clang-format on

// ZAL2443_DIAG_ANSWERS: the buttons pressed, in order ("config,config,status"),
// then Close.  A name of no button presses nothing at all.
void RunDiagnosticsScript(const dialogs::DiagnosticsSession &session, const std::string &script) {
    std::vector<int> presses;
    for (const std::string &name : Split(script, ',')) {
        int id = 0;
        for (const DiagButton &button : kDiagButtons) {
            if (name == button.name) id = button.id;
        }
        if (id == 0) {
            log::LogError("DiagnosticsDialogProc: Answer \"%s\" names no button; closed without a press.", name.c_str());
            return;
        }
        presses.push_back(id);
    }
    for (int id : presses) dialogs::PressDiagnosticsButton(session, id);
}

void RunDiagnosticsForm(Terminal &tty, const dialogs::DiagnosticsSession &session) {
    std::string menu = "\n== " TEXT_DIAG_TITLE " ==\n";
    for (std::size_t i = 0; i < std::size(kDiagButtons); ++i) {
        menu += FormatString("  %zu  %s\n", i + 1, kDiagButtons[i].text);
    }
    menu += "  0  " TEXT_DIAG_CLOSE "\n" TEXT_DIAG_NOTE "\n";
    tty.Say(menu);
    for (;;) {
        std::optional<std::string> answer = tty.Ask("Button [0] ");
        if (!answer || answer->empty() || *answer == "0") return;
        std::size_t n = 0;
        if (answer->size() == 1 && (*answer)[0] >= '1' && (*answer)[0] <= '9') {
            n = static_cast<std::size_t>((*answer)[0] - '0');
        }
        if (n > std::size(kDiagButtons)) n = 0;
        if (n == 0) {
            tty.Say(FormatString("  1 to %zu, or 0 to close\n", std::size(kDiagButtons)));
            continue;
        }
        dialogs::PressDiagnosticsButton(session, kDiagButtons[n - 1].id);
    }
}

std::string OptionKey(const _JobProfileEntryA &entry, std::size_t n) {
    char key[32];
    Format(key, sizeof key, "%.*sOption%zu", static_cast<int>(TextLength(entry.OptionKeyPrefix, 32)),
           entry.OptionKeyPrefix, n + 1);
    return key;
}

// The wide job record carries only a window: it names no device.
DeviceNode LookUp(const dialogs::DialogOwner &owner) {
    if (owner.wide || owner.job == nullptr || owner.job->ProfileEntry == nullptr) return DeviceNode::NoListItem;
    if (owner.job->ProfileFile == nullptr) return DeviceNode::NoNode;
    return DeviceNode::Found;
}

std::string DeviceLine(const dialogs::DialogOwner &owner) {
    const _JobProfileEntryA &entry = *owner.job->ProfileEntry;
    return FormatString("device %.*s, profile %s", static_cast<int>(TextLength(entry.OptionKeyPrefix, 32)),
                        entry.OptionKeyPrefix, owner.job->ProfileFile);
}

}  // namespace

void SetMessageBoxOwner(void *) {}

int RunSettingsDialog(dialogs::SettingsSession &session) {
    if (!dialogs::OpenSettings(session, nullptr)) return 0;
    dialogs::OptionTexts controls = session.model->StartValues();
    std::string script;
    bool ok = false;
    switch (ChooseAnswerer("ZAL2443_SETTINGS_ANSWERS", "SettingsDialogProc", script)) {
    case Answerer::Script:
        ok = ApplyScript(script, controls);
        break;
    case Answerer::Terminal: {
        Terminal tty;
        ok = RunSettingsForm(tty, *session.model, DeviceLine(session.owner), controls);
        break;
    }
    case Answerer::Nobody:
        break;
    }
    if (!ok) {
        dialogs::CancelSettings(session);
        return 0;
    }
    dialogs::AcceptSettings(controls);
    return 1;
}

int RunDiagnosticsDialog(dialogs::DiagnosticsSession &session) {
    if (!dialogs::OpenDiagnostics(session, nullptr)) return 0;
    std::string script;
    switch (ChooseAnswerer("ZAL2443_DIAG_ANSWERS", "DiagnosticsDialogProc", script)) {
    case Answerer::Script:
        RunDiagnosticsScript(session, script);
        break;
    case Answerer::Terminal: {
        Terminal tty;
        RunDiagnosticsForm(tty, session);
        break;
    }
    case Answerer::Nobody:
        break;
    }
    return 0;
}

DeviceNode ReadDeviceOptions(const dialogs::DialogOwner &owner, DeviceOptions *options) {
    DeviceNode lookup = LookUp(owner);
    if (lookup != DeviceNode::Found || options == nullptr) return lookup;
    for (std::size_t n = 0; n < options->size(); ++n) {
        char value[kOptionBuffer] = {};
        GetPrivateProfileString(kSection, OptionKey(*owner.job->ProfileEntry, n).c_str(), "", value, sizeof value,
                                owner.job->ProfileFile);
        (*options)[n] = value;
    }
    return lookup;
}

DeviceNode WriteDeviceOptions(const dialogs::DialogOwner &owner, const DeviceOptions &options) {
    DeviceNode lookup = LookUp(owner);
    if (lookup != DeviceNode::Found) return lookup;
    for (std::size_t n = 0; n < options.size(); ++n) {
        std::string key = OptionKey(*owner.job->ProfileEntry, n);
        std::string value = options[n].substr(0, kOptionBuffer - 1);
        if (!WritePrivateProfileString(kSection, key.c_str(), value.c_str(), owner.job->ProfileFile)) {
            log::LogError("WriteDeviceOptions: Could not write %s=\"%s\" into \"%s\" (error %u).", key.c_str(),
                          value.c_str(), owner.job->ProfileFile, GetLastError());
            return DeviceNode::NoNode;
        }
    }
    return lookup;
}

// The string table of the Windows library, for the texts Linux asks for.
std::string LoadResourceText(uint32_t id) { return id == IDS_SETTINGS_CAPTION ? TEXT_SETTINGS_CAPTION : ""; }

}  // namespace zal::platform
