// zalprint settings: the library's printer settings dialog for a device of
// a profile file, as a form on the terminal, or set from the command line.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Commands.h"
#include "DialogHost.h"
#include "Host.h"
#include "zal2443/zal2443.h"

namespace zalprint {
namespace {

struct Value {
    const char *flag;
    const char *answer;  // its name in the dialog's scripted answers
    bool offset;
    std::string text;
    bool given = false;
};

// What an offset field takes from the keyboard: at most three digits.
bool OffsetText(const std::string &text) {
    if (text.size() > 3) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

int RunSettings(const Args &args) {
    DialogOptions o;
    Value values[4] = {{"--heat", "heat", false, ""},
                       {"--speed", "speed", false, ""},
                       {"--voffset", "voffset", true, ""},
                       {"--hoffset", "hoffset", true, ""}};
    for (std::size_t i = 0; i < args.size(); ++i) {
        int taken = TakeDialogOption(args, i, o);
        if (taken == kExitUsage) return taken;
        if (taken == 1) continue;
        Value *value = nullptr;
        for (Value &v : values) {
            if (args[i] == v.flag) value = &v;
        }
        if (value == nullptr) return DialogUsage("unknown option " + args[i]);
        if (i + 1 >= args.size()) return DialogUsage(args[i] + " needs a value");
        value->text = args[++i];
        value->given = true;
        // A value the dialog's field would not take is refused here, before
        // the dialog answers Cancel and writes its start values.
        if (value->offset && !OffsetText(value->text)) {
            return DialogUsage(std::string(value->flag) + " takes at most 3 digits");
        }
        if (value->text.find(';') != std::string::npos) return DialogUsage(std::string(value->flag) + " takes no ';'");
    }
    if (int rc = CheckDialogOptions(o)) return rc;

    std::string answers;
    for (const Value &v : values) {
        if (v.given) answers += std::string(v.answer) + "=" + v.text + ";";
    }
    if (answers.empty()) {
        // The form: the user asked for it by running the command.
        if (!TerminalAtHand()) {
            return DialogUsage("no terminal for the settings form; set values with --heat, --speed, --voffset, --hoffset");
        }
        if (std::getenv("ZAL2443_PROMPT") == nullptr) SetEnvironment("ZAL2443_PROMPT", "ask");
    } else {
        SetEnvironment("ZAL2443_SETTINGS_ANSWERS", answers + "ok");
    }

    int32_t rc;
    {
        DialogHost host(o);
        rc = ZALDevConfExA(host.Job(), host.Peripheral());
    }
    // What the profile now holds for the device.
    bool stored = rc == 1;
    for (int n = 0; n < 4; ++n) {
        std::string key = o.device + "Option" + std::to_string(n + 1);
        std::string now = ReadProfileString(o.profile, "PeripheralSetup", key);
        std::printf("%s=%s\n", key.c_str(), now.c_str());
        // The dialog keeps five characters of a control.
        if (values[n].given && now != values[n].text.substr(0, 5)) stored = false;
    }
    if (!stored) std::fprintf(stderr, "zalprint: the settings were not stored (the dialog answered %d)\n", rc);
    std::fflush(stdout);
    return stored ? kExitOk : kExitFailed;
}

}  // namespace zalprint
