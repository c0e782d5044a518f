// The zalprint subcommands.
#pragma once

#include <string>
#include <vector>

namespace zalprint {

using Args = std::vector<std::string>;

// Exit codes: 0 all jobs printed, 1 a job failed, 2 bad usage or a missing file.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int RunInfo(const Args &args);
int RunPrint(const Args &args);
void PrintUsage(const char *program);

}  // namespace zalprint
