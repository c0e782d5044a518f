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
    // A busy log asks many times a second: convert each second once.
    thread_local time_t last = static_cast<time_t>(-1);
    thread_local char lastDate[9], lastTime[9];
    time_t now = ::time(nullptr);
    if (now == last) {
        std::memcpy(date, lastDate, 9);
        std::memcpy(time, lastTime, 9);
        return;
    }
    struct tm local;
    localtime_r(&now, &local);
    // Not strftime: it reloads the time zone on every call.
    auto two = [](char *out, int value) {
        out[0] = static_cast<char>('0' + (value / 10) % 10);
        out[1] = static_cast<char>('0' + value % 10);
    };
    const int d[3] = {local.tm_mon + 1, local.tm_mday, local.tm_year % 100};
    const int t[3] = {local.tm_hour, local.tm_min, local.tm_sec};
    for (int i = 0; i < 3; ++i) {
        two(date + 3 * i, d[i]);
        two(time + 3 * i, t[i]);
        if (i < 2) {
            date[3 * i + 2] = '/';
            time[3 * i + 2] = ':';
        }
    }
    date[8] = '\0';
    time[8] = '\0';
    last = now;
    std::memcpy(lastDate, date, 9);
    std::memcpy(lastTime, time, 9);
}

// A debugger is not told about log lines on Linux.
bool IsDebuggerPresent() { return false; }
void OutputDebugString(const char *) {}

}  // namespace zal::platform
