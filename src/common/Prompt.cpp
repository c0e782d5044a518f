#include "common/Prompt.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/Platform.h"

namespace zal {
namespace {

int g_retriesGiven = 0;

int Unattended(const char *text, const char *caption, uint32_t style, bool retry) {
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    bool retryCancel = (style & 0xF) == platform::kBoxRetryCancel;
    if (!retryCancel) return platform::kAnswerOk;
    std::fprintf(stderr, "%s: answered %s (ZAL2443_PROMPT)\n", caption ? caption : "",
                 retry ? "Retry" : "Cancel");
    return retry ? platform::kAnswerRetry : platform::kAnswerCancel;
}

}  // namespace

int PolicyMessageBox(const char *text, const char *caption, uint32_t style) {
    std::string policy = platform::GetEnvironment("ZAL2443_PROMPT");
    if (policy.empty()) policy = platform::kDefaultPromptPolicy;
    if (policy == "ask") return platform::MessageBox(text, caption, style);
    if (policy.compare(0, 6, "retry:") == 0) {
        int allowed = std::atoi(policy.c_str() + 6);
        bool retryCancel = (style & 0xF) == platform::kBoxRetryCancel;
        bool retry = retryCancel && g_retriesGiven < allowed;
        if (retry) ++g_retriesGiven;
        return Unattended(text, caption, style, retry);
    }
    return Unattended(text, caption, style, false);
}

}  // namespace zal
