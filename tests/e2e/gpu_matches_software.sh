#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The GPU path draws the game's heavy frames as the software compositor does,
# within 2 per channel on every pixel: the title, level 1 while its background
# fades, the death burst and the game-over screen, in a real window of an
# Xvfb display with Mesa's llvmpipe as the OpenGL driver.
# Usage: gpu_matches_software.sh GAME DEMOTOOL PICTURE_DIFFERENCE SCRIPT
set -euo pipefail
game=$1 demotool=$2 difference=$3 script=$4
command -v Xvfb >/dev/null || { echo "FAIL: Xvfb is missing (scripts/install-deps --tests)" >&2; exit 1; }

work=$(mktemp -d)
xvfb=
cleanup() {
  [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

: >"$work/display"
Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$work/display" 2>/dev/null &
xvfb=$!
# Xvfb writes the number and a line end once it accepts clients.
deadline=$((SECONDS + 30))
until [[ $(wc -l <"$work/display") -gt 0 ]]; do
  ((SECONDS < deadline)) || { echo "FAIL: Xvfb reported no display within 30 s" >&2; exit 1; }
  sleep 0.05
done
export DISPLAY=:$(tr -dc 0-9 <"$work/display")
# Nothing of the player's settings or table.
export LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data

timeout -s KILL 60 "$demotool" make "$script" "$work/demo"
failures=0
# frame: what it shows (frames of tests/demos/skull_death.script)
while read -r frame what; do
  for path in software gpu; do
    timeout -s KILL 120 "$game" --timedemo "$work/demo" --renderer "$path" --frames "$frame" --screenshot "$frame" \
      "$work/$path-$frame.png" >"$work/out" 2>"$work/err" || { cat "$work/err" >&2; exit 1; }
  done
  if ! grep -q "drawing on the GPU with opengl" "$work/err"; then
    echo "FAIL: the GPU path did not draw frame $frame:" >&2
    cat "$work/err" >&2
    exit 1
  fi
  if result=$(timeout -s KILL 60 "$difference" "$work/software-$frame.png" "$work/gpu-$frame.png" 2); then
    echo "frame $frame ($what): $result"
  else
    echo "FAIL: frame $frame ($what): $result" >&2
    failures=$((failures + 1))
  fi
done <<'FRAMES'
4 title, bubbles rising
30 title, bubbles and tip
70 level 1, background fading in
300 level 1, the clock running
610 the death burst
740 game-over screen
FRAMES
exit $((failures > 0))
