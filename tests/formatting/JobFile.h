// Job files for the formatting tests.
#pragma once

#include <string>

#include "support/TestSupport.h"

namespace zal::test {

// Writes section "Begin" with the given "key=value\n" lines (CR LF on disk)
// as job.ini in the folder and returns its path.
inline std::string WriteJob(const TempDir &dir, const std::string &lines) {
    std::string content = "[Begin]\r\n";
    for (char c : lines) {
        if (c == '\n') content += '\r';
        content += c;
    }
    std::string path = dir.file("job.ini");
    WriteFile(path, content);
    return path;
}

}  // namespace zal::test
