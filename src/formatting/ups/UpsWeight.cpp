// The weight line of the UPS labels and the rounding the carrier uses.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "common/Format.h"
#include "formatting/ups/LibUPS.h"
#include "formatting/ups/UpsInternal.h"

namespace zal {
namespace {

constexpr double kPoundStep = 1.0;
constexpr double kTenthStep = 0.1;
constexpr double kHeavyPounds = 70.0;

}  // namespace

double UpsRoundUp(double weight, double step) {
    if (!(step > 0)) return weight;
    // a rest below a thousandth of a step is taken for noise of the decimal input
    const double quotient = std::fabs(weight) / step;
    const double whole = std::floor(quotient);
    const double steps = quotient > 0 && quotient >= whole + 0.001 ? whole + 1 : whole;
    return std::copysign(steps * step, weight);
}

void FormatUpsWeight(UpsData &ups, const char *packageType, const char *actualWeight, const char *ouncesWeight,
                     const char *serviceCode) {
    const double weight = std::strtod(actualWeight, nullptr);
    // Format cuts what the 17 characters of the field cannot hold.
    char *text = ups.WeightText;
    const std::size_t size = sizeof ups.WeightText;
    if (std::strcmp(packageType, "1") == 0) {
        CopyText(ups.WeightText, "10 KG BOX");
    } else if (std::strcmp(packageType, "2") == 0) {
        CopyText(ups.WeightText, "25 KG BOX");
    } else if (std::strcmp(packageType, "L") == 0) {
        if (weight > 0) {
            Format(text, size, "%.1f LBS LTR", UpsRoundUp(weight, kTenthStep));
        } else {
            CopyText(ups.WeightText, "LTR");
        }
    } else if (std::strcmp(packageType, "P") == 0) {
        Format(text, size, "%.1f LBS PAK", UpsRoundUp(weight, kTenthStep));
    } else {
        Format(text, size, "%.0f LBS", UpsRoundUp(weight, kPoundStep));
    }
    if (IsUpsCodeIn(kUpsOunceCodes, serviceCode)) Format(text, size, "%s OZ", ouncesWeight);
    CopyText(ups.HeavyFlag, UpsRoundUp(weight, kPoundStep) > kHeavyPounds ? "H" : "");
}

}  // namespace zal
