#include "common/Strings.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/Format.h"
#include "common/Heap.h"
#include "common/Log.h"

namespace zal {
namespace {

bool IsBlank(char c) { return c == ' '; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsAlphanumeric(char c) { return IsDigit(c) || IsUpper(c) || IsLower(c); }
bool IsWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
char ToUpper(char c) { return IsLower(c) ? static_cast<char>(c - 'a' + 'A') : c; }

// The append family's core: appends the texts after `used` characters.
int AppendFrom(char *buffer, std::size_t size, std::size_t used, TextList texts) {
    for (const char *text : texts) {
        if (text == nullptr) break;
        std::size_t length = std::strlen(text);
        // used may exceed size - 1 when the buffer arrived unterminated
        std::size_t freeSpace = used + 1 < size ? size - 1 - used : 0;
        if (freeSpace < 1 || length > freeSpace) return kStrTooLong;
        std::memcpy(buffer + used, text, length + 1);
        used += length;
    }
    return kStrOk;
}

}  // namespace

int AppendStrings(char *buffer, std::size_t size, TextList texts) {
    if (buffer == nullptr || size == 0) return kStrInvalid;
    return AppendFrom(buffer, size, TextLength(buffer, size), texts);
}

int CopyStrings(char *buffer, std::size_t size, TextList texts) {
    if (buffer == nullptr || size == 0) return kStrInvalid;
    // the old content goes even when the first text does not fit
    buffer[0] = '\0';
    return AppendFrom(buffer, size, 0, texts);
}

int JoinWithSeparator(char *buffer, std::size_t size, char separator, bool keepLeading, TextList texts) {
    if (buffer == nullptr || size == 0 || separator == '\0') return kStrInvalid;
    std::size_t used = TextLength(buffer, size);
    for (const char *text : texts) {
        if (text == nullptr) break;
        if (text[0] == '\0' || (text[0] == separator && !keepLeading)) continue;
        std::size_t length = std::strlen(text);
        bool endsWithSeparator = text[length - 1] == separator;
        std::size_t needed = length + (endsWithSeparator ? 0 : 1);
        std::size_t freeSpace = used + 1 < size ? size - 1 - used : 0;
        if (needed > freeSpace) return kStrTooLong;
        std::memcpy(buffer + used, text, length);
        used += length;
        if (!endsWithSeparator) buffer[used++] = separator;
        buffer[used] = '\0';
    }
    return kStrOk;
}

void PadRight(char *text, std::size_t width) {
    if (text == nullptr) return;
    std::size_t length = TextLength(text, width);
    std::memset(text + length, ' ', width - length);
    text[width] = '\0';
}

void PadL(char *text, std::size_t size, std::size_t width) {
    if (text == nullptr) return;
    if (size == 0) {
        log::LogError("PadL failed: size requested (%d) is larger than buffer size (%u).",
                      static_cast<int>(width + 1), static_cast<unsigned>(size));
        return;
    }
    if (width > size - 1) {
        log::LogError("PadL failed: size requested (%d) is larger than available buffer capacity (%u).",
                      static_cast<int>(width), static_cast<unsigned>(size - 1));
        return;
    }
    char *work = nullptr;
    if (!HeapAllocHlpr(&work, width + 1, "PadL:Temp")) return;
    std::size_t length = TextLength(text, size);
    if (length < width) {
        std::memset(work, ' ', width - length);
        std::memcpy(work + width - length, text, length);
        work[width] = '\0';
        std::memcpy(text, work, width + 1);
    }
    HeapFreeHlpr(&work, "PadL:Temp");
}

void CenterText(char *text, std::size_t size, std::size_t width) {
    if (text == nullptr || size == 0) return;
    std::size_t workWidth = std::min(width, size - 1);
    std::size_t length = TextLength(text, size);
    std::vector<char> work(text, text + length);
    work.push_back('\0');
    TrimWhitespace(work.data(), work.size());
    length = std::min(std::strlen(work.data()), workWidth);

    std::size_t padding = workWidth - length;
    std::size_t left = padding == 1 ? 1 : padding / 2;
    std::memset(text, ' ', left);
    std::memcpy(text + left, work.data(), length);
    std::memset(text + left + length, ' ', workWidth - left - length);
    text[workWidth] = '\0';
}

char *TrimWhitespace(char *text, std::size_t maxLength) {
    if (text == nullptr || text[0] == '\0') return text;
    log::LogMessage(log::kDebug | log::kDump, "TrimWhitespace: Target string before is \"%s\"", text);
    std::size_t length = TextLength(text, maxLength);
    std::size_t end = length;
    while (end > 0 && IsWhiteSpace(text[end - 1])) --end;
    std::size_t start = 0;
    while (start < end && IsWhiteSpace(text[start])) ++start;
    // untouched text keeps whatever lies beyond maxLength; else the
    // terminator lands before the old end, inside the buffer
    if (start > 0 || end < length) {
        std::memmove(text, text + start, end - start);
        text[end - start] = '\0';
    }
    log::LogMessage(log::kDebug | log::kDump, "TrimWhitespace: Target string after is \"%s\"", text);
    return text;
}

bool EncloseInBrackets(char *text, std::size_t size) {
    // "[" and "]" and the terminator need 3 bytes
    if (text == nullptr || size < 3) return false;
    std::size_t length = TextLength(text, size);
    if (length >= size) return false;  // no terminator inside the buffer
    char *work = nullptr;
    if (!HeapAllocHlpr(&work, size, "newtext")) return false;
    std::size_t kept = std::min(length, size - 3);
    work[0] = '[';
    std::memcpy(work + 1, text, kept);
    work[kept + 1] = ']';
    work[kept + 2] = '\0';
    std::memcpy(text, work, kept + 3);
    HeapFreeHlpr(&work, "newtext");
    return true;
}

void KeepAlphanumeric(const char *source, char *destination, std::size_t maxCount) {
    if (source == nullptr || destination == nullptr) return;
    std::size_t count = 0;
    for (; *source != '\0' && count < maxCount; ++source) {
        if (IsAlphanumeric(*source)) destination[count++] = *source;
    }
    destination[count] = '\0';
}


void KeepDigits(char *destination, const char *source) {
    if (destination == nullptr || source == nullptr) return;
    for (; *source != '\0'; ++source) {
        if (IsDigit(*source)) *destination++ = *source;
    }
    *destination = '\0';
}

void CopyWithoutChar(char *destination, std::size_t size, const char *source, std::size_t count, char character) {
    if (destination == nullptr || size == 0) return;
    // count counts the terminator, so both limits cut one character short
    std::size_t limit = std::min(size, count);
    std::size_t copied = 0;
    if (source != nullptr) {
        for (; *source != '\0' && copied < limit; ++source) {
            if (*source != character) destination[copied++] = *source;
        }
    }
    destination[copied == limit && limit > 0 ? limit - 1 : copied] = '\0';
}

void NormalizeBlanks(char *text, std::size_t size) {
    constexpr std::size_t kMaxLength = 50;
    if (text == nullptr || size == 0) return;
    std::size_t length = TextLength(text, std::min(size, kMaxLength));
    char work[kMaxLength + 1];
    std::size_t out = 0;
    for (std::size_t i = 0; i < length; ++i) {
        char c = IsDigit(text[i]) || IsUpper(text[i]) ? text[i] : ' ';
        if (c == ' ' && out > 0 && work[out - 1] == ' ') continue;
        work[out++] = c;
    }
    while (out > 0 && work[out - 1] == ' ') --out;
    work[out] = '\0';
    CopyText(text, size, work);
}

void ReplaceChar(char *destination, const char *source, char oldChar, char newChar) {
    constexpr std::size_t kMaxLength = 2048;
    if (destination == nullptr || source == nullptr) return;
    std::size_t i = 0;
    for (; i < kMaxLength && source[i] != '\0'; ++i) {
        destination[i] = source[i] == oldChar ? newChar : source[i];
    }
    destination[i] = '\0';
}

void QuotesToApostrophes(char *text, std::size_t size) {
    if (text == nullptr) return;
    std::size_t i = 0;
    for (; i < size && text[i] != '\0'; ++i) {
        if (text[i] == '"') text[i] = '\'';
    }
    // a longer text is cut; text[size] is then part of it, so inside the buffer
    if (i == size && text[i] != '\0') text[i] = '\0';
}

bool ReplaceAll(char *text, std::size_t size, const char *needle, const char *replacement) {
    if (text == nullptr || size == 0 || needle == nullptr || needle[0] == '\0' || replacement == nullptr) {
        return false;
    }
    const std::string original(text, TextLength(text, size));
    const std::size_t needleLength = std::strlen(needle);
    std::string result;
    std::size_t pos = 0;
    std::size_t hit = original.find(needle);
    while (hit != std::string::npos) {
        result.append(original, pos, hit - pos).append(replacement);
        if (result.size() > size - 1) return false;
        pos = hit + needleLength;
        hit = original.find(needle, pos);
    }
    result.append(original, pos, std::string::npos);
    if (result.size() > size - 1) return false;
    std::memcpy(text, result.c_str(), result.size() + 1);
    return true;
}

void InsertThousandsSeparators(const char *amount, char *destination, std::size_t size) {
    // the last 6 characters are "ddd.cc"
    constexpr std::size_t kTail = 6;
    if (amount == nullptr || destination == nullptr) return;
    std::size_t length = std::strlen(amount);
    if (length < kTail + 1) {
        AppendStrings(destination, size, {amount});
        return;
    }
    std::size_t head = length - kTail;
    std::size_t group = head % 3 == 0 ? 3 : head % 3;
    for (std::size_t pos = 0; pos < head; pos += group, group = 3) {
        char piece[4] = {};
        std::memcpy(piece, amount + pos, group);
        if (AppendStrings(destination, size, {piece, ","}) != kStrOk) return;
    }
    AppendStrings(destination, size, {amount + head});
}

int WordWrap(char *text, std::size_t size, std::size_t width) {
    if (text == nullptr || size == 0 || width == 0) return 0;
    const std::size_t length = TextLength(text, size);
    std::string result;
    int lines = 0;
    std::size_t pos = 0;
    for (;;) {
        while (pos < length && IsBlank(text[pos])) ++pos;
        if (length - pos < width) break;
        const char *piece = text + pos;
        ++lines;
        if (IsBlank(piece[width - 1])) {
            result.append(piece, width - 1).push_back('\n');
            pos += width;
            continue;
        }
        std::size_t lastBlank = width;
        for (std::size_t i = 0; i < width; ++i) {
            if (IsBlank(piece[i])) lastBlank = i;
        }
        if (lastBlank < width) {
            result.append(piece, lastBlank).push_back('\n');
            pos += lastBlank + 1;
        } else {
            result.append(piece, width).push_back('\n');
            pos += width;
        }
    }
    if (pos < length) {
        result.append(text + pos, length - pos).push_back('\n');
        ++lines;
    }
    CopyText(text, size, result.c_str());
    return lines;
}

bool IsBlankText(const char *text, std::size_t maxLength) {
    if (text == nullptr) return true;
    for (std::size_t i = 0; i < maxLength && text[i] != '\0'; ++i) {
        if (!IsBlank(text[i])) return false;
    }
    return true;
}

bool IsDigitsSpacesDashes(const char *text, std::size_t maxLength) {
    if (text == nullptr || text[0] == '\0') return false;
    for (std::size_t i = 0; i < maxLength && text[i] != '\0'; ++i) {
        char c = text[i];
        if (!IsDigit(c) && c != ' ' && c != '-') return false;
    }
    return true;
}

bool EqualsNoCase(const char *a, const char *b) {
    // the upper-cased copies hold 1023 characters
    constexpr std::size_t kMaxLength = 1023;
    if (a == nullptr || b == nullptr) return a == b;
    std::size_t length = std::strlen(a);
    if (length != std::strlen(b)) return false;
    length = std::min(length, kMaxLength);
    for (std::size_t i = 0; i < length; ++i) {
        if (ToUpper(a[i]) != ToUpper(b[i])) return false;
    }
    return true;
}

bool IsUsbPortName(const char *name) {
    constexpr std::size_t kPrefixLength = 4;
    if (name == nullptr || TextLength(name, kPrefixLength) < kPrefixLength) return false;
    char *upperName = nullptr;
    if (!HeapAllocHlpr(&upperName, 1025, "strupr1")) return false;
    char *upperPrefix = nullptr;
    bool result = false;
    if (HeapAllocHlpr(&upperPrefix, 5, "strupr2")) {
        CopyText(upperName, 1025, name);
        CopyText(upperPrefix, 5, "USB ");
        UpperCase(upperName);
        UpperCase(upperPrefix);
        result = std::strncmp(upperName, upperPrefix, kPrefixLength) == 0;
        HeapFreeHlpr(&upperPrefix, "strupr2");
    }
    HeapFreeHlpr(&upperName, "strupr1");
    return result;
}


void UpperCase(char *text) {
    if (text == nullptr) return;
    for (; *text != '\0'; ++text) *text = ToUpper(*text);
}

bool Contains(const char *text, const char *needle) {
    return text != nullptr && needle != nullptr && std::strstr(text, needle) != nullptr;
}

void GroupText(const char *text, std::initializer_list<std::size_t> sizes, char *out, std::size_t size) {
    std::string grouped;
    const std::size_t length = std::strlen(text);
    std::size_t from = 0;
    for (std::size_t group : sizes) {
        if (from > 0) grouped += ' ';
        if (from < length) grouped.append(text + from, std::min(group, length - from));
        from += group;
    }
    CopyText(out, size, grouped.c_str());
}

}  // namespace zal
