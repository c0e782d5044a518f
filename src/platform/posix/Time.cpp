#include <sys/types.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/Platform.h"

namespace zal::platform {

std::string GetEnvironment(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

uint64_t TickCount64() {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
}

void SleepMs(uint32_t ms) {
    struct timespec ts;
    ts.tv_sec = ms / 1000;
    ts.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

uint32_t ProcessId() { return static_cast<uint32_t>(::getpid()); }

void LocalDateTime(char date[9], char time[9]) {
    time_t now = ::time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    std::strftime(date, 9, "%m/%d/%y", &local);
    std::strftime(time, 9, "%H:%M:%S", &local);
}

// A debugger is not told about log lines on Linux.
bool IsDebuggerPresent() { return false; }
void OutputDebugString(const char *) {}

}  // namespace zal::platform
