#!/bin/bash
# SPDX-License-Identifier: MIT
# Frames per second of --timedemo on the heaviest scripted demo
# (tests/demos/several_levels: three levels, 4420 frames), headless and under Xvfb.
set -e
. "$(dirname "$0")/common.sh"
start_xvfb
demo=$(mktemp --suffix=.demo)
"$DEMOTOOL" make "$ROOT/tests/demos/${DEMO:-several_levels}.script" "$demo"
for mode in headless xvfb; do
    values=()
    for i in $(seq "$RUNS"); do
        if [ $mode = headless ]; then out=$("$GAME" --timedemo "$demo" --headless 2>/dev/null)
        else out=$(DISPLAY=$DISPLAY_NUMBER "$GAME" --timedemo "$demo" 2>/dev/null); fi
        values+=($(echo "$out" | awk '/^timedemo:/ {print $(NF-3)}'))
    done
    echo "$mode timedemo fps: median $(printf '%s\n' "${values[@]}" | median) (runs: ${values[*]})"
done
rm -f "$demo"
