#include "layouts/ups/TestStamp.h"

#include <cstring>
#include <string>

#include "common/Format.h"
#include "documents/LabelFormat.h"
#include "zal2443/zal2443.h"

namespace zal {

int TestStampStart(int x, int length, int charWidth, int alignment) {
    int start = x;
    if (alignment == kStampRight) {
        start = x - charWidth * length;
    } else if (alignment == kStampCentre) {
        start = x - charWidth * length / 2;
    }
    return start < 1 ? 1 : start;
}

bool PrintTestStamp(ZalLib::ZALDoc &doc, int x, int y, const char *text, int alignment) {
    if (text == nullptr) text = "";
    // The name line is printed whole: a label name takes up to 63 characters.
    std::string name = FormatString("%s - %s", ZAL2443_MODULE_NAME,
                                    std::string(doc.Name, TextLength(doc.Name, sizeof doc.Name)).c_str());
    int idLength = static_cast<int>(std::strlen(text));
    int nameLength = static_cast<int>(name.size());
    bool id = doc.PrintTextEx(TestStampStart(x, idLength, kStampIdCharWidth, alignment), y, ZalLib::kFont3, text);
    bool line = doc.PrintTextEx(TestStampStart(x, nameLength, kStampNameCharWidth, alignment),
                                y + kStampNameLineOffset, ZalLib::kFont1, name.c_str());
    return id && line;
}

}  // namespace zal
