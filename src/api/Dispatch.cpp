// DoPeripheral: carrier lookup, version line, copies, device and media
// checks, the carrier's layout with the generic fallback, and the result
// file.
#include "api/Dispatch.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "common/ErrorCodes.h"
#include "common/Format.h"
#include "common/JobState.h"
#include "common/Log.h"
#include "common/Strings.h"
#include "layouts/Layouts.h"
#include "platform/Platform.h"

namespace zal {
namespace {

struct CarrierName {
    const char *value;
    CarrierCode code;
};

// clang-format off
const CarrierName kCarriers[] = {
    {"CN22", CARRIER_CN22},           {"DHL", CARRIER_DHL},         {"ECON", CARRIER_ECON},
    {"FDX", CARRIER_FDX},             {"FDXINT", CARRIER_FDXINT},   {"LONESTAR", CARRIER_LONESTAR},
    {"ONTRAC", CARRIER_ONTRAC},       {"POS", CARRIER_POS},         {"RPS", CARRIER_RPS},
    {"RTX", CARRIER_RTX},             {"SMARTPOST", CARRIER_SMARTPOST}, {"SUREPOST", CARRIER_SUREPOST},
    {"UPS", CARRIER_UPS},             {"UPSINT", CARRIER_UPSINT},   {"UPS PICKUP", CARRIER_UPS_PLD},
    {"UPSPR", CARRIER_UPSPR},         {"UPSFLEX", CARRIER_UPSFLEX}, {"UPSMI", CARRIER_UPS_MI},
    {"UPSMIR", CARRIER_UPS_MIR},      {"UPSAP", CARRIER_UPS_AP},    {"UPSBARCODE", CARRIER_UPSBARCODE},
    {"FXR", CARRIER_FXR},             {"RECEIPT", CARRIER_RECEIPT}, {"DEPTSTORE", CARRIER_DEPTSTORE},
    {"PCD", CARRIER_PCD},             {"RRDL", CARRIER_RRDL},       {"DIAG", CARRIER_DIAG},
    {"FONTS", CARRIER_FONTS},         {"GEN", CARRIER_GEN},         {"CUSTOM", CARRIER_CUSTOM},
};

enum RouteFlags : unsigned {
    kNone = 0,
    kBrdYear = 1,      // the log line carries "BRD:%d"
    kMediaCheck = 2,   // CheckMediaDims before the call
    kNewLayout = 4,    // "Calling new 4x4 label code." after a passed check
};

struct Route {
    CarrierCode code;
    const char *logLine;
    unsigned flags;
    LayoutA formA;
    LayoutB formB;
};

const Route kRoutes[] = {
    {CARRIER_DHL,       "%s: CARRIER_DHL (%s)",       kNone, PrintUnspecifiedLabelA, nullptr},
    {CARRIER_FDX,       "%s: CARRIER_FDX (%s)",       kNone, PrintNotBuiltLabelA, nullptr},
    {CARRIER_FDXINT,    "%s: CARRIER_FDXINT (%s)",    kNone, PrintNotBuiltLabelA, nullptr},
    {CARRIER_FXR,       "%s: CARRIER_FXR (%s)",       kNone, PrintUnspecifiedLabelA, nullptr},
    {CARRIER_LONESTAR,  "%s: CARRIER_LONESTAR (%s)",  kNone, PrintUnspecifiedLabelA, nullptr},
    {CARRIER_ONTRAC,    "%s: CARRIER_ONTRAC (%s)",    kNone, PrintUnspecifiedLabelA, nullptr},
    {CARRIER_PCD,       "%s: CARRIER_PCD (%s)",       kNone, PrintUnspecifiedLabelA, nullptr},
    {CARRIER_POS,       "%s: CARRIER_POS (%s)",       kNone, PrintNotBuiltLabelA, nullptr},
    {CARRIER_RPS,       "%s: CARRIER_RPS (%s)",       kNone, PrintUnspecifiedLabelA, nullptr},
    {CARRIER_RTX,       "%s: CARRIER_RTX (%s)",       kNone, PrintUnspecifiedLabelA, nullptr},
    {CARRIER_SMARTPOST, "%s: CARRIER_SMARTPOST (%s)", kNone, PrintNotBuiltLabelA, nullptr},
    {CARRIER_SUREPOST,  "%s: CARRIER_SUREPOST (%s)",  kNone, nullptr, PrintNotBuiltLabelB},
    {CARRIER_UPS,       "%s: CARRIER_UPS (%s) BRD:%d",     kBrdYear | kMediaCheck | kNewLayout, nullptr, PrintUpsDomesticLabel},
    {CARRIER_UPSINT,    "%s: CARRIER_UPSINT (%s) BRD:%d",  kBrdYear | kMediaCheck | kNewLayout, nullptr, PrintNotBuiltLabelB},
    {CARRIER_UPS_PLD,   "%s: CARRIER_UPS_PLD (%s) BRD:%d", kBrdYear | kMediaCheck | kNewLayout, nullptr, PrintNotBuiltLabelB},
    {CARRIER_UPSPR,     "%s: CARRIER_UPSPR (%s) BRD:%d",   kBrdYear | kMediaCheck | kNewLayout, nullptr, PrintNotBuiltLabelB},
    {CARRIER_UPS_MIR,   "%s: CARRIER_UPS_MIR (%s)",   kNone, nullptr, PrintNotBuiltLabelB},
    {CARRIER_UPS_AP,    "%s: CARRIER_UPS_AP (%s)",    kNone, nullptr, PrintUpsAccessPointLabel},
    {CARRIER_CN22,      "%s: PS Form 2976 - CN22 Customs Declaration (%s)", kMediaCheck, nullptr, PrintNotBuiltLabelB},
    {CARRIER_FONTS,     "%s: FONT SAMPLE LABEL (%s)", kNone, nullptr, FontSamplePrint},
};
// clang-format on

constexpr const char *kLibrary = ZAL2443_MODULE_NAME;

bool IsUpsFamily(CarrierCode code) {
    return code == CARRIER_UPS || code == CARRIER_UPS_PLD || code == CARRIER_UPSINT || code == CARRIER_UPSPR;
}

void BuildVersionLine(CarrierCode code, const char *jobFile) {
    CopyText(ModelTag(), 8, " Duzed ");
    char *line = VersionLine();
    line[0] = '\0';
    char version[20] = "";
    platform::GetPrivateProfileString("Begin", "ApplicationVersion", "", version, sizeof version, jobFile);
    if (IsUpsFamily(code)) {
        if (version[0] != '\0') {
            AppendStrings(line, kVersionLineSize, {version, " E2443 "});
        } else {
            AppendStrings(line, kVersionLineSize, {"OV v", ZAL2443_VERSION_TEXT, " E2443 "});
        }
    } else if (version[0] != '\0') {
        AppendStrings(line, kVersionLineSize, {"A0460,1202,0,1,1,1,N,\"", version, ModelTag()});
    } else {
        AppendStrings(line, kVersionLineSize, {"A0550,1202,0,1,1,1,N,\"OV v", ZAL2443_VERSION_TEXT, ModelTag()});
    }
}

bool HeaderPrefixFor(const JobContext *context) {
    if (context->DeviceId == 2) return false;
    if (context->DeviceId == 0) return std::strcmp(context->DeviceDescription, "no-mem") != 0;
    return true;
}

int32_t MediaTooSmall() {
    log::LogErrorText("DoPeripheral: Media is too small. Printing cancelled.");
    return ZALERR_JOB_INVALIDMEDIA;
}

const Route *FindRoute(CarrierCode code) {
    for (const Route &r : kRoutes) {
        if (r.code == code) return &r;
    }
    return nullptr;
}

int32_t Generic(const char *jobFile, JobContext *context, bool prefix) {
    log::LogInfo("%s: GENERIC LABEL (%s)", kLibrary, context->Media.Name);
    return PrintGenericLabel(jobFile, context, prefix);
}

bool FallsBack(int32_t result) { return result == ZALERR_LABEL_PRINTGENERIC || result == ZALERR_JOB_UNSUPCARRIER; }

// One copy: device checks, the carrier's branch, the generic fallback.
int32_t PrintOneCopy(CarrierCode code, _JobInfoA *job, JobContext *context, bool prefix) {
    const char *jobFile = job->JobFile;
    const char *media = context->Media.Name;
    int32_t result;
    if (Contains(context->DeviceDescription, "FedEx Ground COD Tag")) {
        if (code != CARRIER_RPS) return ZALERR_JOB_CANCELLED;
        log::LogInfo("%s: FedEx Ground COD Tag (%s)", kLibrary, media);
        result = PrintUnspecifiedLabelA(jobFile, context, prefix);
    } else if (Contains(context->DeviceDescription, "CN22 Customs Declaration")) {
        if (code != CARRIER_CN22) return ZALERR_JOB_CANCELLED;
        if (!CheckMediaDims(context)) return MediaTooSmall();
        if (context->Media.Length < 6.0f) {
            log::LogInfo("%s: PS Form 2976 - CN22 Customs Declaration 4x4 (%s)", kLibrary, media);
        } else {
            log::LogInfo("%s: PS Form 2976 - CN22 Customs Declaration 4x6 (%s)", kLibrary, media);
        }
        result = PrintNotBuiltLabelB(job, context, prefix);
    } else if (code == CARRIER_UPSFLEX) {
        log::LogInfo("%s: CARRIER_UPSFLEX (%s)", kLibrary, media);
        log::LogErrorText(
            "DoPeripheral: UPS Returns Flexible Access is not longer a supported/available service. Printing "
            "cancelled.");
        return ZALERR_JOB_DEPRECATEDSVC;
    } else if (code == CARRIER_DIAG) {
        log::LogInfo("%s: DIAGNOSTIC LABEL (%s)", kLibrary, media);
        result = PrintDiagnosticLabel(context);
    } else if (code == CARRIER_UPS_MI) {
        int brd = static_cast<int>(platform::GetPrivateProfileInt("Begin", "BRDYear", 2020, jobFile));
        log::LogInfo("%s: CARRIER_UPS_MI (%s) BRD:%d", kLibrary, media, brd);
        char flag[2] = "";
        platform::GetPrivateProfileString("Begin", "PrintCN22Flag", "", flag, sizeof flag, jobFile);
        if (flag[0] == 'M') {
            result = PrintUnspecifiedLabelB(job, context, prefix);
        } else {
            if (!CheckMediaDims(context)) return MediaTooSmall();
            log::LogInfoText("DoPeripheral: Calling new 4x4 label code.");
            result = PrintNotBuiltLabelB(job, context, prefix);
        }
    } else if (const Route *route = FindRoute(code)) {
        if (route->flags & kBrdYear) {
            int brd = static_cast<int>(platform::GetPrivateProfileInt("Begin", "BRDYear", 2020, jobFile));
            log::LogInfo(route->logLine, kLibrary, media, brd);
        } else {
            log::LogInfo(route->logLine, kLibrary, media);
        }
        if (route->flags & kMediaCheck) {
            if (!CheckMediaDims(context)) return MediaTooSmall();
            if (route->flags & kNewLayout) log::LogInfoText("DoPeripheral: Calling new 4x4 label code.");
        }
        result = route->formA ? route->formA(jobFile, context, prefix) : route->formB(job, context, prefix);
    } else {
        return Generic(jobFile, context, prefix);
    }
    return FallsBack(result) ? Generic(jobFile, context, prefix) : result;
}

// The job file becomes "<name>.OK" or "<name>.ERR" beside it, or is deleted.
void FinishJobFile(_JobInfoA *job, int32_t result) {
    const char *jobFile = job->JobFile;
    if (job->ResultFileFlag == 0) {
        platform::WritePrivateProfileString(nullptr, nullptr, nullptr, jobFile);
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
    bool ok = result == ZALERR_SUCCESS || result == ZALERR_JOB_DONOTPRINT || result == ZALERR_LABEL_PRINTGENERIC;
    std::string target = base + (ok ? ".OK" : ".ERR");
    if (target.size() + 1 > size) {
        log::LogError("DoPeripheral: The result file name \"%s\" does not fit its buffer of %u bytes; the job file is "
                      "kept.",
                      target.c_str(), static_cast<unsigned>(size));
        return;
    }
    CopyText(name, size, target.c_str());
    if (jobFile == nullptr || EqualsNoCase(jobFile, target.c_str())) return;  // already its own result file
    platform::DeleteFile(target.c_str());
    if (!platform::MoveFile(jobFile, target.c_str())) {
        char description[1024];
        DescribeLastError(description, sizeof description);
        log::LogError("DoPeripheral: Failed to rename the job file \"%s\" to \"%s\"; %s", jobFile, target.c_str(),
                      description);
    }
}

// Hosts that want the detailed result of each job (the command-line host
// prints it) name a file in ZAL2443_RESULT_LOG; one line is appended per
// job: the result code, its symbolic name ("-" for none) and the job file,
// separated by tabs.
void ReportJobResult(const char *jobFile, int32_t result) {
    std::string channel = platform::GetEnvironment("ZAL2443_RESULT_LOG");
    if (channel.empty()) return;
    char name[32] = "-";
    char message[1024];
    GetErrorCodeText(result, name, message);
    if (std::FILE *f = platform::OpenFile(channel.c_str(), "ab")) {
        std::fprintf(f, "%d\t%s\t%s\n", static_cast<int>(result), name, jobFile ? jobFile : "");
        std::fclose(f);
    }
}

}  // namespace

CarrierCode LookupCarrier(const char *jobFile) {
    char value[1024] = "";
    platform::GetPrivateProfileString("BEGIN", "Carrier", "", value, sizeof value, jobFile);
    for (const CarrierName &c : kCarriers) {
        if (EqualsNoCase(value, c.value)) return c.code;
    }
    return CARRIER_UNKNOWN;
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

int32_t DoPeripheral(_JobInfoA *job, JobContext *context) {
    const char *jobFile = job->JobFile;
    platform::PinProfileFile(jobFile);
    CarrierCode code = LookupCarrier(jobFile);
    BuildVersionLine(code, jobFile);
    bool prefix = HeaderPrefixFor(context);
    int copies = static_cast<int>(platform::GetPrivateProfileInt("Begin", "NumberOfCopies", 1, jobFile));
    int32_t result = ZALERR_LABEL_PRINTGENERIC;
    for (int copy = 1; copy <= copies; ++copy) result = PrintOneCopy(code, job, context, prefix);
    platform::UnpinProfileFile(jobFile);
    ReportJobResult(jobFile, result);
    FinishJobFile(job, result);
    return result;
}

}  // namespace zal
