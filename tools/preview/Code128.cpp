#include "Code128.h"

#include <algorithm>
#include <array>

namespace zal::preview {

// clang-format off
// Bar, space, bar, space, bar, space widths of the symbol characters 0..105; 106 is the stop.
static const char* const kPatterns[107] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",
    "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",
    "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",
    "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",
    "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",
    "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",
    "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",
    "114131", "311141", "411131", "211412", "211214", "211232", "2331112",
};
// clang-format on

namespace {

enum Set { A, B, C, kSets };
enum : int {
    Fnc3 = 96,
    Fnc2 = 97,
    Shift = 98,
    CodeC = 99,
    CodeB = 100,
    CodeA = 101,
    Fnc1 = 102,
    StartA = 103,
    Stop = 106
};
constexpr int kSwitchTo[kSets] = {CodeA, CodeB, CodeC};
constexpr int kInfinite = 1 << 28, kOutsidePenalty = 1000;

bool IsDigit(int item) { return item >= '0' && item <= '9'; }

// The symbol character of a plain byte (below 128) in set A or B, -1 when the set has none.
int Value(int byte, Set set) {
    if (set == A)
        return byte < 32 ? byte + 64 : byte < 96 ? byte - 32 : -1;
    if (set == B)
        return byte >= 32 && byte < 128 ? byte - 32 : -1;
    return -1;
}

// Symbol characters of one item in set A or B, or an empty list.
std::vector<int> Single(int item, Set set) {
    switch (item) {
        case kFnc1: return {Fnc1};
        case kFnc2: return {Fnc2};
        case kFnc3: return {Fnc3};
        case kFnc4: return {set == A ? CodeA : CodeB};
    }
    if (item >= 128) {  // FNC4 adds 128 to the next character
        int v = Value(item - 128, set);
        return v < 0 ? std::vector<int>{} : std::vector<int>{set == A ? CodeA : CodeB, v};
    }
    int v = Value(item, set);
    return v < 0 ? std::vector<int>{} : std::vector<int>{v};
}

enum class Step { None, Single, Shift, Pair };

struct Plan {
    // cost of the items from i on when set s is current at i, without and with a change of set
    std::vector<std::array<int, kSets>> stay, best;
    std::vector<std::array<Step, kSets>> step;
    std::vector<std::array<int, kSets>> changeTo;  // -1: stay
};

Plan MakePlan(const DataItems &items, int allowed /* a Set, or kSets for all */) {
    size_t n = items.size();
    Plan plan{std::vector<std::array<int, kSets>>(n + 1), std::vector<std::array<int, kSets>>(n + 1),
              std::vector<std::array<Step, kSets>>(n + 1), std::vector<std::array<int, kSets>>(n + 1)};
    plan.stay[n].fill(0);
    plan.best[n].fill(0);
    plan.changeTo[n].fill(-1);
    for (size_t i = n; i-- > 0;) {
        int item = items[i];
        for (int s = 0; s < kSets; ++s) {
            int penalty = allowed != kSets && allowed != s ? kOutsidePenalty : 0;
            int cost = kInfinite;
            Step step = Step::None;
            if (s == C) {
                if (item == kFnc1) {
                    cost = 1 + plan.best[i + 1][C];
                    step = Step::Single;
                } else if (IsDigit(item) && i + 1 < n && IsDigit(items[i + 1])) {
                    cost = 1 + plan.best[i + 2][C] + penalty;
                    step = Step::Pair;
                }
            } else {
                auto cws = Single(item, Set(s));
                if (!cws.empty()) {
                    cost = int(cws.size()) + plan.best[i + 1][s] + (item >= 0x100 && item != kFnc4 ? 0 : penalty);
                    step = Step::Single;
                }
                Set other = s == A ? B : A;
                int otherPenalty = allowed != kSets && allowed != other ? kOutsidePenalty : 0;
                if (item < 128 && Value(item, other) >= 0 && Value(item, Set(s)) < 0 &&
                    2 + plan.best[i + 1][s] + otherPenalty < cost) {
                    cost = 2 + plan.best[i + 1][s] + otherPenalty;
                    step = Step::Shift;
                }
            }
            plan.stay[i][s] = cost;
            plan.step[i][s] = step;
        }
        for (int s = 0; s < kSets; ++s) {
            plan.best[i][s] = plan.stay[i][s];
            plan.changeTo[i][s] = -1;
            for (int o = 0; o < kSets; ++o)
                if (o != s && 1 + plan.stay[i][o] < plan.best[i][s]) {
                    plan.best[i][s] = 1 + plan.stay[i][o];
                    plan.changeTo[i][s] = o;
                }
        }
    }
    return plan;
}

// Data without function bytes: the cheapest sequence of sets.
Code128Symbol EncodePlanned(const DataItems &items, int allowed) {
    Plan plan = MakePlan(items, allowed);
    int set = allowed != kSets ? allowed : B;
    for (int s = 0; s < kSets; ++s)
        if (plan.stay[0][s] < plan.stay[0][set])
            set = s;
    Code128Symbol symbol;
    symbol.codewords.push_back(StartA + set);
    for (size_t i = 0; i < items.size();) {
        if (plan.changeTo[i][set] >= 0) {
            set = plan.changeTo[i][set];
            symbol.codewords.push_back(kSwitchTo[set]);
        }
        int item = items[i];
        bool inside = allowed == kSets || allowed == set || (item >= 0x100 && item != kFnc4);
        switch (plan.step[i][set]) {
            case Step::Pair:
                symbol.codewords.push_back((item - '0') * 10 + (items[i + 1] - '0'));
                i += 2;
                break;
            case Step::Single:
                if (set == C)  // FNC1, the only single item of set C
                    symbol.codewords.push_back(Fnc1);
                else
                    for (int cw : Single(item, Set(set)))
                        symbol.codewords.push_back(cw);
                ++i;
                break;
            case Step::Shift:
                symbol.codewords.push_back(Shift);
                symbol.codewords.push_back(Value(item, set == A ? B : A));
                inside = allowed == kSets || allowed == (set == A ? B : A);
                ++i;
                break;
            case Step::None:  // cannot happen: every item has a way in A or B
                ++i;
                break;
        }
        symbol.outsideSubset |= !inside;
    }
    return symbol;
}

bool IsFunctionByte(int item) { return item >= 0xC4 && item <= 0xCD; }

// Data with function bytes: they are written as the symbol characters they stand for, the other
// data in the set they leave current.
Code128Symbol EncodeDirected(const DataItems &items, int startSet) {
    Code128Symbol symbol;
    size_t i = 0;
    int set = startSet;
    if (!items.empty() && items[0] >= 0xCB && items[0] <= 0xCD) {
        set = items[0] - 0xCB;
        i = 1;
    } else if (set == kSets) {
        set = items.size() >= 2 && IsDigit(items[0]) && IsDigit(items[1]) ? C : B;
    }
    symbol.codewords.push_back(StartA + set);
    bool shifted = false;
    auto change = [&](int to) {
        symbol.codewords.push_back(kSwitchTo[to]);
        set = to;
        symbol.outsideSubset = true;
    };
    while (i < items.size()) {
        int item = items[i];
        if (IsFunctionByte(item)) {
            int cw = item - 100;
            ++i;
            if (cw >= StartA)  // a start inside the data has no meaning
                continue;
            symbol.codewords.push_back(cw);
            if (cw == CodeC || (cw == CodeB && set != B) || (cw == CodeA && set != A))
                set = cw == CodeC ? C : cw == CodeB ? B : A;
            shifted = cw == Shift && set != C;
            continue;
        }
        if (set == C) {
            if (item == kFnc1) {
                symbol.codewords.push_back(Fnc1);
                ++i;
            } else if (IsDigit(item) && i + 1 < items.size() && IsDigit(items[i + 1])) {
                symbol.codewords.push_back((item - '0') * 10 + (items[i + 1] - '0'));
                i += 2;
            } else {
                change(item < 32 ? A : B);
            }
            continue;
        }
        Set use = shifted ? (set == A ? B : A) : Set(set);
        auto cws = Single(item, use);
        if (cws.empty()) {
            shifted = false;
            change(set == A ? B : A);
            continue;
        }
        symbol.codewords.insert(symbol.codewords.end(), cws.begin(), cws.end());
        shifted = false;
        ++i;
    }
    return symbol;
}

}  // namespace

Code128Symbol EncodeCode128(const DataItems &data, Code128Subset subset) {
    DataItems items = data;
    if (subset == Code128Subset::Ean128 && (items.empty() || items[0] != kFnc1))
        items.insert(items.begin(), kFnc1);
    int allowed = subset == Code128Subset::A   ? A
                  : subset == Code128Subset::B ? B
                  : subset == Code128Subset::C ? C
                                               : kSets;

    Code128Symbol symbol = std::any_of(items.begin(), items.end(), IsFunctionByte) ? EncodeDirected(items, allowed)
                                                                                   : EncodePlanned(items, allowed);
    int sum = symbol.codewords[0];
    for (size_t i = 1; i < symbol.codewords.size(); ++i)
        sum += int(i) * symbol.codewords[i];
    symbol.codewords.push_back(sum % 103);
    symbol.codewords.push_back(Stop);
    return symbol;
}

std::vector<int> Code128Widths(const std::vector<int> &codewords) {
    std::vector<int> widths;
    for (int cw : codewords)
        if (cw >= 0 && cw <= Stop)
            for (const char *p = kPatterns[cw]; *p; ++p)
                widths.push_back(*p - '0');
    return widths;
}

}  // namespace zal::preview
