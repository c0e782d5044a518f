#include "Preview.h"

namespace zal::preview {

std::string LabelFileName(const std::string &first, size_t index) {
    if (index == 0)
        return first;
    size_t slash = first.find_last_of("/\\");
    size_t dot = first.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) ||
        dot == (slash == std::string::npos ? 0 : slash + 1))
        dot = first.size();
    return first.substr(0, dot) + "-" + std::to_string(index + 1) + first.substr(dot);
}

}  // namespace zal::preview
