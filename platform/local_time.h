// SPDX-License-Identifier: MIT
#pragma once
// The date and time on the player's clock, for names they will read.
#include <ctime>
#include <string>

namespace platform {

// WHEN in the player's time zone, written with strftime's FORMAT (at most
// 63 characters).
std::string localTime(std::time_t when, const char* format);

}  // namespace platform
