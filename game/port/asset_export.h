// SPDX-License-Identifier: MIT
#pragma once
#include <string>

namespace game {

// Writes every embedded picture and sound into the folder, named by its
// number (sprite-013.jpg, sound-15.ogg). Gives the process exit code.
int exportAssets(const std::string& folder);

}  // namespace game
