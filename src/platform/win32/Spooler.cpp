// Print queues on Windows: a printer of the spooler, sent the label as one
// RAW document (OpenPrinterA, StartDocPrinterA, WritePrinter,
// EndDocPrinter).  A document that cannot be finished is aborted, so no
// partial label stays in the queue.
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/win32/Win32.h"

#include <winspool.h>

namespace zal::platform {
namespace {

std::string DescribeLastError() {
    DWORD code = ::GetLastError();
    std::string text;
    if (!SystemMessage(code, 0, text)) text = "error " + std::to_string(code);
    return text;
}

// "CUPS <queue>" names the printer itself; an ipp:// text names the
// printer connection Windows makes for that URL (http://host:port/...).
std::string PrinterName(const QueueAddress &address) {
    if (address.host.empty()) return address.queue;
    std::string url = address.encrypted ? "https://" : "http://";
    url += address.host;
    if (address.port != 0) url += ":" + std::to_string(address.port);
    return url + address.resource;
}

// Whether the printer is paused, with the status bits the spooler reports.
bool IsPaused(HANDLE printer) {
    DWORD needed = 0;
    ::GetPrinterA(printer, 2, nullptr, 0, &needed);
    if (needed == 0) return false;
    std::vector<BYTE> buffer(needed);
    if (!::GetPrinterA(printer, 2, buffer.data(), needed, &needed)) return false;
    const auto *info = reinterpret_cast<const PRINTER_INFO_2A *>(buffer.data());
    return (info->Status & PRINTER_STATUS_PAUSED) != 0;
}

}  // namespace

QueueOutcome SendToQueue(const QueueAddress &address, const char *jobName, const char *bytes, uint32_t count) {
    std::string name = PrinterName(address);
    std::string where = "printer \"" + name + "\" of the spooler";
    HANDLE printer = nullptr;
    if (!::OpenPrinterA(const_cast<char *>(name.c_str()), &printer, nullptr) || printer == nullptr) {
        return QueueOutcome::Failed(QueueStep::Open, "cannot open the " + where + ": " + DescribeLastError());
    }
    if (IsPaused(printer)) {
        // The spooler would hold the label until the printer is resumed.
        ::ClosePrinter(printer);
        return QueueOutcome::Failed(QueueStep::Write, "the " + where + " is paused");
    }
    std::string document = jobName != nullptr && *jobName != '\0' ? jobName : "label";
    DOC_INFO_1A info = {};
    info.pDocName = &document[0];
    info.pOutputFile = nullptr;
    info.pDatatype = const_cast<char *>("RAW");
    DWORD job = ::StartDocPrinterA(printer, 1, reinterpret_cast<BYTE *>(&info));
    if (job == 0) {
        QueueOutcome outcome = QueueOutcome::Failed(QueueStep::Write, "the " + where + " did not start a document: " +
                                                            DescribeLastError());
        ::ClosePrinter(printer);
        return outcome;
    }
    uint32_t sent = 0;
    while (sent < count) {
        DWORD written = 0;
        if (!::WritePrinter(printer, const_cast<char *>(bytes + sent), count - sent, &written) || written == 0) {
            QueueOutcome outcome = QueueOutcome::Failed(QueueStep::Write, "the " + where + " took " + std::to_string(sent) +
                                                                " of " + std::to_string(count) +
                                                                " bytes: " + DescribeLastError());
            ::AbortPrinter(printer);
            ::ClosePrinter(printer);
            return outcome;
        }
        sent += written;
    }
    if (!::EndDocPrinter(printer)) {
        QueueOutcome outcome =
            QueueOutcome::Failed(QueueStep::Write, "the " + where + " did not finish the document: " + DescribeLastError());
        ::AbortPrinter(printer);
        ::ClosePrinter(printer);
        return outcome;
    }
    ::ClosePrinter(printer);
    QueueOutcome outcome;
    outcome.jobId = static_cast<int>(job);
    return outcome;
}

}  // namespace zal::platform
