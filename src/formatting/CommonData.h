// The common label record read from the job file (sender, ship-to, user
// commands, test mode, copies, version and docutab lines) and the values
// that stay with the library from one job to the next.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/JobFile.h"
#include "job/JobWideValues.h"

namespace zal {

// Field widths include the terminating zero.  Zero-filled by FormatCommonData.
struct CommonData {
    char From1[50];
    char From2[50];
    char From3[50];
    char FromPhone[50];
    char FromCountry[50];
    char FromContact[50];
    char FromZip[30];
    char ShipTo1[64];
    char ShipTo2[64];
    char ShipTo3[64];
    char ShipTo4[64];
    char ShipTo5[64];
    char ShipTo6[64];
    char ShipTo7[64];
    char ShipToZip[30];
    char ShipToCountry[50];
    char ShipToPhone[50];
    // Printer commands the user adds to a label; 0xA0 and 0xA3 in the job
    // file stand for line feed and carriage return.
    char xlabelc1[2048];
    char xlabelc2[2048];
    char xlabelc3[2048];
    char xlabelc4[2048];
    char TestModeFlag[2];
    char TestID[11];
    int32_t Copies;
    bool ShipToZipIsNonNumeric;
    char POLine[128];
    char VersionText[32];
    char DocutabLine1[35];
    char DocutabLine2[35];
    char DocutabLine3[25];
    char DocutabLine4[25];
    char DocutabLine5[25];
    char DocutabLine6[25];
    char DocutabLine7[25];
    char DocutabLine8[25];
    char DocutabLine9[25];
    char DocutabLine10[25];
    char DocutabLine11[25];
    char DocutabLine12[25];
    char DocutabLine13[25];
    char DocutabLine14[25];
};


// Fills the record and the job-wide values from section "Begin" of the job
// file.  False only when a fault was raised (it is reported).
bool FormatCommonData(CommonData &data, const JobFile &job, JobWideValues &jobWide);
// Reads "DocutabData1" ... "DocutabData14" into the docutab lines of the
// record; a line whose key is absent or empty keeps what it holds.
bool LibFormatDocutabData(CommonData &data, const JobFile &job);
// "TestModeFlag" and "TestID": TestID becomes the job's identifier (cut to
// 10 characters) when the flag is Y, and "Test" otherwise.  Always true.
bool ReadTestMode(char (&testModeFlag)[2], char (&testId)[11], const JobFile &job);
// Double quotes of the address fields that are printed inside quoted
// printer strings become apostrophes (FromContact and FromZip stay).
bool ReplaceDblQuotes(CommonData &data);

}  // namespace zal
