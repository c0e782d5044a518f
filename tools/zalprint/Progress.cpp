#include "Progress.h"

#include <cstdio>

namespace zalprint {

ProgressLine::ProgressLine(std::size_t total, int columns)
    : _on(total > kProgressAfterJobs && columns > 0), _total(total), _columns(columns > 0 ? columns : 0) {}

void ProgressLine::Show(std::size_t number, const std::string &name) {
    if (!_on) return;
    // The count keeps its width as it grows: "[   7/500]", "[ 120/500]".
    int digits = std::snprintf(nullptr, 0, "%zu", _total);
    char count[64];
    std::snprintf(count, sizeof count, "[%*zu/%zu] ", digits < 4 ? 4 : digits, number, _total);
    std::string line = count + name;
    // Within one row: a line that wraps cannot be taken back with a carriage
    // return.  Never cut inside a UTF-8 character.
    if (line.size() >= _columns) {
        std::size_t cut = _columns - 1;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        line.resize(cut);
    }
    std::size_t width = line.size();
    if (width < _shown) line.append(_shown - width, ' ');  // the rest of a longer line
    std::fprintf(stderr, "\r%s", line.c_str());
    std::fflush(stderr);
    _shown = width;
}

void ProgressLine::Clear() {
    if (!_on || _shown == 0) return;
    std::fprintf(stderr, "\r%s\r", std::string(_shown, ' ').c_str());
    std::fflush(stderr);
    _shown = 0;
}

}  // namespace zalprint
