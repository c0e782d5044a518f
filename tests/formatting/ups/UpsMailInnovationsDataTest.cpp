#include "formatting/ups/UpsMailInnovationsData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "formatting/ups/UpsPickupData.h"
#include "support/LabelFixture.h"

namespace zal {
namespace {

// The outbound label's message fields.
std::vector<std::string> MessageFields(const std::string &lines) {
    test::LabelJob job(lines + "Carrier=UPSMI\nTrackingNumber=MI9284150000123456\nCostCenter=ops\nPkgID=pk-1\n"
                               "DestinationAddress1=1 Main St\nCity=Atlanta\nState=ga\nShipToZip=30328\n"
                               "DestinationCountryCode=US\nActualWeight=1.25\n");
    auto mi = std::make_unique<MailInnovationsData>();
    auto common = std::make_unique<CommonData>();
    EXPECT_TRUE(upsMailInnovationsFormatData(*mi, *common, job.label));
    EXPECT_EQ(mi->DataMatrixLength, static_cast<int32_t>(std::strlen(mi->DataMatrixData)));
    std::vector<std::string> fields;
    std::istringstream in(mi->DataMatrixData);
    for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
    if (!mi->DataMatrixData[0] || mi->DataMatrixData[std::strlen(mi->DataMatrixData) - 1] == '\t') fields.push_back("");
    std::string mailClass = mi->MailClass;  // centred in 20 characters
    EXPECT_EQ(mailClass.size(), 20u);
    mailClass.erase(0, mailClass.find_first_not_of(' '));
    mailClass.erase(mailClass.find_last_not_of(' ') + 1);
    fields.push_back(mailClass);
    return fields;
}

// The class field and the postal field (AI 420, the ZIP, the PIC) by the
// PIC's service type, characters 3 to 5 (the goldens ups-mi-* print the
// classes of their service types).
TEST(UpsMailInnovationsDataTest, ClassByServiceType) {
    struct Row { const char *pic; const char *lines; const char *classCode; const char *mailClass; };
    // clang-format off
    const Row rows[] = {
        // the lightweight class code depends on the manifest flag
        /*  0*/ {"92789901234567890123456789", "",                         "4,0",  "P S LIGHTWEIGHT"},
        // a PIC too short to hold a service type has no class; its postal field stays
        /*  1*/ {"9261",                       "",                         "",     ""},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        auto fields = MessageFields(row.lines + ("USPSPICNumber=" + std::string(row.pic) + "\n"));
        ASSERT_EQ(fields.size(), 15u) << "row " << i;
        EXPECT_EQ(test::Joined({fields[12], fields[13], fields[14]}),
                  test::Joined({row.classCode, "42030328" + std::string(row.pic), row.mailClass}))
            << "row " << i;
    }
}

// The destination's ZIP loses blanks, then hyphens; the weight has four
// decimals and keeps every digit; without a PIC two empty fields end it.
TEST(UpsMailInnovationsDataTest, ZipWeightAndEmptyPostalFields) {
    // fields: ZIP, weight, class, postal field
    struct Row { const char *lines; const char *fields; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"ShipToZip=3032 8-1a4x\n",   "303281A4 | 1.2500 |  | "},
        /*  1*/ {"ActualWeight=123.45678\n",  "30328 | 123.4568 |  | "},
        /*  2*/ {"ActualWeight=\n",           "30328 | 0.0000 |  | "},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        auto fields = MessageFields(rows[i].lines);
        ASSERT_EQ(fields.size(), 15u) << "row " << i;
        EXPECT_EQ(test::Joined({fields[8], fields[11], fields[12], fields[13]}), rows[i].fields) << "row " << i;
    }
}

using Formatter = bool (*)(test::LabelJob &job);

bool FormatMi(test::LabelJob &job) {
    auto mi = std::make_unique<MailInnovationsData>();
    auto common = std::make_unique<CommonData>();
    return upsMailInnovationsFormatData(*mi, *common, job.label);
}
bool FormatMiReturns(test::LabelJob &job) {
    auto mi = std::make_unique<MailInnovationsData>();
    auto common = std::make_unique<CommonData>();
    return upsMIReturnsFormatData(*mi, *common, job.label);
}
bool FormatPickup(test::LabelJob &job) {
    auto pickup = std::make_unique<PickupSummaryData>();
    return upsPldFormatData(*pickup, job.file);
}

// A value that must have an exact length is refused when it is shorter or
// longer (not cut to fit), the reason in the job file (the goldens print
// the values of the exact length).
TEST(UpsMailInnovationsDataTest, ExactLengthsAreRefused) {
    const char *tracking = "Tracking number must be 18 characters in length.";
    const char *pickup = "Pickup barcode must be 23 characters in length.";
    struct Row { Formatter format; const char *lines; const char *description; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {FormatMi,        "TrackingNumber=MI928415000012345\n",   tracking},
        /*  1*/ {FormatMi,        "TrackingNumber=MI92841500001234567\n", tracking},
        /*  2*/ {FormatMiReturns, "TrackingNumber=\n",                    tracking},
        /*  3*/ {FormatMiReturns, "TrackingNumber=MI92841500001234567\n", tracking},
        /*  4*/ {FormatPickup,    "PickupSummaryBarcode=9172810420250314000001\n",   pickup},
        /*  5*/ {FormatPickup,    "PickupSummaryBarcode=917281042025031400000123\n", pickup},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::LabelJob job(rows[i].lines);
        EXPECT_FALSE(rows[i].format(job)) << "row " << i;
        EXPECT_EQ(job.Error(), rows[i].description) << "row " << i;
    }
}

std::string Repeat(const std::string &text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// The message is escaped within its 501 bytes, or left as it was.
TEST(UpsMailInnovationsDataTest, DataMatrixEscapingFitsOrFails) {
    struct Row { std::string message; bool ok; std::string escaped; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"3\tAB",                  true,  "3\tAB"},
        /*  1*/ {"O'NEIL \"A\"",           true,  "O\\'NEIL \\\"A\\\""},
        /*  2*/ {std::string(250, '"'),    true,  Repeat("\\\"", 250)},
        /*  3*/ {std::string(251, '\''),   false, std::string(251, '\'')},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        auto mi = std::make_unique<MailInnovationsData>();
        CopyText(mi->DataMatrixData, rows[i].message.c_str());
        mi->DataMatrixLength = static_cast<int32_t>(rows[i].message.size());
        EXPECT_EQ(EncodeUPSDataMatrixString(*mi), rows[i].ok) << "row " << i;
        EXPECT_EQ(mi->DataMatrixData, rows[i].escaped) << "row " << i;
        EXPECT_EQ(mi->DataMatrixLength, static_cast<int32_t>(rows[i].escaped.size())) << "row " << i;
    }
}

}  // namespace
}  // namespace zal
