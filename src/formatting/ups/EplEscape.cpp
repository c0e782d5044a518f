// Quotes inside an EPL2 quoted field.
#include <cstring>

#include "formatting/ups/LibUPS.h"

namespace zal {

bool EplEscape(char *text, std::size_t capacity) {
    if (text == nullptr || capacity == 0) return false;
    std::size_t length = 0;
    std::size_t quotes = 0;
    for (; length < capacity && text[length] != '\0'; ++length) {
        if (text[length] == '"' || text[length] == '\'') ++quotes;
    }
    if (length == capacity || length + quotes >= capacity) return false;
    // from the end, so that the text can grow in place
    std::size_t to = length + quotes;
    text[to] = '\0';
    for (std::size_t from = length; from-- > 0;) {
        char c = text[from];
        text[--to] = c;
        if (c == '"' || c == '\'') text[--to] = '\\';
    }
    return true;
}

}  // namespace zal
