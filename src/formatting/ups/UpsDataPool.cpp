#include <cstddef>
#include <cstring>

#include "formatting/ups/UpsData.h"

namespace zal {
namespace {

UpsData *g_spare = nullptr;  // one record kept between jobs

}  // namespace

void UpsDataRelease::operator()(UpsData *ups) const {
    if (g_spare == nullptr) {
        g_spare = ups;
    } else {
        delete ups;
    }
}

UpsDataPtr NewUpsData() {
    UpsData *ups = g_spare != nullptr ? g_spare : new UpsData;
    g_spare = nullptr;
    char *base = reinterpret_cast<char *>(ups);
    const std::size_t pdfBegin = offsetof(UpsData, PDF417Data);
    const std::size_t pdfEnd = pdfBegin + sizeof(UpsData::PDF417Data);
    std::memset(base, 0, pdfBegin + 1);
    std::memset(base + pdfEnd, 0, sizeof(UpsData) - pdfEnd);
    return UpsDataPtr(ups);
}

}  // namespace zal
