#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The game on Wayland: a nested weston drawing with pixman (no graphics card)
# on Xvfb, its output at scale 2 as on a HiDPI screen.
# 1. The window shows the title, drawn at the output's density: with
#    --scale integer the picture is twice its size in output pixels, each of
#    its pixels an exact 2 x 2 block (a picture drawn at 1x and enlarged by
#    the compositor would be blurred). The screenshot is kept as
#    desktop_wayland_title.png in the working folder.
# 2. The window's app id is the game's.
# 3. When no picture can be shown at all the game says so and ends with 1,
#    instead of playing its music in no window.
# Every wait is for a state, with a deadline of 30 s or more; every program runs
# under a timeout.
# Usage: tests/test_desktop_wayland.sh GAME_BINARY APP_ID
set -euo pipefail
game=$1
app_id=$2
for tool in Xvfb weston weston-screenshooter xdotool convert compare; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps --tests)" >&2; exit 1; }
done

# shellcheck source=x_server_support.sh
source "$(dirname "$0")/x_server_support.sh"
start_xvfb 2600x1700

# The output: 1280 x 800 at scale 2, that is 2560 x 1600 pixels; kiosk-shell
# centres the window on it.
export XDG_RUNTIME_DIR=$work/runtime WAYLAND_DISPLAY=quandrite-test
mkdir -m 700 "$XDG_RUNTIME_DIR"
DISPLAY=$x_display weston --backend=x11-backend.so --use-pixman --shell=kiosk-shell.so --socket="$WAYLAND_DISPLAY" \
  --width=1280 --height=800 --scale=2 --debug --idle-time=0 >"$work/weston.log" 2>&1 &
weston=$!
pids+=($weston)
weston_ready() {
  kill -0 "$weston" 2>/dev/null || return 2
  grep -q 'kiosk-shell' "$work/weston.log" && [[ -S $XDG_RUNTIME_DIR/$WAYLAND_DISPLAY ]]
}
wait_for 30 weston_ready || { echo "FAIL: weston did not start within 30 s: $(cat "$work/weston.log")" >&2; exit 1; }
# The pointer out of the way of the window.
DISPLAY=$x_display xdotool mousemove 0 0 || true
unset DISPLAY

run_game() { timeout -s KILL 120 env SDL_VIDEODRIVER=wayland SDL_AUDIODRIVER=dummy "$@"; }

# 1. The title at the output's density.
run_game "$game" --scale integer >"$work/game.log" 2>&1 &
pids+=($!)
shot=$work/shot/screen.png
mkdir "$work/shot"
# A screenshot of the output; weston-screenshooter names it by the time.
screenshot() {
  rm -f "$work"/shot/*.png
  (cd "$work/shot" && timeout 20 weston-screenshooter) >/dev/null 2>&1 || return 1
  mv "$work"/shot/wayland-screenshot-*.png "$shot"
}
# The picture, 2040 x 1214 pixels, centred on the 2560 x 1600 output.
picture="2040x1214+260+193"
# The window at its size, the title drawn in it (the compositor first shows
# the new window as black).
title_shown() {
  screenshot || return 1
  [[ $(convert "$shot" -format '%[fx:p{259,600}.a] %[fx:p{2300,600}.a] %[fx:p{1280,800}.a]' info:) == "0 0 1" ]] &&
    [[ $(convert "$shot" -crop "$picture" -format '%[fx:mean > 0.05]' info:) == 1 ]]
}
if wait_for 60 title_shown; then
  cp "$shot" desktop_wayland_title.png
  convert "$shot" -crop "$picture" +repage "$work/picture.png"
  convert "$work/picture.png" -sample 50% -sample 200% "$work/blocks.png"
  blurred=$(compare -metric AE "$work/picture.png" "$work/blocks.png" null: 2>&1) || true
  [[ $blurred == 0 ]] || fail "the picture is not drawn at the output's density: $blurred pixels are not 2 x 2 blocks"
else
  fail "no title 1020 x 607 at scale 2 on Wayland within 60 s: $(cat "$work/game.log")"
fi
kill "${pids[-1]}" 2>/dev/null || true
wait "${pids[-1]}" 2>/dev/null || true
unset 'pids[-1]'

# 2. The app id, as the game tells the compositor.
status=0
WAYLAND_DEBUG=client run_game "$game" --frames 30 >"$work/protocol.log" 2>&1 || status=$?
[[ $status -eq 0 ]] || fail "30 frames on Wayland ended with $status: $(grep -v '^\[' "$work/protocol.log" | tail -5)"
grep -qF "xdg_toplevel@" "$work/protocol.log" || fail "the game made no window on Wayland"
grep -qF ".set_app_id(\"$app_id\")" "$work/protocol.log" ||
  fail "the window's app id is not $app_id: $(grep -o 'set_app_id([^)]*)' "$work/protocol.log" | head -1)"

# 3. A system without EGL, where SDL has no way at all to show a picture
#    in a Wayland window.
status=0
SDL_VIDEO_EGL_DRIVER=/nonexistent/libEGL.so.1 run_game "$game" >"$work/blind.log" 2>&1 || status=$?
[[ $status -eq 1 ]] || fail "a game that can show no picture ended with $status, not 1"
grep -q '^quandrite: cannot open a window: ' "$work/blind.log" ||
  fail "a game that can show no picture does not say so: $(cat "$work/blind.log")"

[[ $failures -eq 0 ]] && echo "desktop under weston ok"
exit $((failures > 0))
