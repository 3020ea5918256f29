// SPDX-License-Identifier: MIT
#include "core/numbers.h"

#include <cmath>

namespace core {

int64_t truncateToInteger(double x) { return static_cast<int64_t>(x); }

float roundFloat(float x, int mode) {
    if (mode == 1) return std::ceil(x);
    // The half is added in double precision, where the sum of a float and 0.5 is exact.
    double wide = x;
    if (mode == 2) return static_cast<float>(x > 0 ? std::floor(wide + 0.5) : std::ceil(wide - 0.5));
    return std::floor(x);
}

int32_t roundToEven(double x) { return static_cast<int32_t>(std::nearbyint(x)); }

}  // namespace core
