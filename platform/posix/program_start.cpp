// SPDX-License-Identifier: MIT
#include "platform/program_start.h"

namespace platform {

// The arguments are the bytes the system hands over; a UTF-8 locale's are UTF-8.
ProgramArguments::ProgramArguments(int argc, char** argv) : strings_(argv, argv + argc) {
    for (std::string& argument : strings_) pointers_.push_back(argument.data());
    pointers_.push_back(nullptr);
}

}  // namespace platform
