// Seams through which tests fix what the library takes from the world:
// clock, process id, sleeps and the answers of Retry/Cancel boxes.
#pragma once

#include <cstdint>

namespace zal::seams {

struct Hooks {
    uint64_t (*tickCount)();                 // monotonic milliseconds
    void (*sleep)(uint32_t ms);
    uint32_t (*processId)();
    void (*localDateTime)(char date[9], char time[9]);  // "MM/DD/YY", "HH:MM:SS"
    // A message box: returns 1 OK, 2 Cancel, 4 Retry.
    int (*messageBox)(const char *text, const char *caption, uint32_t style);
};

// The hooks in force; tests assign members and restore with Reset().
Hooks &Current();
void Reset();

inline uint64_t TickCount() { return Current().tickCount(); }
inline void Sleep(uint32_t ms) { Current().sleep(ms); }
inline uint32_t ProcessId() { return Current().processId(); }
inline void LocalDateTime(char date[9], char time[9]) { Current().localDateTime(date, time); }
inline int MessageBox(const char *text, const char *caption, uint32_t style) {
    return Current().messageBox(text, caption, style);
}

}  // namespace zal::seams
