// Helpers on fixed-size, zero-terminated single-byte text buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace zal {

// Results of the append family: the errno values EINVAL and ERANGE.
constexpr int kStrOk = 0;
constexpr int kStrInvalid = 22;
constexpr int kStrTooLong = 34;

using TextList = std::initializer_list<const char *>;

// Appends every text in order; stops with 34 at the first that does not fit
// (the texts before it stay).  A null entry ends the list early.
int AppendStrings(char *buffer, std::size_t size, TextList texts);
// As AppendStrings, but the first text replaces the buffer's content.
int CopyStrings(char *buffer, std::size_t size, TextList texts);
// Appends every non-empty text followed by the separator (unless it already
// ends with it); a text beginning with the separator is skipped unless
// keepLeading is set.  Both the text and its separator must fit, else 34.
int JoinWithSeparator(char *buffer, std::size_t size, char separator, bool keepLeading, TextList texts);

void PadRight(char *text, std::size_t width);
void PadL(char *text, std::size_t size, std::size_t width);
void CenterText(char *text, std::size_t size, std::size_t width);
char *TrimWhitespace(char *text, std::size_t maxLength);
bool EncloseInBrackets(char *text, std::size_t size);
void KeepAlphanumeric(const char *source, char *destination, std::size_t maxCount);
void KeepDigits(char *destination, const char *source);
void CopyWithoutChar(char *destination, std::size_t size, const char *source, std::size_t count, char character);
void NormalizeBlanks(char *text, std::size_t size);
void ReplaceChar(char *destination, const char *source, char oldChar, char newChar);
void QuotesToApostrophes(char *text, std::size_t size);
bool ReplaceAll(char *text, std::size_t size, const char *needle, const char *replacement);
void InsertThousandsSeparators(const char *amount, char *destination, std::size_t size);
int WordWrap(char *text, std::size_t size, std::size_t width);
// The text in groups of the given sizes joined by single blanks (a group
// past the text's end is empty, its blank stays), cut to the buffer.
void GroupText(const char *text, std::initializer_list<std::size_t> sizes, char *out, std::size_t size);
template <std::size_t N>
void GroupText(const char *text, std::initializer_list<std::size_t> sizes, char (&out)[N]) {
    GroupText(text, sizes, out, N);
}
bool IsBlankText(const char *text, std::size_t maxLength);
bool IsDigitsSpacesDashes(const char *text, std::size_t maxLength);
bool EqualsNoCase(const char *a, const char *b);
bool IsUsbPortName(const char *name);

// Upper-cases ASCII letters in place (the C library's strupr in the "C" locale).
void UpperCase(char *text);
// True when text contains needle (plain strstr, for the substring rules).
bool Contains(const char *text, const char *needle);

}  // namespace zal
