// SPDX-License-Identifier: MIT
#pragma once
// The command line as the game reads it: every argument in UTF-8, whatever
// the system's own encoding. On Windows a windowed program has no console of
// its own, so it writes to the console of the program that started it, if
// any: --help and --version answer there, and Explorer opens none.
#include <string>
#include <vector>

namespace platform {

class ProgramArguments {
public:
    ProgramArguments(int argc, char** argv);
    ProgramArguments(const ProgramArguments&) = delete;
    ProgramArguments& operator=(const ProgramArguments&) = delete;

    int count() const { return static_cast<int>(strings_.size()); }
    // argv's form, ending in a null pointer.
    char** values() { return pointers_.data(); }

private:
    std::vector<std::string> strings_;
    std::vector<char*> pointers_;
};

}  // namespace platform
