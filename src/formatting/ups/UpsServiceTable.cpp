// The UPS service table, the code lists and the class of service.
#include <cstring>

#include "formatting/ups/LibUPS.h"
#include "formatting/ups/UpsInternal.h"

namespace zal {
namespace {

// clang-format off
const UpsService kServices[] = {
    {"01,24,25,59,A2,AC,09,28,84,NT,P4,V3",        "UPS NEXT DAY AIR",       "1"},
    {"44,47,58,60,A3,AD,PG,PN,Y0",                 "UPS NEXT DAY AIR",       "1 S"},
    {"02,35,36,70,A6,AG,11,52,87,NY,P6",           "UPS 2ND DAY AIR",        "2"},
    {"07,19,18,65,A5,AF,P0,P7",                    "UPS 2ND DAY AIR A.M.",   "2A"},
    {"03,42,43,51,72,A8,AJ,78,26,90,P2,P9",        "UPS GROUND",             "0"},
    {"05",                                         "UPS DELIVERYTRAC II",    nullptr},
    {"08",                                         "UPS DELIVERYTRAC",       nullptr},
    {"12,39,40,71,A7,AH,50,16,DT,GY,H4,89,P1,P8",  "UPS 3 DAY SELECT",       "3"},
    {"13,29,30,62,A4,AE,NW,P5",                    "UPS NEXT DAY AIR SAVER", "1P"},
    {"15,32,A9,A0,NP,P3,V1,V2",                    "UPS NEXT DAY AIR EARLY", "1+"},
    {"41,33,A1,AA,PA,PH,WT",                       "UPS NEXT DAY AIR EARLY", "1+S"},
    {"54,93,97,AK,G1,G5",                          "UPS EXPRESS PLUS",       "1+"},
    {"34,G4,G8",                                   "UPS EXPRESS PLUS",       "1+S"},
    {"66,85,92,96,DM,GN,H0,D3,D4",                 "UPS EXPRESS",            "1"},
    {"04,86,D9,DA",                                "UPS SAVER",              "1 P"},
    {"69,DN,GP,H1,D6,D7",                          "UPS EXPRESS",            "1 S"},
    {"67,88,94,98,DP,GT,H2,DG,DH",                 "UPS EXPEDITED",          "2"},
    {"E1,E2,E3,E4",                                "UPS EXPRESS FREIGHT",    "1P"},
    {"68,91,95,99,DR,GW,H3,DK,DL",                 "UPS STANDARD",           "0"},
    {"PP,PT",                                      "BASIC",                  "0"},
    {"PW,PY,T0,T1,T2,T3,T6,T7,Y3",                 "UPS 2ND DAY AIR",        "2 S"},
    {"YH,YP,YN,YT,YW,YY,3A,3G,3H",                 "UPS SUREPOST",           "0"},
};
// clang-format on

// Class-of-service alphabet: the digits and the letters without B, I, O, U.
constexpr const char kClassAlphabet[] = "0123456789ACDEFGHJKLMNPQRSTVWXYZ";

int AlphabetIndex(char c) {
    if (c == '\0') return -1;
    const char *found = std::strchr(kClassAlphabet, c);
    return found != nullptr ? static_cast<int>(found - kClassAlphabet) : -1;
}

}  // namespace

// clang-format off
const char *const kUpsReturnCodes         = "84,85,86,87,88,89,90,91,AK,V1,V2,V3,V7,WT,Y0,Y3";
const char *const kUpsCodCodes            = "32,33,59,60,62,65,70,71,72,A9,AA,AC,AD,AE,AF,AG,AH,AJ,T2,T6";
const char *const kUpsEarliestCodes       = "15,32,33,41,A9,AA,A0,A1";
const char *const kUpsShipperReleaseCodes = "NP,NT,NW,NY,P0,P1,P2,P3,P4,P5,P6,P7,P8,P9,PA,PG,PH,PN,T3,T7";
const char *const kUpsFlatBillingCodes    = "PP,YH,YT,YY,3G";
const char *const kUpsUspsPresortCodes    = "YP,YN,YW,3A,3H";
const char *const kUpsUspsUnitCodes       = "YH,YT,YY,3G";
const char *const kUpsOunceCodes          = "YH,YP,YN";
const char *const kUpsLaneCodes           = "PP,PT";
const char *const kUpsNextDayAirEarly     = "UPS NEXT DAY AIR EARLY";
// clang-format on

bool IsUpsCodeIn(const char *list, const char *code) {
    if (list == nullptr || code == nullptr || code[0] == '\0' || code[1] == '\0' || code[2] != '\0') return false;
    for (const char *p = list; *p != '\0';) {
        const char *end = std::strchr(p, ',');
        std::size_t length = end != nullptr ? static_cast<std::size_t>(end - p) : std::strlen(p);
        if (length == 2 && p[0] == code[0] && p[1] == code[1]) return true;
        if (end == nullptr) break;
        p = end + 1;
    }
    return false;
}

const UpsService *FindUpsService(const char *code) {
    for (const UpsService &service : kServices) {
        if (IsUpsCodeIn(service.codes, code)) return &service;
    }
    return nullptr;
}

int32_t upsMaxicodeServiceCode(const char *code) {
    if (code == nullptr) return -1;
    int first = AlphabetIndex(code[0]);
    int second = first < 0 ? -1 : AlphabetIndex(code[1]);
    if (first < 0 || second < 0) return -1;
    if (first < 10 && second < 10) return 10 * first + second;
    return 32 * first + second;
}

}  // namespace zal
