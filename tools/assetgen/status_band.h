// SPDX-License-Identifier: MIT
#pragma once
// Keeps the part of a level picture that can lie under the status bar dark
// enough for the bar's thin white digits.
#include "canvas.h"

namespace gen {

// Darkens, smoothly and only where needed, the rows of a 1920 x 1440 level
// picture that scroll under the status bar, so that every digit-sized patch
// there, under the bar's grey panel, keeps white digits at a contrast of
// better than 3:1.
void keepStatusBarDark(Canvas& c);

}  // namespace gen
