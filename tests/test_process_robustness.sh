#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real program when things go wrong: bad command lines, output that
# cannot be written, demo files that are not files, no display, no sound
# device, and quit signals on every path, with the private replay folders
# cleaned up and the player's hiscore file used only by real games.
# Usage: tests/test_process_robustness.sh GAME_BINARY DEMOTOOL_BINARY
set -uo pipefail
game=$1
demotool=$2

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

export XDG_DATA_HOME=$work/player TMPDIR=$work/tmp SDL_AUDIODRIVER=dummy
mkdir -p "$TMPDIR"
unset SDL_VIDEODRIVER

# run NAME COMMAND...: runs it (killed after 10 s), leaving $name.out, $name.err, $name.rc.
run() {
  local name=$1
  shift
  timeout -s KILL 10 "$@" >"$work/$name.out" 2>"$work/$name.err"
  echo $? >"$work/$name.rc"
}
rc() { cat "$work/$1.rc"; }
err() { cat "$work/$1.err"; }
expect_rc() { [[ $(rc "$1") == "$2" ]] || fail "$1: exit status $(rc "$1"), expected $2; stderr: $(err "$1")"; }
# The first line of stderr is exactly the text.
expect_said() { [[ $(head -n 1 "$work/$1.err") == "$2" ]] || fail "$1: said '$(head -n 1 "$work/$1.err")', expected '$2'"; }
lines() { wc -l <"$work/$1.err"; }

# --- The command line -------------------------------------------------------
run help "$game" --help
expect_rc help 0
grep -q '^usage: quandrite' "$work/help.out" || fail "--help: no usage on stdout"
[[ -s $work/help.err ]] && fail "--help: wrote on stderr: $(err help)"

run version "$game" --version
expect_rc version 0
[[ $(cat "$work/version.out") == "quandrite 1.0.0" ]] || fail "--version printed '$(cat "$work/version.out")'"

run seed "$game" --seed abc
expect_rc seed 2
expect_said seed "quandrite: --seed: not a number: abc"
grep -q '^usage: quandrite' "$work/seed.err" || fail "--seed abc: no usage after the message"
run unknown "$game" --colour
expect_rc unknown 2
expect_said unknown "quandrite: unknown option: --colour"
run missing "$game" --headless --record
expect_rc missing 2
expect_said missing "quandrite: --record: needs FILE"
run frames0 "$game" --headless --frames 0
expect_rc frames0 2
expect_said frames0 "quandrite: --frames: must be at least 1: 0"
run scale "$game" --headless --scale wide
expect_rc scale 2
expect_said scale "quandrite: --scale: not a scale mode (stretch, aspect, integer): wide"
run renderer "$game" --headless --renderer opengl
expect_rc renderer 2
expect_said renderer "quandrite: --renderer: not a renderer (auto, software, gpu): opengl"

# Output that cannot be written fails at the start, not after the game.
started=$(date +%s%N)
run record_folder "$game" --headless --record "$work/no/such/folder/game.demo"
expect_rc record_folder 1
expect_said record_folder "quandrite: cannot write $work/no/such/folder: No such file or directory"
(( ($(date +%s%N) - started) / 1000000 < 3000 )) || fail "--record into a missing folder took more than 3 s to fail"
mkdir -p "$work/shots"
run shot_folder "$game" --headless --frames 3 --screenshot 2 "$work/shots"
expect_rc shot_folder 1
expect_said shot_folder "quandrite: cannot write $work/shots: Is a directory"
run shot_late "$game" --headless --frames 3 --screenshot 10 "$work/shots/late.png"
expect_rc shot_late 1
expect_said shot_late "quandrite: could not write the screenshot $work/shots/late.png: the game ended before that frame"
run shot_ok "$game" --headless --frames 3 --screenshot 2 "$work/shots/ok.png"
expect_rc shot_ok 0
[[ -s $work/shots/ok.png ]] || fail "--screenshot 2 wrote no picture"

# Demo files that are not files, or far too large, are refused at once.
run play_zero "$game" --headless --play /dev/zero
expect_rc play_zero 2
expect_said play_zero "quandrite: /dev/zero: not a regular file"
mkfifo "$work/pipe"
run play_pipe "$game" --headless --play "$work/pipe"
expect_rc play_pipe 2
expect_said play_pipe "quandrite: $work/pipe: not a regular file"
truncate -s 65M "$work/huge.demo"
run play_huge "$game" --headless --play "$work/huge.demo"
expect_rc play_huge 2
expect_said play_huge "quandrite: $work/huge.demo: too large for a demo"

# --- No display -------------------------------------------------------------
started=$(date +%s%N)
run no_display env -u DISPLAY -u WAYLAND_DISPLAY "$game"
expect_rc no_display 1
expect_said no_display "quandrite: cannot open a window: no display (is DISPLAY set?)"
[[ $(lines no_display) == 1 ]] || fail "no display: more than one line on stderr: $(err no_display)"
(( ($(date +%s%N) - started) / 1000000 < 1000 )) || fail "no display: took more than a second to end"
# A display named but not there: SDL's own reason.
run dead_display env SDL_VIDEODRIVER=x11 DISPLAY=:1999 "$game"
expect_rc dead_display 1
expect_said dead_display "quandrite: cannot open a window: x11 not available"
# A driver named on purpose runs without a window.
run offscreen env -u DISPLAY SDL_VIDEODRIVER=offscreen "$game" --frames 3
expect_rc offscreen 0

# --- No sound device --------------------------------------------------------
printf '# nothing\n' >"$work/asound.conf"
run no_sound env SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=alsa ALSA_CONFIG_PATH="$work/asound.conf" \
  "$game" --frames 3
expect_rc no_sound 0
[[ $(grep -c '^quandrite: sound is off: ' "$work/no_sound.err") == 1 ]] || fail "no sound: not said once: $(err no_sound)"
[[ $(lines no_sound) == 1 ]] || fail "no sound: other noise on stderr: $(err no_sound)"

# --- Quit signals -----------------------------------------------------------
# signal_ends NAME SIGNAL COMMAND...: the program, sent SIGNAL after 1.5 s,
# ends with status 0 within 3 s.
signal_ends() {
  local name=$1 signal=$2
  shift 2
  # A script's background job ignores SIGINT; the player's game does not.
  env --default-signal=INT "$@" >"$work/$name.out" 2>"$work/$name.err" &
  local pid=$!
  pids+=("$pid")
  sleep 1.5
  kill -0 "$pid" 2>/dev/null || { fail "$name: ended before the signal: $(err "$name")"; return; }
  kill "-$signal" "$pid"
  for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    fail "$name: still runs 3 s after SIG$signal"
    return
  fi
  wait "$pid"
  local status=$?
  [[ $status == 0 ]] || fail "$name: SIG$signal ended it with status $status: $(err "$name")"
}

for signal in TERM INT HUP; do signal_ends "headless_$signal" "$signal" "$game" --headless; done
# nohup's ignored hang-up stays ignored.
nohup "$game" --headless >"$work/nohup.out" 2>&1 &
pid=$!
pids+=("$pid")
sleep 1
kill -HUP "$pid"
sleep 1
kill -0 "$pid" 2>/dev/null || fail "nohup: SIGHUP ended the game"
kill -TERM "$pid"
wait "$pid" || fail "nohup: SIGTERM did not end the game with status 0"

# An hour of play on the title screen, replayed in real time and as fast as possible.
printf 'seed: 1\n1: -\n216000: end\n' >"$work/long.script"
"$demotool" make "$work/long.script" "$work/long.demo" || fail "demotool make"
signal_ends play_TERM TERM "$game" --headless --play "$work/long.demo"
signal_ends timedemo_INT INT "$game" --headless --timedemo "$work/long.demo"
leftover=$(find "$TMPDIR" -mindepth 1 -maxdepth 1)
[[ -z $leftover ]] || fail "a replay ended by a signal left its private folder: $leftover"

# A recorded game ended by a signal still writes the demo, which replays.
signal_ends record_TERM TERM "$game" --headless --seed 7 --record "$work/recorded.demo"
run replay_recorded "$game" --headless --timedemo "$work/recorded.demo"
expect_rc replay_recorded 0

# A real window in a virtual X display, the driver found by SDL itself.
if command -v Xvfb >/dev/null; then
  Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$work/display" 2>/dev/null &
  pids+=($!)
  for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.05; done
  for signal in TERM INT; do signal_ends "x11_$signal" "$signal" env DISPLAY=":$(cat "$work/display")" "$game"; done
else
  fail "Xvfb is missing (scripts/install-deps --tests)"
fi

# --- Private replay folders and the player's table --------------------------
sleep 30 &
live=$!
pids+=("$live")
( exit 0 ) &
dead=$!
wait "$dead"
mkdir -p "$TMPDIR/quandrite-demo-$dead-AbCdEf/quandrite" "$TMPDIR/quandrite-demo-$live-AbCdEf" "$TMPDIR/other"
export XDG_DATA_HOME=$work/fresh_player
run replay "$game" --headless --timedemo "$work/long.demo" --frames 5
expect_rc replay 0
[[ -e $TMPDIR/quandrite-demo-$dead-AbCdEf ]] && fail "the private folder of a dead replay was not removed"
[[ -e $TMPDIR/quandrite-demo-$live-AbCdEf ]] || fail "the private folder of a running replay was removed"
[[ -e $TMPDIR/other ]] || fail "a folder not of ours was removed"
[[ -e $XDG_DATA_HOME/quandrite/quandrite.dat ]] && fail "a replay opened the player's hiscore file"
run record "$game" --headless --record "$work/short.demo" --frames 5
expect_rc record 0
[[ -e $XDG_DATA_HOME/quandrite/quandrite.dat ]] || fail "a recorded game did not use the player's hiscore file"

if (( failures > 0 )); then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "all process checks passed"
