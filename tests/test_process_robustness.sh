#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The real program when things go wrong: bad command lines, output that
# cannot be written, demo files that are not files, no display, no sound
# device, and quit signals on every path, with the private replay folders
# cleaned up and the player's hiscore file used only by real games.
# Usage: tests/test_process_robustness.sh GAME_BINARY DEMOTOOL_BINARY VERSION
set -uo pipefail
game=$1
demotool=$2
version=$3

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

export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/player TMPDIR=$work/tmp SDL_AUDIODRIVER=dummy
mkdir -p "$TMPDIR"
unset SDL_VIDEODRIVER

# run NAME COMMAND...: runs it (killed after 60 s), leaving $name.out, $name.err, $name.rc.
run() {
  local name=$1
  shift
  timeout -s KILL 60 "$@" >"$work/$name.out" 2>"$work/$name.err"
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
[[ $(cat "$work/version.out") == "quandrite $version" ]] || fail "--version printed '$(cat "$work/version.out")'"

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

# Output that cannot be written fails at the start, not after the game (a
# headless game without --frames would run until run() kills it).
started=$SECONDS
run record_folder "$game" --headless --record "$work/no/such/folder/game.demo"
expect_rc record_folder 1
expect_said record_folder "quandrite: cannot write $work/no/such/folder: No such file or directory"
((SECONDS - started < 20)) || fail "--record into a missing folder took 20 s or more to fail"
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
started=$SECONDS
run no_display env -u DISPLAY -u WAYLAND_DISPLAY "$game"
expect_rc no_display 1
expect_said no_display "quandrite: cannot open a window: no display (is DISPLAY set?)"
[[ $(lines no_display) == 1 ]] || fail "no display: more than one line on stderr: $(err no_display)"
((SECONDS - started < 20)) || fail "no display: took 20 s or more to end"
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
# signal_mask PID Cgt|Ign: the signals the process catches or ignores, as hex.
signal_mask() { sed -n "s/^Sig$2:[[:space:]]*//p" "/proc/$1/status" 2>/dev/null; }
# has_signal MASK SIGNAL: whether the mask holds the signal.
has_signal() { (((0x$1 >> ($(kill -l "$2") - 1)) & 1)); }
# wait_caught NAME PID SIGNAL: waits until the process is the game (not the
# shell's child before it runs the program, which has the shell's handlers)
# and catches the signal, at most 20 s.
program=$(realpath "$game")
wait_caught() {
  local deadline=$((SECONDS + 20)) mask
  while ((SECONDS < deadline)); do
    kill -0 "$2" 2>/dev/null || { fail "$1: ended before the signal: $(err "$1")"; return 1; }
    if [[ $(readlink "/proc/$2/exe" 2>/dev/null) == "$program" ]]; then
      mask=$(signal_mask "$2" Cgt)
      [[ -n $mask ]] && has_signal "$mask" "$3" && return 0
    fi
    sleep 0.05
  done
  fail "$1: does not catch SIG$3 after 20 s"
  return 1
}
# wait_ended NAME PID WHAT: waits at most 20 s for the process to end.
wait_ended() {
  local deadline=$((SECONDS + 20))
  while kill -0 "$2" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.05; done
  kill -0 "$2" 2>/dev/null || return 0
  fail "$1: still runs 20 s after $3"
  return 1
}

# signal_ends NAME SIGNAL COMMAND...: the program, sent SIGNAL once it
# catches it, ends with status 0.
signal_ends() {
  local name=$1 signal=$2
  shift 2
  # A script's background job ignores SIGINT; the player's game does not.
  env --default-signal=INT "$@" >"$work/$name.out" 2>"$work/$name.err" &
  local pid=$!
  pids+=("$pid")
  wait_caught "$name" "$pid" "$signal" || return
  kill "-$signal" "$pid"
  wait_ended "$name" "$pid" "SIG$signal" || return
  wait "$pid"
  local status=$?
  [[ $status == 0 ]] || fail "$name: SIG$signal ended it with status $status: $(err "$name")"
}

for signal in TERM INT HUP; do signal_ends "headless_$signal" "$signal" "$game" --headless; done
# nohup's ignored hang-up stays ignored.
nohup "$game" --headless >"$work/nohup.out" 2>&1 &
pid=$!
pids+=("$pid")
if wait_caught nohup "$pid" TERM; then
  has_signal "$(signal_mask "$pid" Ign)" HUP || fail "nohup: the game stopped ignoring SIGHUP"
  has_signal "$(signal_mask "$pid" Cgt)" HUP && fail "nohup: the game catches SIGHUP"
  kill -HUP "$pid"
  kill -0 "$pid" 2>/dev/null || fail "nohup: SIGHUP ended the game"
  kill -TERM "$pid"
  wait_ended nohup "$pid" SIGTERM && { wait "$pid" || fail "nohup: SIGTERM did not end the game with status 0"; }
fi

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
  # Xvfb writes the number and a line end once it accepts clients.
  deadline=$((SECONDS + 30))
  until [[ $(wc -l <"$work/display") -gt 0 ]] || ((SECONDS >= deadline)); do sleep 0.05; done
  if [[ $(wc -l <"$work/display") -gt 0 ]]; then
    for signal in TERM INT; do signal_ends "x11_$signal" "$signal" env DISPLAY=":$(cat "$work/display")" "$game"; done
  else
    fail "Xvfb reported no display within 30 s"
  fi
else
  fail "Xvfb is missing (scripts/install-deps --tests)"
fi

# --- Private replay folders and the player's table --------------------------
sleep 600 &
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
