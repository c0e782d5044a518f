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
int RunPreview(const Args &args);
int RunSettings(const Args &args);
int RunDiag(const Args &args);
int RunWatch(const Args &args);
bool PreviewAvailable();
// Renders a stream as label.png, label-2.png, ... (and a PDF when named).
int RenderPreview(const std::string &stream, const std::string &png, double widthInches, double lengthInches,
                  bool sizeGiven, const std::string &pdf);
void PrintUsage(const char *program);
// zalprint --version.
int RunVersion();

}  // namespace zalprint
