// SPDX-License-Identifier: MIT
#include "platform/quit_signals.h"

#include <windows.h>

#include <atomic>

namespace platform {

namespace {

std::atomic<bool> quitAsked{false};
std::atomic<int> quitsSeen{0};

// Runs on a thread of its own that the console starts. Ctrl+C, Ctrl+Break
// and the console's close box end the game as its window's close box does;
// a second Ctrl+C ends the process at once. Windows ends the process when
// the handler of a close returns, so it waits there for the game's own
// ending, which the system allows for a few seconds.
BOOL WINAPI noteQuit(DWORD event) {
    if (quitsSeen.fetch_add(1) > 0 && (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT)) return FALSE;
    quitAsked = true;
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) Sleep(INFINITE);
    return TRUE;
}

}  // namespace

void catchQuitSignals() { SetConsoleCtrlHandler(noteQuit, TRUE); }

bool quitRequested() { return quitAsked; }

bool takeQuitRequest() { return quitAsked.exchange(false); }

void forgetQuitRequest() { quitAsked = false; }

}  // namespace platform
