// What one job's labels are made with, passed down the job's path from the
// job entry through the dispatch to the formatting, the layouts and the
// device output: nothing of it is kept between jobs.
#pragma once

#include <cstddef>
#include <string>

#include "common/PrinterOptions.h"
#include "device/JobContext.h"
#include "job/CarrierCode.h"
#include "common/JobFile.h"
#include "job/JobWideValues.h"

namespace zal {

constexpr std::size_t kVersionLineSize = 156;  // 155 characters
// The label generation a job without "BRDYear" asks for.
constexpr int32_t kDefaultBrdYear = 2020;

// The values of the host's job record that the formatting needs.
struct HostJobValues {
    std::string archiveFolder;    // the MaxiCode test-data folder; may be empty
    std::string optionKeyPrefix;  // the device's key prefix in the profile file
    std::string jobTag = " ";     // up to 8 characters
};

// Where copies of the printed labels are saved: the log folder named by the
// host's logging switch, when its job flag asks for them.
struct LabelCopies {
    bool save = false;
    std::string folder;  // ends in a path separator when not empty
};

struct LabelContext {
    LabelContext(const JobFile &jobFile, JobContext &deviceContext) : job(jobFile), device(deviceContext) {}
    LabelContext(const LabelContext &) = delete;
    LabelContext &operator=(const LabelContext &) = delete;

    const JobFile &job;
    JobContext &device;       // the port and the media
    CarrierCode carrier = CARRIER_UNKNOWN;
    bool headerPrefix = true;  // the label opens with its memory command
    PrinterOptions options{};  // heat, speed and offsets of this job
    // The open version line printed at the foot of a label (the layout adds
    // its form date and the closing quote), and the model tag it ends in.
    char versionLine[kVersionLineSize] = {};
    char modelTag[8] = {};
    JobWideValues jobWide;     // filled by the common formatting
    HostJobValues host;
    LabelCopies copies;
};

}  // namespace zal
