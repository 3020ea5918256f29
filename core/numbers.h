// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>

namespace core {

// Truncation toward zero, as a C cast.
int64_t truncateToInteger(double x);
// Mode 1 rounds up, mode 2 to nearest with halves away from zero, any other
// mode rounds down.
float roundFloat(float x, int mode);
// Nearest integer with ties to even, as the FPU rounds by default.
int32_t roundToEven(double x);

}  // namespace core
