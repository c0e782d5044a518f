// A host's records for one job, as zalprint fills them, printing to a file.
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/Format.h"
#include "support/TestSupport.h"
#include "zal2443/zal2443.h"

namespace zal::test {

struct HostJob {
    TempDir dir;
    std::string jobFile = dir.file("JOB1.JOB");
    std::string profileFile = dir.file("profile.ini");
    std::string settingsFile = dir.file("settings.ini");
    std::string outFile = dir.file("DEV.out");
    std::unique_ptr<_JobProfileEntryA> entry = std::make_unique<_JobProfileEntryA>();
    std::unique_ptr<_PortInfoA> port = std::make_unique<_PortInfoA>();
    _PeripheralInfoA peripheral{};
    std::vector<char> resultName = std::vector<char>(260, '\0');
    _JobInfoA job{};

    explicit HostJob(const std::string &jobText, const std::string &profileText =
                                                    "[PeripheralSetup]\r\nDEV=FILE,Label,,,\r\n") {
        WriteFile(jobFile, jobText);
        WriteFile(profileFile, profileText);
        // The "FILE" port writes to <FileLocation>\<device key>.out.
        WriteFile(settingsFile, "[Setup]\r\nFileLocation=" + dir.path() + Separator() + "\r\n");
        std::memset(entry.get(), 0, sizeof *entry);
        std::memset(port.get(), 0, sizeof *port);
        CopyText(port->PortName, "FILE");
        entry->PortInfo = port.get();
        entry->DeviceId = 1;
        CopyText(entry->DeviceDescription, "Label - Eltron Standard ( EPL II; 203 dpi )");
        CopyText(entry->OptionKeyPrefix, "DEV");
        CopyText(resultName.data(), resultName.size(), jobFile.c_str());
        job.JobTag = "JOB1";
        job.JobFile = jobFile.c_str();
        job.ResultFileName = resultName.data();
        job.ResultFileNameSize = static_cast<uint32_t>(resultName.size());
        job.ProfileFile = profileFile.c_str();
        job.SettingsFile = settingsFile.c_str();
        job.ProfileEntry = entry.get();
    }
    std::string Output() const { return ReadFile(outFile); }
};

}  // namespace zal::test
