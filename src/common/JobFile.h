// The job file of one job: every read of its keys (section "Begin") and the
// refusal it may be given go through this view.  The section is read once
// when the view is made (Linux parses the file once; Windows asks its
// profile API key by key), so the job's many reads are look-ups.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace zal {

// What a job file holds for a job, found when it is opened.
enum class JobFileState {
    Ready,
    Missing,       // no such file
    Unreadable,    // there, but it cannot be read
    TooLarge,      // over kMaxJobFileBytes: not read
    NoJobSection,  // no section "Begin"
};

// A job file is a few kilobytes; a larger one is no job.
constexpr std::size_t kMaxJobFileBytes = 16u << 20;

class JobFile {
public:
    // A null path gives a view whose reads fail as the readers do for a
    // missing name.
    explicit JobFile(const char *path);
    JobFile(const JobFile &) = delete;
    JobFile &operator=(const JobFile &) = delete;

    const char *Path() const { return _hasPath ? _path.c_str() : nullptr; }
    JobFileState State() const;
    // The system's reason when the file could not be read (Win32 code).
    uint32_t ReadError() const { return _begin.ReadError(); }

    // The job-file readers, with their log lines and their answers:
    // String as ReadINIString, Value as ReadINIValue (only the kept bytes),
    // Int as ReadINIInt.
    bool String(const char *key, const char *defaultValue, char *output, std::size_t size,
                std::size_t *length = nullptr) const;
    bool Value(const char *key, const char *defaultValue, char *output, std::size_t size,
               std::size_t *length = nullptr) const;
    bool Int(const char *key, int32_t defaultValue, int32_t *output) const;
    template <std::size_t N>
    bool Value(const char *key, const char *defaultValue, char (&output)[N], std::size_t *length = nullptr) const {
        return Value(key, defaultValue, output, N, length);
    }

    // The plain profile reads the formatting routines also use: the value
    // as it stands in the file (no clean-up, no log line), and a number
    // read the profile way ("12abc" is 12).
    uint32_t Raw(const char *key, const char *defaultValue, char *output, uint32_t size) const;
    template <std::size_t N>
    uint32_t Raw(const char *key, const char *defaultValue, char (&output)[N]) const {
        return Raw(key, defaultValue, output, static_cast<uint32_t>(N));
    }
    int32_t RawInt(const char *key, int32_t defaultValue) const;

    // Writes the reason of a refusal: key "Description" of section "Error",
    // which the host shows to the user.
    bool Refuse(const char *description) const;

private:
    // The key's value as the readers' first look finds it; false for a key
    // that is missing (or unreadable: that is logged).
    bool Probe(const char *key, std::string_view &value) const;
    // The first checks of the readers, with their log lines.
    bool Readable(const char *output) const;

    std::string _path;  // a copy: the view may outlive the caller's text
    bool _hasPath;
    bool _exists;  // read, or else found by FileExist
    platform::ProfileSection _begin;
};

}  // namespace zal
