#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The game on a real X display: Xvfb with the openbox window manager.
# 1. The layer's fullscreen tests (they skip without a display, so here they must run).
# 2. The game itself: its window carries the icon; F11 switches it to desktop
#    fullscreen and Alt+Enter back to its place and size, without the Enter
#    starting a game; QUANDRITE_FULLSCREEN=1 starts it fullscreen.
# Usage: tests/test_desktop_xvfb.sh TEST_MEDIA_BINARY GAME_BINARY
set -euo pipefail
test_media=$1
game=$2
for tool in Xvfb openbox xdotool xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps --tests)" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.05; done
export DISPLAY=:$(cat "$work/display")
openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.05; done

# 1. The layer's own tests on this display.
if ! output=$("$test_media" --gtest_filter='X11Fullscreen.*:FullscreenChord.*' 2>&1); then
  echo "$output" >&2
  fail "fullscreen tests"
fi
grep -q 'SKIPPED' <<<"$output" && fail "fullscreen tests skipped on a display: $output"

# x,y,WIDTHxHEIGHT of a window's client area on the screen.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
                            /Width:/ {w = $2} /Height:/ {h = $2} END {print x "," y "," w "x" h}'
}
# Waits until the window has the geometry (the window manager takes a moment).
expect_geometry() {
  local window=$1 wanted=$2 what=$3 now=
  for _ in $(seq 50); do
    now=$(geometry "$window")
    [[ $now == "$wanted" ]] && return 0
    sleep 0.1
  done
  fail "$what: window at $now, expected $wanted"
}
start_game() {
  XDG_DATA_HOME=$work/data SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$@" "$game" &
  pids+=($!)
  window=$(timeout 30 xdotool search --sync --onlyvisible --name '^ Quandrite') || true
  window=${window%%$'\n'*}
  [[ -n $window ]] || { fail "no game window"; return 1; }
  xdotool windowactivate --sync "$window" 2>/dev/null || true
}
stop_game() {
  kill "${pids[-1]}" 2>/dev/null || true
  wait "${pids[-1]}" 2>/dev/null || true
  unset 'pids[-1]'
}

# 2. The game in a window.
if start_game env; then
  icon=$(xprop -id "$window" _NET_WM_ICON)
  grep -q 'Icon (64 x 64)' <<<"$icon" || fail "the window has no 64 x 64 icon"
  # The title screen is up when the window stays put.
  windowed=$(geometry "$window")
  for _ in $(seq 20); do
    sleep 0.3
    now=$(geometry "$window")
    [[ $now == "$windowed" ]] && break
    windowed=$now
  done
  xdotool key F11
  expect_geometry "$window" "0,0,1280x800" "F11"
  xdotool key alt+Return
  expect_geometry "$window" "$windowed" "Alt+Enter"
  sleep 0.3
  title=$(xdotool getwindowname "$window")
  [[ $title == " Quandrite 1.0" ]] || fail "Alt+Enter also acted as Enter: the window says '$title'"
  xdotool key F11
  expect_geometry "$window" "0,0,1280x800" "F11 again"
  xdotool key F11
  expect_geometry "$window" "$windowed" "F11 back"
  stop_game
fi

# 3. Asked for at start.
if start_game env QUANDRITE_FULLSCREEN=1; then
  expect_geometry "$window" "0,0,1280x800" "QUANDRITE_FULLSCREEN=1"
  xdotool key F11
  for _ in $(seq 50); do [[ $(geometry "$window") == *,1020x607 ]] && break; sleep 0.1; done
  [[ $(geometry "$window") == *,1020x607 ]] || fail "F11 after a fullscreen start: $(geometry "$window")"
  stop_game
fi

[[ $failures -eq 0 ]] && echo "desktop under Xvfb ok"
exit $((failures > 0))
