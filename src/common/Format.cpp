#include "common/Format.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace zal {
namespace {

// Appends to out[pos..size) as snprintf would, tracking the full length.
struct Sink {
    char *out;
    std::size_t size;
    std::size_t length = 0;

    void Put(const char *text, std::size_t n) {
        if (length < size) {
            std::size_t room = size - 1 - length;
            std::memcpy(out + length, text, n < room ? n : room);
        }
        length += n;
    }
};

bool IsFlag(char c) { return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0'; }

}  // namespace

int FormatV(char *out, std::size_t size, const char *format, std::va_list args) {
    if (format == nullptr) {
        if (size > 0) out[0] = '\0';
        return 0;
    }
    if (std::strstr(format, "%p") == nullptr) {
        return std::vsnprintf(out, size, format, args);
    }
    // Slow path: hand every conversion to snprintf on its own, except %p.
    Sink sink{out, size};
    const char *p = format;
    char spec[32];
    char piece[512];
    while (*p != '\0') {
        const char *start = std::strchr(p, '%');
        if (start == nullptr) {
            sink.Put(p, std::strlen(p));
            break;
        }
        sink.Put(p, static_cast<std::size_t>(start - p));
        const char *q = start + 1;
        if (*q == '%') {
            sink.Put("%", 1);
            p = q + 1;
            continue;
        }
        int stars[2] = {0, 0};
        int starCount = 0;
        while (IsFlag(*q)) ++q;
        if (*q == '*') {
            stars[starCount++] = va_arg(args, int);
            ++q;
        } else {
            while (*q >= '0' && *q <= '9') ++q;
        }
        if (*q == '.') {
            ++q;
            if (*q == '*') {
                stars[starCount++] = va_arg(args, int);
                ++q;
            } else {
                while (*q >= '0' && *q <= '9') ++q;
            }
        }
        int longs = 0;
        bool size_t_mod = false;
        bool half = false;
        while (*q == 'l' || *q == 'h' || *q == 'z' || *q == 'j' || *q == 't' || *q == 'L') {
            if (*q == 'l') ++longs;
            if (*q == 'z' || *q == 't') size_t_mod = true;
            if (*q == 'j') longs = 2;
            if (*q == 'h') half = true;
            ++q;
        }
        char conv = *q;
        if (conv == '\0') {
            sink.Put(start, std::strlen(start));
            break;
        }
        ++q;
        std::size_t specLen = static_cast<std::size_t>(q - start);
        if (specLen >= sizeof(spec)) specLen = sizeof(spec) - 1;
        std::memcpy(spec, start, specLen);
        spec[specLen] = '\0';
        int n = 0;
        auto emit = [&](auto value) {
            if (starCount == 2) {
                n = std::snprintf(piece, sizeof(piece), spec, stars[0], stars[1], value);
            } else if (starCount == 1) {
                n = std::snprintf(piece, sizeof(piece), spec, stars[0], value);
            } else {
                n = std::snprintf(piece, sizeof(piece), spec, value);
            }
        };
        switch (conv) {
            case 'd':
            case 'i':
                if (longs >= 2) emit(va_arg(args, long long));
                else if (longs == 1) emit(va_arg(args, long));
                else if (size_t_mod) emit(va_arg(args, std::ptrdiff_t));
                else emit(va_arg(args, int));
                break;
            case 'u':
            case 'x':
            case 'X':
            case 'o':
            case 'c':
                if (longs >= 2) emit(va_arg(args, unsigned long long));
                else if (longs == 1) emit(va_arg(args, unsigned long));
                else if (size_t_mod) emit(va_arg(args, std::size_t));
                else emit(va_arg(args, unsigned int));
                break;
            case 'e':
            case 'E':
            case 'f':
            case 'F':
            case 'g':
            case 'G':
            case 'a':
            case 'A':
                emit(va_arg(args, double));
                break;
            case 's': {
                const char *s = va_arg(args, const char *);
                // Long texts bypass the piece buffer.
                if (starCount == 0 && specLen == 2) {
                    const char *t = s ? s : "(null)";
                    sink.Put(t, std::strlen(t));
                    n = -2;
                } else {
                    if (starCount == 2) {
                        std::string big(static_cast<std::size_t>(
                                            std::snprintf(nullptr, 0, spec, stars[0], stars[1], s)) + 1,
                                        '\0');
                        std::snprintf(&big[0], big.size(), spec, stars[0], stars[1], s);
                        sink.Put(big.data(), big.size() - 1);
                    } else if (starCount == 1) {
                        std::string big(
                            static_cast<std::size_t>(std::snprintf(nullptr, 0, spec, stars[0], s)) + 1,
                            '\0');
                        std::snprintf(&big[0], big.size(), spec, stars[0], s);
                        sink.Put(big.data(), big.size() - 1);
                    } else {
                        std::string big(static_cast<std::size_t>(std::snprintf(nullptr, 0, spec, s)) + 1,
                                        '\0');
                        std::snprintf(&big[0], big.size(), spec, s);
                        sink.Put(big.data(), big.size() - 1);
                    }
                    n = -2;
                }
                break;
            }
            case 'p': {
                const void *ptr = va_arg(args, const void *);
                n = std::snprintf(piece, sizeof(piece), "%0*llX", static_cast<int>(2 * sizeof(void *)),
                                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(ptr)));
                break;
            }
            case 'n':
                (void)va_arg(args, void *);
                break;
            default:
                sink.Put(start, specLen);
                break;
        }
        (void)half;
        if (n > 0) {
            sink.Put(piece, static_cast<std::size_t>(n) < sizeof(piece) ? static_cast<std::size_t>(n)
                                                                           : sizeof(piece) - 1);
        }
        p = q;
    }
    if (size > 0) out[sink.length < size ? sink.length : size - 1] = '\0';
    return static_cast<int>(sink.length);
}

int Format(char *out, std::size_t size, const char *format, ...) {
    std::va_list args;
    va_start(args, format);
    int n = FormatV(out, size, format, args);
    va_end(args);
    return n;
}

std::string FormatStringV(const char *format, std::va_list args) {
    char small[512];
    std::va_list copy;
    va_copy(copy, args);
    int n = FormatV(small, sizeof(small), format, copy);
    va_end(copy);
    if (n < 0) return std::string();
    if (static_cast<std::size_t>(n) < sizeof(small)) return std::string(small, static_cast<std::size_t>(n));
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    FormatV(&big[0], big.size(), format, args);
    big.resize(static_cast<std::size_t>(n));
    return big;
}

std::string FormatString(const char *format, ...) {
    std::va_list args;
    va_start(args, format);
    std::string s = FormatStringV(format, args);
    va_end(args);
    return s;
}

std::size_t CopyText(char *out, std::size_t size, const char *text) {
    if (out == nullptr || size == 0) return 0;
    std::size_t n = 0;
    if (text != nullptr) {
        while (n + 1 < size && text[n] != '\0') {
            out[n] = text[n];
            ++n;
        }
    }
    out[n] = '\0';
    return n;
}

bool AppendText(char *out, std::size_t size, const char *text) {
    if (out == nullptr || size == 0) return false;
    std::size_t len = TextLength(out, size);
    if (len >= size) return false;
    std::size_t copied = CopyText(out + len, size - len, text);
    return text == nullptr || text[copied] == '\0';
}

std::size_t TextLength(const char *text, std::size_t max) {
    if (text == nullptr) return 0;
    std::size_t n = 0;
    while (n < max && text[n] != '\0') ++n;
    return n;
}

}  // namespace zal
