// The four printer option settings (heat, speed, vertical and horizontal
// offset): library-wide texts of at most 5 characters, filled by the job
// entry from the device's options, empty when the library is loaded, kept
// from one job to the next.
#pragma once

namespace zal {

struct PrinterOptions {
    char heat[6];
    char speed[6];
    char verticalOffset[6];
    char horizontalOffset[6];
};

PrinterOptions &CurrentPrinterOptions();

}  // namespace zal
