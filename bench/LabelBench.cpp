// zalbench: prints N copies of a job through ZALProcessJobA to the file
// port, and measures the I/O floor of the same work: reading each job file
// whole and appending the label's bytes to the output file (open, write,
// close per job).
//
//   zalbench JOB --profile P --device KEY [--jobs N] [--log-flags F] [--floor]
//
// Prints one line: mode, jobs, seconds, labels per second, microseconds per
// label, peak resident memory in kB.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "zal2443/zal2443.h"

namespace {

std::string ReadAll(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const std::string &path, const std::string &text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

long PeakKilobytes() {
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

template <std::size_t N>
void Copy(char (&field)[N], const std::string &text) {
    std::snprintf(field, N, "%s", text.c_str());
}

}  // namespace

int main(int argc, char **argv) {
    std::string jobTemplate, profile, device = "Label1";
    int jobs = 1000;
    unsigned logFlags = 0;
    bool floor = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--profile" && i + 1 < argc) profile = argv[++i];
        else if (a == "--device" && i + 1 < argc) device = argv[++i];
        else if (a == "--jobs" && i + 1 < argc) jobs = std::atoi(argv[++i]);
        else if (a == "--log-flags" && i + 1 < argc) logFlags = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 0));
        else if (a == "--floor") floor = true;
        else jobTemplate = a;
    }
    if (jobTemplate.empty() || profile.empty() || jobs < 1) {
        std::fprintf(stderr, "usage: zalbench JOB --profile P [--device KEY] [--jobs N] [--log-flags F] [--floor]\n");
        return 2;
    }
    // Memory-backed files by default, so the figures are the library's work
    // and not the disk's; ZALBENCH_DIR chooses another folder.
    const char *base = std::getenv("ZALBENCH_DIR");
    struct stat st;
    std::string pattern = std::string(base ? base : (::stat("/dev/shm", &st) == 0 ? "/dev/shm" : "/tmp")) +
                          "/zalbench.XXXXXX";
    std::vector<char> folderBuffer(pattern.begin(), pattern.end());
    folderBuffer.push_back('\0');
    char *folder = folderBuffer.data();
    if (mkdtemp(folder) == nullptr) return 1;
    std::string dir = std::string(folder) + "/";
    std::string job = ReadAll(jobTemplate);
    std::vector<std::string> files;
    for (int i = 0; i < jobs; ++i) {
        files.push_back(dir + "job" + std::to_string(i) + ".job");
        WriteAll(files.back(), job);
    }
    std::string settings = dir + "settings.ini";
    WriteAll(settings, "[Setup]\r\nFileLocation=" + dir + "\r\n");
    std::string out = dir + device + ".out";

    double seconds = 0;
    long peak = 0;
    if (floor) {
        // The label bytes of one job, as the library produced them before.
        std::string label = ReadAll(jobTemplate + ".epl");
        auto start = std::chrono::steady_clock::now();
        for (const std::string &file : files) {
            std::string content = ReadAll(file);
            int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (fd < 0 || ::write(fd, label.data(), label.size()) < 0 || content.empty()) return 1;
            ::close(fd);
            ::unlink(file.c_str());  // the library deletes each job file too
        }
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        peak = PeakKilobytes();
    } else {
        auto entry = std::make_unique<_JobProfileEntryA>();
        std::memset(entry.get(), 0, sizeof *entry);
        auto port = std::make_unique<_PortInfoA>();
        std::memset(port.get(), 0, sizeof *port);
        _PeripheralInfoA peripheral{};
        Copy(port->PortName, "FILE");
        entry->PortInfo = port.get();
        entry->DeviceId = 1;
        Copy(entry->DeviceDescription, "Label - Eltron Standard ( EPL II; 203 dpi )");
        Copy(entry->OptionKeyPrefix, device);
        ZALStartup();
        if (logFlags != 0) {
            _LoggingConfigA log{};
            Copy(log.LogFolder, dir);
            Copy(log.DebugLogName, "bench.log");
            Copy(log.ErrorLogName, "bench.err");
            log.Flags = logFlags;
            ZALSetDebugA(log);
        }
        char resultName[1024];
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < jobs; ++i) {
            _JobInfoA info{};
            info.JobTag = "BENCH";
            info.JobFile = files[i].c_str();
            std::snprintf(resultName, sizeof resultName, "%s", files[i].c_str());
            info.ResultFileName = resultName;
            info.ResultFileNameSize = sizeof resultName;
            info.ProfileFile = profile.c_str();
            info.SettingsFile = settings.c_str();
            info.ArchiveFolder = folder;
            info.ProfileEntry = entry.get();
            if (ZALProcessJobA(&info, &peripheral) != 0) {
                std::fprintf(stderr, "zalbench: job %d failed\n", i);
                return 1;
            }
        }
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ZALShutdown();
        peak = PeakKilobytes();
        // Keep one label's bytes for the floor run (without reading them all:
        // the peak memory is the library's).
        std::ifstream in(out, std::ios::binary | std::ios::ate);
        std::size_t one = static_cast<std::size_t>(in.tellg()) / static_cast<std::size_t>(jobs);
        std::string label(one, '\0');
        in.seekg(0);
        in.read(&label[0], static_cast<std::streamsize>(one));
        WriteAll(jobTemplate + ".epl", label);
    }
    std::printf("%-12s jobs=%d seconds=%.4f labels_per_second=%.0f us_per_label=%.2f peak_kb=%ld\n",
                floor ? "floor" : (logFlags ? "debug-log" : "logging-off"), jobs, seconds, jobs / seconds,
                1e6 * seconds / jobs, peak);
    std::string cleanup = "rm -rf '" + dir + "'";
    if (std::system(cleanup.c_str()) != 0) return 1;
    return 0;
}
