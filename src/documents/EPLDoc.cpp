#include "documents/EPLDoc.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "common/Log.h"
#include "common/Seams.h"

namespace zal::ZalLib {
namespace {

constexpr uint32_t kJobDebug = log::kJob;

// Line buffers, terminator included.
constexpr std::size_t kTextLine = 1024;
constexpr std::size_t kPartsText = 128;
constexpr std::size_t kShortLine = 32;
constexpr std::size_t kLongLine = 128;
constexpr std::size_t kBarcodeLine = 128;
constexpr std::size_t kBarcodeOpening = 96;
constexpr std::size_t kPdfHalf = 64;
constexpr std::size_t kHeaderSize = 128;

constexpr int kMaxicodeX = 5;

// Builds one command line within a limit, as snprintf with the templates'
// conversions would ("%03d": at least 3 digits, zero-padded, a minus sign
// counted in the width), without parsing a format for every line.
class CommandLine {
public:
    explicit CommandLine(std::size_t limit) : _limit(limit < sizeof _text ? limit : sizeof _text) {}
    CommandLine &Text(const char *text, std::size_t max = static_cast<std::size_t>(-1)) {
        for (std::size_t i = 0; i < max && text[i] != '\0'; ++i) Put(text[i]);
        return *this;
    }
    CommandLine &Char(char c) {
        Put(c);
        return *this;
    }
    CommandLine &Number(int value, int width = 1) {
        char digits[12];
        int n = 0;
        unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
        do {
            digits[n++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (value < 0) {
            Put('-');
            --width;
        }
        for (int pad = width - n; pad > 0; --pad) Put('0');
        while (n > 0) Put(digits[--n]);
        return *this;
    }
    // The line and its terminator fit the limit.
    bool Fits() const { return _length + 1 <= _limit; }
    const char *Data() const { return _text; }
    std::size_t Size() const { return _length; }

private:
    void Put(char c) {
        if (_length < sizeof _text) _text[_length] = c;
        ++_length;
    }
    char _text[kTextLine];
    std::size_t _length = 0;
    std::size_t _limit;
};

// "A%03d,%04d,<rotation>,<font>,<more>\"<text>\"\n"
CommandLine TextCommand(int x, int y, int rotation, const char *font, const char *style, const char *text) {
    CommandLine line(kTextLine);
    line.Char('A').Number(x, 3).Char(',').Number(y, 4).Char(',').Number(rotation).Char(',').Text(font).Text(style);
    line.Char('"').Text(text);
    line.Text("\"\n");
    return line;
}

// "<op>%03d,%04d,%03d,%03d\n"
CommandLine BoxCommand(std::size_t limit, const char *op, int a, int b, int c, int d) {
    CommandLine line(limit);
    line.Text(op).Number(a, 3).Char(',').Number(b, 4).Char(',').Number(c, 3).Char(',').Number(d, 3).Char('\n');
    return line;
}

bool IsBlank(const char *text) {
    while (*text == ' ') ++text;  // only the space: a tab is text to the printer
    return *text == '\0';
}

// Joins the pieces into out (kPartsText bytes); false when they do not fit.
bool JoinPieces(TextPieces pieces, char (&out)[kPartsText]) {
    std::size_t used = 0;
    for (const char *piece : pieces) {
        if (piece == nullptr) break;
        std::size_t length = std::strlen(piece);
        if (length > sizeof(out) - 1 - used) return false;
        std::memcpy(out + used, piece, length);
        used += length;
    }
    out[used] = '\0';
    return true;
}

bool Filled(const char *field) { return field[0] != '\0'; }

}  // namespace

EPLDoc::EPLDoc() {
    Initialized = false;
    Ended = false;
    CopyText(ClassName, "EPLDoc");
}

template <typename Line>
bool EPLDoc::AppendCommand(const Line &line) {
    return line.Fits() && Append(line.Data(), line.Size());
}

bool EPLDoc::AppendLine(std::size_t limit, const char *format, ...) {
    char line[kTextLine];
    if (limit > sizeof(line)) limit = sizeof(line);
    // the templates hold no %p: the C library's formatting is the same on both targets
    std::va_list args;
    va_start(args, format);
    int length = std::vsnprintf(line, limit, format, args);
    va_end(args);
    if (length < 0 || static_cast<std::size_t>(length) >= limit) return false;
    return Append(line, static_cast<std::size_t>(length));
}

bool EPLDoc::IsPrintable(const char *operation, int x, int y, const char *text) const {
    if (text == nullptr) return false;
    if (IsBlank(text)) {
        log::LogMessage(kJobDebug, "EPLDoc::%s -> Warning: Skipping blank text field at location %d, %d.", operation, x,
                        y);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- document

bool EPLDoc::InitDoc(const LabelFormat *format) {
    if (format == nullptr) {
        log::LogError("EPLDoc::InitDoc Failed (Invalid Parameter)");
        Initialized = false;
        return false;
    }
    if (!TimerRunning) {
        StartTicks = seams::TickCount();
        EndTicks = 0;
        TimerRunning = true;
    }
    log::LogInfo("EPLDoc::InitDoc: Creating label \"%.64s\".", format->Name);
    CopyText(Name, sizeof(Name), format->Name);
    Media = format->Media;
    // an unknown resolution leaves the 600 x 600 area; the label goes on
    GetMediaDims(&Media, format->Dpi, format->HorizontalMargin, format->VerticalMargin, &Dims);

    // The option texts hold at most 5 characters: the header always fits.
    char header[kHeaderSize];
    const char *hOffset = Filled(format->HOffset) ? format->HOffset : "000";
    const char *vOffset = Filled(format->VOffset) ? format->VOffset : "000";
    const char *speed = Filled(format->Speed) ? format->Speed : "6";
    int length = Format(header, sizeof(header), "%s%s" "R%.5s,%.5s\n" "S%.5s\n",
                        format->HeaderPrefix != 0 ? "M132,5,5\n" : "\n",
                        Media.Orientation.Id == kOrientationFlipped ? "ZT\n" : "ZB\n", hOffset, vOffset, speed);
    if (Filled(format->Heat)) {
        length += Format(header + length, sizeof(header) - length, "D%.5s\n", format->Heat);
    }
    length += Format(header + length, sizeof(header) - length, "N\n");

    if (!EnsureSpace(static_cast<uint32_t>(length))) {
        log::LogError("EPLDoc::InitDoc Failed (Allocation failure)");
        Initialized = false;
        return false;
    }
    if (!Write(header, static_cast<std::size_t>(length))) {
        log::LogError("EPLDoc::InitDoc Failed (Write failure)");
        Initialized = false;
        return false;
    }
    Initialized = true;
    if (format->MaxLabelWidth != 0) {
        log::LogInfo("EPLDoc::InitDoc: HOffset=\"%.6s\" VOffset=\"%.6s\" Speed=\"%.6s\" Heat=\"%.6s\" "
                     "MaxLabelWidth=\"%s\"",
                     format->HOffset, format->VOffset, format->Speed, format->Heat, "");
    } else {
        log::LogInfo("EPLDoc::InitDoc: HOffset=\"%.6s\" VOffset=\"%.6s\" Speed=\"%.6s\" Heat=\"%.6s\"", format->HOffset,
                     format->VOffset, format->Speed, format->Heat);
    }
    return true;
}

bool EPLDoc::EndDoc() {
    if (TimerRunning) {
        EndTicks = seams::TickCount();
        TimerRunning = false;
    }
    if (!EnsureSpace(3)) {
        log::LogError("EPLDoc::EndDoc Failed (Allocation failure)");
        return false;
    }
    if (!Write("P1\n", 3)) {
        log::LogError("EPLDoc::EndDoc Failed (Write failure)");
        return false;
    }
    Ended = true;
    unsigned long long elapsed = EndTicks > StartTicks ? EndTicks - StartTicks : 0;
    log::LogInfo("EPLDoc::EndDoc OK (%llu ms)", elapsed);
    return true;
}

bool EPLDoc::SaveToFile(const char *path) {
    if (_SourceCount == 0) return true;
    std::FILE *file = OpenForSave(path, "EPLDoc");
    if (file == nullptr) return false;
    char date[9];
    char time[9];
    seams::LocalDateTime(date, time);
    bool header = std::fprintf(file,
                               ";*************************\n"
                               "; Label Name : %s\n"
                               "; Generated  : %s %s\n"
                               ";*************************\n",
                               Name, date, time) > 0;
    return FinishSave(file) && header;
}

// ---------------------------------------------------------------- text

bool EPLDoc::PrintText(int x, int y, const char *font, const char *text) { return PrintText(x, y, 0, font, text); }

bool EPLDoc::PrintText(int x, int y, int rotation, const char *font, const char *text) {
    if (font == nullptr || !IsPrintable("PrintText", x, y, text)) return false;
    ValidateCoords(x, y);  // outside the area: written unshifted, the warning is in the log
    return AppendCommand(TextCommand(x, y, rotation, font, ",N,", text));
}

bool EPLDoc::PrintInverseText(int x, int y, const char *font, const char *text, int rotation) {
    if (font == nullptr || !IsPrintable("PrintInverseText", x, y, text)) return false;
    ValidateCoords(x, y);
    return AppendCommand(TextCommand(x, y, rotation, font, ",R,", text));
}

bool EPLDoc::PrintTextEx(int x, int y, const FontDescriptor &font, const char *text) {
    if (!IsPrintable("PrintTextEx", x, y, text)) return false;
    ValidateCoords(x, y);
    return AppendLine(kTextLine, "A%03d,%04d,0,%.16s,%d,%d,N,\"%s\"\n", x, y, font.Name, font.HMult, font.VMult, text);
}

bool EPLDoc::PrintTextParts(int x, int y, const char *font, TextPieces pieces) {
    char text[kPartsText];
    return JoinPieces(pieces, text) && PrintText(x, y, font, text);
}

bool EPLDoc::PrintTextExParts(int x, int y, const FontDescriptor &font, TextPieces pieces) {
    char text[kPartsText];
    return JoinPieces(pieces, text) && PrintTextEx(x, y, font, text);
}

// ---------------------------------------------------------------- graphics

bool EPLDoc::DrawLine(int x, int y, int width, int height) {
    return AppendCommand(BoxCommand(kLongLine, "LO", x, y, width, height));
}

bool EPLDoc::DrawFullWidthLine(int y, int thickness) { return DrawLine(0, y, Dims.Width, thickness); }

bool EPLDoc::DrawHorizontalLine(int x, int y, int width, int height) {
    return AppendCommand(BoxCommand(kShortLine, "LO", x, y, width, height));
}

bool EPLDoc::DrawFilledBox(int x, int y, int width, int height) {
    return AppendCommand(BoxCommand(kShortLine, "LO", x, y, width, height));
}

bool EPLDoc::DrawXorBox(int x, int y, int width, int height) {
    return AppendCommand(BoxCommand(kShortLine, "LE", x, y, width, height));
}

bool EPLDoc::DrawBox(int x, int y, int width, int height, int thickness) {
    return AppendLine(kShortLine, "X%03d,%04d,%03d,%03d,%04d\n", x, y, thickness, x + width, y + height);
}

// Black, then exclusive-or over the same area: it ends white.
bool EPLDoc::EraseBox(int x, int y, int width, int height) {
    return DrawFilledBox(x, y, width, height) && DrawXorBox(x, y, width, height);
}

bool EPLDoc::AddComment(const char *text) { return text != nullptr && AppendLine(kLongLine, "; %s\n", text); }

// ---------------------------------------------------------------- bar codes

bool EPLDoc::DrawBarcode(int x, int y, const BarcodeDescriptor &barcode, const char *data) {
    if (data == nullptr) return false;
    char readable = barcode.HumanReadable != 0 ? 'Y' : 'N';
    if (barcode.Quoted != 0) {
        return AppendLine(kBarcodeLine, "B%03d,%04d,0,%.4s,%d,%d,%d,%c,\"%s\"\n", x, y, barcode.Type, barcode.NarrowBar,
                          barcode.WideBar, barcode.BarHeight, readable, data);
    }
    return AppendLine(kBarcodeLine, "B%03d,%04d,0,%.4s,%d,%d,%d,%c,%s\n", x, y, barcode.Type, barcode.NarrowBar,
                      barcode.WideBar, barcode.BarHeight, readable, data);
}

// Room for the data the symbol holds, not for the most it could hold: a
// PDF417 field may be 220,001 bytes, and reserving (and zeroing) that much
// for each symbol cost more than the whole rest of a label.
bool EPLDoc::AppendBarcodeData(const char *data, uint32_t limit) {
    const auto length = static_cast<uint32_t>(TextLength(data, limit));
    if (!EnsureSpace(length) || !Write(data, length)) return false;
    return Append("\"\n", 2);
}

bool EPLDoc::DrawMaxicodeBarcode(int y, const MaxicodeDescriptor &maxicode, const char *data) {
    if (data == nullptr) return false;
    bool numbered = maxicode.SymbolNumber >= 1 && maxicode.SymbolNumber <= 8 && maxicode.SymbolCount >= 1 &&
                    maxicode.SymbolCount <= 8;
    bool opened = numbered ? AppendLine(kBarcodeOpening, "b%03d,%04d,M,%.8s,%d,%d,\"", kMaxicodeX, y, maxicode.Mode,
                                        maxicode.SymbolNumber, maxicode.SymbolCount)
                           : AppendLine(kBarcodeOpening, "b%03d,%04d,M,%.8s,\"", kMaxicodeX, y, maxicode.Mode);
    if (!opened) return false;
    log::LogMessage(kJobDebug, "EPLDoc::DrawMaxicodeBarcode -> Maxicode Data Size: %u", kMaxicodeDataSize);
    return AppendBarcodeData(data, kMaxicodeDataSize);
}

bool EPLDoc::DrawDataMatrixBarcode(int x, int y, const DataMatrixDescriptor &matrix, const char *data,
                                   uint32_t length) {
    if (data == nullptr) return false;
    if (!AppendLine(kBarcodeOpening, "b%03d,%04d,D,h%01d,\"", x, y, matrix.HValue)) return false;
    log::LogMessage(kJobDebug, "EPLDoc::DrawDataMatrixBarcode -> DataMatrix Data Size: %u", length);
    return AppendBarcodeData(data, length);
}

bool EPLDoc::DrawPDF417Barcode(int x, int y, const Pdf417Descriptor &pdf, const char *data) {
    if (data == nullptr) return false;
    char first[kPdfHalf];
    char second[kPdfHalf];
    int firstLength = Format(first, sizeof(first), "b%03d,%04d,P,%03d,%03d,s%01d,c%01d,", x, y, pdf.MaxWidth,
                             pdf.MaxHeight, pdf.Security, pdf.Compression);
    int secondLength = Format(second, sizeof(second), "f%01d,x%01d,y%01d,r%01d,l%01d,\"", pdf.Flag, pdf.ModuleWidth,
                              pdf.BarHeight, pdf.Rows, pdf.Columns);
    if (firstLength < 0 || firstLength >= int(kPdfHalf) || secondLength < 0 || secondLength >= int(kPdfHalf)) {
        return false;
    }
    if (!AppendLine(kPdfHalf * 2, "%s%s", first, second)) return false;
    log::LogMessage(kJobDebug, "EPLDoc::DrawPDF417Barcode -> PDF417 Data Size: %u", kPdf417DataSize);
    return AppendBarcodeData(data, kPdf417DataSize);
}

}  // namespace zal::ZalLib
