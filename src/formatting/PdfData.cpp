#include "formatting/PdfData.h"

#include <algorithm>
#include <cstring>

#include "common/Format.h"
#include "common/Settings.h"
#include "common/Strings.h"
#include "formatting/LibCommonGuard.h"

namespace zal {
namespace {

using detail::GuardedLibCommon;

constexpr std::size_t kValueSize = sizeof(PdfDataEntry::Text);  // 100 characters

// The key's value as the job file holds it: no clean-up, 100 characters.
void ReadKeyValue(const PdfDataEntry &entry, char (&value)[kValueSize]) {
    value[0] = '\0';
    if (entry.KeyName[0] == '\0' || entry.Job == nullptr) return;
    entry.Job->Raw(entry.KeyName, "", value);
}

std::size_t PieceLength(const PdfDataEntry &entry) {
    return static_cast<std::size_t>(std::clamp<int32_t>(entry.MaxLength, 0, kValueSize - 1));
}

// Appends the first `length` characters of text; false when they do not fit.
bool AppendPiece(char *destination, std::size_t size, const char *text, std::size_t length) {
    if (text[0] == '\0' || length == 0) return true;
    char piece[kValueSize];
    CopyText(piece, std::min(length + 1, sizeof piece), text);
    return AppendStrings(destination, size, {piece}) == kStrOk;
}

bool Carries(const PdfDataEntry &entry) {
    if (entry.Text[0] != '\0') return true;
    char value[kValueSize];
    ReadKeyValue(entry, value);
    return value[0] != '\0';
}

bool SuffixIs(const PdfDataEntry &entry, char separator) {
    return entry.Suffix[0] == separator && entry.Suffix[1] == '\0';
}

}  // namespace

bool FillPDFData(PdfDataEntry *entry, const char *prefix, const char *text, int32_t maxLength, const char *keyName,
                 const char *suffix, const JobFile &job) {
    return GuardedLibCommon("FillPDFData", [&] {
        if (entry == nullptr) return false;
        auto orEmpty = [](const char *s) { return s != nullptr ? s : ""; };
        CopyText(entry->Prefix, orEmpty(prefix));
        CopyText(entry->Text, orEmpty(text));
        CopyText(entry->Suffix, orEmpty(suffix));
        entry->Job = &job;
        CopyText(entry->KeyName, orEmpty(keyName));
        entry->MaxLength = maxLength;
        return true;
    });
}

bool ProcessPDF417Data(const PdfDataEntry *entries, int count, char *destination, std::size_t size) {
    return GuardedLibCommon("ProcessPDF417Data", [&] {
        if (destination == nullptr || size == 0 || (entries == nullptr && count > 0)) return false;
        for (int i = 0; i < count; ++i) {
            const PdfDataEntry &entry = entries[i];
            if (!AppendPiece(destination, size, entry.Prefix, sizeof entry.Prefix)) return false;
            if (!AppendPiece(destination, size, entry.Text, PieceLength(entry))) return false;
            if (entry.KeyName[0] != '\0') {
                char value[kValueSize];
                ReadKeyValue(entry, value);
                if (!AppendPiece(destination, size, value, PieceLength(entry))) return false;
            }
            if (!AppendPiece(destination, size, entry.Suffix, sizeof entry.Suffix)) return false;
        }
        return true;
    });
}

bool RemoveBlankPDFEntries(PdfDataEntry *entries, int count) {
    return GuardedLibCommon("RemoveBlankPDFEntries", [&] {
        if (entries == nullptr && count > 0) return false;
        for (int i = 0; i < count; ++i) {
            PdfDataEntry &entry = entries[i];
            if (Carries(entry)) continue;
            bool clear = false;
            if (SuffixIs(entry, kFileSeparator)) {
                clear = i + 1 >= count || !Carries(entries[i + 1]);
            } else if (SuffixIs(entry, kGroupSeparator)) {
                // the previous entry has been judged already: a cleared FS no longer counts
                clear = i == 0 || !SuffixIs(entries[i - 1], kFileSeparator);
            }
            if (clear) {
                entry.Prefix[0] = '\0';
                entry.Suffix[0] = '\0';
            }
        }
        return true;
    });
}

}  // namespace zal
