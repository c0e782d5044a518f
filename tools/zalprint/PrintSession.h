// What print and watch share: the options that describe the device, and a
// session of the library (one start-up, the host's records, the result of
// each job) that jobs are printed in one after another.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "zal2443/zal2443.h"

namespace zalprint {

struct PrintOptions {
    std::string profile;
    std::string device;
    std::string settings;
    int deviceId = 1;
    std::string deviceDescription;
    int mediaId = 1230;
    bool customMedia = false;
    float mediaWidth = 0, mediaLength = 0;
    bool docutab = false;
    int orientationId = 1;
    std::string logFolder;
    unsigned logFlags = 0x4;
};

// "zalprint: MESSAGE (try zalprint --help)" on stderr; the usage exit code.
int Usage(const std::string &message);

// Takes args[i] (and its value, moving i past it) when it is an option of
// the device, the media, the orientation or the logs.  False when it is no
// such option; true with rc set to the usage exit code when its value is bad.
bool TakeSessionOption(const Args &args, std::size_t &i, PrintOptions &o, int &rc);
// Checks the options once all are read: the profile and the device are
// given, the files exist; paths are made full and the log folder is made.
// 0, or the exit code.
int CheckSessionOptions(PrintOptions &o);

// A job with a result file: it is named .OK after these results (printed,
// not to be printed, printed as the generic label), .ERR after any other.
bool NamedOk(long code);
// The job file's name with the result file's extension in place of its own.
std::string ResultFileOf(const std::string &jobFile, long code);

// The library's own tables, asked through the exports.
struct Tables {
    std::vector<LabelDeviceDescription> devices;
    std::vector<MediaType> media;
    std::vector<PrintOrientationDefinition> orientations;
};

class PrintSession {
public:
    PrintSession() = default;
    ~PrintSession();
    PrintSession(const PrintSession &) = delete;
    PrintSession &operator=(const PrintSession &) = delete;

    // Starts the library in the work folder (a private folder, with its
    // trailing separator): the logs, the tables, the host's records, the
    // settings file.  capture: every label goes to the device's "FILE" port
    // in the work folder (Produced()), whatever port its setup line names.
    // 0, or the exit code (the library is shut down again).
    int Start(const PrintOptions &o, const std::string &work, bool capture);
    // The job through ZALProcessJobA: its return value, and in resultName
    // what the library left in the result name buffer (the result file once
    // it exists).  tag marks the job's log lines.
    int32_t Process(const std::string &jobFile, const std::string &tag, const std::string &archiveFolder,
                    bool resultFiles, std::string &resultName);
    // The detailed result the library gave the job file: code and name;
    // false when it wrote none (a job that ended before its line), and the
    // next line is left for the job it belongs to.
    bool Result(const std::string &jobFile, long &code, std::string &name);
    // Shuts the library down and closes the results; Start may follow.
    void Shutdown();

    const Tables &LibraryTables() const { return _tables; }
    // The file the "FILE" port writes when capturing.
    std::string Produced() const { return _work + _device + ".out"; }

private:
    bool _started = false;
    std::string _work, _device, _settings, _profile, _resultsPath;
    std::ifstream _results;
    std::string _line;  // a result line read, not yet taken
    Tables _tables;
    std::unique_ptr<_JobProfileEntryA> _entry;
    std::unique_ptr<_PortInfoA> _port;
    std::unique_ptr<_PeripheralInfoA> _peripheral;
};

}  // namespace zalprint
