// SPDX-License-Identifier: MIT
#include "platform/program_start.h"

// windows.h before the shell's headers, which need its types.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>

#include "platform/windows/text.h"

namespace platform {

namespace {

// Started from a console, a windowed program writes to that console; a
// stream the starter redirected to a file or pipe is kept as it is.
void reachParentConsole() {
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (!out || out == INVALID_HANDLE_VALUE) std::freopen("CONOUT$", "w", stdout);
    if (!err || err == INVALID_HANDLE_VALUE) std::freopen("CONOUT$", "w", stderr);
}

}  // namespace

// argv holds the arguments in the ANSI code page, which cannot spell every
// name; the wide command line can.
ProgramArguments::ProgramArguments(int argc, char** argv) {
    reachParentConsole();
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i) strings_.push_back(windows::utf8(wide[i]));
        LocalFree(wide);
    } else {
        strings_.assign(argv, argv + argc);
    }
    for (std::string& argument : strings_) pointers_.push_back(argument.data());
    pointers_.push_back(nullptr);
}

}  // namespace platform
