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
        "  print JOB... --profile PROFILE.ini --device KEY [options]\n"
        "              print job files, one start-up and one shut-down for all of them\n"
        "  preview FILE.epl -o label.png [--size W,L] [--pdf labels.pdf]\n"
        "              render every label of an EPL2 stream at 203 dpi (label.png, label-2.png,\n"
        "              ...); the size is 4x6 inches unless the stream or --size says otherwise\n"
        "  info        print the library's device, media and orientation tables and the print\n"
        "              queues this machine can see (CUPS on Linux, the spooler's printers on Windows)\n"
        "  watch DIR --profile PROFILE.ini --device KEY [--settings FILE] [options]\n"
        "              print every job file that appears in DIR and leave JOB.OK or JOB.ERR\n"
        "              beside it, until SIGTERM or SIGINT (the job in hand is finished first)\n"
        "  settings --profile PROFILE.ini --device KEY [--heat H] [--speed S] [--voffset V] [--hoffset O]\n"
        "              the printer settings dialog of the device (Linux): a form on the terminal,\n"
        "              or, with values given, those values stored without asking\n"
        "  diag --profile PROFILE.ini --device KEY [--settings FILE] [--button config|network|status]...\n"
        "              the diagnostics dialog of the device (Linux): a form on the terminal, or\n"
        "              the buttons given pressed in order (config prints the configuration label)\n"
        "  help        this text (also --help)\n"
        "  --version   zalprint's release and the library's, as its file gives it\n"
        "\n"
        "print options:\n"
        "  --profile FILE       profile file; section [PeripheralSetup] holds the device's\n"
        "                       setup line KEY=port,description,,, and KEYOption1..KEYOption4\n"
        "                       (heat, speed in inches per second, vertical, horizontal offset)\n"
        "  --device KEY         the device's key (the option key prefix)\n"
        "  --settings FILE      settings file ([] BusyTimeout, [Setup] FileLocation)\n"
        "  --device-id N        library device id (default 1; 2 = printer without label memory)\n"
        "  --device-desc TEXT   device description (default: the library's text for the id)\n"
        "  --media ID           media type id: 1230 4x6 (default), 1220 4x4.25, 1240 4x6.75 docutab,\n"
        "                       0 = none (the library's default)\n"
        "  --media-size W,L[,D] custom media in inches, D=1 with a docutab strip\n"
        "  --orientation ID     1 Portrait (default), 3 Flipped, 0 = none\n"
        "  --out FILE           write every byte sent to the printer for these jobs, in order,\n"
        "                       to FILE (created or truncated), instead of the device's port\n"
        "  --result-files       the job file itself becomes JOB.OK or JOB.ERR beside it, as a\n"
        "                       host asks for; without it the library works on a copy and the\n"
        "                       job file is left untouched\n"
        "  --preview PNG        render the labels as PNG images too (the stream goes to --out,\n"
        "                       or only to the preview when --out is not given)\n"
        "  --log DIR            debug and error logs (zal2443.log, zal2443.err) in DIR\n"
        "  --log-flags N        log level and category bits (default 4 = INFO; 8 = DEBUG,\n"
        "                       0x1000 also saves each document label as a text file)\n"
        "\n"
        "Print queues: a setup line whose port is \"CUPS <queue>\" or\n"
        "  ipp://host[:port]/printers/<queue> sends each label as a raw job named after the\n"
        "  job file (Linux: through CUPS, whose library is loaded at first use; Windows:\n"
        "  \"CUPS <queue>\" names a printer of the spooler).  An unknown queue or an unreachable\n"
        "  server gives -301, a stopped queue or one that refuses the job -304.\n"
        "\n"
        "watch options: --settings, --device-id, --device-desc, --media, --media-size,\n"
        "  --orientation, --log and --log-flags as for print.  A job file is a file of DIR\n"
        "  whose name does not begin with \".\" nor end in .OK, .ERR, .tmp, .part or ~; it is\n"
        "  taken once closed after writing or moved in (write it as NAME.tmp and rename it),\n"
        "  and the job files already there at the start are printed once.  One line per job\n"
        "  on stderr: watch: JOB result=<code> <name> file=<result file>.  A job moves into\n"
        "  DIR/.zalwatch/claimed just before it prints; a restart moves the result files left\n"
        "  there beside the jobs and never prints a job again whose run was killed (SIGKILL,\n"
        "  power loss) while it printed: its label may be out, so it becomes JOB.ERR saying so.\n"
        "  One watcher per folder.\n"
        "\n"
        "settings and diag options: --device-desc TEXT (default: the setup line's description),\n"
        "  --log DIR, --log-flags N as for print.  settings prints the device's four options\n"
        "  as the profile holds them afterwards.\n"
        "\n"
        "For each job one line: result=<code> <name> file=<result file or ->, where code is the\n"
        "job's detailed result (0 printed; negative codes name the failure).  A batch of more\n"
        "than 50 jobs shows its progress on stderr when that is a terminal.\n"
        "\n"
        "Exit status: 0 every job printed, 1 a job failed, 2 bad usage or a missing file.\n",
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
    } else if (command == "--version") {
        rc = RunVersion();
    } else if (command == "info") {
        rc = RunInfo(args);
    } else if (command == "print") {
        rc = RunPrint(args);
    } else if (command == "preview") {
        rc = RunPreview(args);
    } else if (command == "settings") {
        rc = RunSettings(args);
    } else if (command == "diag") {
        rc = RunDiag(args);
    } else if (command == "watch") {
        rc = RunWatch(args);
    } else {
        std::fprintf(stderr, "%s: unknown command \"%s\" (try --help)\n", program, command.c_str());
        rc = kExitUsage;
    }
    std::fflush(stdout);
    return rc;
}
