// The CUPS queues this machine can see, for zalprint info.  libcups is
// loaded here as the library loads it: zalprint runs without it.
#include <cups/cups.h>
#include <dlfcn.h>

#include <cstring>

#include "Host.h"

namespace zalprint {

bool ListPrintQueues(std::vector<PrintQueue> &queues, std::string &where, std::string &error) {
    void *library = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char *why = dlerror();
        error = std::string("libcups.so.2 could not be loaded (") + (why ? why : "no reason given") + ")";
        return false;
    }
    auto getDests = reinterpret_cast<decltype(&::cupsGetDests2)>(dlsym(library, "cupsGetDests2"));
    auto freeDests = reinterpret_cast<decltype(&::cupsFreeDests)>(dlsym(library, "cupsFreeDests"));
    auto getOption = reinterpret_cast<decltype(&::cupsGetOption)>(dlsym(library, "cupsGetOption"));
    auto server = reinterpret_cast<decltype(&::cupsServer)>(dlsym(library, "cupsServer"));
    auto port = reinterpret_cast<decltype(&::ippPort)>(dlsym(library, "ippPort"));
    auto lastError = reinterpret_cast<decltype(&::cupsLastErrorString)>(dlsym(library, "cupsLastErrorString"));
    if (!getDests || !freeDests || !getOption || !server || !port || !lastError) {
        error = "libcups.so.2 lacks the calls to list queues";
        dlclose(library);
        return false;
    }
    std::string host = server();
    where = "CUPS at " + (host.empty() || host[0] == '/' ? host : host + ":" + std::to_string(port()));
    cups_dest_t *dests = nullptr;
    int count = getDests(CUPS_HTTP_DEFAULT, &dests);
    if (count == 0 && lastError() != nullptr && std::strcmp(lastError(), "Success") != 0 && *lastError() != '\0') {
        error = lastError();
    }
    for (int i = 0; i < count; ++i) {
        const cups_dest_t &dest = dests[i];
        if (dest.instance != nullptr) continue;  // an lpoptions instance of a queue listed already
        PrintQueue queue;
        queue.name = dest.name;
        const char *uri = getOption("device-uri", dest.num_options, dest.options);
        queue.device = uri != nullptr ? uri : "";
        const char *state = getOption("printer-state", dest.num_options, dest.options);
        const char *accepting = getOption("printer-is-accepting-jobs", dest.num_options, dest.options);
        queue.state = state == nullptr ? "" : std::strcmp(state, "5") == 0 ? "stopped"
                                          : std::strcmp(state, "4") == 0 ? "printing"
                                                                         : "idle";
        if (accepting != nullptr && std::strcmp(accepting, "false") == 0) queue.state += ", rejecting jobs";
        queue.isDefault = dest.is_default != 0;
        queues.push_back(queue);
    }
    freeDests(count, dests);
    dlclose(library);
    return error.empty();
}

}  // namespace zalprint
