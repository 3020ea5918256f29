#!/bin/bash
# SPDX-License-Identifier: MIT
# Where the start-up goes: the steps of Game::startUp timed one by one
# (bench_game_screens phases), medians of RUNS: headless, under Xvfb, and
# under Xvfb with SDL's software renderer forced or SDL's audio set to dummy.
set -e
. "$(dirname "$0")/common.sh"
start_xvfb
phases() {  # label, then env assignments and options for bench_game_screens
    local label=$1; shift
    echo "$label"
    for i in $(seq "$RUNS"); do env "$@" phases 2>/dev/null; done |
        awk '{ if (!($2 in seen)) { seen[$2] = ++n; name[n] = $2 } vals[$2] = vals[$2] " " $3 }
             END { for (i = 1; i <= n; i++) print name[i], vals[name[i]] }' |
        while read -r name values; do
            printf "  %-46s %8s ms\n" "$name" "$(printf '%s\n' $values | median)"
        done
}
phases "headless"                             "$SCREENS" --headless
phases "xvfb"                                 DISPLAY=$DISPLAY_NUMBER "$SCREENS"
phases "xvfb, SDL_RENDER_DRIVER=software"     DISPLAY=$DISPLAY_NUMBER SDL_RENDER_DRIVER=software "$SCREENS"
phases "xvfb, SDL_AUDIODRIVER=dummy"          DISPLAY=$DISPLAY_NUMBER SDL_AUDIODRIVER=dummy "$SCREENS"
