#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zal::preview {

// The modules of a two-dimensional symbol, row by row; MaxiCode's odd rows sit half a module right.
struct ModuleMatrix {
    int rows = 0, columns = 0;
    std::vector<uint8_t> dark;

    bool Dark(int row, int column) const { return dark[size_t(row) * columns + column] != 0; }
};

struct Encoded {
    ModuleMatrix matrix;
    std::string error;  // empty when the symbol was made
};

struct MaxiCodeMessage {
    int mode = 4;
    std::string primary;    // postal code, then country and class of service of three digits each
    std::string secondary;  // the rest, with the message header where the data had one
};

// The EPL2 data of a MaxiCode: in modes 2 and 3 a structured carrier message, "[)>" RS "01" GS and the
// two-digit version, then postal code, country and class of service, each ended by GS. These three
// make the primary message; the header and what follows the class make the secondary one. A postal
// code with letters needs mode 3; `notes` tell what was changed.
MaxiCodeMessage SplitMaxiCodeData(const std::string &data, int mode, std::vector<std::string> &notes);

Encoded EncodeMaxiCode(const MaxiCodeMessage &message, int symbolNumber, int symbolCount);
// columns 0: chosen by the encoder; securityLevel -1 likewise.
Encoded EncodePdf417(const std::string &data, int securityLevel, int columns, bool truncated);
// rows and columns 0: the smallest square symbol.
Encoded EncodeDataMatrix(const std::string &data, int rows, int columns);

}  // namespace zal::preview
