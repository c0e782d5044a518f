// zaltime: runs a command and prints its wall time in microseconds and its
// peak resident memory in kilobytes, "us=N kb=N", on stderr; the command's
// own output is left alone.  Its exit status is passed on.
//
//   zaltime COMMAND [ARG...]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: zaltime COMMAND [ARG...]\n");
        return 2;
    }
    auto start = std::chrono::steady_clock::now();
    pid_t child = ::fork();
    if (child == 0) {
        ::execvp(argv[1], argv + 1);
        std::perror(argv[1]);
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage = {};
    if (child < 0 || ::wait4(child, &status, 0, &usage) < 0) return 127;
    auto elapsed = std::chrono::steady_clock::now() - start;
    std::fprintf(stderr, "us=%lld kb=%ld\n",
                 static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count()),
                 usage.ru_maxrss);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}
