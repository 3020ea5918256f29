// SPDX-License-Identifier: MIT
#pragma once
// Holds back what libraries print on stderr while SDL probes for a display
// or a sound device (ALSA's and Wayland's complaints about what is missing):
// the game says in one line of its own what it could not have.
namespace platform {

class StderrMuted {
public:
    StderrMuted();
    ~StderrMuted();
    StderrMuted(const StderrMuted&) = delete;
    StderrMuted& operator=(const StderrMuted&) = delete;

private:
    int saved_ = -1;
};

}  // namespace platform
