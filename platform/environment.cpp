// SPDX-License-Identifier: MIT
#include "platform/environment.h"

#include <cstdlib>
#include <cstring>

namespace platform {

bool fullscreenRequested() {
    const char* variable = std::getenv("QUANDRITE_FULLSCREEN");
    return variable && std::strcmp(variable, "1") == 0;
}

}  // namespace platform
