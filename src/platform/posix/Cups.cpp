// Print queues on Linux: CUPS, through libcups.so.2 loaded at the first
// send.  The library itself never links libcups, so it loads and prints to
// every other port on a machine without it; a CUPS port there fails to
// open, saying why.
//
// One label is one IPP Print-Job request carrying the whole stream as a raw
// document: the server builds the job only once the request has arrived
// whole, so a connection lost halfway leaves no partial label in the queue.
#include <cups/cups.h>
#include <dlfcn.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/Platform.h"
#include "platform/posix/CupsLibrary.h"

namespace zal::platform {
namespace posix {

const char *g_cupsLibraryName = "libcups.so.2";

}  // namespace posix

namespace {

// The calls of libcups this port makes, typed by its own declarations.
struct CupsApi {
    decltype(&::cupsServer) server;
    decltype(&::ippPort) defaultPort;
    decltype(&::cupsEncryption) encryption;
    decltype(&::cupsUser) user;
    decltype(&::httpConnect2) connect;
    decltype(&::httpClose) close;
    decltype(&::httpReconnect2) reconnect;
    decltype(&::httpError) httpError;
    decltype(&::httpAssembleURI) assembleUri;
    decltype(&::ippNewRequest) newRequest;
    decltype(&::ippAddString) addString;
    decltype(&::ippAddStrings) addStrings;
    decltype(&::ippFindAttribute) findAttribute;
    decltype(&::ippGetInteger) getInteger;
    decltype(&::ippGetBoolean) getBoolean;
    decltype(&::ippGetString) getString;
    decltype(&::ippGetCount) getCount;
    decltype(&::ippDelete) deleteIpp;
    decltype(&::ippLength) length;
    decltype(&::cupsDoRequest) doRequest;
    decltype(&::cupsSendRequest) sendRequest;
    decltype(&::cupsWriteRequestData) writeRequestData;
    decltype(&::cupsGetResponse) getResponse;
    decltype(&::cupsLastError) lastError;
    decltype(&::cupsLastErrorString) lastErrorString;
};

template <typename F>
bool Bind(void *library, const char *name, F &slot, std::string &missing) {
    slot = reinterpret_cast<F>(dlsym(library, name));
    if (slot == nullptr && missing.empty()) missing = name;
    return slot != nullptr;
}

// The library and its calls, looked up once; a library that could not be
// loaded is tried again at the next send (it may have been installed since).
const CupsApi *LoadCups(std::string &error) {
    static CupsApi api;
    static std::string loadedName;  // empty until a library was loaded
    if (!loadedName.empty() && loadedName == posix::g_cupsLibraryName) return &api;
    void *library = dlopen(posix::g_cupsLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char *why = dlerror();
        error = std::string("the CUPS library ") + posix::g_cupsLibraryName + " could not be loaded (" +
                (why != nullptr ? why : "no reason given") + ")";
        return nullptr;
    }
    std::string missing;
    bool ok = Bind(library, "cupsServer", api.server, missing) & Bind(library, "ippPort", api.defaultPort, missing) &
              Bind(library, "cupsEncryption", api.encryption, missing) & Bind(library, "cupsUser", api.user, missing) &
              Bind(library, "httpConnect2", api.connect, missing) & Bind(library, "httpClose", api.close, missing) &
              Bind(library, "httpReconnect2", api.reconnect, missing) &
              Bind(library, "httpError", api.httpError, missing) & Bind(library, "ippLength", api.length, missing) &
              Bind(library, "httpAssembleURI", api.assembleUri, missing) &
              Bind(library, "ippNewRequest", api.newRequest, missing) &
              Bind(library, "ippAddString", api.addString, missing) &
              Bind(library, "ippAddStrings", api.addStrings, missing) &
              Bind(library, "ippFindAttribute", api.findAttribute, missing) &
              Bind(library, "ippGetInteger", api.getInteger, missing) &
              Bind(library, "ippGetBoolean", api.getBoolean, missing) &
              Bind(library, "ippGetString", api.getString, missing) &
              Bind(library, "ippGetCount", api.getCount, missing) & Bind(library, "ippDelete", api.deleteIpp, missing) &
              Bind(library, "cupsDoRequest", api.doRequest, missing) &
              Bind(library, "cupsSendRequest", api.sendRequest, missing) &
              Bind(library, "cupsWriteRequestData", api.writeRequestData, missing) &
              Bind(library, "cupsGetResponse", api.getResponse, missing) &
              Bind(library, "cupsLastError", api.lastError, missing) &
              Bind(library, "cupsLastErrorString", api.lastErrorString, missing);
    if (!ok) {
        error = std::string("the CUPS library ") + posix::g_cupsLibraryName + " has no " + missing;
        dlclose(library);
        return nullptr;
    }
    loadedName = posix::g_cupsLibraryName;
    return &api;
}

// How long connecting to the server may take before the queue counts as
// unreachable.
constexpr int kConnectTimeoutMs = 10000;

// The server's last answer in its own words.
std::string LastError(const CupsApi &cups) {
    const char *text = cups.lastErrorString();
    return text != nullptr && *text != '\0' ? text : "no reason given";
}

// Why a stopped queue stopped: its state message, else its state reasons.
std::string StopReason(const CupsApi &cups, ipp_t *attributes) {
    ipp_attribute_t *message = cups.findAttribute(attributes, "printer-state-message", IPP_TAG_TEXT);
    const char *text = message != nullptr ? cups.getString(message, 0, nullptr) : nullptr;
    if (text != nullptr && *text != '\0') return text;
    std::string reasons;
    ipp_attribute_t *list = cups.findAttribute(attributes, "printer-state-reasons", IPP_TAG_KEYWORD);
    for (int i = 0; list != nullptr && i < cups.getCount(list); ++i) {
        const char *reason = cups.getString(list, i, nullptr);
        if (reason == nullptr) continue;
        if (!reasons.empty()) reasons += ", ";
        reasons += reason;
    }
    return reasons.empty() ? "no reason given" : reasons;
}

}  // namespace

QueueOutcome SendToQueue(const QueueAddress &address, const char *jobName, const char *bytes, uint32_t count) {
    std::string error;
    const CupsApi *api = LoadCups(error);
    if (api == nullptr) return QueueOutcome::Failed(QueueStep::Open, error);
    const CupsApi &cups = *api;

    // The system's server (CUPS_SERVER, client.conf, the local socket)
    // unless the port text names one.
    std::string host = address.host.empty() ? cups.server() : address.host;
    int port = address.port != 0 ? address.port : cups.defaultPort();
    bool localSocket = !host.empty() && host[0] == '/';
    std::string server = localSocket ? host : host + ":" + std::to_string(port);
    std::string where = "CUPS queue \"" + address.queue + "\" at " + server;

    http_encryption_t encryption = address.encrypted ? HTTP_ENCRYPTION_ALWAYS : cups.encryption();
    // Made first and connected after, so that a refused connection keeps
    // its reason.
    http_t *http = cups.connect(host.c_str(), port, nullptr, AF_UNSPEC, encryption, 1, 0, nullptr);
    if (http == nullptr) return QueueOutcome::Failed(QueueStep::Open, where + ": cannot reach the server: " + LastError(cups));
    if (cups.reconnect(http, kConnectTimeoutMs, nullptr) != 0) {
        int err = cups.httpError(http);
        cups.close(http);
        return QueueOutcome::Failed(QueueStep::Open,
                      where + ": cannot reach the server: " + (err != 0 ? std::strerror(err) : LastError(cups)));
    }

    char uri[1024];
    cups.assembleUri(HTTP_URI_CODING_ALL, uri, sizeof uri, address.encrypted ? "ipps" : "ipp", nullptr,
                     localSocket ? "localhost" : host.c_str(), port, address.resource.c_str());

    // The queue, and whether it prints now.
    ipp_t *request = cups.newRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    cups.addString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char *const kWanted[] = {"printer-state", "printer-state-message", "printer-state-reasons"};
    cups.addStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                    static_cast<int>(sizeof kWanted / sizeof kWanted[0]), nullptr, kWanted);
    ipp_t *attributes = cups.doRequest(http, request, "/");  // frees the request
    if (attributes == nullptr || cups.lastError() > IPP_STATUS_OK_EVENTS_COMPLETE) {
        QueueOutcome outcome = QueueOutcome::Failed(QueueStep::Open, where + ": " + LastError(cups));
        cups.deleteIpp(attributes);
        cups.close(http);
        return outcome;
    }
    ipp_attribute_t *state = cups.findAttribute(attributes, "printer-state", IPP_TAG_ENUM);
    if (state != nullptr && cups.getInteger(state, 0) == IPP_PSTATE_STOPPED) {
        // CUPS would queue the label and hold it until someone starts the
        // queue again; the host would count it printed meanwhile.
        QueueOutcome outcome = QueueOutcome::Failed(QueueStep::Write, where + " is stopped: " + StopReason(cups, attributes));
        cups.deleteIpp(attributes);
        cups.close(http);
        return outcome;
    }
    cups.deleteIpp(attributes);

    // The label: the whole stream in one request, unfiltered.
    request = cups.newRequest(IPP_OP_PRINT_JOB);
    cups.addString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    cups.addString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cups.user());
    cups.addString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr,
                   jobName != nullptr && *jobName != '\0' ? jobName : "label");
    cups.addString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr,
                   "application/vnd.cups-raw");
    const char *resource = address.resource.c_str();
    // The length announced is the request's and the label's together.
    http_status_t status = cups.sendRequest(http, request, resource, cups.length(request) + count);
    if (status == HTTP_STATUS_CONTINUE && count > 0) status = cups.writeRequestData(http, bytes, count);
    ipp_t *response = nullptr;
    if (status == HTTP_STATUS_CONTINUE) response = cups.getResponse(http, resource);
    QueueOutcome outcome;
    if (response == nullptr || cups.lastError() > IPP_STATUS_OK_EVENTS_COMPLETE) {
        outcome = QueueOutcome::Failed(QueueStep::Write, where + " did not take the label: " + LastError(cups));
    } else if (ipp_attribute_t *id = cups.findAttribute(response, "job-id", IPP_TAG_INTEGER)) {
        outcome.jobId = cups.getInteger(id, 0);
    }
    cups.deleteIpp(response);
    cups.deleteIpp(request);
    cups.close(http);
    return outcome;
}

}  // namespace zal::platform
