// SPDX-License-Identifier: MIT
#include "platform/quit_signals.h"

#include <signal.h>

#include <initializer_list>

namespace platform {

namespace {

volatile sig_atomic_t quitSignal = 0;

void noteQuit(int signal) { quitSignal = signal; }

}  // namespace

void catchQuitSignals() {
    struct sigaction action {};
    action.sa_handler = noteQuit;
    sigemptyset(&action.sa_mask);
    // Restarted calls let a save under way finish; the handler is a one-shot.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        // What the parent chose to ignore stays ignored: nohup's hang-up, the
        // Ctrl+C of a shell's background job.
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
        sigaction(signal, &action, nullptr);
    }
}

bool quitRequested() { return quitSignal != 0; }

bool takeQuitRequest() {
    if (quitSignal == 0) return false;
    quitSignal = 0;
    return true;
}

void forgetQuitRequest() { quitSignal = 0; }

}  // namespace platform
