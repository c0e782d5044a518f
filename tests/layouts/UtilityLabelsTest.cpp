#include <gtest/gtest.h>

#include <string>

#include "common/ErrorCodes.h"
#include "layouts/LayoutOutput.h"
#include "layouts/Layouts.h"

using namespace zal;
using namespace zal::test;

namespace {

// The generic label's pieces: the sender rotated in font 4, the recipient
// rotated in font 2 at double width and height.
const std::string kMemory = "M132,5,5\n";
const std::string kHeader = "N\nQ1230,24\nR0,0\nZB\n";
const std::string kSender =
    "A780,030,1,4,1,1,N,\"NORWICK SOLUTIONS\"\n"
    "A755,030,1,4,1,1,N,\"12 MILL ROAD\"\n"
    "A730,030,1,4,1,1,N,\"ATLANTA GA 30328\"\n"
    "A705,030,1,4,1,1,N,\"404-555-0100\"\n";
const std::string kAcme =
    "A355,245,1,2,2,2,N,\"ACME CO\"\n"
    "A320,245,1,2,2,2,N,\"ATTN RECEIVING\"\n"
    "A285,245,1,2,2,2,N,\"400 DOCK ST\"\n"
    "A250,245,1,2,2,2,N,\"\"\n"
    "A215,245,1,2,2,2,N,\"\"\n"
    "A180,245,1,2,2,2,N,\"\"\n"
    "A145,245,1,2,2,2,N,\"TORONTO ON M5V 2T6\"\n";
const std::string kPrint = "P1\n";

const std::string kSenderKeys =
    "From1=Norwick Solutions\nFrom2=12 Mill Road\nFrom3=Atlanta GA 30328\nFromPhone=404-555-0100\n";
const std::string kRecipientKeys =
    "ShipTo1=Acme Co\nShipTo2=Attn Receiving\nShipTo3=400 Dock St\nShipTo7=Toronto ON\nShipToZip=M5V 2T6\n";

struct GenericRow { bool prefix; std::string keys; std::string expected; };

// clang-format off
const GenericRow kGenericRows[] = {
    // abroad: the country line with NewFormat Y only (upper-cased first)
    /*  0*/ {false, kSenderKeys + kRecipientKeys + "ShipToCountry=Canada\nNewFormat=y\n",
             kHeader + kSender + kAcme + "A110,245,1,2,2,2,N,\"CANADA\"\n" + kPrint},
    // the same country on both sides: none printed
    /*  1*/ {false, kSenderKeys + kRecipientKeys + "FromCountry=Canada\nShipToCountry=Canada\nNewFormat=Y\n",
             kHeader + kSender + kAcme + kPrint},
    /*  2*/ {true,  kSenderKeys + kRecipientKeys, kMemory + kHeader + kSender + kAcme + kPrint},
};
// clang-format on

TEST(GenericLabelTest, AddressLabel) {
    for (std::size_t i = 0; i < sizeof kGenericRows / sizeof kGenericRows[0]; ++i) {
        const GenericRow &row = kGenericRows[i];
        OptionsScope options("7", "4", "0", "0");
        FilePort port;
        std::string job = WriteJob(port.dir, row.keys);
        EXPECT_EQ(PrintGenericLabel(job.c_str(), &port.context, row.prefix), ZALERR_SUCCESS) << "row " << i;
        EXPECT_EQ(port.Sent(), row.expected) << "row " << i;
    }
}

}  // namespace
