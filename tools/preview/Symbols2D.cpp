#include "Symbols2D.h"

#include <zint.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace zal::preview {

namespace {

using SymbolPtr = std::unique_ptr<zint_symbol, decltype(&ZBarcode_Delete)>;

SymbolPtr NewSymbol(int symbology) {
    SymbolPtr symbol(ZBarcode_Create(), &ZBarcode_Delete);
    if (symbol) {
        symbol->symbology = symbology;
        symbol->input_mode = DATA_MODE;
    }
    return symbol;
}

Encoded Run(zint_symbol *symbol, const std::string &data) {
    Encoded result;
    if (!symbol) {
        result.error = "out of memory";
        return result;
    }
    if (data.empty()) {
        result.error = "no data";
        return result;
    }
    int status = ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char *>(data.data()), int(data.size()));
    if (status >= ZINT_ERROR) {
        result.error = symbol->errtxt;
        return result;
    }
    ModuleMatrix &m = result.matrix;
    m.rows = symbol->rows;
    m.columns = symbol->width;
    m.dark.resize(size_t(m.rows) * m.columns);
    for (int r = 0; r < m.rows; ++r)
        for (int c = 0; c < m.columns; ++c)
            m.dark[size_t(r) * m.columns + c] = symbol->encoded_data[r][c >> 3] >> (c & 7) & 1;
    return result;
}

bool AllDigits(const std::string &text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Three digits, as the primary message holds them.
std::string ThreeDigits(const std::string &field, const char *what, std::vector<std::string> &notes) {
    if (field.size() > 3 || !AllDigits(field)) {
        notes.push_back(std::string("MaxiCode ") + what + " \"" + field + "\" is not a number of up to three digits");
        return "000";
    }
    return std::string(3 - field.size(), '0') + field;
}

// clang-format off
// Data Matrix ECC 200 sizes in the encoder's order of its size option (1-based).
const int kDataMatrixSizes[][2] = {
    {10, 10}, {12, 12}, {14, 14}, {16, 16}, {18, 18}, {20, 20}, {22, 22}, {24, 24}, {26, 26}, {32, 32},
    {36, 36}, {40, 40}, {44, 44}, {48, 48}, {52, 52}, {64, 64}, {72, 72}, {80, 80}, {88, 88}, {96, 96},
    {104, 104}, {120, 120}, {132, 132}, {144, 144}, {8, 18}, {8, 32}, {12, 26}, {12, 36}, {16, 36}, {16, 48},
};
// clang-format on

}  // namespace

MaxiCodeMessage SplitMaxiCodeData(const std::string &data, int mode, std::vector<std::string> &notes) {
    MaxiCodeMessage message;
    message.mode = mode;
    message.secondary = data;
    const std::string header =
        "[)>\x1E"
        "01\x1D";
    bool structured = data.size() >= 9 && data.compare(0, header.size(), header) == 0 && isdigit(uint8_t(data[7])) &&
                      isdigit(uint8_t(data[8]));
    if (mode != 2 && mode != 3)
        return message;
    if (!structured) {
        notes.push_back("MaxiCode mode " + std::to_string(mode) +
                        " without a structured carrier message: mode 4 is used");
        message.mode = 4;
        return message;
    }

    std::string fields[3];
    size_t pos = 9;
    for (auto &field : fields) {
        size_t gs = data.find('\x1D', pos);
        if (gs == std::string::npos) {
            notes.push_back("MaxiCode structured carrier message lacks postal code, country or class: mode 4 is used");
            message.mode = 4;
            return message;
        }
        field = data.substr(pos, gs - pos);
        pos = gs + 1;
    }
    std::string postal = fields[0];
    std::string country = ThreeDigits(fields[1], "country", notes),
                service = ThreeDigits(fields[2], "class of service", notes);

    if (!postal.empty() && AllDigits(postal) && postal.size() <= 9) {
        if (mode == 3)
            notes.push_back("MaxiCode postal code " + postal + " is numeric: mode 2 is used");
        message.mode = 2;
    } else {
        if (mode == 2)
            notes.push_back("MaxiCode postal code \"" + postal + "\" is not numeric: mode 3 is used");
        message.mode = 3;
        for (char &c : postal)
            c = char(toupper(uint8_t(c)));
        if (postal.size() > 6) {
            notes.push_back("MaxiCode postal code \"" + postal + "\" is cut to 6 characters");
            postal.resize(6);
        }
    }
    message.primary = postal + country + service;
    message.secondary = data.substr(0, 9) + data.substr(pos);
    return message;
}

Encoded EncodeMaxiCode(const MaxiCodeMessage &message, int symbolNumber, int symbolCount) {
    auto symbol = NewSymbol(BARCODE_MAXICODE);
    if (symbol) {
        symbol->option_1 = message.mode;
        if (message.mode == 2 || message.mode == 3)
            message.primary.copy(symbol->primary, sizeof(symbol->primary) - 1);
        if (symbolCount >= 2 && symbolCount <= 8 && symbolNumber >= 1 && symbolNumber <= symbolCount) {
            symbol->structapp.index = symbolNumber;
            symbol->structapp.count = symbolCount;
        }
    }
    return Run(symbol.get(), message.secondary);
}

Encoded EncodePdf417(const std::string &data, int securityLevel, int columns, bool truncated) {
    auto symbol = NewSymbol(truncated ? BARCODE_PDF417COMP : BARCODE_PDF417);
    if (symbol) {
        symbol->option_1 = securityLevel >= 0 && securityLevel <= 8 ? securityLevel : -1;
        symbol->option_2 = columns >= 1 && columns <= 30 ? columns : 0;
    }
    Encoded result = Run(symbol.get(), data);
    if (!result.error.empty() && symbol && symbol->option_2 != 0) {
        // too many rows for the columns asked: let the encoder choose
        auto retry = NewSymbol(symbol->symbology);
        if (retry)
            retry->option_1 = symbol->option_1;
        result = Run(retry.get(), data);
    }
    return result;
}

Encoded EncodeDataMatrix(const std::string &data, int rows, int columns) {
    auto symbol = NewSymbol(BARCODE_DATAMATRIX);
    if (symbol) {
        symbol->option_3 = DM_SQUARE;
        for (size_t i = 0; i < std::size(kDataMatrixSizes); ++i)
            if (kDataMatrixSizes[i][0] == rows && kDataMatrixSizes[i][1] == columns) {
                symbol->option_2 = int(i) + 1;
                symbol->option_3 = 0;
            }
    }
    return Run(symbol.get(), data);
}

}  // namespace zal::preview
