// The PDF417 message of the UPS labels, assembled from the segments the
// host places in the job file, and its EPL escaping.
#include <cstring>
#include <vector>

#include "common/Format.h"
#include "common/Log.h"
#include "common/Settings.h"
#include "formatting/ups/LibUPS.h"
#include "formatting/ups/UpsInternal.h"

namespace zal {
namespace {

constexpr std::size_t kSegmentChars = 1000;
constexpr std::size_t kPartChars = 5000;
constexpr int32_t kPdfDefaultBrdYear = 2009;
constexpr unsigned char kFieldMark = 0xF0;  // the host's stand-in for a tab

struct PdfGroup {
    const char *number;
    std::size_t capacity;  // bytes of the group text, terminator included
};

struct FamilyCapacity {
    const char *family;
    std::size_t tooLongAbove;
    std::size_t reducedAbove;  // 0: no reduced form
};

// clang-format off
const PdfGroup kGroupsBeforeSingles[] = {
    {"03", 1000}, {"04", 1000}, {"05", 1000}, {"06", 1000},
    {"07", 100000}, {"08", 100000}, {"09", 5000},
};
const PdfGroup kGroupAfterSingles = {"14", 2000};
const char *const kSinglesAfterGroups[] = {"10", "11", "12", "13"};

const FamilyCapacity kFamilies[] = {
    {"Datamax",  1300, 0},
    {"Eltron",   1300, 0},
    {"Monarch",  1300, 0},
    {"Sato",     1300, 0},
    {"Windows",  1300, 0},
    {"Intermec", 1100, 0},
    {"Zebra",    1700, 1300},
};
// clang-format on

// Names outside the table get the capacity most printers have.
constexpr FamilyCapacity kOtherFamily = {"", 1300, 0};

constexpr const char *kEndOfMessage = "99\r";
constexpr const char *kTooLongSegment = "98\tShipment data exceeds bar code capacity.  Shipment must be keyed.\r";

const FamilyCapacity &CapacityOf(const char *printerFamily) {
    for (const FamilyCapacity &row : kFamilies) {
        if (printerFamily != nullptr && std::strstr(printerFamily, row.family) != nullptr) return row;
    }
    return kOtherFamily;
}

std::string Header(const char *version) {
    return std::string("01\t") + version + "\t{)>\t";
}

// A single segment "PDF417_nnString", 1,000 characters, unchanged.
std::vector<char> ReadSegment(const char *number, const JobFile &job) {
    char key[32];
    Format(key, sizeof key, "PDF417_%sString", number);
    std::vector<char> value(kSegmentChars + 1, '\0');
    job.Raw(key, "", value.data(), static_cast<uint32_t>(value.size()));
    return value;
}

bool AppendSegment(const char *prefix, const std::vector<char> &segment, std::string &message) {
    return UpsParsePDFData(prefix, segment.data(), segment.size(), message);
}

// Group nn: its count "PDF417_nnNumOf" and parts "PDF417_nnString<i>".
bool AppendGroup(const PdfGroup &group, std::size_t limit, const JobFile &job, std::string &message,
                 bool &tooLong) {
    char countKey[32];
    char partKey[32];
    Format(countKey, sizeof countKey, "PDF417_%sNumOf", group.number);
    Format(partKey, sizeof partKey, "PDF417_%sString", group.number);
    const auto count = static_cast<int32_t>(job.RawInt(countKey, 0));
    // a group longer than the printer takes makes the message too long
    // whatever follows, so the reading stops there too
    std::string text;
    if (!UpsGetMultiPDFSegments(count, partKey, group.number, text, std::min(group.capacity, limit + 1), job,
                                tooLong)) {
        return false;
    }
    return UpsParsePDFData(kPdfTakeUnchanged, text.c_str(), text.size() + 1, message);
}

void BuildReducedMessage(const std::vector<char> &segment01, std::string &message) {
    message.clear();
    AppendSegment(Header("18").c_str(), segment01, message);
    message.append(kTooLongSegment).append(kEndOfMessage);
}

bool FormatPdf417(UpsData &ups, const LabelContext &label, const char *printerFamily) {
    const JobFile &job = label.job;
    ups.BRDYear = static_cast<int32_t>(job.RawInt("BRDYear", kPdfDefaultBrdYear));
    char version[4] = {};
    if (!job.Value("PDF417_01sMsgVer", "", version, sizeof version, nullptr)) {
        log::LogError("LibUPSFormatPDF417Data: Failed to read PDF417 data from file.");
        return false;
    }
    if (version[0] == '\0') {
        const bool paperlessInvoice = label.carrier == CARRIER_UPSINT &&
                                      std::strcmp(ups.PaperlessFlag, "Y") == 0 &&
                                      std::strcmp(ups.PrintPIFlag, "N") != 0;
        if (label.carrier == CARRIER_UPSPR || paperlessInvoice) {
            log::LogError("LibUPSFormatPDF417Data: Invalid or missing PDF417 data.");
            // the host shows the reason of a refused job from the job file
            job.Refuse("Invalid or missing PDF417 data.");
            return false;
        }
        log::LogInfo("LibUPSFormatPDF417Data: Skipping unnecessary PDF417 processing.");
        return true;
    }

    const FamilyCapacity &capacity = CapacityOf(printerFamily);
    const std::vector<char> segment01 = ReadSegment("01", job);
    std::string message;
    bool tooLong = false;
    bool ok = AppendSegment(Header(version).c_str(), segment01, message) &&
              AppendSegment("02\t", ReadSegment("02", job), message);
    // once too long, nothing more is read: the reduced message replaces it
    for (const PdfGroup &group : kGroupsBeforeSingles) {
        if (ok && !tooLong) ok = AppendGroup(group, capacity.tooLongAbove, job, message, tooLong);
    }
    for (const char *number : kSinglesAfterGroups) {
        const std::string prefix = std::string(number) + "\t";
        if (ok && !tooLong) ok = AppendSegment(prefix.c_str(), ReadSegment(number, job), message);
    }
    if (ok && !tooLong) ok = AppendGroup(kGroupAfterSingles, capacity.tooLongAbove, job, message, tooLong);
    if (!ok) return false;
    message += kEndOfMessage;

    if (tooLong || message.size() > capacity.tooLongAbove) {
        log::LogWarning("LibUPSFormatPDF417Data: PDF417 data exceeds the capacity of %s printers (%u characters); "
                        "the shipment must be keyed.",
                        printerFamily != nullptr ? printerFamily : "", static_cast<unsigned>(capacity.tooLongAbove));
        ups.PDF417TooLong = true;
        BuildReducedMessage(segment01, message);
    } else if (capacity.reducedAbove != 0 && message.size() > capacity.reducedAbove) {
        ups.PDF417Reduced = true;
    }
    CopyText(ups.PDF417Data, message.c_str());
    ups.PDF417Length = static_cast<int32_t>(std::strlen(ups.PDF417Data));
    return true;
}

}  // namespace

bool UpsParsePDFData(const char *prefix, const char *segment, std::size_t segmentSize, std::string &destination) {
    return GuardedLibUps("UpsParsePDFData", [&] {
        if (prefix == nullptr || segment == nullptr) return false;
        const std::size_t length = TextLength(segment, segmentSize);
        if (length == 0) return true;
        std::string text(segment, length);
        for (char &c : text) {
            if (static_cast<unsigned char>(c) == kFieldMark) c = kPdfFieldSeparator;
        }
        if (std::strcmp(prefix, kPdfTakeUnchanged) == 0) {
            destination += text;
        } else {
            destination.append(prefix).append(text).push_back(kPdfSegmentEnd);
        }
        return true;
    });
}

bool UpsGetMultiPDFSegments(int32_t count, const char *keyName, const char *prefix, std::string &destination,
                            std::size_t size, const JobFile &job, bool &tooLong) {
    return GuardedLibUps("UpsGetMultiPDFSegments", [&] {
        if (keyName == nullptr || prefix == nullptr || size == 0) return false;
        std::vector<char> value(kPartChars + 1, '\0');
        // every part adds at least its prefix, a tab and a carriage return,
        // so a huge count ends at the group's size
        const uint32_t last = count > 0 ? static_cast<uint32_t>(count) : 0;
        for (uint32_t i = 1; i <= last; ++i) {
            char key[160];
            Format(key, sizeof key, "%s%u", keyName, static_cast<unsigned>(i));
            job.Raw(key, "", value.data(), static_cast<uint32_t>(value.size()));
            const std::size_t grown = destination.size() + std::strlen(prefix) + 1 + std::strlen(value.data()) + 1;
            if (grown > size - 1) {
                tooLong = true;
                return true;
            }
            destination.append(prefix).append(1, kPdfFieldSeparator).append(value.data()).push_back(kPdfSegmentEnd);
        }
        return true;
    });
}

bool LibUPSFormatPDF417Data(UpsData &ups, const LabelContext &label, const char *printerFamily) {
    return GuardedLibUps("LibUPSFormatPDF417Data", [&] { return FormatPdf417(ups, label, printerFamily); });
}

bool EncodeUPSPDF417String(UpsData &ups) {
    return GuardedLibUps("EncodeUPSPDF417String", [&] {
        if (!EplEscape(ups.PDF417Data, sizeof ups.PDF417Data)) return false;
        ups.PDF417Length = static_cast<int32_t>(std::strlen(ups.PDF417Data));
        return true;
    });
}

}  // namespace zal
