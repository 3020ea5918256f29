#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows release under Wine, as a player would have it: unzipped into a
# fresh Wine prefix of its own, on an Xvfb display this script starts.
#   1. quandrite.exe --version answers in the console;
#   2. every scripted demo of tests/demos/ replays headless with --timedemo to
#      exactly its expected summary (frames, level, lives, score, hash);
#   3. the real window opens with the title " Quandrite 1.0", and the title
#      frame matches the native build's within 2 per channel;
#   4. a game played with key presses ends with initials, and the hiscore
#      table is written to %APPDATA%\Quandrite\quandrite.dat as 44 CRLF lines;
#      a second start reads it back (its title frame shows the native build's
#      picture of that table, not the default one);
#   5. a read-only table is loaded and kept: shown, and not saved over by
#      another game's initials;
#   6. the software and GPU drawing paths, fullscreen and the scaling modes
#      run; platform/'s own checks on Windows (tests/windows), when given.
# The Windows user is "Zoë東京" and the demos lie in "démos 東京", names
# that reach the program only through the wide (UTF-16) calls.
# Usage: tests/test_windows_wine.sh ZIP NATIVE-BUILD VERSION [PLATFORM-TEST.exe]
#   NATIVE-BUILD  a native build of the same source with demotool and quandrite
set -euo pipefail
zip=$(realpath "$1")
native=$(realpath "$2")
version=$3
platform_test=${4:+$(realpath "$4")}
source=$(cd "$(dirname "$0")/.." && pwd)
wine=/usr/lib/wine/wine64
[[ -x $wine ]] || wine=$(command -v wine64 || command -v wine)

work=$(mktemp -d "${TMPDIR:-/tmp}/quandrite-wine.XXXXXX")
passed=0
failed=0
xvfb=
game=
cleanup() {
  [[ -n $game ]] && kill "$game" 2>/dev/null
  WINEPREFIX=$work/prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
  [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
ok() { echo "ok: $1 (at $SECONDS s)"; passed=$((passed + 1)); }
bad() { echo "FAILED: $1" >&2; failed=$((failed + 1)); }

# shellcheck source=wait_for.sh
source "$source/tests/wait_for.sh"

# A display of our own: the first free number from 90.
display=90
while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:$display
# Waited for by its answer, with a deadline a loaded machine cannot miss.
x_answers() { xdpyinfo >/dev/null 2>&1; }
wait_for 60 x_answers || { echo "FAIL: Xvfb :$display did not answer within 60 s" >&2; exit 1; }

# A Wine prefix of this run alone, without the Mono and Gecko installers.
# Wine names the Windows user after USER: one whose name is not ASCII puts
# %APPDATA% where only the wide (UTF-16) calls reach.
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export USER='Zoë東京' LOGNAME='Zoë東京'
export SDL_AUDIODRIVER=dummy
timeout 300 "$wine" wineboot --init >/dev/null 2>&1 || { echo "wineboot failed" >&2; exit 1; }
appdata=$(find "$WINEPREFIX/drive_c/users" -maxdepth 3 -type d -path '*/AppData/Roaming' | head -1)
[[ -n $appdata ]] || { echo "the Wine prefix has no AppData\\Roaming" >&2; exit 1; }
[[ $appdata == *"Zoë東京"* ]] || { echo "Wine did not take the user name Zoë東京 ($appdata)" >&2; exit 1; }
table=$appdata/Quandrite/quandrite.dat

mkdir -p "$work/app"
(cd "$work/app" && unzip -q "$zip")
exe=$(find "$work/app" -name quandrite.exe | head -1)
for file in README.txt LICENSE.txt licenses/SDL2 licenses/libpng licenses/zlib; do
  [[ -e $(dirname "$exe")/$file ]] || bad "the zip has no $file"
done
# Windows paths for Wine's programs: Z: is the root of the Unix tree.
winpath() { printf 'Z:%s' "${1//\//\\}"; }
run() { timeout 300 "$wine" "$exe" "$@"; }

# 1. --version in the console
if out=$(run --version 2>&1) && [[ $out == *"quandrite $version"* ]]; then
  ok "--version: $out"
else
  bad "--version printed \"$out\""
fi

# 2. the scripted demos, replayed headless to the native summaries, from a
# folder whose name reaches the program only through the wide command line
demos="$work/démos 東京"
mkdir -p "$demos"
for script in "$source"/tests/demos/*.script; do
  name=$(basename "$script" .script)
  "$native/tools/demotool/demotool" make "$script" "$demos/$name.demo" >/dev/null
  expected=$(cat "${script%.script}.expected")
  output=$(run --timedemo "$(winpath "$demos/$name.demo")" --headless 2>&1 | tr -d '\r') || true
  summary=$(grep -oE 'frames [0-9]+ level [0-9]+ lives [0-9]+ score [0-9]+ hash [0-9a-f]+' <<<"$output" || true)
  if [[ $summary == "$expected" ]]; then ok "demo $name: $summary"; else bad "demo $name: \"$summary\", expected \"$expected\""; fi
done

# The native program's title frame with the table in FOLDER (empty: none).
native_title() {
  local home=$work/native-$1
  mkdir -p "$home/data/quandrite" "$home/config"
  if [[ -n $2 ]]; then cp "$2" "$home/data/quandrite/quandrite.dat"; fi
  XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config SDL_VIDEODRIVER=offscreen timeout 300 \
    "$native/game/quandrite" --headless --seed 7 --screenshot 90 "$work/native-$1.png" --frames 91 >/dev/null 2>&1
}
# Frame 90 of the title screen in a real window under Wine, written as PNG.
wine_title() {
  run --window --seed 7 --screenshot 90 "$(winpath "$work/wine-$1.png")" --frames 91 >/dev/null 2>&1 || true
  [[ -f $work/wine-$1.png ]]
}
# The largest difference of one channel between two pictures, 0 to 255.
difference() {
  compare -metric PAE "$1" "$2" null: 2>&1 | sed -E 's/^[0-9.e+]+ \(([0-9.e+-]+)\).*/\1/' |
    awk '{ printf "%d", $1 * 255 + 0.5 }'
}
same_picture() {
  local d
  d=$(difference "$1" "$2")
  [[ $d =~ ^[0-9]+$ ]] && ((d <= 2))
}

# The window of the running game titled TITLE (a pattern), within SECONDS;
# false at once if the game has ended.
wait_title() {
  local deadline=$((SECONDS + $2))
  while ((SECONDS < deadline)); do
    [[ -n $(xdotool search --name "^$1\$" 2>/dev/null) ]] && return 0
    kill -0 "$game" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# 3. the title frame in a real window against the native one, before any
# table is saved; then the window's title
native_title default ""
if wine_title default && same_picture "$work/wine-default.png" "$work/native-default.png"; then
  ok "the title frame matches the native one (largest difference $(difference "$work/wine-default.png" "$work/native-default.png"))"
else
  bad "the title frame differs from the native one (largest difference $(difference "$work/wine-default.png" "$work/native-default.png"))"
fi
run --window >/dev/null 2>&1 &
game=$!
window=
wait_title " Quandrite 1\.0" 60 && window=$(xdotool search --name '^ Quandrite 1\.0$' | head -1)
if [[ -n $window ]]; then ok "the window opened titled \" Quandrite 1.0\""; else bad "no window titled \" Quandrite 1.0\""; fi

# At least N (1 by default) replays of games played are kept.
replays_kept() { (($(compgen -G "$appdata/Quandrite/replays/*.replay" | wc -l) >= ${1:-1})); }
replay_kept() { replays_kept 1; }

# 4. a game played with keys: Space starts level 1, walking right runs into
# a skull, and the initials f, o, x go into the table.
play_to_initials() {
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window" 2>/dev/null || true
  xdotool keydown space
  wait_title " Quandrite - Level 1" 60 || { xdotool keyup space; return 1; }
  xdotool keyup space
  xdotool keydown Right
  local attempt
  for attempt in 1 2 3; do
    xdotool keydown space sleep 0.08 keyup space
    wait_title " Quandrite - Game Over" 40 && break
  done
  xdotool keyup Right
  wait_title " Quandrite - Game Over" 1 || return 1
  # The entry takes one letter a frame, then waits 199 ms: letters are typed
  # until the entry is complete and the title is back, so a press a busy
  # machine misses is typed again (a letter too many is ignored).
  local deadline=$((SECONDS + 120)) letter
  while ((SECONDS < deadline)); do
    for letter in f o x; do
      xdotool keydown "$letter" sleep 0.08 keyup "$letter"
      wait_title " Quandrite 1\.0" 1 && return 0
    done
  done
  return 1
}
# F10 changes the scaling, which the game writes into settings.ini.
settings=$appdata/Quandrite/settings.ini
if [[ -n $window ]]; then
  xdotool windowactivate --sync "$window" 2>/dev/null || true
  xdotool key F10
  aspect_saved() { grep -q '^scale *= *aspect' "$settings" 2>/dev/null; }
  if wait_for 60 aspect_saved; then
    ok "F10 is saved in %APPDATA%\\Quandrite\\settings.ini"
  else
    bad "no scale = aspect in $settings"
  fi
fi
if [[ -n $window ]] && play_to_initials; then
  wait_title " Quandrite 1\.0" 60 || bad "the title screen did not come back after the initials"
  wait_for 60 test -f "$table" || true
fi
if [[ -n $game ]]; then
  # Closed as a player closes it, the game keeps its replay; then it is ended.
  xdotool search --name '^ Quandrite' windowclose 2>/dev/null || true
  wait_for 60 replay_kept || true
  kill "$game" 2>/dev/null || true
  wait "$game" 2>/dev/null || true
  game=
fi
if [[ -f $table ]] && [[ $(wc -l <"$table") == 44 ]] && [[ $(grep -c $'\r$' "$table") == 44 ]] &&
   [[ $(sed -n '44p' "$table" | tr -d '\r') == "quandrite by TAVENBROOKE" ]]; then
  ok "a played game's table is written to %APPDATA%\\Quandrite\\quandrite.dat"
else
  bad "no table of 44 CRLF lines at $table"
fi
if replay_kept; then
  ok "the game's replay is in %APPDATA%\\Quandrite\\replays"
else
  bad "no replay in $appdata/Quandrite/replays"
fi


# The second start reads the table back: its title frame is the native
# program's with the same file, and not the default table's.
if [[ -f $table ]]; then
  cp "$table" "$work/saved.dat"
  native_title saved "$work/saved.dat"
  if wine_title second && same_picture "$work/wine-second.png" "$work/native-saved.png" &&
     ! same_picture "$work/wine-second.png" "$work/native-default.png"; then
    ok "a second start reads the table back"
  else
    bad "a second start does not show the saved table"
  fi

  # 5. read-only: loaded, and kept when another game ends with initials
  chmod a-w "$table"
  if wine_title readonly && same_picture "$work/wine-readonly.png" "$work/native-saved.png"; then
    ok "a read-only table is loaded"
  else
    bad "a read-only table is not shown"
  fi
  run --window >/dev/null 2>&1 &
  game=$!
  window=
  wait_title " Quandrite 1\.0" 120 && window=$(xdotool search --name '^ Quandrite 1\.0$' | head -1)
  played=no
  [[ -n $window ]] && play_to_initials && wait_title " Quandrite 1\.0" 60 && played=yes
  xdotool search --name '^ Quandrite' windowclose 2>/dev/null || true
  wait_for 60 replays_kept 2 || true
  kill "$game" 2>/dev/null || true
  wait "$game" 2>/dev/null || true
  game=
  if [[ $played == no ]]; then
    bad "the game with a read-only table did not reach its initials"
  elif cmp -s "$table" "$work/saved.dat" && [[ $(stat -c %A "$table") != *w* ]]; then
    ok "a read-only table is kept"
  else
    bad "the read-only table was changed"
  fi
fi

# The drawing paths and the window's modes each run a second of the title:
# SDL's software renderer, its GPU renderer (Direct3D or OpenGL, through
# Wine's), fullscreen, and the scaling modes.
for mode in "--renderer software" "--renderer gpu" "--fullscreen" "--window --scale integer" "--window --scale aspect"; do
  # shellcheck disable=SC2086
  if output=$(run $mode --frames 60 2>&1 | tr -d '\r'); then
    if [[ $mode == "--renderer gpu" && $output != *"drawing on the GPU with"* ]]; then
      bad "$mode names no GPU renderer: $output"
    else
      ok "$mode runs${output:+: $(grep -o 'drawing on the GPU with.*' <<<"$output")}"
    fi
  else
    bad "$mode ended with a failure: $output"
  fi
done

# 6. platform/ on Windows, as a program of its own
if [[ -n $platform_test ]]; then
  result=$(timeout 300 "$wine" "$platform_test" 2>&1 | tr -d '\r') || true
  grep '^FAILED' <<<"$result" >&2 || true
  if [[ $result =~ ([0-9]+)\ passed,\ ([0-9]+)\ failed ]] && ((BASH_REMATCH[2] == 0 && BASH_REMATCH[1] > 0)); then
    ok "platform/ on Windows: ${BASH_REMATCH[0]}"
  else
    bad "platform/ on Windows: ${result:-no result}"
  fi
fi

echo "$passed passed, $failed failed"
((failed == 0))
