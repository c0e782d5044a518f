// The document's command text: a zero-terminated heap buffer that grows in
// steps of at least 1024 bytes, the printable area, the transfer to the
// device and the saved copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "documents/ZALDoc.h"

namespace zal::ZalLib {

class RawZALDoc : public ZALDoc {
public:
    RawZALDoc();
    ~RawZALDoc() override;

    int Print(JobContext *context) override;
    bool SaveToFile(const char *path) override;

    // Room for additional more characters (and the terminator); every call
    // asks for at least 1024 free bytes.
    bool EnsureSpace(uint32_t additional);
    bool AppendRawText(const char *text);

    // Fills dims for the media at dpi (152, 203, 300 or 608) with the margins
    // (sums of both sides).  False for an unknown dpi (dims get the 600 x 600
    // fallback), a null media or null dims.
    static bool GetMediaDims(const DocumentMedia *media, int dpi, int16_t horizontalMargin, int16_t verticalMargin,
                             MediaDims *dims);
    // Checks a text position against the printable area and shifts it by
    // the margins; an outside position is left as it was.
    bool ValidateCoords(int &x, int &y) const;
    int16_t GetCenterX() const;

    // Releases the buffer too; a later append allocates a new one.
    void Reset();

    char *_Source;
    uint32_t _SourceSize;
    uint32_t _SourceCount;

protected:
    // Copies length bytes after the text (EnsureSpace must have made room);
    // false when they do not fit, nothing copied.
    bool Write(const char *text, std::size_t length);
    // EnsureSpace and Write.
    bool Append(const char *text, std::size_t length);
    // The shared part of SaveToFile: log line, old file deleted, opened for
    // appending; null when every attempt failed.
    std::FILE *OpenForSave(const char *path, const char *caller);
    // Writes the text and closes; false when either fails.
    bool FinishSave(std::FILE *file);
};

}  // namespace zal::ZalLib
