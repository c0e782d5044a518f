// The fixed texts behind the result codes and the exception reports.
#pragma once

#include <cstdint>

namespace zal {

struct ResultCodeEntry {
    int32_t code;
    const char *name;
    const char *message;
};

// Null when the code has no entry (undocumented).
const ResultCodeEntry *FindResultCode(int32_t code);
// "[EXCEPTION_...] ..." for a structured-exception code, or null.
const char *FindExceptionDescription(uint32_t code);
// printf template of the access detail ("%p" takes the address), or null
// when the exception and access kind have none.
const char *FindAccessDetail(uint32_t exceptionCode, uintptr_t access, bool withAddress);
// "[WIN32 0x%08x/C%04u]" and its sisters; any other kind is untagged.
const char *ErrorTagTemplate(int kind);

}  // namespace zal
