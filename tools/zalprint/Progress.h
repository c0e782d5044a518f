// The progress line of a long print batch on a terminal.
#pragma once

#include <cstddef>
#include <string>

namespace zalprint {

// "[ 120/500] JOB.ini" on standard error, rewritten in place before each
// job and cleared at the end.  Only for more than kProgressAfterJobs jobs
// and only when standard error is a terminal: a log or a pipe would keep
// every carriage return.
class ProgressLine {
public:
    static constexpr std::size_t kProgressAfterJobs = 50;
    // columns: the terminal's width, 0 when standard error is no terminal.
    ProgressLine(std::size_t total, int columns);
    ~ProgressLine() { Clear(); }
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

    // Job number (from 1) and name of the job about to print.
    void Show(std::size_t number, const std::string &name);
    // Takes the line away, before other output or at the end; the next Show
    // draws it again.
    void Clear();

private:
    bool _on;
    std::size_t _total;
    std::size_t _columns;
    std::size_t _shown = 0;  // characters on the line now
};

}  // namespace zalprint
