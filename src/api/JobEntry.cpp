// ZALProcessJobA: validation, printer options, job context, dispatch.
#include <cstring>

#include "api/Dispatch.h"
#include "api/Library.h"
#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "common/JobFile.h"
#include "common/Log.h"
#include "common/Modules.h"
#include "common/PrinterOptions.h"
#include "common/Strings.h"
#include "device/DeviceOutput.h"
#include "job/LabelContext.h"
#include "platform/Platform.h"

namespace zal::api {
namespace {

constexpr uint32_t kOptionLine = log::kJob;  // flags 4096: the job-options category

struct SpeedRule {
    const char *contains;
    bool withoutDot;
    const char *code;
};

// Inches per second to the printer's speed code, first rule that applies,
// tested by substring: "10" gives "0", "1.50" gives "1", "4.5" matches none.
// clang-format off
const SpeedRule kSpeedRules[] = {
    {"1",   true,  "0"},
    {"1.5", false, "1"},
    {"2",   true,  "2"},
    {"2.5", false, "3"},
    {"3",   true,  "3"},
    {"3.5", false, "4"},
    {"4",   true,  "4"},
    {"5",   true,  "5"},
    {"6",   true,  "6"},
};

const char *const kOptionTargets[4] = {"sTempHeat", "sTempSpeed", "sTempVerOffset", "sTempHorOffset"};
// clang-format on

const char *TranslateSpeed(const char *value) {
    bool hasDot = std::strchr(value, '.') != nullptr;
    for (const SpeedRule &rule : kSpeedRules) {
        if (Contains(value, rule.contains) && !(rule.withoutDot && hasDot)) return rule.code;
    }
    return nullptr;
}

// Option texts are cut to 5 characters: the printer fields hold 5.
void SetOption(char (&setting)[6], const char *value) { CopyText(setting, value); }

// The options become the library's settings, kept for the next job (a speed
// that matches no rule keeps the last one), and this job's copy.
PrinterOptions ReadOptions(const _JobInfoA *job) {
    const _JobProfileEntryA *entry = job->ProfileEntry;
    char values[4][50];
    for (int n = 0; n < 4; ++n) {
        char key[32];
        Format(key, sizeof key, "%.*sOption%d", static_cast<int>(TextLength(entry->OptionKeyPrefix, 32)),
               entry->OptionKeyPrefix, n + 1);
        platform::GetPrivateProfileString("PeripheralSetup", key, "", values[n], sizeof values[n], job->ProfileFile);
        log::LogMessage(log::kDebug, "ZALProcessJobA: Init: %s=\"%s\" -> %s", key, values[n], kOptionTargets[n]);
    }
    PrinterOptions &options = CurrentPrinterOptions();
    if (values[0][0] != '\0') {
        SetOption(options.heat, values[0]);
        log::LogMessage(kOptionLine, "ZALProcessJobA: Init: sHeat=\"%s\"", options.heat);
    } else {
        SetOption(options.heat, "7");
        log::LogMessage(kOptionLine, "ZALProcessJobA: Init: sHeat=\"%s\" (Default)", options.heat);
    }
    if (values[1][0] == '\0') {
        SetOption(options.speed, "4");
        log::LogMessage(kOptionLine, "ZALProcessJobA: Init: LabelSpeed=\"%s\" (Default)", options.speed);
    } else {
        // A speed that matches no rule keeps the previous job's code.
        if (const char *code = TranslateSpeed(values[1])) SetOption(options.speed, code);
        log::LogMessage(kOptionLine, "ZALProcessJobA: Init: sSpeed=\"%s\"", options.speed);
    }
    if (values[3][0] != '\0') {
        SetOption(options.horizontalOffset, values[3]);
        log::LogMessage(kOptionLine, "ZALProcessJobA: Init: HorOffset=\"%s\"", options.horizontalOffset);
    } else {
        SetOption(options.horizontalOffset, "0");
        log::LogMessage(kOptionLine, "ZALProcessJobA: Init: HorOffset=\"%s\" (Default)", options.horizontalOffset);
    }
    if (values[2][0] != '\0') {
        SetOption(options.verticalOffset, values[2]);
        log::LogMessage(kOptionLine, "ZALProcessJobA: Init: VerOffset=\"%s\"", options.verticalOffset);
    } else {
        SetOption(options.verticalOffset, "0");
        log::LogMessage(kOptionLine, "ZALProcessJobA: Init: VerOffset=\"%s\" (Default)", options.verticalOffset);
    }
    return options;
}

void SettleMediaAndOrientation(const _JobProfileEntryA *entry, JobContext &context) {
    if (entry->Media.Id == 0) {
        context.Media = kMediaTypes[0];
        log::LogInfo("Job is missing media type, setting to library default type of '%s'", context.Media.Name);
    } else {
        log::LogMessage(kOptionLine, "Job is using media type %u '%s'", entry->Media.Id, entry->Media.Name);
        context.Media = entry->Media;
    }
    if (entry->Orientation.Id == 0) {
        context.Orientation = kOrientations[0];
        log::LogInfo("Job is missing orientation, setting to library default type of '%s'", context.Orientation.Name);
    } else {
        log::LogMessage(kOptionLine, "Job is using print orientation definition %u '%s'", entry->Orientation.Id,
                        entry->Orientation.Name);
        context.Orientation = entry->Orientation;
    }
}

HostJobValues HostValuesOf(const _JobInfoA &job) {
    HostJobValues values;
    if (job.ArchiveFolder != nullptr) values.archiveFolder = job.ArchiveFolder;
    const char *prefix = job.ProfileEntry->OptionKeyPrefix;
    values.optionKeyPrefix.assign(prefix, TextLength(prefix, sizeof job.ProfileEntry->OptionKeyPrefix));
    if (job.JobTag != nullptr) values.jobTag.assign(job.JobTag, TextLength(job.JobTag, 8));
    return values;
}

// Copies of the labels go into the folder ZALSetDebugA named, which may
// come without its trailing separator, when its flags carry the job bit.
LabelCopies LabelCopiesFor(const _LoggingConfigA &config) {
    LabelCopies copies;
    copies.save = (config.Flags & log::kJob) != 0;
    copies.folder.assign(config.LogFolder, TextLength(config.LogFolder, sizeof config.LogFolder));
    if (!copies.folder.empty() && copies.folder.back() != '\\' && copies.folder.back() != '/') copies.folder += '\\';
    return copies;
}

struct PinnedFiles {
    explicit PinnedFiles(const _JobInfoA *job) : profile(job->ProfileFile), settings(job->SettingsFile) {
        platform::PinProfileFile(profile);
        platform::PinProfileFile(settings);
    }
    ~PinnedFiles() {
        platform::UnpinProfileFile(settings);
        platform::UnpinProfileFile(profile);
    }
    PinnedFiles(const PinnedFiles &) = delete;
    PinnedFiles &operator=(const PinnedFiles &) = delete;
    const char *profile;
    const char *settings;
};

}  // namespace

int32_t ProcessJobA(_JobInfoA *job, _PeripheralInfoA *peripheral) {
    if (job == nullptr) {
        log::LogErrorText("ZALProcessJobA: Job data is invalid.");
        return ZALERR_JOB_BADINPUT;
    }
    if (job->ProfileEntry == nullptr) {
        log::LogErrorText("ZALProcessJobA: Job profile entry data is invalid.");
        return ZALERR_JOB_BADINPUT;
    }
    if (peripheral == nullptr) {
        log::LogErrorText("ZALProcessJobA: Device port data is invalid.");
        return ZALERR_PRINTER_BADDEVICEDATA;
    }
    try {
        char tag[9];
        CopyText(tag, job->JobTag != nullptr ? job->JobTag : " ");
        log::SetJobTag(tag);
        log::LogInfo("ZALProcessJobA: Init: Reading options from file \"%s\".", job->ProfileFile ? job->ProfileFile : "");
        // The profile and settings files are read several times per job and
        // not written: parse each once for the whole job.
        PinnedFiles pinned(job);
        JobFile jobFile(job->JobFile);
        JobContext context;
        std::memset(&context, 0, sizeof context);
        LabelContext label(jobFile, context);
        label.options = ReadOptions(job);
        ConfigureDevice(job, jobFile, &context);
        SettleMediaAndOrientation(job->ProfileEntry, context);
        label.host = HostValuesOf(*job);
        label.copies = LabelCopiesFor(CurrentLoggingConfig());
        int32_t result = DoPeripheral(job, label);
        log::SetJobTag(" ");
        return result == ZALERR_SUCCESS ? 0 : 1;
    } catch (const std::exception &e) {
        ReportUnhandledCppException(e, kLibraryModule, "ZALProcessJobA");
    } catch (...) {
        log::LogError("An unhandled exception has been raised: (Exception in %s at %s) %s.", kLibraryModule,
                      "ZALProcessJobA", "[unknown] An exception of unknown type was thrown");
    }
    return ZALERR_JOB_UNHANDLED;
}

}  // namespace zal::api
