#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "common/ErrorCodes.h"
#include "common/Log.h"
#include "support/LabelFixture.h"

namespace zal {
namespace {

const std::string kJob =
    "TrackingNumber=1Z5R8X476612345674\nShipTo2=GENEVIEVE TREMBLAY\nShipTo7=OTTAWA ON\nStreetAddress=88 SPARKS ST\n"
    "City=OTTAWA\nPDF417_01sMsgVer=07\nPDF417_01String=S1\n";

// The label's postal bar code lines (type 1A).
std::string PostalLines(const std::string &label) {
    std::istringstream in(label);
    std::string line, out;
    while (std::getline(in, line)) {
        if (line.rfind("B", 0) == 0 && line.find(",0,1A,") != std::string::npos) out += line + "\n";
    }
    return out;
}

// The postal bar code: the international data as formatted, the Puerto
// Rico data with its code set switches after the tenth character; wide
// bars for a postal code of up to five characters; lower under a printed
// routing code or readable postal code.
TEST(UpsInternationalLabelTest, PostalBarcode) {
    struct Row { std::string keys; const char *line; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"Carrier=UPSINT\nISOCode=124\nShipToZip=K1A 0B1\nRouteFound=N\n",
                 "B270,0365,0,1A,3,6,102,N,\"421124K1A0B\"\n"},
        /*  1*/ {"Carrier=UPSINT\nISOCode=276\nShipToZip=10115\nRouteFound=Y\nRoutingCode=DE 101\n",
                 "B305,0395,0,1A,3,9,102,N,\"42127610115\"\n"},
        /*  2*/ {"Carrier=UPSPR\nISOCode=630\nShipToZip=009071234\nRouteFound=Y\nRoutingCode=PR 009\n",
                 "B270,0395,0,1A,3,6,102,N,\">;4216300090>671\"\n"},
        /*  3*/ {"Carrier=UPSPR\nISOCode=630\nShipToZip=00907\nRouteFound=N\nRoutingCode=PR 009\n",
                 "B305,0365,0,1A,3,9,102,N,\">;4216300090>67\"\n"},
        // a readable postal code in place of the routing code moves the bars down
        /*  4*/ {"Carrier=UPSPR\nISOCode=630\nShipToZip=009\nRouteFound=Y\n",
                 "B305,0395,0,1A,3,9,102,N,\">;421630009>6\"\n"},
        /*  5*/ {"Carrier=UPSPR\nISOCode=63\nShipToZip=009\nRouteFound=N\n",
                 "B305,0365,0,1A,3,9,102,N,\">;42163009>6\"\n"},
        /*  6*/ {"Carrier=UPSPR\nRouteFound=N\n", "B305,0365,0,1A,3,9,102,N,\">;421>6\"\n"},
        // the bars follow the postal code as the job gives it, blank included
        /*  7*/ {"Carrier=UPSPR\nISOCode=630\nShipToZip=00 907\nRouteFound=N\n",
                 "B270,0365,0,1A,3,6,102,N,\">;4216300090>67\"\n"},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        test::LabelJob job(rows[i].keys + kJob);
        ASSERT_EQ(job.Dispatch(), ZALERR_SUCCESS) << "row " << i;
        EXPECT_EQ(PostalLines(job.Sent()), rows[i].line) << "row " << i;
    }
}

// The paperless invoice follows a label that printed, from the label's
// records; its result is the label's.  A label that fails prints no invoice.
TEST(UpsInternationalLabelTest, PaperlessInvoiceFollowsAPrintedLabel) {
    const std::string intl = "UPS International Smart Label\x99 GTL 2020 v1.0";
    const std::string pr = "UPS Domestic to Puerto Rico Smart Label\x99 GTL 2020 v1.0";
    const std::string invoice = "UPS Paperless Invoice\x99 GTL 2020 v1.0";
    // copies: the saved copies, in the order sent
    struct Row { std::string keys; bool portFails; int32_t result; std::vector<std::string> copies; };
    // clang-format off
    const Row rows[] = {
        /*  0*/ {"Carrier=UPSINT\nISOCode=124\nPaperlessFlag=y\n", false, 0, {"J1." + intl, "J1-PI." + invoice}},
        /*  1*/ {"Carrier=UPSPR\nISOCode=630\nPaperlessFlag=Y\n",  false, 0, {"J1." + pr, "J1-PI." + invoice}},
        /*  2*/ {"Carrier=UPSPR\nISOCode=630\nPaperlessFlag=N\n",  false, 0, {"J1." + pr}},
        /*  3*/ {"Carrier=UPSINT\nISOCode=124\n",                  false, 0, {"J1." + intl}},
        /*  4*/ {"Carrier=UPSINT\nISOCode=124\nPaperlessFlag=Y\n", true, ZALERR_PRINTER_OPENFAIL, {}},
    };
    // clang-format on
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row &row = rows[i];
        test::LogCapture log;
        log::SetJobTag("J1");
        test::LabelJob job(row.keys + kJob);
        job.label.copies = {true, log.dir().path() + test::Separator()};
        if (row.portFails) CopyText(job.port.context.OutputFile, job.port.dir.file("missing/out.epl").c_str());
        const int32_t result = job.Dispatch();
        log::SetJobTag(" ");
        EXPECT_EQ(result, row.result) << "row " << i;
        const std::string sent = job.Sent();
        std::size_t from = 0;
        for (const std::string &copy : row.copies) {
            const std::size_t end = sent.find("P1\n", from);
            ASSERT_NE(end, std::string::npos) << "row " << i;
            const std::string name = copy.substr(copy.find('.') + 1);
            // the saved copy is compared without carriage returns, the PDF417 message's among them
            std::string document = sent.substr(from, end + 3 - from);
            document.erase(std::remove(document.begin(), document.end(), '\r'), document.end());
            test::ExpectSavedCopy(log.dir().file(copy + ".txt"), name, document);
            from = end + 3;
        }
        EXPECT_EQ(from, sent.size()) << "row " << i;
        EXPECT_EQ(log.Logged("Creating label \"" + invoice + "\""), row.copies.size() == 2) << "row " << i;
    }
}

}  // namespace
}  // namespace zal
