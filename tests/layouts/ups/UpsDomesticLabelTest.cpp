#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/LabelFixture.h"

namespace zal {
namespace {

const std::string kJob =
    "Carrier=UPS\nTrackingNumber=1Z7281040133852173\nShipTo7=Charlotte NC\nShipToZip=28202\n"
    "StreetAddress=2275 Old Mill Rd\nCity=Charlotte\nState=NC\n";

// The lines of a label whose command starts with one of the prefixes.
std::string LinesStarting(const std::string &label, std::initializer_list<const char *> prefixes) {
    std::istringstream in(label);
    std::string line, out;
    while (std::getline(in, line)) {
        for (const char *prefix : prefixes) {
            if (line.rfind(prefix, 0) == 0) out += line + "\n";
        }
    }
    return out;
}

// Below the billing lines: the rule on media longer than 4.25 inches, and
// the reference lines (purchase order, then the remark) on media of at
// least 4.5 inches.
TEST(UpsDomesticLabelTest, ReferenceLinesNeedRoom) {
    const std::string rule = "LO000,0865,804,001\n";
    const std::string po = "A013,0881,0,2,1,1,N,\"PO # PO7\"\n";
    // clang-format off
    const struct { const char *keys; float length; std::string lines; } rows[] = {
        /*  0*/ {"PONumber=PO7\nRemark=Fragile\n", 6.0f,  rule + po + "A013,0909,0,2,1,1,N,\"Fragile\"\n"},
        /*  1*/ {"Remark=Fragile\n",               4.5f,  rule + "A013,0881,0,2,1,1,N,\"Fragile\"\n"},
        /*  2*/ {"PONumber=PO7\n",                 4.5f,  rule + po},
        /*  3*/ {"PONumber=PO7\nRemark=Fragile\n", 4.49f, rule},
        /*  4*/ {"PONumber=PO7\nRemark=Fragile\n", 4.25f, ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::LabelJob job(rows[i].keys + kJob);
        job.port.context.Media.Length = rows[i].length;
        ASSERT_EQ(LookupCarrier("UPS").route.print(job.label), 0) << "row " << i;
        EXPECT_EQ(LinesStarting(job.Sent(), {"LO000,0865", "A013,08", "A013,09"}), rows[i].lines) << "row " << i;
    }
}

}  // namespace
}  // namespace zal
