// zalprint print's progress line, seen on a real pseudo-terminal: shown for
// batches of more than 50 jobs when stderr is a terminal, rewritten in place,
// cut to the terminal's width, cleared before the result lines that share
// the terminal and at the end; never written to a file or a pipe.
#include <gtest/gtest.h>

#if !defined(_WIN32) && defined(ZALPRINT_PATH)
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"

using zal::test::ReadFile;
using zal::test::TempDir;

namespace {

enum class Terminal { StderrOnly, Both, None };

struct BatchRun {
    int status = -1;
    std::string terminal;  // what the terminal showed
    std::string stdoutFile;
    std::string stderrFile;
};

// zalprint print of the same job `jobs` times, named `name`, with stdout,
// stderr or both on a pseudo-terminal `columns` wide.
BatchRun PrintBatch(std::size_t jobs, const std::string &name, unsigned short columns, Terminal where) {
    TempDir dir;
    const std::string golden = std::string(ZAL2443_SOURCE_DIR) + "/tests/golden/";
    zal::test::WriteFile(dir.file(name), ReadFile(golden + "cases/generic-domestic/job.ini"));
    zal::test::WriteFile(dir.file("profile.ini"), ReadFile(golden + "profile.ini"));
    std::vector<std::string> args = {ZALPRINT_PATH, "print"};
    args.insert(args.end(), jobs, name);
    for (const char *a : {"--profile", "profile.ini", "--device", "DEV", "--out", "out.epl"}) args.push_back(a);

    BatchRun run;
    int master = -1;
    struct winsize size = {};
    size.ws_row = 24;
    size.ws_col = columns;
    pid_t child = ::forkpty(&master, nullptr, nullptr, &size);
    if (child == 0) {
        if (::chdir(dir.path().c_str()) != 0) ::_exit(126);
        if (where != Terminal::Both) {
            int out = ::open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(out, 1);
        }
        if (where == Terminal::None) {
            int err = ::open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(err, 2);
        }
        std::vector<char *> argv;
        for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    // Read until the program has closed the terminal (EIO once it is gone).
    for (;;) {
        pollfd p{master, POLLIN, 0};
        if (::poll(&p, 1, 30000) <= 0) break;
        char buffer[4096];
        ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0) break;
        run.terminal.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(master);
    int status = 0;
    ::waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (zal::test::FileExists(dir.file("stdout.txt"))) run.stdoutFile = ReadFile(dir.file("stdout.txt"));
    if (zal::test::FileExists(dir.file("stderr.txt"))) run.stderrFile = ReadFile(dir.file("stderr.txt"));
    return run;
}

// The pieces the terminal shows.
std::string Counter(std::size_t number, std::size_t total) {
    std::string n = std::to_string(number), t = std::to_string(total);
    std::size_t width = t.size() < 4 ? 4 : t.size();
    return "[" + std::string(width - n.size(), ' ') + n + "/" + t + "] ";
}
std::string Erase(std::size_t width) { return "\r" + std::string(width, ' ') + "\r"; }
const std::string kResult = "result=0 ZALERR_SUCCESS file=-\r\n";  // the terminal turns \n into \r\n

struct Row {
    std::size_t jobs;
    const char *name;
    unsigned short columns;
    Terminal where;
    std::string terminal;  // exactly what the terminal shows
};

std::string ProgressOnly(std::size_t jobs, const std::string &name, std::size_t width) {
    std::string shown;
    for (std::size_t i = 1; i <= jobs; ++i) shown += "\r" + (Counter(i, jobs) + name).substr(0, width);
    return shown + Erase(width);
}

std::string ProgressAndResults(std::size_t jobs, const std::string &name) {
    std::string shown;
    for (std::size_t i = 1; i <= jobs; ++i) {
        std::string line = Counter(i, jobs) + name;
        shown += "\r" + line + Erase(line.size()) + kResult;
    }
    return shown;
}

std::string ResultsOnly(std::size_t jobs) {
    std::string shown;
    for (std::size_t i = 0; i < jobs; ++i) shown += kResult;
    return shown;
}

TEST(ProgressLine, OnTheTerminalForMoreThanFiftyJobs) {
    const std::string longName = "a-rather-long-job-file-name.ini";
    // clang-format off
    const Row rows[] = {
        /*  0*/ {51, "job.ini", 80, Terminal::StderrOnly, ProgressOnly(51, "job.ini", 17)},
        /*  1*/ {50, "job.ini", 80, Terminal::StderrOnly, ""},
        // The result lines share the terminal: the line goes before each.
        /*  2*/ {51, "job.ini", 80, Terminal::Both, ProgressAndResults(51, "job.ini")},
        /*  3*/ {50, "job.ini", 80, Terminal::Both, ResultsOnly(50)},
        // Never longer than a row less one column: a wrapped line stays.
        /*  4*/ {52, longName.c_str(), 20, Terminal::StderrOnly, ProgressOnly(52, longName, 19)},
        /*  5*/ {51, "job.ini", 80, Terminal::None, ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        BatchRun run = PrintBatch(row.jobs, row.name, row.columns, row.where);
        EXPECT_EQ(run.status, 0) << "row " << i << ": " << run.terminal << run.stderrFile;
        EXPECT_EQ(run.terminal, row.terminal) << "row " << i;
        // What is not a terminal gets the result lines alone.
        if (row.where != Terminal::Both) {
            std::string lines;
            for (std::size_t j = 0; j < row.jobs; ++j) lines += "result=0 ZALERR_SUCCESS file=-\n";
            EXPECT_EQ(run.stdoutFile, lines) << "row " << i;
        }
        EXPECT_EQ(run.stderrFile, "") << "row " << i;
    }
}

}  // namespace

#endif
