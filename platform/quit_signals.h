// SPDX-License-Identifier: MIT
#pragma once
// SIGTERM, SIGINT (Ctrl+C) and SIGHUP end the game as closing its window
// does: the next windowEvent reports the close request, so whatever screen
// runs enters the end sequence. A second signal ends the process at once.
// A signal the game was started with ignored (nohup, a background job's
// Ctrl+C) stays ignored.
namespace platform {

void catchQuitSignals();
// Whether a quit signal came that windowEvent has not reported yet.
bool quitRequested();
// Reports the quit signal: true once per signal.
bool takeQuitRequest();
// For tests: takes back a quit signal already caught, so the window stays open.
void forgetQuitRequest();

}  // namespace platform
