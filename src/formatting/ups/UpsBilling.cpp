// The billing texts of the UPS labels.
#include <cstring>

#include "formatting/ups/UpsInternal.h"

namespace zal {
namespace {

struct DomesticBilling {
    const char *option;
    const char *text;
};

enum class Account { None, Bill, ThirdPrimary };

struct InternationalBilling {
    const char *option;
    const char *international;  // "UPSINT"
    const char *puertoRico;     // "UPSPR"
    Account account;            // placed after the text
    const char *tail;
    bool internationalAddsAccount;  // "UPSINT" closes the text with BillAccount
};

// clang-format off
const DomesticBilling kDomestic[] = {
    {"CON", "CONSIGNEE"},
    {"3RD", "3RD PARTY"},
    {"F/C", "F/C BILL RECEIVER"},
};

const InternationalBilling kInternational[] = {
    {"PRE", "P/P",          "P/P",               Account::None,         "",     false},
    {"3RD", "P/P T/P",      "3RD PARTY",         Account::None,         "",     true},
    {"COL", "F/C RECEIVER", "F/C BILL RECEIVER", Account::None,         "",     true},
    {"FOB", "FOB",          "FOB",               Account::None,         "",     false},
    {"C&F", "C/F",          "C/F",               Account::None,         "",     false},
    {"3CF", "C/F ",         "C/F ",              Account::ThirdPrimary, " T/P", false},
    {"DDP", "SDV",          "SDV",               Account::None,         "",     false},
    {"SDT", "F/D",          "F/D",               Account::None,         "",     false},
    {"3DT", "F/D T/P ",     "F/D T/P ",          Account::Bill,         "",     false},
    {"3FB", "FOB ",         "FOB ",              Account::ThirdPrimary, " T/P", false},
    {"CBS", "CONSIGNEE",    "CONSIGNEE",         Account::None,         "",     false},
};
// clang-format on

constexpr const char *kBillingTitle = "BILLING: ";
constexpr const char *kPrepaid = "P/P";

}  // namespace

void UpsDomesticBillingLine(std::string &line, const char *option, const char *account, bool flatRate) {
    line = kBillingTitle;
    if (flatRate) {
        line += kPrepaid;
        return;
    }
    const char *text = kPrepaid;
    for (const DomesticBilling &row : kDomestic) {
        if (std::strcmp(row.option, option) == 0) text = row.text;
    }
    line.append(text).append(" ").append(account);
}

void UpsInternationalBillingLine(std::string &line, bool international, const char *option, const char *account,
                                 const char *account3rdPrimary) {
    line = kBillingTitle;
    const InternationalBilling *found = nullptr;
    for (const InternationalBilling &row : kInternational) {
        if (std::strcmp(row.option, option) == 0) found = &row;
    }
    if (found == nullptr) {
        line += kPrepaid;
        return;
    }
    line += international ? found->international : found->puertoRico;
    if (found->account == Account::Bill) line += account;
    if (found->account == Account::ThirdPrimary) line += account3rdPrimary;
    line += found->tail;
    if (international && found->internationalAddsAccount) line += account;
}

}  // namespace zal
