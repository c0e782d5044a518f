// DoPeripheral: the carrier's row, the version line, copies, device and
// media checks, the carrier's label with the generic fallback, and the
// result file.
#include "api/Dispatch.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "carriers/CarrierTable.h"
#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "common/Log.h"
#include "common/Settings.h"
#include "common/Strings.h"
#include "platform/Platform.h"

namespace zal {
namespace {

constexpr const char *kLibrary = ZAL2443_MODULE_NAME;
// The tag of this printer family that ends the version line of most labels.
constexpr const char *kModelTag = " Duzed ";
// The UPS labels' version text ends in the library's own mark.
constexpr const char *kUpsVersionMark = " E2443 ";
// Without an application version, the line names this library's version.
constexpr const char *kOwnVersion = "OV v" ZAL2443_VERSION_TEXT;

void BuildVersionLine(const CarrierRow &row, LabelContext &label) {
    CopyText(label.modelTag, kModelTag);
    char *line = label.versionLine;
    line[0] = '\0';
    char version[20] = "";
    label.job.Raw("ApplicationVersion", "", version);
    if (row.route.flags & kUpsVersionLine) {
        AppendStrings(line, kVersionLineSize, {version[0] != '\0' ? version : kOwnVersion, kUpsVersionMark});
    } else if (version[0] != '\0') {
        AppendStrings(line, kVersionLineSize, {"A0460,1202,0,1,1,1,N,\"", version, label.modelTag});
    } else {
        AppendStrings(line, kVersionLineSize, {"A0550,1202,0,1,1,1,N,\"", kOwnVersion, label.modelTag});
    }
}

bool HeaderPrefixFor(const JobContext &context) {
    if (context.DeviceId == 2) return false;
    if (context.DeviceId == 0) return std::strcmp(context.DeviceDescription, "no-mem") != 0;
    return true;
}

int32_t MediaTooSmall() {
    log::LogErrorText("DoPeripheral: Media is too small. Printing cancelled.");
    return ZALERR_JOB_INVALIDMEDIA;
}

int32_t PrintGeneric(LabelContext &label) {
    const CarrierRoute &generic = GenericRoute();
    log::LogInfo(generic.logLine, kLibrary, label.device.Media.Name);
    return generic.print(label);
}

bool FallsBack(int32_t result) { return result == ZALERR_LABEL_PRINTGENERIC || result == ZALERR_JOB_UNSUPCARRIER; }

// Results after which the job counts as done: its result file ends ".OK".
bool Succeeded(int32_t result) {
    return result == ZALERR_SUCCESS || result == ZALERR_JOB_DONOTPRINT || result == ZALERR_LABEL_PRINTGENERIC;
}

// A job whose file holds no job prints nothing: a label of empty fields
// reported as printed would be worse than no label.
int32_t CheckJobFile(const JobFile &job) {
    const char *path = job.Path() != nullptr ? job.Path() : "";
    switch (job.State()) {
        case JobFileState::Ready:
            return ZALERR_SUCCESS;
        case JobFileState::Missing:
            log::LogError("DoPeripheral: The job file \"%s\" was not found. Printing cancelled.", path);
            return LABEL_FILENOTFOUND;
        case JobFileState::Unreadable: {
            char reason[1024];
            FormatErrorString(job.ReadError(), reason, sizeof reason, true, kKindWin32);
            log::LogError("DoPeripheral: The job file \"%s\" could not be read; %s Printing cancelled.", path, reason);
            return LABEL_ACCESSDENIED;
        }
        case JobFileState::TooLarge:
            log::LogError("DoPeripheral: The job file \"%s\" is larger than %u MB: it holds no job. Printing cancelled.",
                          path, static_cast<unsigned>(kMaxJobFileBytes >> 20));
            return ZALERR_JOB_BADINPUT;
        case JobFileState::NoJobSection:
            log::LogError("DoPeripheral: The job file \"%s\" has no [%s] section. Printing cancelled.", path,
                          kJobSection);
            return ZALERR_JOB_BADINPUT;
    }
    return ZALERR_JOB_BADINPUT;
}

// A host asks for at most this many copies of a label.
constexpr long long kMaxCopies = 1000;

// "NumberOfCopies" as the profile reader reads a number, without its
// overflow: a count too large for 32 bits stays too large.
long long ReadCopies(const JobFile &job) {
    char text[64] = "";
    job.Raw("NumberOfCopies", "", text);
    const char *c = text;
    while (*c != '\0' && static_cast<unsigned char>(*c) <= ' ') ++c;
    if (*c == '\0') return 1;
    bool negative = *c == '-';
    if (*c == '-' || *c == '+') ++c;
    int base = 10;
    if (c[0] == '0' && (c[1] == 'x' || c[1] == 'o' || c[1] == 'b')) {
        base = c[1] == 'x' ? 16 : c[1] == 'o' ? 8 : 2;
        c += 2;
    }
    long long value = 0;
    for (; *c != '\0'; ++c) {
        int digit = *c >= '0' && *c <= '9'   ? *c - '0'
                    : *c >= 'a' && *c <= 'z' ? *c - 'a' + 10
                    : *c >= 'A' && *c <= 'Z' ? *c - 'A' + 10
                                             : 99;
        if (digit >= base) break;
        value = value * base + digit;
        if (value > kMaxCopies) value = kMaxCopies + 1;  // more than allowed; how much more does not matter
    }
    return negative ? -value : value;
}

// One copy by its route: the checks, the information line, the label, the
// generic fallback.
int32_t PrintRoute(const CarrierRoute &route, LabelContext &label) {
    if (route.flags & kGenericLabel) return PrintGeneric(label);
    const char *media = label.device.Media.Name;
    if ((route.flags & kMediaCheckFirst) && !CheckMediaDims(&label.device)) return MediaTooSmall();
    if (route.flags & kBrdYear) {
        log::LogInfo(route.logLine, kLibrary, media, static_cast<int>(label.job.RawInt("BRDYear", kDefaultBrdYear)));
    } else {
        log::LogInfo(route.logLine, kLibrary, media);
    }
    if (route.flags & kRefused) {
        log::LogErrorText(route.refusal);
        return ZALERR_JOB_DEPRECATEDSVC;
    }
    if (route.flags & kMediaCheck) {
        if (!CheckMediaDims(&label.device)) return MediaTooSmall();
        if (route.flags & kNewLayoutLine) log::LogInfoText("DoPeripheral: Calling new 4x4 label code.");
    }
    int32_t result;
    if (route.flags & kNotBuilt) {
        log::LogInfoText("This carrier's layout is not part of this build.");
        result = ZALERR_JOB_UNSUPCARRIER;
    } else if (route.flags & kUnspecified) {
        result = ZALERR_JOB_UNSUPCARRIER;
    } else {
        result = route.print(label);
    }
    return FallsBack(result) ? PrintGeneric(label) : result;
}

int32_t PrintOneCopy(const CarrierRow &row, LabelContext &label) {
    if (const DeviceForm *form = FindDeviceForm(label.device.DeviceDescription)) {
        if (row.code != form->carrier) return ZALERR_JOB_CANCELLED;
        return PrintRoute(*form->choose(label), label);
    }
    return PrintRoute(row.choose != nullptr ? *row.choose(label) : row.route, label);
}

// The job file becomes "<name>.OK" or "<name>.ERR" beside it, or is deleted.
void FinishJobFile(_JobInfoA *job, int32_t result) {
    const char *jobFile = job->JobFile;
    if (job->ResultFileFlag == 0) {
        platform::FlushProfileCache(jobFile);
        platform::DeleteFile(jobFile);
        return;
    }
    char *name = job->ResultFileName;
    std::size_t size = job->ResultFileNameSize;
    if (name == nullptr || size == 0) {
        log::LogErrorText("DoPeripheral: The job has no result file name buffer; the job file is kept.");
        return;
    }
    std::string base(name, TextLength(name, size));
    // Cut the extension only: the dot and what follows it in the last part
    // of the path, so a name without one keeps its folder whole.
    std::size_t separator = base.find_last_of("\\/");
    std::size_t dot = base.rfind('.');
    if (dot != std::string::npos && (separator == std::string::npos || dot > separator)) base.resize(dot);
    std::string target = base + (Succeeded(result) ? ".OK" : ".ERR");
    if (target.size() + 1 > size) {
        log::LogError("DoPeripheral: The result file name \"%s\" does not fit its buffer of %u bytes; the job file is "
                      "kept.",
                      target.c_str(), static_cast<unsigned>(size));
        return;
    }
    // The host's buffer names the result file only once it exists: a job
    // file that could not be renamed is still the job file.
    if (jobFile == nullptr || EqualsNoCase(jobFile, target.c_str())) {  // already its own result file
        CopyText(name, size, target.c_str());
        return;
    }
    platform::DeleteFile(target.c_str());
    if (!platform::MoveFile(jobFile, target.c_str())) {
        char description[1024];
        DescribeLastError(description, sizeof description);
        log::LogError("DoPeripheral: Failed to rename the job file \"%s\" to \"%s\"; %s", jobFile, target.c_str(),
                      description);
        return;
    }
    CopyText(name, size, target.c_str());
}

// Hosts that want the detailed result of each job (the command-line host
// prints it) name a file in ZAL2443_RESULT_LOG; one line is appended per
// job: the result code, its symbolic name ("-" for none) and the job file,
// separated by tabs.  The file stays open from job to job, until the
// variable names another file or the library shuts down.
struct ResultChannel {
    std::string path;
    std::FILE *file = nullptr;
};
ResultChannel g_resultChannel;

void ReportJobResult(const char *jobFile, int32_t result) {
    std::string path = platform::GetEnvironment("ZAL2443_RESULT_LOG");
    ResultChannel &channel = g_resultChannel;
    if (path != channel.path) {
        CloseResultChannel();
        channel.path = path;
        if (!path.empty()) channel.file = platform::OpenFile(path.c_str(), "ab");
    }
    if (channel.file == nullptr) return;
    char name[32] = "-";
    char message[1024];
    GetErrorCodeText(result, name, message);
    std::fprintf(channel.file, "%d\t%s\t%s\n", static_cast<int>(result), name, jobFile ? jobFile : "");
    std::fflush(channel.file);  // the host reads the line before its next call
}

int32_t PrintCopies(LabelContext &label) {
    char carrier[1024] = "";
    label.job.Raw("Carrier", "", carrier);
    const CarrierRow &row = LookupCarrier(carrier);
    label.carrier = row.code;
    BuildVersionLine(row, label);
    label.headerPrefix = HeaderPrefixFor(label.device);
    long long copies = ReadCopies(label.job);
    if (copies > kMaxCopies) {
        log::LogError("DoPeripheral: More than %lld copies were asked for. Printing cancelled.", kMaxCopies);
        label.job.Refuse("Number of copies must not be more than 1000.");
        return ZALERR_JOB_BADINPUT;
    }
    int32_t result = ZALERR_LABEL_PRINTGENERIC;
    // The first copy that fails ends the job with its code.
    for (long long copy = 1; copy <= copies; ++copy) {
        result = PrintOneCopy(row, label);
        if (!Succeeded(result)) break;
    }
    return result;
}

}  // namespace

void CloseResultChannel() {
    if (g_resultChannel.file != nullptr) std::fclose(g_resultChannel.file);
    g_resultChannel = ResultChannel{};
}

bool CheckMediaDims(const JobContext *context) {
    bool pass = true;
    if (context->Media.Length < 4.25f) {
        log::LogError("CheckMediaDims: Media length of %.2f\" is too small. Requires a minimum of %.2f\" in length.",
                      context->Media.Length, 4.25);
        pass = false;
    }
    if (context->Media.Width < 4.0f) {
        log::LogError("CheckMediaDims: Media width of %.2f\" is too small. Requires a minimum of %.2f\" in width.",
                      context->Media.Width, 4.0);
        pass = false;
    }
    return pass;
}

int32_t DoPeripheral(_JobInfoA *job, LabelContext &label) {
    int32_t result = CheckJobFile(label.job);
    if (result == ZALERR_SUCCESS) result = PrintCopies(label);
    ReportJobResult(job->JobFile, result);
    FinishJobFile(job, result);
    return result;
}

}  // namespace zal
