// The "ask" prompt policy on Linux: a question on the terminal.
#include <cstdio>
#include <cstring>

#include "platform/Platform.h"

namespace zal::platform {

const char *const kDefaultPromptPolicy = "cancel";

int MessageBox(const char *text, const char *caption, uint32_t style) {
    std::FILE *tty = std::fopen("/dev/tty", "r+");
    bool retryCancel = (style & 0xF) == kBoxRetryCancel;
    if (tty == nullptr) return retryCancel ? kAnswerCancel : kAnswerOk;
    std::fprintf(tty, "\n== %s ==\n%s\n", caption ? caption : "", text ? text : "");
    int answer = kAnswerOk;
    if (retryCancel) {
        answer = kAnswerCancel;
        std::fputs("[R]etry or [C]ancel? ", tty);
        std::fflush(tty);
        char line[32];
        if (std::fgets(line, sizeof line, tty) != nullptr && (line[0] == 'r' || line[0] == 'R')) {
            answer = kAnswerRetry;
        }
    } else {
        std::fputs("(press Enter) ", tty);
        std::fflush(tty);
        char line[32];
        (void)std::fgets(line, sizeof line, tty);
    }
    std::fclose(tty);
    return answer;
}

}  // namespace zal::platform
