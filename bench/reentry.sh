#!/bin/bash
# SPDX-License-Identifier: MIT
# Title re-entry: from the end of the Escape wait to the next title frame
# (bench_game_screens reentry: 20 round trips per run, median per run; the
# median of the RUNS medians is reported), headless and under Xvfb.
set -e
. "$(dirname "$0")/common.sh"
start_xvfb
for mode in headless xvfb; do
    values=()
    for i in $(seq "$RUNS"); do
        if [ $mode = headless ]; then out=$("$SCREENS" --headless reentry 20 2>/dev/null)
        else out=$(DISPLAY=$DISPLAY_NUMBER "$SCREENS" reentry 20 2>/dev/null); fi
        values+=($(echo "$out" | awk '/median/ {print $2}'))
    done
    echo "$mode title_reentry ms: median $(printf '%s\n' "${values[@]}" | median) (run medians: ${values[*]})"
done
