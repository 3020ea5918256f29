// SPDX-License-Identifier: MIT
#include "media/common/frame_pacer.h"

#include <thread>

#if defined(__EMSCRIPTEN__)
#include <emscripten.h>
#endif

namespace media {

namespace {
#if !defined(__EMSCRIPTEN__)
// The sleep ends this early and the rest is spun: enough for the usual
// wake-up delay, little enough not to cost a noticeable share of a core.
constexpr auto kSpinMargin = std::chrono::microseconds(300);
#endif
constexpr auto kVsyncSlack = std::chrono::milliseconds(3);

// Deadlines are counted from an epoch in whole frames (1/60 s is not a whole
// number of nanoseconds, so adding a period each frame would drift).
FramePacer::Clock::time_point deadlineOf(FramePacer::Clock::time_point epoch, int64_t frames) {
    return epoch + std::chrono::nanoseconds(frames * 1'000'000'000 / 60);
}
}  // namespace

void FramePacer::wait(bool vsync) {
#if defined(__EMSCRIPTEN__)
    // A browser's flip hands the frame over without waiting for the display,
    // so there the pacer's own clock sets the rhythm.
    vsync = false;
#endif
    auto now = Clock::now();
    if (!started_) {
        started_ = true;
        epoch_ = now;
        frames_ = 0;
        return;
    }
    ++frames_;
    auto deadline = deadlineOf(epoch_, frames_);
    if (vsync) deadline -= kVsyncSlack;
    if (now > deadline + std::chrono::nanoseconds(kFrameNanoseconds)) {
        // Fell more than a frame behind (a slow frame, a debugger): start
        // a new schedule instead of rushing to catch up.
        epoch_ = now;
        frames_ = 0;
        return;
    }
#if defined(__EMSCRIPTEN__)
    // The page runs only while the program sleeps, and the browser's timers
    // count whole milliseconds: the wait is one sleep, never a spin.
    if (now < deadline)
        emscripten_sleep(
            static_cast<unsigned>(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count()));
#else
    if (now < deadline - kSpinMargin) std::this_thread::sleep_until(deadline - kSpinMargin);
    while (Clock::now() < deadline) {
    }
#endif
    if (vsync) {
        // The retrace sets the rhythm: follow it rather than our own clock.
        epoch_ = Clock::now();
        frames_ = 0;
    }
}

}  // namespace media
