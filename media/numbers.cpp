#include "numbers.h"

#include <cmath>

namespace media {

int64_t truncateToInteger(double x) { return static_cast<int64_t>(x); }

float roundFloat(float x, int mode) {
    if (mode == 1) return std::ceil(x);
    if (mode == 2) return x > 0 ? std::floor(x + 0.5f) : std::ceil(x - 0.5f);
    return std::floor(x);
}

int32_t roundToEven(double x) { return static_cast<int32_t>(std::nearbyint(x)); }

}  // namespace media
