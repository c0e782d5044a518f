// printf-style formatting with the same output on both targets.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

#if defined(__GNUC__)
#define ZAL_PRINTF(fmtIndex, firstArg) __attribute__((format(printf, fmtIndex, firstArg)))
#else
#define ZAL_PRINTF(fmtIndex, firstArg)
#endif

namespace zal {

// vsnprintf, except that "%p" always prints the address as upper-case hex
// digits, two per pointer byte (eight on the 32-bit target), whatever the
// C library does.  Returns the length the full text has (as vsnprintf);
// the output is always terminated when size > 0.
int FormatV(char *out, std::size_t size, const char *format, std::va_list args);
int Format(char *out, std::size_t size, const char *format, ...) ZAL_PRINTF(3, 4);
std::string FormatString(const char *format, ...) ZAL_PRINTF(1, 2);
std::string FormatStringV(const char *format, std::va_list args);

// Bounded copy into a fixed field: at most size - 1 bytes and a terminator.
// Returns the number of bytes copied.
std::size_t CopyText(char *out, std::size_t size, const char *text);
template <std::size_t N>
std::size_t CopyText(char (&out)[N], const char *text) {
    return CopyText(out, N, text);
}
// Appends within the field; returns false (and appends what fits) when
// the text does not fit whole.
bool AppendText(char *out, std::size_t size, const char *text);
template <std::size_t N>
bool AppendText(char (&out)[N], const char *text) {
    return AppendText(out, N, text);
}

// Bounded strlen.
std::size_t TextLength(const char *text, std::size_t max);

}  // namespace zal
