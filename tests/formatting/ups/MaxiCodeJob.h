// A UPS job for the MaxiCode tests: job file, label context and the records
// the MaxiCode message is built from.
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/Format.h"
#include "formatting/CommonData.h"
#include "formatting/ups/MaxiCodeFields.h"
#include "formatting/ups/Maxicode.h"
#include "formatting/ups/UpsData.h"
#include "support/LabelFixture.h"

namespace zal::test {

constexpr char kHeader[] = "[)>\x1E" "01\x1D" "96";

// A domestic next-day shipment to 30328; lines are the job keys.
struct MaxiJob : LabelJob {
    explicit MaxiJob(const std::string &lines = "") : LabelJob(lines) {
        CopyText(common->ShipToZip, "30328");
        CopyText(ups->TrackingNumber, "1Z12345E0205271688");
        CopyText(ups->ShipmentNumber, "SHP-123 45");
        CopyText(ups->AddressVerificationFlag, "N");
        ups->MaxiServiceClass = 2;
        label.carrier = CARRIER_UPS;
        CopyText(label.jobWide.ActualWeight, "10.2");
        label.jobWide.OrderCount = 2;
        label.jobWide.ExpectedCount = 3;
        label.host = {archiveFolder, "EltronA", "JOB42"};
    }
    void Carrier(const char *value) { label.carrier = LookupCarrier(value).code; }

    std::string archiveFolder = port.dir.path() + Separator();
    UpsDataPtr ups = NewUpsData();
    std::unique_ptr<CommonData> common = std::make_unique<CommonData>();
};

// Fields as InitMaxiCodeFields sets them, in the given mode and test mode.
inline MaxiCodeFields Fields(int16_t mode = 0, bool testMode = false) {
    MaxiCodeFields fields;
    InitMaxiCodeFields(fields);
    if (mode != 0) fields.Mode = mode;
    fields.TestMode = testMode;
    return fields;
}

// The message LibUPSFormatMaxicode builds for the job.
inline std::string BuildMaxicode(MaxiJob &j, bool *ok = nullptr) {
    char destination[400] = {};
    bool result = LibUPSFormatMaxicode(destination, sizeof destination, *j.common, *j.ups, j.label);
    if (ok != nullptr) *ok = result;
    return destination;
}

// The engine settings in the Linux build's registry store; empty: every
// setting at its default.  (The Windows build reads the registry itself.)
struct RegistryStore {
    explicit RegistryStore(const std::string &values) {
        WriteFile(file, "[SOFTWARE\\Norwick Solutions Inc.\\Orvandex]\n" + values);
    }
    TempDir dir;
    std::string file = dir.file("registry.ini");
    EnvVar env{"ZAL2443_REGISTRY", file};
};

// A base of its own, so that the folder exists before the job file names it;
// the compression library is loaded only from a folder the settings allow.
struct CompressFolder {
    explicit CompressFolder(const std::string &values) : registry(values) {}
    RegistryStore registry;
    TempDir compressDir;
    EnvVar allowed{"ZAL2443_COMPRESS_DIRS", compressDir.path()};
};

// A job whose compression folder holds a copy of the stand-in compression
// library (unless withLibrary is false), with the given registry values.
struct CompressJob : CompressFolder, MaxiJob {
    explicit CompressJob(const std::string &lines = "", bool withLibrary = true, const std::string &values = "")
        : CompressFolder(values), MaxiJob(lines + "CompressDir=" + compressDir.path() + "\n") {
        const std::string library = PluginFile("compress");
        standIn = CompressFile(library.substr(library.find_last_of("/\\") + 1).c_str());
        if (withLibrary) {
            EXPECT_TRUE(platform::CopyFile(library.c_str(), standIn.c_str(), false));
        }
    }
    std::string CompressFile(const char *name) const { return compressDir.file(name); }
    std::string ArchiveFile(const std::string &name) const {
        return archiveFolder + "MaxicodeOutput" + Separator() + name;
    }
    std::string standIn;
};

// The fields of a MaxiCode message after its header, split at GS; a field
// ended by RS or EOT carries "<RS>" or "<EOT>" at its end.
inline std::vector<std::string> SplitMessage(const std::string &message) {
    std::vector<std::string> fields;
    if (message.compare(0, std::strlen(kHeader), kHeader) != 0) return fields;
    std::string field;
    for (std::size_t i = std::strlen(kHeader); i < message.size(); ++i) {
        const char c = message[i];
        if (c != '\x1D' && c != '\x1E' && c != '\x04') {
            field += c;
            continue;
        }
        fields.push_back(field + (c == '\x1E' ? "<RS>" : c == '\x04' ? "<EOT>" : ""));
        field.clear();
    }
    if (!field.empty()) fields.push_back(field);
    return fields;
}

// Visible form of a message for comparisons and failure output.
inline std::string Visible(const std::string &text) {
    std::string out;
    for (char c : text) {
        out += c == '\x1D' ? "<GS>" : c == '\x1E' ? "<RS>" : c == '\x1C' ? "<FS>" : c == '\x04' ? "<EOT>" : std::string(1, c);
    }
    return out;
}

}  // namespace zal::test
