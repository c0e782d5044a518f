#include "common/Prompt.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

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
    const char *policy = std::getenv("ZAL2443_PROMPT");
#if defined(_WIN32)
    const char *fallback = "ask";
#else
    const char *fallback = "cancel";
#endif
    if (policy == nullptr || *policy == '\0') policy = fallback;
    if (std::strcmp(policy, "ask") == 0) return platform::MessageBox(text, caption, style);
    if (std::strncmp(policy, "retry:", 6) == 0) {
        int allowed = std::atoi(policy + 6);
        bool retryCancel = (style & 0xF) == platform::kBoxRetryCancel;
        bool retry = retryCancel && g_retriesGiven < allowed;
        if (retry) ++g_retriesGiven;
        return Unattended(text, caption, style, retry);
    }
    return Unattended(text, caption, style, false);
}

}  // namespace zal
