// Build-time converter: reads the bitmap fonts named in FONTS.md (X11 PCF files, gzip-compressed)
// and writes the glyph tables of the five resident fonts as C++ source.
//   epl_fontgen OUT.cpp FONT12.pcf.gz FONT16.pcf.gz FONT20.pcf.gz FONT24.pcf.gz

#include "CodePages.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using zal::preview::CodePage;

std::vector<uint8_t> ReadGzip(const std::string &path) {
    gzFile file = gzopen(path.c_str(), "rb");
    if (!file)
        throw std::runtime_error("cannot open " + path);
    std::vector<uint8_t> data;
    uint8_t buffer[65536];
    int n;
    while ((n = gzread(file, buffer, sizeof(buffer))) > 0)
        data.insert(data.end(), buffer, buffer + n);
    gzclose(file);
    if (n < 0)
        throw std::runtime_error("cannot read " + path);
    return data;
}

// PCF: a table of contents, then tables that each start with their own format word.
class PcfReader {
public:
    explicit PcfReader(std::vector<uint8_t> data) : _data(std::move(data)) {
        if (U32(0, false) != 0x70636601)
            throw std::runtime_error("not a PCF file");
        uint32_t count = U32(4, false);
        for (uint32_t i = 0; i < count; ++i) {
            size_t at = 8 + i * 16;
            _tables[U32(at, false)] = U32(at + 12, false);
        }
    }

    struct Glyph {
        int left, right, width, ascent, descent;
        std::vector<std::vector<bool>> rows;  // ascent + descent rows of right - left dots
    };

    int ascent = 0, descent = 0;
    std::map<char32_t, Glyph> glyphs;

    void Load() {
        LoadAccelerators();
        auto metrics = LoadMetrics();
        auto bitmaps = LoadBitmaps(metrics);
        for (auto [code, index] : LoadEncodings())
            if (index < metrics.size())
                glyphs[code] = Glyph{metrics[index].left,   metrics[index].right,   metrics[index].width,
                                     metrics[index].ascent, metrics[index].descent, bitmaps[index]};
    }

private:
    enum : uint32_t { Accelerators = 2, Metrics = 4, Bitmaps = 8, Encodings = 32, BdfAccelerators = 256 };
    enum : uint32_t { ByteMsb = 1 << 2, BitMsb = 1 << 3, CompressedMetrics = 0x100 };

    struct Metric {
        int left, right, width, ascent, descent;
    };

    std::vector<uint8_t> _data;
    std::map<uint32_t, uint32_t> _tables;

    uint8_t U8(size_t at) const {
        if (at >= _data.size())
            throw std::runtime_error("PCF file cut short");
        return _data[at];
    }
    uint32_t U32(size_t at, bool msb) const {
        uint32_t b0 = U8(at), b1 = U8(at + 1), b2 = U8(at + 2), b3 = U8(at + 3);
        return msb ? b0 << 24 | b1 << 16 | b2 << 8 | b3 : b3 << 24 | b2 << 16 | b1 << 8 | b0;
    }
    int16_t I16(size_t at, bool msb) const {
        uint16_t b0 = U8(at), b1 = U8(at + 1);
        return static_cast<int16_t>(msb ? b0 << 8 | b1 : b1 << 8 | b0);
    }
    size_t Table(uint32_t type, uint32_t &format) const {
        auto it = _tables.find(type);
        if (it == _tables.end())
            throw std::runtime_error("PCF table missing");
        format = U32(it->second, false);
        return it->second + 4;
    }

    void LoadAccelerators() {
        uint32_t format;
        size_t at = Table(_tables.count(BdfAccelerators) ? BdfAccelerators : Accelerators, format);
        bool msb = format & ByteMsb;
        ascent = static_cast<int>(U32(at + 8, msb));
        descent = static_cast<int>(U32(at + 12, msb));
    }

    std::vector<Metric> LoadMetrics() {
        uint32_t format;
        size_t at = Table(Metrics, format);
        bool msb = format & ByteMsb;
        std::vector<Metric> metrics;
        if (format & CompressedMetrics) {
            int count = static_cast<uint16_t>(I16(at, msb));
            for (int i = 0; i < count; ++i) {
                size_t m = at + 2 + i * 5;
                metrics.push_back(
                    {U8(m) - 0x80, U8(m + 1) - 0x80, U8(m + 2) - 0x80, U8(m + 3) - 0x80, U8(m + 4) - 0x80});
            }
        } else {
            uint32_t count = U32(at, msb);
            for (uint32_t i = 0; i < count; ++i) {
                size_t m = at + 4 + i * 12;
                metrics.push_back({I16(m, msb), I16(m + 2, msb), I16(m + 4, msb), I16(m + 6, msb), I16(m + 8, msb)});
            }
        }
        return metrics;
    }

    std::vector<std::vector<std::vector<bool>>> LoadBitmaps(const std::vector<Metric> &metrics) {
        uint32_t format;
        size_t at = Table(Bitmaps, format);
        bool byteMsb = format & ByteMsb, bitMsb = format & BitMsb;
        size_t pad = size_t(1) << (format & 3), unit = size_t(1) << ((format >> 4) & 3);
        uint32_t count = U32(at, byteMsb);
        size_t data = at + 4 + count * 4 + 16;
        std::vector<std::vector<std::vector<bool>>> bitmaps;
        for (uint32_t i = 0; i < count && i < metrics.size(); ++i) {
            const Metric &m = metrics[i];
            int width = m.right - m.left, height = m.ascent + m.descent;
            size_t rowBytes = (size_t(std::max(width, 0)) + 7) / 8;
            rowBytes = (rowBytes + pad - 1) / pad * pad;
            size_t offset = data + U32(at + 4 + i * 4, byteMsb);
            std::vector<std::vector<bool>> rows;
            for (int y = 0; y < height; ++y) {
                std::vector<uint8_t> bytes(rowBytes);
                for (size_t b = 0; b < rowBytes; ++b)
                    bytes[b] = U8(offset + y * rowBytes + b);
                if (byteMsb != bitMsb)
                    for (size_t b = 0; b + unit <= rowBytes; b += unit)
                        std::reverse(bytes.begin() + b, bytes.begin() + b + unit);
                std::vector<bool> row(std::max(width, 0));
                for (int x = 0; x < width; ++x)
                    row[x] = bytes[x / 8] >> (bitMsb ? 7 - x % 8 : x % 8) & 1;
                rows.push_back(std::move(row));
            }
            bitmaps.push_back(std::move(rows));
        }
        return bitmaps;
    }

    std::map<char32_t, uint32_t> LoadEncodings() {
        uint32_t format;
        size_t at = Table(Encodings, format);
        bool msb = format & ByteMsb;
        int minByte2 = I16(at, msb), maxByte2 = I16(at + 2, msb), minByte1 = I16(at + 4, msb),
            maxByte1 = I16(at + 6, msb);
        std::map<char32_t, uint32_t> map;
        size_t entry = at + 10;
        for (int b1 = minByte1; b1 <= maxByte1; ++b1)
            for (int b2 = minByte2; b2 <= maxByte2; ++b2, entry += 2) {
                auto index = static_cast<uint16_t>(I16(entry, msb));
                if (index != 0xFFFF)
                    map[char32_t(b1 << 8 | b2)] = index;
            }
        return map;
    }
};

struct CellSpec {
    int number, cellWidth, cellHeight, source, scale;
};

// clang-format off
// Dot cells of the resident fonts at 203 dpi; font 5 is the 24-dot font drawn at twice its size.
const CellSpec kCells[] = {
    {1,  8, 12, 0, 1},
    {2, 10, 16, 1, 1},
    {3, 12, 20, 2, 1},
    {4, 14, 24, 3, 1},
    {5, 32, 48, 3, 2},
};
// clang-format on

std::vector<uint32_t> CellRows(const PcfReader &font, const PcfReader::Glyph &g, const CellSpec &spec) {
    std::vector<uint32_t> rows(spec.cellHeight);
    int left = (spec.cellWidth - g.width * spec.scale) / 2 + g.left * spec.scale;
    int top = (spec.cellHeight - (font.ascent + font.descent) * spec.scale) / 2 + (font.ascent - g.ascent) * spec.scale;
    for (size_t y = 0; y < g.rows.size(); ++y)
        for (size_t x = 0; x < g.rows[y].size(); ++x) {
            if (!g.rows[y][x])
                continue;
            for (int sy = 0; sy < spec.scale; ++sy)
                for (int sx = 0; sx < spec.scale; ++sx) {
                    int cx = left + int(x) * spec.scale + sx, cy = top + int(y) * spec.scale + sy;
                    if (cx >= 0 && cx < spec.cellWidth && cx < 32 && cy >= 0 && cy < spec.cellHeight)
                        rows[cy] |= 0x80000000u >> cx;
                }
        }
    return rows;
}

std::set<char32_t> WantedCodePoints() {
    std::set<char32_t> wanted;
    for (int b = 0x20; b < 0x100; ++b)
        for (CodePage page : {CodePage::Dos437, CodePage::Windows1252})
            if (char32_t c = zal::preview::ToUnicode(uint8_t(b), page))
                wanted.insert(c);
    return wanted;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s OUT.cpp FONT12 FONT16 FONT20 FONT24\n", argv[0]);
        return 2;
    }
    try {
        std::vector<PcfReader> sources;
        for (int i = 2; i < 6; ++i) {
            sources.emplace_back(ReadGzip(argv[i]));
            sources.back().Load();
        }
        std::string out =
            "// Generated by epl_fontgen from the fonts named in FONTS.md. Do not edit.\n"
            "#include \"ResidentFont.h\"\n\nnamespace zal::preview {\n\n// clang-format off\n";
        auto wanted = WantedCodePoints();
        std::string table = "extern const ResidentFont kResidentFonts[5];\nconst ResidentFont kResidentFonts[5] = {\n";
        for (const CellSpec &spec : kCells) {
            const PcfReader &font = sources[spec.source];
            std::string codes, rows;
            int count = 0;
            for (char32_t c : wanted) {
                auto it = font.glyphs.find(c);
                if (it == font.glyphs.end())
                    continue;
                codes += std::to_string(uint32_t(c)) + ",";
                for (uint32_t row : CellRows(font, it->second, spec)) {
                    char hex[16];
                    std::snprintf(hex, sizeof(hex), "0x%08X,", row);
                    rows += hex;
                }
                rows += "\n";
                ++count;
            }
            std::string n = std::to_string(spec.number);
            out += "static const char32_t kCodes" + n + "[] = {" + codes + "};\n";
            out += "static const uint32_t kRows" + n + "[] = {\n" + rows + "};\n";
            table += "\t{" + std::to_string(spec.cellWidth) + ", " + std::to_string(spec.cellHeight) + ", kCodes" + n +
                     ", kRows" + n + ", " + std::to_string(count) + "},\n";
        }
        out += table + "};\n// clang-format on\n\n} // namespace zal::preview\n";
        FILE *file = std::fopen(argv[1], "wb");
        if (!file || std::fwrite(out.data(), 1, out.size(), file) != out.size() || std::fclose(file) != 0) {
            std::fprintf(stderr, "epl_fontgen: cannot write %s\n", argv[1]);
            return 1;
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "epl_fontgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
