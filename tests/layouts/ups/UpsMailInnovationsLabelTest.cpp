#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/LabelFixture.h"

namespace zal {

int32_t PrintUpsMailInnovationsLabel(LabelContext &label);
int32_t PrintUpsSurePostLabel(LabelContext &label);

namespace {

// The label's command lines that hold the text (that start with it).
std::string LinesWith(const std::string &label, const std::string &text, bool atStart = false) {
    std::istringstream in(label);
    std::string line, out;
    while (std::getline(in, line)) {
        const std::size_t at = line.find(text);
        if (at != std::string::npos && (!atStart || at == 0)) out += line + "\n";
    }
    return out;
}

// The version line moves left as the application version grows; a city
// line longer than 19 characters takes the narrower font.
TEST(UpsMailInnovationsLabelTest, VersionAndCityLineByLength) {
    struct Row { const char *lines; const char *find; const char *expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"ApplicationVersion=1234567\n",     "E2844",     "A600,0557,0,1,1,1,N,\"1234567 E2844\"\n"},
        /*  1*/ {"ApplicationVersion=12345678\n",    "E2844",     "A580,0557,0,1,1,1,N,\"12345678 E2844\"\n"},
        /*  2*/ {"ApplicationVersion=1234567890\n",  "E2844",     "A580,0557,0,1,1,1,N,\"1234567890 E2844\"\n"},
        /*  3*/ {"ApplicationVersion=12345678901\n", "E2844",     "A520,0557,0,1,1,1,N,\"12345678901 E2844\"\n"},
        /*  4*/ {"ShipTo7=Charlotte NC 28202-\n",    "CHARLOTTE", "A133,0327,0,2,2,2,N,\"CHARLOTTE NC 28202-\"\n"},
        /*  5*/ {"ShipTo7=Charlotte NC 28202-4\n",   "CHARLOTTE", "A133,0327,0,1,2,2,N,\"CHARLOTTE NC 28202-4\"\n"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::LabelJob job(std::string(rows[i].lines) + "Carrier=UPSMI\nTrackingNumber=MI9284150000123456\n");
        ASSERT_EQ(PrintUpsMailInnovationsLabel(job.label), 0) << "row " << i;
        EXPECT_EQ(LinesWith(job.Sent(), rows[i].find), rows[i].expected) << "row " << i;
    }
}

// SurePost: a city line longer than 25 characters takes the narrower font;
// postal data longer than 8 characters the narrower bars.
TEST(UpsSurePostLabelTest, CityLineAndPostalBars) {
    struct Row { const char *lines; const char *start; const char *expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"ShipTo7=North Charleston SC\nShipToZip=29405\n",  "A171,0184", "A171,0184,0,2,2,2,N,\"NORTH CHARLESTON SC 29405\"\n"},
        /*  1*/ {"ShipTo7=North Charleston SCX\nShipToZip=29405\n", "A171,0184", "A171,0184,0,2,1,2,N,\"NORTH CHARLESTON SCX 29405\"\n"},
        /*  2*/ {"ShipTo7=Charleston SC\nShipToZip=29405\n",        "B", "B305,0286,0,1,4,4,102,N,\"42029405\"\n"
                                                                          "B075,0565,0,1,4,4,145,N,\"1Z728104YP12345678\"\n"
                                                                          "B034,1000,0,1C,3,7,135,N,\"42029405\"F1\"92748901234567890123456789\"\n"},
        /*  3*/ {"ShipTo7=Charleston SC\nShipToZip=294051\n",       "B", "B270,0286,0,1,3,3,102,N,\"420294051\"\n"
                                                                          "B075,0565,0,1,4,4,145,N,\"1Z728104YP12345678\"\n"
                                                                          "B034,1000,0,1C,3,7,135,N,\"42029405\"F1\"92748901234567890123456789\"\n"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::LabelJob job(std::string(rows[i].lines) + "Carrier=SUREPOST\nTrackingNumber=1Z728104YP12345678\n"
                           "StreetAddress=88 Lantern Hill Rd\nCity=Charleston\nState=SC\nUSPSDelToZip5=29405\n"
                           "USPSPICNumber=92748901234567890123456789\n");
        ASSERT_EQ(PrintUpsSurePostLabel(job.label), 0) << "row " << i;
        EXPECT_EQ(LinesWith(job.Sent(), rows[i].start, true), rows[i].expected) << "row " << i;
    }
}

}  // namespace
}  // namespace zal
