// The terms notice printed on international, Puerto Rico and paperless
// invoice labels.
#include <algorithm>
#include <cstring>
#include <vector>

#include "common/Format.h"
#include "common/Strings.h"
#include "formatting/ups/UpsInternal.h"

namespace zal {
namespace {

constexpr std::size_t kTermsColumns = 80;
constexpr std::size_t kTermsLines = sizeof(UpsData::TermsLines) / sizeof(UpsData::TermsLines[0]);

}  // namespace

// clang-format off
// Worded to wrap into exactly 13 lines of 80 columns: the paperless invoice
// prints 13 lines.
const char kUpsTermsNotice[] =
    "By handing over this shipment the shipper accepts the carrier's terms and "
    "conditions of carriage, which limit the carrier's liability and are available "
    "at www.ups.com. Where the shipment travels by air and its destination or a stop "
    "lies outside the country of departure, the Warsaw Convention or the Montreal "
    "Convention may govern the carriage and in most cases limits the carrier's "
    "liability for loss, damage or delay. Goods moved by road into, out of or across "
    "a country that has adopted the Convention on the Contract for the International "
    "Carriage of Goods by Road (CMR) are carried under that convention. There are no "
    "agreed stopping places: the carrier may route the shipment through any places "
    "it thinks fit. The shipper appoints the carrier as its forwarding agent for "
    "export control and customs purposes. The shipper declares that the goods, "
    "technology or software in this shipment leave the country of export in keeping "
    "with its export regulations. Diversion contrary to law is prohibited.";
// clang-format on

void FillUpsTermsLines(UpsData &ups) {
    const std::size_t length = std::strlen(kUpsTermsNotice);
    // the wrap adds a line feed per line
    std::vector<char> text(2 * length + 2, '\0');
    std::memcpy(text.data(), kUpsTermsNotice, length);
    const int lines = WordWrap(text.data(), text.size(), kTermsColumns);

    std::size_t count = 0;
    for (const char *line = text.data(); *line != '\0' && count < kTermsLines; ++count) {
        const char *end = std::strchr(line, '\n');
        const std::size_t chars = end != nullptr ? static_cast<std::size_t>(end - line) : std::strlen(line);
        CopyText(ups.TermsLines[count], std::min(chars + 1, sizeof ups.TermsLines[count]), line);
        line += end != nullptr ? chars + 1 : chars;
    }
    // the layouts read TermsLineCount lines: never more than the table holds
    const auto produced = static_cast<std::size_t>(std::max(lines, 0));
    ups.TermsLineCount = static_cast<int16_t>(std::min(produced, kTermsLines));
}

}  // namespace zal
