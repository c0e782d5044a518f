// zalprint: a command-line host of the ZAL2443 library.
#include <cstdio>
#include <cstring>
#include <string>

#include "Commands.h"

namespace zalprint {

void PrintUsage(const char *program) {
    std::printf(
        "Usage: %s COMMAND [OPTIONS]\n"
        "\n"
        "A host of the ZAL2443 EPL2 label printer library: it fills the host records and\n"
        "calls the library's exported functions, as a shipping application does.\n"
        "\n"
        "Commands:\n"
        "  info        print the library's device, media and orientation tables\n"
        "  help        this text (also --help)\n"
        "\n"
        "Exit status: 0 success, 1 a job failed, 2 bad usage or a missing file.\n",
        program);
}

}  // namespace zalprint

int main(int argc, char **argv) {
    using namespace zalprint;
    const char *program = "zalprint";
    if (argc < 2) {
        PrintUsage(program);
        std::fflush(stdout);
        return kExitUsage;
    }
    std::string command = argv[1];
    Args args(argv + 2, argv + argc);
    int rc;
    if (command == "help" || command == "--help" || command == "-h") {
        PrintUsage(program);
        rc = kExitOk;
    } else if (command == "info") {
        rc = RunInfo(args);
    } else {
        std::fprintf(stderr, "%s: unknown command \"%s\" (try --help)\n", program, command.c_str());
        rc = kExitUsage;
    }
    std::fflush(stdout);
    return rc;
}
