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
        /*  0*/ {PrintCn22Form4x4, 6.0f,  "",                              k4x4Name, cut},
        /*  1*/ {PrintCn22Form4x4, 4.26f, "TestModeFlag=Y\nTestID=QA-7\n", k4x4Name, cut},
        /*  2*/ {PrintCn22Form4x4, 4.25f, "",                              k4x4Name, ""},
        /*  3*/ {PrintCn22Form4x6, 6.0f,  "TestModeFlag=Y\nTestID=QA-7\n", k4x6Name, stamp},
        /*  4*/ {PrintCn22Form4x6, 6.0f,  "TestModeFlag=N\nTestID=QA-7\n", k4x6Name, ""},
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

// The bar code by the flags (the IMpb flag first), with the line naming
// its format; the printer's Code 128 control bytes around the data.
TEST(Cn22FormTest, BarcodeFormats) {
    const std::string pic = "92055901649173123456789012";
    const std::string ups = "1Z999AA10123456784";
    struct Row { std::string keys; std::string line; const char *format; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"CN22TrackingNumber=" + ups + "\nBRDYear=2018\nCN22PrintUPSMMIFlag=Y\nTrackingNumber=" + ups + "\n",
                 "B185,0020,0,1,3,3,102,N,\"\xCD\xCA" + ups + "\"\n", "MMI"},
        // both flags: the IMpb code
        /*  1*/ {"CN22PrintIMpbFlag=Y\nCN22PrintUPSMMIFlag=Y\nUSPSPICNumber=" + pic + "\nTrackingNumber=" + ups + "\n",
                 "B125,0020,0,1,3,3,102,N,\"\xCD\xCA" + pic + "\"\n", "imPB/PIC"},
        // a quote or backslash of the job cannot end the data
        /*  2*/ {"CN22TrackingNumber=L\"\\45678901US\n",
                 "B170,0020,0,1,3,3,102,N,\"\xCC" "L\\\"\\\\" "\xC7" "45678901" "\xC8" "US\"\n", "LM"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::LogCapture log;
        log.Unwrap();
        test::LabelJob job(rows[i].keys + kJob);
        ASSERT_EQ(PrintCn22Form4x6(job.label), ZALERR_SUCCESS) << "row " << i;
        EXPECT_EQ(LinesWith(job.Sent(), {"B1"}), rows[i].line) << "row " << i;
        EXPECT_TRUE(log.HasDebugMessage(std::string("Using ") + rows[i].format + " format for CN22 barcode."))
            << "row " << i;
    }
}

// The foot of the legal text: four lines with the signature caption close
// below (edition 4), or a fifth line first (editions 1 to 3, and the
// edition-4 form of a SurePost label, whose text runs to five lines).
TEST(Cn22FormTest, LegalTextFoot) {
    const std::string ruleAndCaption4 = "LO000,1093,804,003\nA023,1097,0,2,1,1,N,\"Sender's Signature and Date\"\n";
    const std::string fifth = "A023,1089,0,2,1,1,N,\"requirements under the Foreign Trade Regulations.\"\n"
                              "LO000,1103,804,003\nA023,1111,0,2,1,1,N,\"Sender's Signature and Date\"\n";
    // clang-format off
    const struct { const char *keys; std::string lines; } rows[] = {
        /*  0*/ {"BRDYear=2020\n",                   ruleAndCaption4 + "LO020,1200,760,003\n"},
        /*  1*/ {"BRDYear=2021\nCarrier=SUREPOST\n", fifth + "LO020,1200,760,003\n"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::LabelJob job(rows[i].keys + kJob);
        ASSERT_EQ(PrintCn22Form4x6(job.label), ZALERR_SUCCESS) << "row " << i;
        EXPECT_EQ(LinesWith(job.Sent(), {",1089,", ",1093,", ",1097,", ",1103,", ",1111,", ",1200,"}), rows[i].lines)
            << "row " << i;
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
