#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>

#include "formatting/ups/LibUPS.h"
#include "formatting/ups/UpsJob.h"

namespace zal {
namespace {


const std::string kReducedTail = "98\tShipment data exceeds bar code capacity.  Shipment must be keyed.\r99\r";

// The PDF417 message of a job for a printer family; the carrier, paperless
// and print flags as the UPS formatting sets them.
struct Pdf417Run : test::LabelJob {
    explicit Pdf417Run(const std::string &job, const char *family = "Eltron", const char *carrier = "UPS",
                       const char *paperless = "", const char *printPI = "Y")
        : LabelJob(job) {
        label.carrier = LookupCarrier(carrier).code;
        CopyText(ups->PaperlessFlag, paperless);
        CopyText(ups->PrintPIFlag, printPI);
        ok = LibUPSFormatPDF417Data(*ups, label, family);
    }
    std::string Data() const { return std::string(ups->PDF417Data, static_cast<std::size_t>(ups->PDF417Length)); }
    UpsDataPtr ups = NewUpsData();
    bool ok = false;
};

TEST(UpsPdf417Test, MessageFromSegmentsAndGroups) {
    struct Row { std::string job; const char *family; std::string expected; bool tooLong; bool reduced; };
    const std::string a1000(1000, 'A');
    const std::string b400(400, 'B');
    const std::string p400(400, 'P');
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"PDF417_01sMsgVer=12\nPDF417_01String=S1\nPDF417_02String=S2\nPDF417_03NumOf=2\n"
                 "PDF417_03String1=X\xF0Y\nPDF417_03String2=Z\nPDF417_10String=T\nPDF417_13String=U\n"
                 "PDF417_14NumOf=1\nPDF417_14String1=W\n",
                 "Eltron", "01\t12\t{)>\tS1\r02\tS2\r03\tX\tY\r03\tZ\r10\tT\r13\tU\r14\tW\r99\r", false, false},
        // parts beyond the count are not read; missing parts still count
        /*  1*/ {"PDF417_01sMsgVer=12\nPDF417_01String=S1\nPDF417_07NumOf=2\nPDF417_07String2=Q\nPDF417_07String3=R\n",
                 "Eltron", "01\t12\t{)>\tS1\r07\t\r07\tQ\r99\r", false, false},
        // an empty first segment takes the header with it
        /*  2*/ {"PDF417_01sMsgVer=12\nPDF417_02String=S2\n", "Eltron", "02\tS2\r99\r", false, false},
        /*  3*/ {"PDF417_01sMsgVer=12\nPDF417_01String=S1\nPDF417_02String=" + a1000 + "\nPDF417_10String=" + b400 + "\n",
                 "Eltron", "01\t18\t{)>\tS1\r" + kReducedTail, true, false},
        /*  4*/ {"PDF417_01sMsgVer=12\nPDF417_01String=S1\nPDF417_02String=" + a1000 + "\nPDF417_10String=" + b400 + "\n",
                 "Zebra 2844", "01\t12\t{)>\tS1\r02\t" + a1000 + "\r10\t" + b400 + "\r99\r", false, true},
        // a group over its 1,000 bytes is too long, even for a printer that takes 1,700
        /*  5*/ {"PDF417_01sMsgVer=12\nPDF417_01String=S1\nPDF417_04NumOf=3\nPDF417_04String1=" + p400 +
                 "\nPDF417_04String2=" + p400 + "\nPDF417_04String3=" + p400 + "\n",
                 "Zebra", "01\t18\t{)>\tS1\r" + kReducedTail, true, false},
        /*  6*/ {"PDF417_01sMsgVer=12\nPDF417_01String=S1\nPDF417_04NumOf=2\nPDF417_04String1=" + p400 +
                 "\nPDF417_04String2=" + p400 + "\n",
                 "Zebra", "01\t12\t{)>\tS1\r04\t" + p400 + "\r04\t" + p400 + "\r99\r", false, false},
        /*  7*/ {"PDF417_01sMsgVer=12\nPDF417_01String=S1\nPDF417_03NumOf=-5\n", "Eltron", "01\t12\t{)>\tS1\r99\r", false, false},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        Pdf417Run run(row.job, row.family);
        ASSERT_TRUE(run.ok) << "row " << i;
        EXPECT_EQ(run.Data(), row.expected) << "row " << i;
        EXPECT_EQ(std::strlen(run.ups->PDF417Data), row.expected.size()) << "row " << i;
        EXPECT_EQ(run.ups->PDF417TooLong, row.tooLong) << "row " << i;
        EXPECT_EQ(run.ups->PDF417Reduced, row.reduced) << "row " << i;
    }
}

TEST(UpsPdf417Test, HugeCountsEndPromptly) {
    for (const char *group : {"03", "07", "08", "09", "14"}) {
        const auto start = std::chrono::steady_clock::now();
        Pdf417Run run(std::string("PDF417_01sMsgVer=12\nPDF417_01String=S1\nPDF417_") + group +
                         "NumOf=2000000000\n");
        const auto seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ASSERT_TRUE(run.ok) << group;
        EXPECT_TRUE(run.ups->PDF417TooLong) << group;
        EXPECT_EQ(run.Data(), "01\t18\t{)>\tS1\r" + kReducedTail) << group;
        EXPECT_LT(seconds, 10.0) << group;
    }
}

TEST(UpsPdf417Test, MissingMessageVersion) {
    struct Row { const char *carrier; const char *paperless; const char *printPI; bool ok; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"UPS",    "",  "Y", true},
        /*  1*/ {"UPS",    "Y", "Y", true},
        /*  2*/ {"UPSPR",  "",  "Y", false},
        /*  3*/ {"UPSINT", "",  "Y", true},
        /*  4*/ {"UPSINT", "Y", "Y", false},
        /*  5*/ {"UPSINT", "Y", "N", true},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        Pdf417Run run("PDF417_01String=S1\n", "Eltron", row.carrier, row.paperless, row.printPI);
        EXPECT_EQ(run.ok, row.ok) << "row " << i;
        EXPECT_EQ(run.ups->PDF417Length, 0) << "row " << i;
        // the host learns why from the job file
        EXPECT_EQ(run.Error(), row.ok ? "" : "Invalid or missing PDF417 data.") << "row " << i;
    }
}

TEST(UpsPdf417Test, EplEscape) {
    struct Row { const char *text; std::size_t capacity; bool ok; const char *expected; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"A\"B'C",   16, true,  "A\\\"B\\'C"},
        /*  1*/ {"A\"B'C",   8,  true,  "A\\\"B\\'C"},
        /*  2*/ {"A\"B'C",   7,  false, "A\"B'C"},
        /*  3*/ {"PLAIN",    6,  true,  "PLAIN"},
        /*  4*/ {"",         1,  true,  ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        std::string buffer(row.capacity + 4, '#');
        std::memcpy(buffer.data(), row.text, std::strlen(row.text) + 1);
        EXPECT_EQ(EplEscape(buffer.data(), row.capacity), row.ok) << "row " << i;
        EXPECT_STREQ(buffer.c_str(), row.expected) << "row " << i;
        EXPECT_EQ(buffer.substr(row.capacity), "####") << "row " << i;
    }
    EXPECT_FALSE(EplEscape(nullptr, 10));
}

}  // namespace
}  // namespace zal
