#pragma once

#include <cstdint>

namespace zal::preview {

// Character sets selectable with the EPL2 "I" command that the preview knows.
enum class CodePage { Dos437, Windows1252 };

// The Unicode character a byte of text stands for; 0 when the byte has none.
char32_t ToUnicode(uint8_t byte, CodePage codePage);

}  // namespace zal::preview
