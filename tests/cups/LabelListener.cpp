// A network label printer for the CUPS test: listens on a loopback port
// (the system picks it; it is written to PORTFILE once listening) and keeps
// what each connection sends as OUTDIR/label-N, N counting from 1.  Ends on
// SIGTERM or after SECONDS.
//   label_listener PORTFILE OUTDIR SECONDS
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

volatile sig_atomic_t g_stop = 0;
void Stop(int) { g_stop = 1; }

// The connection's bytes into the file, until the sender closes; the file
// has its name only once it is whole.
bool Receive(int connection, const std::string &path) {
    const std::string part = path + ".part";
    std::FILE *out = std::fopen(part.c_str(), "wb");
    if (out == nullptr) return false;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(connection, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        std::fwrite(buffer, 1, static_cast<std::size_t>(n), out);
    }
    return std::fclose(out) == 0 && std::rename(part.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: label_listener PORTFILE OUTDIR SECONDS\n");
        return 2;
    }
    const std::string portFile = argv[1], folder = argv[2];
    const std::time_t end = std::time(nullptr) + std::atol(argv[3]);
    struct sigaction action = {};
    action.sa_handler = Stop;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);

    int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::listen(listener, 8) != 0 || ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        std::perror("label_listener");
        return 1;
    }
    // Written whole, then renamed: a reader never sees half a number.
    std::string temp = portFile + ".tmp";
    std::FILE *port = std::fopen(temp.c_str(), "w");
    if (port == nullptr || std::fprintf(port, "%u\n", ntohs(address.sin_port)) < 0 || std::fclose(port) != 0 ||
        std::rename(temp.c_str(), portFile.c_str()) != 0) {
        std::perror("label_listener");
        return 1;
    }
    int count = 0;
    while (!g_stop && std::time(nullptr) < end) {
        pollfd wait = {listener, POLLIN, 0};
        if (::poll(&wait, 1, 200) <= 0) continue;
        int connection = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) continue;
        Receive(connection, folder + "/label-" + std::to_string(++count));
        ::close(connection);
    }
    ::close(listener);
    return 0;
}
