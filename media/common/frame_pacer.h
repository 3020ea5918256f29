// SPDX-License-Identifier: MIT
#pragma once
// Holds the game at 60 frames per second: sleeps most of the remaining time
// and spins the last stretch, on a schedule that does not drift.
#include <chrono>
#include <cstdint>

namespace media {

class FramePacer {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int64_t kFrameNanoseconds = 1'000'000'000 / 60;

    // Waits until the next frame is due. With vsync the present already
    // waited, so only a frame that came too early (vsync not blocking, e.g.
    // a hidden window) is held back, with some slack for the retrace jitter.
    void wait(bool vsync);
    void reset() { started_ = false; }

private:
    bool started_ = false;
    Clock::time_point epoch_;
    int64_t frames_ = 0;
};

}  // namespace media
