#include "layouts/cn22/Cn22Form.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "common/ErrorCodes.h"
#include "common/Log.h"
#include "support/LabelFixture.h"

namespace zal {
namespace {

const std::string kJob = "Carrier=CN22\nCN22TrackingNumber=LZ123456789US\n";
const std::string k4x4Name = "USPS CN22 PS Form 2976 (UPS GTL 2020 v1.0)";
const std::string k4x6Name = k4x4Name + " 4x6";

using Routine = int32_t (*)(LabelContext &);

// The lines of a label that hold one of the texts.
std::string LinesWith(const std::string &label, std::initializer_list<const char *> texts) {
    std::istringstream in(label);
    std::string line, out;
    while (std::getline(in, line)) {
        for (const char *text : texts) {
            if (line.find(text) != std::string::npos) {
                out += line + "\n";
                break;
            }
        }
    }
    return out;
}

// The foot of each shape: the 4x4 form's cut line on media longer than
// 4.25 inches, the 4x6 form's test stamp; the saved copy of each.
TEST(Cn22FormTest, ShapesAndCopies) {
    const std::string cut = "LO000,0865,804,001\n";
    const std::string stamp = "A340,1100,0,3,2,3,N,\"QA-7\"\nA138,1165,0,1,1,1,N,\"ZAL2443.DLL - " + k4x6Name + "\"\n";
    struct Row { Routine print; float length; const char *keys; std::string name, foot; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {PrintCn22Form4x4, 4.26f, "TestModeFlag=Y\nTestID=QA-7\n", k4x4Name, cut},
        /*  1*/ {PrintCn22Form4x4, 4.25f, "",                              k4x4Name, ""},
        /*  2*/ {PrintCn22Form4x6, 6.0f,  "TestModeFlag=Y\nTestID=QA-7\n", k4x6Name, stamp},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LogCapture log;
        log::SetJobTag("J1");
        test::LabelJob job(row.keys + kJob);
        job.port.context.Media.Length = row.length;
        job.label.copies = {true, log.dir().path() + test::Separator()};
        const int32_t result = row.print(job.label);
        log::SetJobTag(" ");
        ASSERT_EQ(result, ZALERR_SUCCESS) << "row " << i;
        const std::string sent = job.Sent();
        EXPECT_EQ(LinesWith(sent, {"0865,", ",1100,", ",1165,"}), row.foot) << "row " << i;
        test::ExpectSavedCopy(log.dir().file("J1-CN22.EPLDoc.txt"), row.name, sent);
    }
}

// The bar code by the flags (the IMpb flag first); the printer's Code 128
// control bytes around the data (goldens cn22-* hold one flag each).
TEST(Cn22FormTest, BarcodeFormats) {
    const std::string pic = "92055901649173123456789012";
    const std::string ups = "1Z999AA10123456784";
    struct Row { std::string keys; std::string line; };
    // clang-format off
    const Row rows[] = {
        // both flags: the IMpb code
        /*  0*/ {"CN22PrintIMpbFlag=Y\nCN22PrintUPSMMIFlag=Y\nUSPSPICNumber=" + pic + "\nTrackingNumber=" + ups + "\n",
                 "B125,0020,0,1,3,3,102,N,\"\xCD\xCA" + pic + "\"\n"},
        // a quote or backslash of the job cannot end the data
        /*  1*/ {"CN22TrackingNumber=L\"\\45678901US\n",
                 "B170,0020,0,1,3,3,102,N,\"\xCC" "L\\\"\\\\" "\xC7" "45678901" "\xC8" "US\"\n"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::LabelJob job(rows[i].keys + kJob);
        ASSERT_EQ(PrintCn22Form4x6(job.label), ZALERR_SUCCESS) << "row " << i;
        EXPECT_EQ(LinesWith(job.Sent(), {"B1"}), rows[i].line) << "row " << i;
    }
}

// Refused customs data: nothing is printed and the job learns why.
TEST(Cn22FormTest, RefusalPrintsNothing) {
    for (Routine print : {PrintCn22Form4x4, PrintCn22Form4x6}) {
        test::LabelJob job("CN22TrackingNumber=LZ12345678US\n" + kJob);
        EXPECT_EQ(print(job.label), ZALERR_LABEL_DATAERROR);
        EXPECT_EQ(job.Sent(), "");
        EXPECT_EQ(job.Error(), "Tracking number must be 13, 18 or 26 characters in length.");
    }
}

}  // namespace
}  // namespace zal
