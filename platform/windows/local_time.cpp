// SPDX-License-Identifier: MIT
#include "platform/local_time.h"

namespace platform {

std::string localTime(std::time_t when, const char* format) {
    char text[64];
    std::tm local{};
    localtime_s(&local, &when);
    return std::string(text, std::strftime(text, sizeof text, format, &local));
}

}  // namespace platform
