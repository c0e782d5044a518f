#include "common/PrinterOptions.h"

namespace zal {

PrinterOptions &CurrentPrinterOptions() {
    static PrinterOptions options{};
    return options;
}

}  // namespace zal
