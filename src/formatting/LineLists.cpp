#include "formatting/LineLists.h"

#include <cstring>

#include "common/Format.h"
#include "common/Log.h"

namespace zal {
namespace {

constexpr uint32_t kChannel = log::kDebug | log::kJob;

struct ListKind {
    const char *name;
    const char *emptyMessage;
    bool logCut;  // a cut piece is marked "(TRUNCATED)"
};

// clang-format off
constexpr ListKind kAddlBilling  = {"FillAddlBillingLines",
                                    "No additional billing information lines are present.", false};
constexpr ListKind kPkgInfo      = {"FillPkgInfoLines",
                                    "No package information lines are present.",            false};
constexpr ListKind kCustomerData = {"FillCustomerDataLines",
                                    "No additional customer data lines are present.",       true};
// clang-format on

// The next piece between bars, terminated in place (as a tokeniser does).
char *NextPiece(char *&cursor) {
    while (*cursor == '|') ++cursor;
    if (*cursor == '\0') return nullptr;
    char *piece = cursor;
    while (*cursor != '\0' && *cursor != '|') ++cursor;
    if (*cursor == '|') *cursor++ = '\0';
    return piece;
}

template <std::size_t LineSize>
int FillLines(const ListKind &kind, char (*lines)[LineSize], std::size_t lineCount, char *list) {
    if (lines == nullptr) return 0;
    char none[1] = "";
    char *cursor = list != nullptr ? list : none;
    if (cursor[std::strspn(cursor, "|")] == '\0') {
        for (std::size_t i = 0; i < lineCount; ++i) lines[i][0] = '\0';
        log::LogMessage(kChannel, "%s -> %s", kind.name, kind.emptyMessage);
        return 0;
    }
    log::LogMessage(kChannel, "%s -> Parsing delimited list: \"%s\"", kind.name, cursor);
    int filled = 0;
    for (std::size_t i = 0; i < lineCount; ++i) {
        char *line = lines[i];
        const int number = static_cast<int>(i) + 1;
        char *piece = NextPiece(cursor);
        if (piece == nullptr) {
            line[0] = '\0';
            log::LogMessage(kChannel, "%s -> Line %d: (empty)", kind.name, number);
            continue;
        }
        bool cut = std::strlen(piece) > LineSize - 1;
        CopyText(line, LineSize, piece);
        ++filled;
        if (cut && kind.logCut) {
            log::LogMessage(kChannel, "%s -> Line %d: \"%s\" (TRUNCATED)", kind.name, number, line);
        } else {
            log::LogMessage(kChannel, "%s -> Line %d: \"%s\"", kind.name, number, line);
        }
    }
    log::LogMessage(kChannel, "%s -> Total Lines: %d", kind.name, filled);
    return filled;
}

}  // namespace

int FillAddlBillingLines(char (*lines)[kAddlBillingLineSize], char *list) {
    return FillLines(kAddlBilling, lines, kAddlBillingLines, list);
}

int FillPkgInfoLines(char (*lines)[kPkgInfoLineSize], char *list) {
    return FillLines(kPkgInfo, lines, kPkgInfoLines, list);
}

int FillCustomerDataLines(char (*lines)[kCustomerDataLineSize], char *list) {
    return FillLines(kCustomerData, lines, kCustomerDataLines, list);
}

}  // namespace zal
