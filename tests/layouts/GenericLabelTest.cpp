#include <gtest/gtest.h>

#include <string>

#include "support/LabelFixture.h"

namespace zal {
namespace {

// The country line prints for a recipient in another country than the
// sender's (compared after upper-casing), when the job asks for the new format.
TEST(GenericLabelTest, CountryLineForAForeignRecipient) {
    const std::string line = "A110,245,1,2,2,2,N,\"";
    // clang-format off
    const struct { const char *keys; std::string country; } rows[] = {
        /*  0*/ {"FromCountry=Canada\nShipToCountry=canada\nNewFormat=Y\n", ""},
        /*  1*/ {"FromCountry=Canada\nShipToCountry=France\nNewFormat=YES\n", line + "FRANCE\"\n"},
        /*  2*/ {"ShipToCountry=\nNewFormat=Y\n",                           ""},
        /*  3*/ {"ShipToCountry=France\nNewFormat=N\n",                     ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::LabelJob job(std::string("Carrier=GEN\nShipTo7=Paris\n") + rows[i].keys);
        ASSERT_EQ(LookupCarrier("GEN").route.print(job.label), 0) << "row " << i;
        const std::string sent = job.Sent();
        const std::size_t city = sent.find("A145,245,1,2,2,2,N,\"PARIS \"\n");
        ASSERT_NE(city, std::string::npos) << "row " << i;
        EXPECT_EQ(sent.substr(city + 28), rows[i].country + "P1\n") << "row " << i;
    }
}

}  // namespace
}  // namespace zal
