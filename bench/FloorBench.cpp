// zalfloor: the I/O floor of printing jobs to a file, the least any host
// and library could do: read each job file whole, then append a label's
// worth of bytes to the output file, opening and closing it per job.
//
//   zalfloor --bytes N --out FILE [--sync] JOB...
//
// --sync adds an fdatasync per label: the floor of a write-through port.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

int main(int argc, char **argv) {
    std::size_t bytes = 0;
    std::string out;
    bool sync = false;
    std::vector<const char *> jobs;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--bytes") == 0 && i + 1 < argc) {
            bytes = std::strtoul(argv[++i], nullptr, 10);
        } else if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
            out = argv[++i];
        } else if (std::strcmp(argv[i], "--sync") == 0) {
            sync = true;
        } else {
            jobs.push_back(argv[i]);
        }
    }
    if (out.empty() || bytes == 0 || jobs.empty()) {
        std::fprintf(stderr, "usage: zalfloor --bytes N --out FILE [--sync] JOB...\n");
        return 2;
    }
    std::vector<char> label(bytes, 'x');
    std::vector<char> content(1 << 16);
    for (const char *job : jobs) {
        int in = ::open(job, O_RDONLY | O_CLOEXEC);
        if (in < 0) return 1;
        ssize_t n;
        while ((n = ::read(in, content.data(), content.size())) > 0) {
        }
        ::close(in);
        int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd < 0 || ::write(fd, label.data(), label.size()) != static_cast<ssize_t>(label.size())) return 1;
        if (sync) ::fdatasync(fd);
        ::close(fd);
    }
    return 0;
}
