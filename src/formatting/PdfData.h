// Two-dimensional barcode texts built from a list of pieces: each piece is
// a literal text or the value of a job-file key, between a prefix and a
// separator.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/JobFile.h"
#include "formatting/Separators.h"

namespace zal {

struct PdfDataEntry {
    char Prefix[11];
    char Text[101];
    char Suffix[11];
    const JobFile *Job;  // where the key is read
    char KeyName[101];
    int32_t MaxLength;  // characters taken from Text or the key's value, at most 100
};

// Copies the values into the entry, each cut to its field; null is empty.
bool FillPDFData(PdfDataEntry *entry, const char *prefix, const char *text, int32_t maxLength,
                 const char *keyName, const char *suffix, const JobFile &job);
// Appends Prefix, Text or the key's value (cut to MaxLength) and Suffix of
// each entry to the text the destination holds.  False when a piece does
// not fit: the pieces before it stay, nothing more is appended.
bool ProcessPDF417Data(const PdfDataEntry *entries, int count, char *destination, std::size_t size);
// Clears Prefix and Suffix of entries that carry nothing, so that empty
// optional fields leave no separators behind (RS always stays; FS stays
// when the next entry carries something; GS stays after an FS).
bool RemoveBlankPDFEntries(PdfDataEntry *entries, int count);

}  // namespace zal
