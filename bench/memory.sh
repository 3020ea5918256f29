#!/bin/bash
# SPDX-License-Identifier: MIT
# Peak resident memory over the scripted session tests/demos/session_game_over
# (title, levels 1 and 2 completed, level 3 lost, game over with initials,
# title again), replayed headless and under Xvfb, with /usr/bin/time -v.
set -e
. "$(dirname "$0")/common.sh"
start_xvfb
demo=$(mktemp --suffix=.demo)
"$DEMOTOOL" make "$ROOT/tests/demos/session_game_over.script" "$demo"
for mode in headless xvfb; do
    values=()
    for i in $(seq "${MEMORY_RUNS:-3}"); do
        if [ $mode = headless ]; then
            kb=$(/usr/bin/time -v "$GAME" --timedemo "$demo" --headless 2>&1 >/dev/null | awk '/Maximum resident/ {print $NF}')
        else
            kb=$(DISPLAY=$DISPLAY_NUMBER /usr/bin/time -v "$GAME" --timedemo "$demo" 2>&1 >/dev/null | awk '/Maximum resident/ {print $NF}')
        fi
        values+=($kb)
    done
    echo "$mode peak_rss KB: median $(printf '%s\n' "${values[@]}" | median) (runs: ${values[*]})"
done
rm -f "$demo"
