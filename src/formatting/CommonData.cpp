#include "formatting/CommonData.h"

#include <algorithm>
#include <cstring>

#include "common/Format.h"
#include "common/Settings.h"
#include "common/Strings.h"
#include "formatting/LibCommonGuard.h"
#include "zal2443/zal2443.h"

namespace zal {
namespace {

using detail::GuardedLibCommon;

struct TextKey {
    const char *key;
    const char *defaultValue;
    char *field;
    std::size_t width;
    bool upperCase;
};

constexpr char kLineFeedMark = '\xA0';
constexpr char kCarriageReturnMark = '\xA3';

// "|text|" -> "text"; "|" -> "".  A bar at one end only stays.
void RemoveEnclosingBars(char *text) {
    std::size_t length = std::strlen(text);
    if (length == 0 || text[0] != '|' || text[length - 1] != '|') return;
    if (length == 1) {
        text[0] = '\0';
        return;
    }
    std::memmove(text, text + 1, length - 2);
    text[length - 2] = '\0';
}

// A user command cannot hold a line break in the job file, so the host
// writes 0xA0 for a line feed and 0xA3 for a carriage return.  Every other
// byte is cleaned as any job value is.
void ReadUserCommand(const char *key, char (&field)[2048], const JobFile &job) {
    char raw[sizeof field] = {};
    if (!job.String(key, "", raw, sizeof raw, nullptr)) return;
    std::size_t n = 0;
    for (std::size_t i = 0; raw[i] != '\0'; ++i) {
        char c = raw[i];
        if (IsKeptJobByte(static_cast<unsigned char>(c)) || c == kLineFeedMark || c == kCarriageReturnMark) {
            field[n++] = c;
        }
    }
    field[n] = '\0';
    ReplaceChar(field, field, kLineFeedMark, '\n');
    ReplaceChar(field, field, kCarriageReturnMark, '\r');
    RemoveEnclosingBars(field);
}

void ReadInt(const char *key, int32_t defaultValue, int32_t &value, const JobFile &job) {
    value = defaultValue;  // kept when the file cannot be read
    job.Int(key, defaultValue, &value);
}

bool FormatCommonDataBody(CommonData &d, const JobFile &job, JobWideValues &jobWide) {
    d = CommonData{};
    jobWide = JobWideValues{};

    // clang-format off
    const TextKey addressKeys[] = {
        {"From1",         "",              d.From1,         sizeof d.From1,         true},
        {"From2",         "",              d.From2,         sizeof d.From2,         true},
        {"From3",         "",              d.From3,         sizeof d.From3,         true},
        {"FromPhone",     "",              d.FromPhone,     sizeof d.FromPhone,     true},
        {"FromCountry",   "UNITED STATES", d.FromCountry,   sizeof d.FromCountry,   true},
        {"FromContact",   "",              d.FromContact,   sizeof d.FromContact,   false},
        {"FromZip",       "",              d.FromZip,       sizeof d.FromZip,       false},
        {"ShipTo1",       "",              d.ShipTo1,       sizeof d.ShipTo1,       true},
        {"ShipTo2",       "",              d.ShipTo2,       sizeof d.ShipTo2,       true},
        {"ShipTo3",       "",              d.ShipTo3,       sizeof d.ShipTo3,       true},
        {"ShipTo4",       "",              d.ShipTo4,       sizeof d.ShipTo4,       true},
        {"ShipTo5",       "",              d.ShipTo5,       sizeof d.ShipTo5,       true},
        {"ShipTo6",       "",              d.ShipTo6,       sizeof d.ShipTo6,       true},
        {"ShipTo7",       "",              d.ShipTo7,       sizeof d.ShipTo7,       true},
        {"ShipToCountry", "",              d.ShipToCountry, sizeof d.ShipToCountry, true},
        {"ShipToPhone",   "",              d.ShipToPhone,   sizeof d.ShipToPhone,   false},
        {"ShipToZip",     "",              d.ShipToZip,     sizeof d.ShipToZip,     false},
    };
    // clang-format on
    for (const TextKey &k : addressKeys) {
        job.Value(k.key, k.defaultValue, k.field, k.width, nullptr);
        if (k.upperCase) UpperCase(k.field);
    }

    ReadUserCommand("xlabelc1", d.xlabelc1, job);
    ReadUserCommand("xlabelc2", d.xlabelc2, job);
    ReadUserCommand("xlabelc3", d.xlabelc3, job);
    ReadUserCommand("xlabelc4", d.xlabelc4, job);

    job.Value("ActualWeight", "", jobWide.ActualWeight, sizeof jobWide.ActualWeight, nullptr);
    ReadInt("OrderCount", 1, jobWide.OrderCount, job);
    ReadInt("ExpectedCount", 0, jobWide.ExpectedCount, job);
    job.Value("PONumber", "", jobWide.PONumber, sizeof jobWide.PONumber, nullptr);
    job.Value("Remark", "", jobWide.Remark, sizeof jobWide.Remark, nullptr);
    ReadInt("NumberOfCopies", 1, jobWide.NumberOfCopies, job);
    char applicationVersion[20] = {};
    job.Value("ApplicationVersion", "", applicationVersion, sizeof applicationVersion, nullptr);

    // A sender without postal code: the city line "CITY ST 12345" ends in it.
    constexpr std::size_t kZipLength = 5;
    std::size_t from3Length = std::strlen(d.From3);
    if (EqualsNoCase(d.FromCountry, "UNITED STATES") && std::strlen(d.FromZip) < kZipLength &&
        from3Length > kZipLength) {
        CopyText(d.FromZip, d.From3 + from3Length - kZipLength);
    }

    d.ShipToZipIsNonNumeric = !IsDigitsSpacesDashes(d.ShipToZip, sizeof d.ShipToZip);

    ReadTestMode(d.TestModeFlag, d.TestID, job);

    d.Copies = std::max<int32_t>(jobWide.NumberOfCopies, 1);

    // A number too long for the line is cut rather than dropped.
    if (jobWide.PONumber[0] != '\0') {
        CopyText(d.POLine, "PO # ");
        AppendText(d.POLine, jobWide.PONumber);
    }

    if (applicationVersion[0] != '\0') {
        CopyText(d.VersionText, applicationVersion);
    } else {
        CopyStrings(d.VersionText, sizeof d.VersionText, {"OV v", ZAL2443_VERSION_TEXT});
    }

    return LibFormatDocutabData(d, job);
}

}  // namespace

bool FormatCommonData(CommonData &data, const JobFile &job, JobWideValues &jobWide) {
    return GuardedLibCommon("FormatCommonData", [&] { return FormatCommonDataBody(data, job, jobWide); });
}

bool LibFormatDocutabData(CommonData &d, const JobFile &job) {
    return GuardedLibCommon("LibFormatDocutabData", [&] {
        struct DocutabKey {
            const char *key;
            char *line;
            std::size_t width;
        };
        // clang-format off
        const DocutabKey keys[] = {
            {"DocutabData1",  d.DocutabLine1,  sizeof d.DocutabLine1},
            {"DocutabData2",  d.DocutabLine2,  sizeof d.DocutabLine2},
            {"DocutabData3",  d.DocutabLine3,  sizeof d.DocutabLine3},
            {"DocutabData4",  d.DocutabLine4,  sizeof d.DocutabLine4},
            {"DocutabData5",  d.DocutabLine5,  sizeof d.DocutabLine5},
            {"DocutabData6",  d.DocutabLine6,  sizeof d.DocutabLine6},
            {"DocutabData7",  d.DocutabLine7,  sizeof d.DocutabLine7},
            {"DocutabData8",  d.DocutabLine8,  sizeof d.DocutabLine8},
            {"DocutabData9",  d.DocutabLine9,  sizeof d.DocutabLine9},
            {"DocutabData10", d.DocutabLine10, sizeof d.DocutabLine10},
            {"DocutabData11", d.DocutabLine11, sizeof d.DocutabLine11},
            {"DocutabData12", d.DocutabLine12, sizeof d.DocutabLine12},
            {"DocutabData13", d.DocutabLine13, sizeof d.DocutabLine13},
            {"DocutabData14", d.DocutabLine14, sizeof d.DocutabLine14},
        };
        // clang-format on
        for (const DocutabKey &k : keys) {
            char value[sizeof d.DocutabLine1] = {};
            std::size_t length = 0;
            if (job.Value(k.key, "", value, k.width, &length) && length > 0) {
                CopyText(k.line, k.width, value);
            }
        }
        return true;
    });
}

bool ReadTestMode(char (&testModeFlag)[2], char (&testId)[11], const JobFile &job) {
    char flag[2] = "N";
    if (!job.Value("TestModeFlag", "N", flag, sizeof flag, nullptr)) CopyText(flag, "N");
    UpperCase(flag);
    char id[20] = {};
    if (!job.Value("TestID", "", id, sizeof id, nullptr)) id[0] = '\0';

    CopyText(testModeFlag, flag);
    // the record holds 10 characters: a longer identifier is cut
    CopyText(testId, std::strcmp(flag, "Y") == 0 && id[0] != '\0' ? id : "Test");
    return true;
}

bool ReplaceDblQuotes(CommonData &d) {
    return GuardedLibCommon("ReplaceDblQuotes", [&] {
        struct Field {
            char *text;
            std::size_t width;
        };
        // clang-format off
        const Field fields[] = {
            {d.From1,   sizeof d.From1},   {d.From2,   sizeof d.From2},   {d.From3, sizeof d.From3},
            {d.FromPhone, sizeof d.FromPhone}, {d.FromCountry, sizeof d.FromCountry},
            {d.ShipTo1, sizeof d.ShipTo1}, {d.ShipTo2, sizeof d.ShipTo2}, {d.ShipTo3, sizeof d.ShipTo3},
            {d.ShipTo4, sizeof d.ShipTo4}, {d.ShipTo5, sizeof d.ShipTo5}, {d.ShipTo6, sizeof d.ShipTo6},
            {d.ShipTo7, sizeof d.ShipTo7},
            {d.ShipToZip, sizeof d.ShipToZip}, {d.ShipToCountry, sizeof d.ShipToCountry},
            {d.ShipToPhone, sizeof d.ShipToPhone},
        };
        // clang-format on
        for (const Field &f : fields) QuotesToApostrophes(f.text, f.width - 1);
        return true;
    });
}

}  // namespace zal
