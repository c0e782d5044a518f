// Values of the job file that every label of the job may print: the common
// formatting reads them, the layouts print them.
#pragma once

#include <cstdint>

namespace zal {

struct JobWideValues {
    char ActualWeight[15] = {};
    int32_t OrderCount = 1;
    int32_t ExpectedCount = 0;
    char PONumber[256] = {};
    char Remark[256] = {};
    int32_t NumberOfCopies = 1;
};

}  // namespace zal
