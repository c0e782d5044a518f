#include "formatting/CommonData.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

#include "common/Format.h"
#include "support/TestSupport.h"

namespace zal {
namespace {

using Get = const char *(*)(const CommonData &);
#define FIELD(name) [](const CommonData &d) -> const char * { return d.name; }

std::unique_ptr<CommonData> Format(const std::string &lines, bool *ok = nullptr) {
    test::TempDir dir;
    auto data = std::make_unique<CommonData>();
    bool result = FormatCommonData(*data, test::WriteJob(dir, lines).c_str());
    if (ok) *ok = result;
    return data;
}

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
        /* 17*/ {"",                                                 FIELD(VersionText), "OV v23.03.01"},
        /* 18*/ {"PONumber=4500012\n",                               FIELD(POLine),      "PO # 4500012"},
        /* 19*/ {"DocutabData14=ABCDEFGHIJKLMNOPQRSTUVWXYZ\n",       FIELD(DocutabLine14), "ABCDEFGHIJKLMNOPQRSTUVWX"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        bool ok = false;
        auto data = Format(rows[i].lines, &ok);
        EXPECT_TRUE(ok) << "row " << i;
        EXPECT_STREQ(rows[i].field(*data), rows[i].expected) << "row " << i;
    }
}

TEST(CommonDataTest, ShipToZipIsNonNumeric) {
    struct Row { const char *lines; bool expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"",                      true},
        /*  1*/ {"ShipToZip=30328\n",     false},
        /*  2*/ {"ShipToZip=30328-1234\n", false},
        /*  3*/ {"ShipToZip=K1A 0B1\n",   true},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(Format(rows[i].lines)->ShipToZipIsNonNumeric, rows[i].expected) << "row " << i;
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
        auto data = Format(rows[i].lines);
        EXPECT_EQ(data->Copies, rows[i].copies) << "row " << i;
        if (rows[i].numberOfCopies != kAny) {
            EXPECT_EQ(JobWide().NumberOfCopies, rows[i].numberOfCopies) << "row " << i;
        }
        EXPECT_EQ(JobWide().OrderCount, rows[i].orderCount) << "row " << i;
        EXPECT_EQ(JobWide().ExpectedCount, rows[i].expectedCount) << "row " << i;
    }

    // a purchase order number longer than the line is cut, not dropped
    const std::string longPO(200, '7');
    EXPECT_EQ(std::string(Format("PONumber=" + longPO + "\n")->POLine), "PO # " + longPO.substr(0, 122));

    Format("ActualWeight=12.5\nPONumber=PO7\nRemark=Fragile\n");
    EXPECT_STREQ(JobWide().ActualWeight, "12.5");
    EXPECT_STREQ(JobWide().PONumber, "PO7");
    EXPECT_STREQ(JobWide().Remark, "Fragile");
    // the next job starts afresh, even when its file cannot be read
    test::LogCapture capture;
    test::TempDir dir;
    CommonData data{};
    EXPECT_TRUE(FormatCommonData(data, dir.file("missing.ini").c_str()));
    EXPECT_STREQ(JobWide().Remark, "");
    EXPECT_STREQ(JobWide().PONumber, "");
    EXPECT_EQ(JobWide().NumberOfCopies, 1);
}

TEST(CommonDataTest, RecordStartsZeroed) {
    test::TempDir dir;
    std::string job = test::WriteJob(dir, "");
    CommonData data;
    std::memset(&data, 'Z', sizeof data);
    ASSERT_TRUE(FormatCommonData(data, job.c_str()));
    EXPECT_STREQ(data.ShipTo3, "");
    EXPECT_STREQ(data.xlabelc2, "");
    EXPECT_STREQ(data.DocutabLine5, "");
    EXPECT_EQ(data.DocutabLine5[24], '\0');
}

TEST(CommonDataTest, ReplaceDblQuotes) {
    auto data = Format("ShipTo1=ACME \"WEST\" INC\nFrom2=A\"B\nShipToZip=1\"2\n"
                       "FromContact=Jo \"JJ\" Doe\nFromZip=3\"4\n");
    ASSERT_TRUE(ReplaceDblQuotes(*data));
    EXPECT_STREQ(data->ShipTo1, "ACME 'WEST' INC");
    EXPECT_STREQ(data->From2, "A'B");
    EXPECT_STREQ(data->ShipToZip, "1'2");
    EXPECT_STREQ(data->FromContact, "Jo \"JJ\" Doe");
    EXPECT_STREQ(data->FromZip, "3\"4");
}

TEST(CommonDataTest, DocutabLinesKeepTheirContentWhenAbsent) {
    test::TempDir dir;
    std::string job = test::WriteJob(dir, "DocutabData3=NEW\nDocutabData4=\n");
    CommonData data{};
    CopyText(data.DocutabLine3, "OLD3");
    CopyText(data.DocutabLine4, "OLD4");
    CopyText(data.DocutabLine5, "OLD5");
    ASSERT_TRUE(LibFormatDocutabData(data, job.c_str()));
    EXPECT_STREQ(data.DocutabLine3, "NEW");
    EXPECT_STREQ(data.DocutabLine4, "OLD4");
    EXPECT_STREQ(data.DocutabLine5, "OLD5");
}

}  // namespace
}  // namespace zal
