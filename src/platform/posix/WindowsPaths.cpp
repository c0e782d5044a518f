#include "platform/posix/WindowsPaths.h"

#include <cctype>
#include <cstdlib>

namespace zal::platform::posix {

std::string HomeFolder() {
    const char *home = std::getenv("ZAL2443_HOME");
    if (home != nullptr && *home != '\0') return home;
    const char *user = std::getenv("HOME");
    return std::string(user != nullptr && *user != '\0' ? user : "/tmp") + "/.zal2443";
}

std::string MapWindowsPath(const char *path) {
    if (path == nullptr) return std::string();
    std::string out;
    const char *rest = path;
    if (std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':') {
        char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
        char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(path[0])));
        const char *root = std::getenv((std::string("ZAL2443_DRIVE_") + upper).c_str());
        out = root != nullptr && *root != '\0' ? std::string(root) : HomeFolder() + "/drive_" + lower;
        rest = path + 2;
        if (*rest != '\\' && *rest != '/' && *rest != '\0') out += '/';
    }
    std::size_t start = out.size();
    out.append(rest);
    for (std::size_t i = start; i < out.size(); ++i) {
        if (out[i] == '\\') out[i] = '/';
    }
    return out;
}

}  // namespace zal::platform::posix
