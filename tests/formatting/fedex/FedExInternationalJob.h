// A FedEx International job as the dispatch hands it to the label routine;
// the keys under test come first (the first of two equal keys counts).
#pragma once

#include <string>

#include "support/LabelFixture.h"

namespace zal::test {

// One package of two, a first label, sender pays: every label prints.
inline const char *const kFdxIntlJob =
    "Carrier=FDXINT\n"
    "From1=Quill Works\nFrom3=Atlanta GA 30328\nShipTo1=Ada Lovelace\nShipTo7=London\n"
    "ShipToZip=SW1Y4JH\nShipToCountryCode=GB\nShipToPhone=44 20 7946 0000\nActualWeight=12.5\n"
    "Origin=ATLA\nShipDate=12/04/2026\nPowershipNumber=1234567\nSoftwareVersion=FSMS17.0\n"
    "AccountNumber=123456789\nComActualWeight=13\nLength=12\nWidth=10\nHeight=8\n"
    "MasterTrackingNum=794612345678\nLblServiceType=INTL PRIORITY\nLblFormID=0430\nDocFlag=N\n"
    "CurrentLabel=1\nRoutingCode=LHRA\nDeliveryAddress=12 ST JAMES SQUARE\n"
    "OneDeeBarcode=1001901781720000794612345678000000\nTrackingNumber=794612345678\n"
    "PDFCountryCode=826\nPDFServiceLevel=01\nPDFTrackingNumber=794612345678\nPDFCity=LONDON\n"
    "PDFShipToName=ADA LOVELACE\nPDFFromCountry=US\nPDFDescription=BRASS GEARS\nPDFTransactionCode=001\n"
    "PDFShipToPhoneNumber=442079460000\nTotalCustomsValue=2500.00\nTotalCarriageValue=1234.56\n"
    "DutyAccount=987654321\nOrderCount=1\nExpectedCount=2\n";

struct FdxIntlJob : LabelJob {
    explicit FdxIntlJob(const std::string &keys) : LabelJob(keys + kFdxIntlJob) {}
};

}  // namespace zal::test
