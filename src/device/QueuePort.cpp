// Reading the print queue a port text names.
#include "device/QueuePort.h"

#include <cctype>
#include <cstring>

namespace zal {
namespace {

bool StartsWithNoCase(const std::string &text, const char *prefix) {
    std::size_t n = std::strlen(prefix);
    if (text.size() < n) return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

std::string Trimmed(const std::string &text) {
    std::size_t a = text.find_first_not_of(" \t");
    if (a == std::string::npos) return std::string();
    return text.substr(a, text.find_last_not_of(" \t") - a + 1);
}

// A queue name that cannot change the request's path: no separators, no
// query or fragment marks, no control characters.
bool CheckQueueName(const std::string &name, std::string &error) {
    if (name.empty()) {
        error = "no queue is named";
        return false;
    }
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == '#' || c == '?') {
            error = "\"" + name + "\" is not a queue name";
            return false;
        }
    }
    return true;
}

// host, [v6 address] or either with ":port".
bool ParseAuthority(const std::string &authority, platform::QueueAddress &address, std::string &error) {
    std::string host = authority, port;
    if (!authority.empty() && authority[0] == '[') {
        std::size_t close = authority.find(']');
        if (close == std::string::npos) {
            error = "the address \"" + authority + "\" has no closing ]";
            return false;
        }
        host = authority.substr(1, close - 1);
        std::string rest = authority.substr(close + 1);
        if (!rest.empty() && rest[0] != ':') {
            error = "\"" + authority + "\" is no host and port";
            return false;
        }
        if (!rest.empty()) port = rest.substr(1);
    } else if (std::size_t colon = authority.rfind(':'); colon != std::string::npos) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
    }
    if (host.empty()) {
        error = "no server is named";
        return false;
    }
    address.host = host;
    address.port = 631;  // IPP's own port, for ipp:// and ipps:// alike
    if (!port.empty()) {
        long value = 0;
        for (char c : port) {
            value = std::isdigit(static_cast<unsigned char>(c)) && value <= 65535 ? value * 10 + (c - '0') : -1;
            if (value < 0) break;
        }
        if (value < 1 || value > 65535) {
            error = "\"" + port + "\" is not a port number";
            return false;
        }
        address.port = static_cast<int>(value);
    }
    return true;
}

}  // namespace

bool IsQueuePort(const char *portText) {
    if (portText == nullptr) return false;
    std::string text = portText;
    return StartsWithNoCase(text, "cups ") || StartsWithNoCase(text, "ipp://") || StartsWithNoCase(text, "ipps://");
}

bool ParseQueuePort(const char *portText, platform::QueueAddress &address, std::string &error) {
    address = platform::QueueAddress();
    std::string text = portText != nullptr ? portText : "";
    if (StartsWithNoCase(text, "cups ")) {
        address.queue = Trimmed(text.substr(5));
        address.resource = "/printers/" + address.queue;
        return CheckQueueName(address.queue, error);
    }
    std::size_t schemeEnd = text.find("://");
    if (schemeEnd == std::string::npos || !IsQueuePort(portText)) {
        error = "\"" + text + "\" names no print queue";
        return false;
    }
    address.encrypted = schemeEnd == 4;  // "ipps"
    std::string rest = text.substr(schemeEnd + 3);
    std::size_t slash = rest.find('/');
    if (!ParseAuthority(rest.substr(0, slash), address, error)) return false;
    std::string path = slash == std::string::npos ? std::string() : rest.substr(slash);
    for (const char *folder : {"/printers/", "/classes/"}) {
        if (path.compare(0, std::strlen(folder), folder) == 0) {
            address.queue = path.substr(std::strlen(folder));
            address.resource = path;
            return CheckQueueName(address.queue, error);
        }
    }
    error = "the path \"" + path + "\" is not /printers/<queue> or /classes/<queue>";
    return false;
}

}  // namespace zal
