#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End-to-end test of the real game binary in a real X window.
#
# Starts its own Xvfb display and an openbox window manager, then plays
# Quandrite as a person would, with xdotool key presses, and checks what the
# window shows by reading known pixel patterns (the digit glyphs and letter
# shapes of the hiscore panel) out of ImageMagick screenshots:
#   1. the window appears titled " Quandrite MAJOR.MINOR" with a 1020 x 607
#      client area (a first start: its own settings folder) and the default
#      hiscore table;
#   2. Space starts level 1, a walk into the skull ends the only life and the
#      game-over screen shows the score;
#   3. three letters store a new row: the title screen shows it at its rank
#      and the hiscore file holds 44 CRLF lines with a valid checksum;
#   4. a second start shows the same table; a file with one changed digit
#      shows the error table;
#   5. closing the window through the window manager (Alt+F4) ends the
#      process with exit code 0.
#
# Every program runs under a timeout, so a hang fails the test.
#
# Usage: run_e2e.sh QUANDRITE_BINARY SCREEN_GLYPHS_BINARY SHORT_VERSION
set -uo pipefail
shopt -s extglob

USAGE="usage: run_e2e.sh QUANDRITE_BINARY SCREEN_GLYPHS_BINARY SHORT_VERSION"
GAME=${1:?$USAGE}
GLYPHS=${2:?$USAGE}
TITLE=" Quandrite ${3:?$USAGE}"
[[ -x $GAME ]] || { echo "e2e: game binary $GAME not found" >&2; exit 1; }
[[ -x $GLYPHS ]] || { echo "e2e: helper $GLYPHS not found" >&2; exit 1; }
for tool in Xvfb openbox xdotool xwininfo xprop import; do
  command -v "$tool" >/dev/null || { echo "e2e: $tool is missing (scripts/install-deps --tests)" >&2; exit 1; }
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/quandrite-e2e.XXXXXX")
CONFIG=$WORK/config
DATA=$WORK/data
HISCORE_FILE=$DATA/quandrite/quandrite.dat
XVFB_PID='' WM_PID='' GAME_PID='' WIN=''
START_TIME=$SECONDS

cleanup() {
  for pid in "$GAME_PID" "$WM_PID" "$XVFB_PID"; do
    [[ -n $pid ]] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  if [[ -e $WORK/failed ]]; then
    echo "e2e: screenshots and logs kept in $WORK" >&2
  else
    rm -rf "$WORK"
  fi
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# fail MESSAGE: also works inside $(...), where it ends only the subshell;
# the callers there add `|| exit 1`.
fail() {
  touch "$WORK/failed"
  echo "E2E FAILED: $*" >&2
  for log in "$WORK"/game*.log; do
    [[ -s $log ]] && { echo "--- $log:" >&2; tail -n 20 "$log" >&2; }
  done
  exit 1
}
step() { echo "[$((SECONDS - START_TIME))s] $*"; }

# ---------------------------------------------------------------- display
start_display() {
  : >"$WORK/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$WORK/display" \
    >"$WORK/xvfb.log" 2>&1 &
  XVFB_PID=$!
  local i
  for ((i = 0; i < 300; i++)); do
    # Xvfb writes the number and a line end once it accepts clients.
    (($(wc -l <"$WORK/display") > 0)) && break
    kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    sleep 0.1
  done
  local number
  number=$(tr -dc 0-9 <"$WORK/display")
  [[ -n $number ]] || fail "Xvfb reported no display number within 30 s"
  export DISPLAY=:$number
  unset XAUTHORITY WAYLAND_DISPLAY

  openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
  WM_PID=$!
  for ((i = 0; i < 300; i++)); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return
    kill -0 "$WM_PID" 2>/dev/null || fail "openbox did not start: $(cat "$WORK/openbox.log")"
    sleep 0.1
  done
  fail "openbox did not take over the display within 30 s"
}

# ---------------------------------------------------------------- game process
# start_game N: runs the game with the test's settings and data folders, no
# sound card, killed after 300 s. GAME_PID is the timeout's, whose status is
# the game's.
start_game() {
  wait_no_clients
  (cd "$WORK" && XDG_CONFIG_HOME=$CONFIG XDG_DATA_HOME=$DATA SDL_AUDIODRIVER=dummy exec timeout -s KILL 300 "$GAME") \
    >"$WORK/game$1.log" 2>&1 &
  GAME_PID=$!
  WIN=''
}
# The game's own process, the child of the timeout.
game_process() { pgrep -P "$GAME_PID"; }

# wait_no_clients: openbox keeps no window of an earlier game. A new game's
# window may get the number of the last one's, which openbox must have
# forgotten before it is asked to show the new one.
wait_no_clients() {
  local deadline=$((SECONDS + 20))
  while xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -q '0x'; do
    ((SECONDS < deadline)) || fail "openbox still keeps the window of a game that ended"
    sleep 0.1
  done
}

title_of() { xdotool getwindowname "$WIN" 2>/dev/null; }

# find_window TITLE: WIN becomes the game's visible window with that title.
find_window() {
  local id pid
  pid=$(game_process) || return 1
  for id in $(xdotool search --onlyvisible --pid "$pid" --name 'Quandrite' 2>/dev/null); do
    [[ $(xdotool getwindowname "$id" 2>/dev/null) == "$1" ]] && { WIN=$id; return 0; }
  done
  return 1
}

# wait_window TITLE TIMEOUT: the game's window with that title appears. SDL
# may replace its first X window when the renderer starts; shot finds the
# new one, and the callers look at the window only once it shows a frame.
wait_window() {
  local deadline=$((SECONDS + $2))
  while ((SECONDS < deadline)); do
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before its window appeared"
    find_window "$1" && return
    sleep 0.2
  done
  fail "no window titled \"$1\" within $2 s"
}

# wait_title TITLE TIMEOUT: the window's title becomes TITLE.
wait_title() {
  local deadline=$((SECONDS + $2)) title=''
  while ((SECONDS < deadline)); do
    title=$(title_of)
    [[ $title == "$1" ]] && return 0
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for the title \"$1\""
    sleep 0.1
  done
  return 1
}

focus_window() {
  timeout 20 xdotool windowactivate --sync "$WIN" >/dev/null 2>&1
  local deadline=$((SECONDS + 20))
  while ((SECONDS < deadline)); do
    [[ $(xdotool getactivewindow 2>/dev/null) == "$WIN" ]] && return
    xdotool windowfocus "$WIN" 2>/dev/null
    sleep 0.1
  done
  fail "the game window does not get the keyboard focus"
}

# press KEY: holds a key for 0.08 s: five frames, so a frame sees it, and
# well inside the game's 199 ms wait after a letter, so that it is not taken
# twice even when a loaded machine delays the release (0.15 s was not: the
# release came late and one press filled two slots). A press no frame saw is
# pressed again; one taken twice would fail the test. One xdotool process
# does both, so that the hold does not stretch with the start-up time of a
# second process.
press() { xdotool keydown "$1" sleep 0.08 keyup "$1"; }

# close_game: Alt+F4 makes openbox send WM_DELETE_WINDOW, as a close button
# does; the process must then end with code 0.
close_game() {
  focus_window
  xdotool keydown alt sleep 0.05 key F4 sleep 0.05 keyup alt
  local deadline=$((SECONDS + 20))
  while kill -0 "$GAME_PID" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.1; done
  kill -0 "$GAME_PID" 2>/dev/null && fail "the game still runs 20 s after its window was closed"
  wait "$GAME_PID"
  local rc=$?
  GAME_PID=''
  [[ $rc == 0 ]] || fail "closing the window ended the game with exit code $rc, not 0"
}

# ---------------------------------------------------------------- screenshots
# shot: screenshot of the window's client area into the file SHOT. A window
# that went away was replaced by SDL: the one of the same title is taken.
shot() {
  local file
  file=$WORK/shot-$(date +%s.%N).ppm
  if ! timeout 20 import -window "$WIN" -depth 8 "ppm:$file" 2>>"$WORK/import.log"; then
    title_of >/dev/null && fail "screenshot of window $WIN failed"
    wait_window "$TITLE" 20
    timeout 20 import -window "$WIN" -depth 8 "ppm:$file" 2>>"$WORK/import.log" || fail "screenshot of window $WIN failed"
  fi
  local size
  size=$("$GLYPHS" size "$file") || fail "unreadable screenshot $file"
  [[ $size == 1020x607 ]] || fail "screenshot of the client area is $size, not 1020x607"
  SHOT=$file
}

PANEL_TINT=(213 223 160)
WHITE=(255 255 255)
row_y() { echo $((344 + 15 * $1)); }

# panel_scores SHOT: the ten scores of the title screen's hiscore panel, one
# line each, as the digits read at x 535 + 14 (k - 1); empty cells dropped.
panel_scores() {
  local r text
  for r in {1..10}; do
    text=$("$GLYPHS" read "$1" 535 "$(row_y "$r")" 14 5 "${PANEL_TINT[@]}") || return 1
    [[ $text =~ ^[1-9][0-9]*\.*$ ]] && echo "${text//./}" || echo "unreadable($text)"
  done
}

# panel_names SHOT: the 30 letter shapes of the panel (row by row, three
# letters of 7 x 10 pixels at x 430, 444, 458), one mask per line.
panel_names() {
  local r k
  for r in {1..10}; do
    for k in 0 1 2; do
      "$GLYPHS" mask "$1" $((430 + 14 * k)) "$(row_y "$r")" 7 10 "${PANEL_TINT[@]}"
    done
  done
}

# letter_mask SHOT ROW K: the shape of letter K (1..3) of panel row ROW.
letter_mask() { "$GLYPHS" mask "$1" $((430 + 14 * ($3 - 1))) "$(row_y "$2")" 7 10 "${PANEL_TINT[@]}"; }

# wait_panel EXPECTED TIMEOUT: screenshots until the panel shows the scores
# EXPECTED (lines); SHOT is the screenshot that did. The title is set before
# the first frame is drawn, so the first screenshots may be older frames.
wait_panel() {
  local deadline=$((SECONDS + $2)) file='' seen=''
  while ((SECONDS < deadline)); do
    shot
    file=$SHOT
    seen=$(panel_scores "$file")
    [[ $seen == "$1" ]] && return
    sleep 0.2
  done
  fail "the hiscore panel shows
$(paste <(echo "$seen") <(echo "$1") | awk '{printf "  row %2d: %-16s expected %s\n", NR, $1, $2}')"
}

# ---------------------------------------------------------------- game-over screen
SLOT_X=(492 506 520)
# slot_state SHOT J: "open" (underscore, no letter), or the letter's mask.
slot_state() {
  local x=${SLOT_X[$(($2 - 1))]} underscore letter
  underscore=$("$GLYPHS" mask "$1" "$x" 363 9 2 "${WHITE[@]}")
  letter=$("$GLYPHS" mask "$1" "$x" 355 7 10 "${WHITE[@]}")
  if [[ $underscore == 111111111111111111 && ${letter:0:56} == *([0]) ]]; then
    echo open
  else
    echo "$letter"
  fi
}
# expected_score_x N: left edges of the N score digits on the game-over screen.
expected_score_x() {
  case $1 in
    1) echo 506 ;; 2) echo 501 513 ;; 3) echo 495 507 519 ;;
    4) echo 489 501 513 525 ;; 5) echo 483 495 507 519 531 ;;
  esac
}

# type_letter K LETTER MASK: types LETTER into slot K and checks the slot
# shows the shape MASK (the same letter as read from the title panel).
type_letter() {
  local k=$1 attempt file deadline state j
  for attempt in 1 2 3; do
    press "$2"
    if ((k == 3)); then
      # The third letter ends the entry: 1302 ms later the table is saved.
      deadline=$((SECONDS + 20))
      while ((SECONDS < deadline)); do
        [[ $(title_of) == " Saving score..." || $(title_of) == "$TITLE" ]] && return
        sleep 0.1
      done
      continue
    fi
    deadline=$((SECONDS + 20))
    while ((SECONDS < deadline)); do
      shot
      file=$SHOT
      state=$(slot_state "$file" "$k")
      if [[ $state != open ]]; then
        [[ $state == "$3" ]] || fail "slot $k of the initials does not show the letter '$2' (see $file)"
        for ((j = k + 1; j <= 3; j++)); do
          [[ $(slot_state "$file" $j) == open ]] ||
            fail "one press of '$2' filled more than slot $k (see $file)"
        done
        return
      fi
      sleep 0.1
    done
    echo "   (no letter in slot $k after pressing '$2', pressing again)"
  done
  fail "pressing '$2' three times did not fill slot $k of the initials"
}

# ---------------------------------------------------------------- hiscore file
# check_file SCORES: the saved file against the table SCORES (ten lines).
check_file() {
  [[ -f $HISCORE_FILE ]] || fail "no hiscore file at $HISCORE_FILE"
  local lines crlf bytes
  lines=$(wc -l <"$HISCORE_FILE")
  crlf=$(grep -c $'\r$' "$HISCORE_FILE")
  [[ $lines == 44 ]] || fail "the hiscore file has $lines lines, not 44"
  [[ $crlf == 44 ]] || fail "only $crlf of the 44 lines of the hiscore file end with CR LF"
  [[ $(tail -c 2 "$HISCORE_FILE" | od -An -tx1 | tr -d ' \n') == 0d0a ]] ||
    fail "the hiscore file does not end with CR LF"
  mapfile -t L < <(tr -d '\r' <"$HISCORE_FILE")
  [[ ${L[42]} == Hiscores ]] || fail "line 43 of the hiscore file is \"${L[42]}\", not \"Hiscores\""
  [[ ${L[43]} == "quandrite by TAVENBROOKE" ]] ||
    fail "line 44 of the hiscore file is \"${L[43]}\", not \"quandrite by TAVENBROOKE\""
  local i sum=0 check=''
  for ((i = 1; i <= 40; i++)); do
    [[ ${L[$i]} =~ ^[1-9][0-9]*$ ]] || fail "line $((i + 1)) of the hiscore file is not a number: \"${L[$i]}\""
  done
  for ((i = 1; i <= 30; i++)); do sum=$((sum + L[i])); done
  local score
  while read -r score; do sum=$((sum + score)); done <<<"$1"
  [[ ${L[41]} == $((63 * sum + 126)) ]] ||
    fail "checksum line is ${L[41]}, expected 63 * $sum + 126 = $((63 * sum + 126))"
  # The check line: first characters of the row's three letter codes and of its score code.
  local r
  for r in {1..10}; do
    check+=${L[$r]:0:1}${L[$((10 + r))]:0:1}${L[$((20 + r))]:0:1}${L[$((30 + r))]:0:1}
  done
  [[ ${L[0]} == "$check" ]] || fail "check line is \"${L[0]}\", expected \"$check\""
}

# ================================================================= the test
step "starting Xvfb and openbox"
start_display
step "display $DISPLAY ready"
mkdir -p "$DATA"

DEFAULT_SCORES=$(printf '%s\n' 550 500 450 400 350 300 250 200 150 100)

# 1. the window and the default table
start_game 1
wait_window "$TITLE" 90
# A window showing a frame is the one SDL keeps.
wait_panel "$DEFAULT_SCORES" 30
first=$SHOT
step "1. window $WIN titled \"$TITLE\""
[[ $(xprop -id "$WIN" _NET_WM_NAME) == "_NET_WM_NAME(UTF8_STRING) = \"$TITLE\"" ]] ||
  fail "_NET_WM_NAME is $(xprop -id "$WIN" _NET_WM_NAME)"
geometry=$(xwininfo -id "$WIN")
width=$(awk '/^ *Width:/ {print $2}' <<<"$geometry")
height=$(awk '/^ *Height:/ {print $2}' <<<"$geometry")
[[ $width == 1020 && $height == 607 ]] || fail "client area is ${width}x${height}, not 1020x607"
frame=$(xprop -id "$WIN" _NET_FRAME_EXTENTS 2>/dev/null)
[[ $frame == *=* ]] || fail "the window manager gave the window no frame"
step "   client area 1020x607, default hiscore table shown"
# Letter shapes known from the default names (bel tov gau nip dox fer ...).
MASK_F=$(letter_mask "$first" 6 1)   # f of fer
MASK_O=$(letter_mask "$first" 2 2)   # o of tov
MASK_X=$(letter_mask "$first" 5 3)   # x of dox
MASK_E=$(letter_mask "$first" 1 2)   # e of bel
MASK_R=$(letter_mask "$first" 6 3)   # r of fer
for mask in "$MASK_F" "$MASK_O" "$MASK_X" "$MASK_E" "$MASK_R"; do
  [[ $mask == *1* ]] || fail "a name letter of the default table is missing (see $first)"
done
[[ $MASK_O == "$(letter_mask "$first" 5 2)" ]] || fail "the o of tov and of dox differ (see $first)"
[[ $MASK_F != "$MASK_E" && $MASK_O != "$MASK_X" ]] || fail "different letters look the same (see $first)"

# 2. level 1 and the walk into the skull
focus_window
# Held until the level shows: a Space still down when the level begins starts it.
xdotool keydown space
wait_title " Quandrite - Level 1" 20
started=$?
xdotool keyup space
((started == 0)) || fail "Space on the title screen did not start level 1 (title \"$(title_of)\")"
step "2. level 1 started"
focus_window
xdotool keydown Right
for attempt in 1 2 3; do
  press space
  wait_title " Quandrite - Game Over" 20 && break
  ((attempt == 3)) && { xdotool keyup Right; fail "holding Right did not end the game (title \"$(title_of)\")"; }
  echo "   (no game over yet, pressing Space again)"
done
xdotool keyup Right
step "   game over screen"

over=''
deadline=$((SECONDS + 20))
while ((SECONDS < deadline)); do
  shot
  over=$SHOT
  digits=$("$GLYPHS" scan "$over" 470 545 250 "${WHITE[@]}")
  [[ -n $digits ]] && break
  sleep 0.2
done
[[ -n $digits ]] || fail "no score digits on the game-over screen (see $over)"
SCORE='' xs=''
for item in $digits; do
  xs+="${xs:+ }${item%%:*}"
  SCORE+=${item##*:}
done
[[ $xs == "$(expected_score_x ${#SCORE})" ]] ||
  fail "the ${#SCORE} score digits stand at x $xs, expected $(expected_score_x ${#SCORE}) (see $over)"
number='^(0|[1-9][0-9]*)$'
[[ $SCORE =~ $number ]] || fail "score \"$SCORE\" read from the game-over screen"
((SCORE >= 100)) || fail "score $SCORE is below the tenth row (100): no initials entry possible"
for j in 1 2 3; do
  [[ $(slot_state "$over" $j) == open ]] || fail "slot $j of the initials is not an open underscore (see $over)"
done
step "   score $SCORE shown at x $xs, three open slots"

# 3. initials, the new row and the file
focus_window
type_letter 1 f "$MASK_F"
type_letter 2 o "$MASK_O"
type_letter 3 x "$MASK_X"
wait_title "$TITLE" 20 || fail "the title screen did not come back after the initials (title \"$(title_of)\")"
step "3. initials typed, title screen back"

# Expected table: the new row goes above the first lower score.
EXPECTED='' RANK=0 row=0
while read -r s; do
  row=$((row + 1))
  if ((RANK == 0 && SCORE > s)); then
    RANK=$row
    EXPECTED+="$SCORE"$'\n'
  fi
  EXPECTED+="$s"$'\n'
done <<<"$DEFAULT_SCORES"
((RANK == 0)) && RANK=10 && EXPECTED=$(head -n 9 <<<"$DEFAULT_SCORES")$'\n'"$SCORE"
EXPECTED=$(head -n 10 <<<"$EXPECTED")
wait_panel "$EXPECTED" 30
table=$SHOT
[[ $(letter_mask "$table" "$RANK" 1) == "$MASK_F" && $(letter_mask "$table" "$RANK" 2) == "$MASK_O" &&
  $(letter_mask "$table" "$RANK" 3) == "$MASK_X" ]] || fail "row $RANK of the panel does not show the name fox (see $table)"
NAMES=$(panel_names "$table")
step "   panel shows fox $SCORE at rank $RANK"
check_file "$EXPECTED"
cp "$HISCORE_FILE" "$WORK/saved.dat"
step "   hiscore file: 44 CRLF lines, label, header, check line and checksum correct"
close_game
step "5. Alt+F4 on the title screen: exit code 0"

# 4. the saved table after a restart, then a file with one changed digit
start_game 2
wait_window "$TITLE" 90
wait_panel "$EXPECTED" 30
again=$SHOT
[[ $(panel_names "$again") == "$NAMES" ]] || fail "the names of the table differ after a restart (see $again)"
cmp -s "$HISCORE_FILE" "$WORK/saved.dat" || fail "a start without a new score changed the hiscore file"
step "4. second start shows the same table"
close_game
step "   closed again: exit code 0"

# The hundreds digit of the first letter code: the code then decodes to
# another letter (every factor is below 100) while the check line stays.
code=$(sed -n 2p "$HISCORE_FILE" | tr -d '\r')
pos=$((${#code} - 3))
digit=${code:$pos:1}
changed=${code:0:$pos}$(((digit + 1) % 10))${code:$((pos + 1))}
sed -i "2s/^$code\r\$/$changed\r/" "$HISCORE_FILE"
[[ $(sed -n 2p "$HISCORE_FILE") == "$changed"$'\r' ]] || fail "could not change line 2 of the hiscore file"
start_game 3
wait_window "$TITLE" 90
wait_panel "$(printf '1000\n%.0s' {1..10})" 30
errors=$SHOT
for r in {1..10}; do
  [[ $(letter_mask "$errors" "$r" 1) == "$MASK_E" && $(letter_mask "$errors" "$r" 2) == "$MASK_R" &&
    $(letter_mask "$errors" "$r" 3) == "$MASK_R" ]] || fail "row $r of the error table does not show err (see $errors)"
done
step "   line 2 changed from $code to $changed: error table (err 1000 in all rows)"
close_game
step "   closed: exit code 0"

step "PASSED in $((SECONDS - START_TIME)) s"
