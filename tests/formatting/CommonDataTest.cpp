#include "formatting/CommonData.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "common/Format.h"
#include "support/LabelFixture.h"

namespace zal {
namespace {

using Get = const char *(*)(const CommonData &);
#define FIELD(name) [](const CommonData &d) -> const char * { return d.name; }

// The common record and the job-wide values of a job.
struct Formatted : test::LabelJob {
    explicit Formatted(const std::string &lines) : LabelJob(lines) { ok = FormatCommonData(*data, file, wide); }
    std::unique_ptr<CommonData> data = std::make_unique<CommonData>();
    JobWideValues wide;
    bool ok = false;
};

TEST(CommonDataTest, TextFields) {
    struct Row { const char *lines; Get field; const char *expected; };
    const std::string longLine(70, 'x');
    const std::string ship1Long = "ShipTo1=" + longLine + "\n";
    const std::string ship1Cut(63, 'X');
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"",                                                 FIELD(FromCountry), "UNITED STATES"},
        /*  1*/ {"From3=Atlanta GA 30328\n",                         FIELD(FromZip),     "30328"},
        /*  2*/ {"FromCountry=Canada\nFrom3=Toronto ON M5V2T6\n",    FIELD(FromZip),     ""},
        /*  3*/ {"From3=Atlanta GA 30328\nFromZip=1234\n",           FIELD(FromZip),     "30328"},
        /*  4*/ {"From3=30328\n",                                    FIELD(FromZip),     ""},
        /*  5*/ {"FromContact=Jane Doe\nFromZip=k1a\n",              FIELD(FromZip),     "k1a"},
        /*  6*/ {"ShipTo7=Suite b\nShipToPhone=ext b\n",             FIELD(ShipTo7),     "SUITE B"},
        /*  7*/ {ship1Long.c_str(),                                  FIELD(ShipTo1),     ship1Cut.c_str()},
        // tab and e-acute are dropped, the copyright sign stays
        /*  8*/ {"ShipTo1=Ship\tTo Caf\xE9 \xA9\n",                  FIELD(ShipTo1),     "SHIPTO CAF \xA9"},
        /*  9*/ {"xlabelc1=|N|\n",                                   FIELD(xlabelc1),    "N"},
        /* 10*/ {"xlabelc3=|\n",                                     FIELD(xlabelc3),    ""},
        // the line feed and carriage return marks of the user commands
        /* 11*/ {"xlabelc1=N\xA0Q812,24\xA3\n",                      FIELD(xlabelc1),    "N\nQ812,24\r"},
        /* 12*/ {"xlabelc4=|A\xA3\xA0|\n",                           FIELD(xlabelc4),    "A\r\n"},
        /* 13*/ {"ShipTo1=A\xA0" "B\xA3" "C\n",                      FIELD(ShipTo1),     "ABC"},
        /* 14*/ {"TestModeFlag=y\nTestID=Run7\n",                    FIELD(TestID),      "Run7"},
        /* 15*/ {"TestModeFlag=Y\n",                                 FIELD(TestID),      "Test"},
        /* 16*/ {"TestModeFlag=Y\nTestID=ABCDEFGHIJKLMNO\n",         FIELD(TestID),      "ABCDEFGHIJ"},
        /* 17*/ {"PONumber=4500012\n",                               FIELD(POLine),      "PO # 4500012"},
        /* 18*/ {"DocutabData14=ABCDEFGHIJKLMNOPQRSTUVWXYZ\n",       FIELD(DocutabLine14), "ABCDEFGHIJKLMNOPQRSTUVWX"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Formatted f(rows[i].lines);
        EXPECT_TRUE(f.ok) << "row " << i;
        EXPECT_STREQ(rows[i].field(*f.data), rows[i].expected) << "row " << i;
    }
    const struct { const char *lines; bool nonNumeric; } zips[] = {
        /*  0*/ {"", true}, /*  1*/ {"ShipToZip=30328-1234\n", false}, /*  2*/ {"ShipToZip=K1A 0B1\n", true},
    };
    for (std::size_t i = 0; i < std::size(zips); ++i) {
        EXPECT_EQ(Formatted(zips[i].lines).data->ShipToZipIsNonNumeric, zips[i].nonNumeric) << "zip row " << i;
    }
}

TEST(CommonDataTest, CopiesAndJobWideValues) {
    // a negative count may come back as 0 from the platform reader; only Copies matters
    constexpr int32_t kAny = INT32_MIN;
    struct Row { const char *lines; int32_t copies, numberOfCopies, orderCount, expectedCount; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"",                                    1, 1, 1, 0},
        /*  1*/ {"NumberOfCopies=0\n",                  1, 0, 1, 0},
        /*  2*/ {"NumberOfCopies=-3\nOrderCount=2\n",   1, kAny, 2, 0},
        /*  3*/ {"NumberOfCopies=4\nExpectedCount=3\n", 4, 4, 1, 3},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Formatted f(rows[i].lines);
        EXPECT_EQ(f.data->Copies, rows[i].copies) << "row " << i;
        if (rows[i].numberOfCopies != kAny) {
            EXPECT_EQ(f.wide.NumberOfCopies, rows[i].numberOfCopies) << "row " << i;
        }
        EXPECT_EQ(f.wide.OrderCount, rows[i].orderCount) << "row " << i;
        EXPECT_EQ(f.wide.ExpectedCount, rows[i].expectedCount) << "row " << i;
    }

    // a purchase order number longer than the line is cut, not dropped
    const std::string longPO(200, '7');
    EXPECT_EQ(std::string(Formatted("PONumber=" + longPO + "\n").data->POLine), "PO # " + longPO.substr(0, 122));

    Formatted f("ActualWeight=12.5\nPONumber=PO7\nRemark=Fragile\n");
    EXPECT_EQ(test::Joined({f.wide.ActualWeight, f.wide.PONumber, f.wide.Remark}), "12.5 | PO7 | Fragile");
    // the record and the values start afresh, even when the file cannot be read
    test::LogCapture capture;
    std::memset(f.data.get(), 'Z', sizeof(CommonData));
    const std::string path = f.port.dir.file("missing.ini");
    JobFile missing(path.c_str());
    EXPECT_TRUE(FormatCommonData(*f.data, missing, f.wide));
    EXPECT_EQ(test::Joined({f.wide.Remark, f.wide.PONumber, f.data->ShipTo3, f.data->xlabelc2}), " |  |  | ");
    EXPECT_EQ(f.wide.NumberOfCopies, 1);
}

TEST(CommonDataTest, ReplaceDblQuotes) {
    Formatted f("ShipTo1=ACME \"WEST\" INC\nFrom2=A\"B\nShipToZip=1\"2\nFromContact=Jo \"JJ\" Doe\nFromZip=3\"4\n");
    ASSERT_TRUE(ReplaceDblQuotes(*f.data));
    const CommonData &d = *f.data;
    EXPECT_EQ(test::Joined({d.ShipTo1, d.From2, d.ShipToZip, d.FromContact, d.FromZip}),
              "ACME 'WEST' INC | A'B | 1'2 | Jo \"JJ\" Doe | 3\"4");
}

TEST(CommonDataTest, DocutabLinesKeepTheirContentWhenAbsent) {
    test::LabelJob job("DocutabData3=NEW\nDocutabData4=\n");
    CommonData data{};
    CopyText(data.DocutabLine3, "OLD3");
    CopyText(data.DocutabLine4, "OLD4");
    CopyText(data.DocutabLine5, "OLD5");
    ASSERT_TRUE(LibFormatDocutabData(data, job.file));
    EXPECT_EQ(test::Joined({data.DocutabLine3, data.DocutabLine4, data.DocutabLine5}), "NEW | OLD4 | OLD5");
}

}  // namespace
}  // namespace zal
