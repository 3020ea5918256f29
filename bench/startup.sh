#!/bin/bash
# SPDX-License-Identifier: MIT
# Start-up to the first title frame, headless and under Xvfb (medians of RUNS).
#   wall_frames1: the whole process `quandrite --frames 1` (start, first title
#                 frame, end sequence), timed from outside;
#   in_process:   main() to the first title frame flipped (bench_game_screens);
#   exec_only:    start and end of a process linking the same libraries.
set -e
. "$(dirname "$0")/common.sh"
start_xvfb
run() {  # label, then the command
    local label=$1; shift
    local values=()
    for i in $(seq "$RUNS"); do
        local t0=$(now_ms); "$@" >/dev/null 2>&1; local t1=$(now_ms)
        values+=($((t1 - t0)))
    done
    echo "$label ms: median $(printf '%s\n' "${values[@]}" | median) (runs: ${values[*]})"
}
inproc() {
    local label=$1; shift
    local values=()
    for i in $(seq "$RUNS"); do values+=($("$@" 2>/dev/null | awk '{print $2}')); done
    echo "$label ms: median $(printf '%s\n' "${values[@]}" | median) (runs: ${values[*]})"
}
run    "headless wall_frames1" "$GAME" --frames 1 --headless
run    "xvfb     wall_frames1" env DISPLAY=$DISPLAY_NUMBER "$GAME" --frames 1
inproc "headless in_process  " "$SCREENS" --headless startup
inproc "xvfb     in_process  " env DISPLAY=$DISPLAY_NUMBER "$SCREENS" startup
run    "         exec_only   " "$SCREENS" none
