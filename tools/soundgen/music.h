// SPDX-License-Identifier: MIT
#pragma once
// Renders a score into one seamless loop of interleaved stereo samples.
#include "dsp.h"
#include "score.h"

namespace soundgen {

// Frames in one pass through the song; the rendered loop has exactly this many.
size_t loop_frames(const Score& score);

// Notes still sounding at the loop's end are wrapped round to its start, and the echo and
// reverb run over the loop twice so that their state at the end matches the start.
Stereo render_music(const Score& score);

// The same loop before it is levelled to the score's peak, for comparing parts of the mix.
Stereo mix_music(const Score& score);

}  // namespace soundgen
