// The four printer option settings (heat, speed, vertical and horizontal
// offset): texts of at most 5 characters.  The library keeps the last ones
// read (empty when it is loaded) from one job to the next, since a speed
// that matches no rule keeps the previous one; each job prints with its own
// copy (LabelContext).
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
