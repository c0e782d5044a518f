// The printers of the Windows spooler, for zalprint info.
#include <windows.h>
#include <winspool.h>

#include <vector>

#include "Host.h"

namespace zalprint {

bool ListPrintQueues(std::vector<PrintQueue> &queues, std::string &where, std::string &error) {
    where = "the Windows spooler";
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0, count = 0;
    EnumPrintersA(flags, nullptr, 2, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + 1);
    if (!EnumPrintersA(flags, nullptr, 2, buffer.data(), needed, &needed, &count)) {
        if (needed == 0) return true;  // no printers
        error = "EnumPrinters failed with error " + std::to_string(GetLastError());
        return false;
    }
    char defaultName[256] = "";
    DWORD size = sizeof defaultName;
    if (!GetDefaultPrinterA(defaultName, &size)) defaultName[0] = '\0';
    const auto *info = reinterpret_cast<const PRINTER_INFO_2A *>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        PrintQueue queue;
        queue.name = info[i].pPrinterName ? info[i].pPrinterName : "";
        queue.device = info[i].pPortName ? info[i].pPortName : "";
        queue.state = (info[i].Status & PRINTER_STATUS_PAUSED) ? "paused" : "ready";
        queue.isDefault = queue.name == defaultName;
        queues.push_back(queue);
    }
    return true;
}

}  // namespace zalprint
