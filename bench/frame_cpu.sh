#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# CPU of one core at 60 frames per second, and the cost of one frame's
# drawing and presenting, in a real window of an Xvfb display, for the
# title, level 1, level 17 and the game-over screen, on each drawing path.
#   BUILD=build RUNS=5 DISPLAY_NUMBER=:61 PATHS="software gpu" bench/frame_cpu.sh
# The GPU path runs on Mesa's llvmpipe here (LIBGL_ALWAYS_SOFTWARE=1), which
# is OpenGL drawn by the CPU: its figures show the path works, not what a GPU
# costs.
source "$(dirname "$0")/common.sh"
SCENES_BIN=$BUILD/bench/bench_scenes
PATHS=${PATHS:-software gpu}
SECONDS_PER_RUN=${SECONDS_PER_RUN:-5}
start_xvfb
export DISPLAY=$DISPLAY_NUMBER LIBGL_ALWAYS_SOFTWARE=1
for path in $PATHS; do
  for scene in title level1 level17 gameover; do
    cpu=() frame=()
    for _ in $(seq "$RUNS"); do
      line=$("$SCENES_BIN" --renderer "$path" "$scene" "$SECONDS_PER_RUN" 2>/dev/null | grep '^scene')
      cpu+=("$(awk '{for (i = 1; i < NF; i++) if ($i == "cpu_percent") print $(i + 1)}' <<<"$line")")
      frame+=("$(awk '{for (i = 1; i < NF; i++) if ($i == "frame_ms") print $(i + 1)}' <<<"$line")")
    done
    printf '%-8s %-8s cpu_percent median %s (runs: %s)  frame_ms median %s (runs: %s)\n' "$path" "$scene" \
      "$(printf '%s\n' "${cpu[@]}" | median)" "${cpu[*]}" "$(printf '%s\n' "${frame[@]}" | median)" "${frame[*]}"
  done
done
