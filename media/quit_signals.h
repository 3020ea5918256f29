#pragma once
// SIGTERM, SIGINT (Ctrl+C) and SIGHUP end the game as closing its window
// does: from the signal on, windowEvent reports the close request, so every
// screen runs the end sequence. A second signal ends the process at once.
namespace media {

void catchQuitSignals();
bool quitRequested();

}  // namespace media
