// What zalprint settings and zalprint diag share: their common options and
// the host records that name the device to the library's dialogs.
#pragma once

#include <memory>
#include <string>

#include "Commands.h"
#include "zal2443/zal2443.h"

namespace zalprint {

struct DialogOptions {
    std::string profile;
    std::string device;
    std::string settings;
    std::string deviceDescription;  // default: the setup line's description
    std::string logFolder;
    unsigned logFlags = 0x4;
};

// Takes args[i] (and its value) when it is a common option: 1 taken, 0 not
// a common option, or an exit code (kExitUsage) after the message.
int TakeDialogOption(const Args &args, std::size_t &i, DialogOptions &o);
// Checks the common options once all are read; kExitOk or kExitUsage.
int CheckDialogOptions(DialogOptions &o);
int DialogUsage(const std::string &message);
// Whether a form can be shown: a terminal this process can open.
bool TerminalAtHand();

// The records a host hands to ZALDevConfExA and ZALDevDiagA, filled from
// the options; started up (and logging on) for the life of the object.
class DialogHost {
public:
    explicit DialogHost(const DialogOptions &o);
    ~DialogHost();
    DialogHost(const DialogHost &) = delete;
    DialogHost &operator=(const DialogHost &) = delete;
    _JobInfoA *Job() { return &_job; }
    _PeripheralInfoA *Peripheral() { return _peripheral.get(); }

private:
    std::unique_ptr<_JobProfileEntryA> _entry;
    std::unique_ptr<_PortInfoA> _port;
    std::unique_ptr<_PeripheralInfoA> _peripheral;
    std::string _tag = "DIALOG";
    _JobInfoA _job{};
};

}  // namespace zalprint
