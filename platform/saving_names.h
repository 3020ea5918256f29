// SPDX-License-Identifier: MIT
#pragma once
// The temporary files of saves under way, as both systems' SafeFile name
// them: "NAME" is written as "NAME.saving-PID".
#include <string>

namespace platform {

std::string savingNameOf(const std::string& path, int pid);
// The process that writes the file NAME if it is a save of STEM (of any
// file when STEM is empty); -1 when it is not.
int savingProcessOf(const std::string& name, const std::string& stem);

}  // namespace platform
