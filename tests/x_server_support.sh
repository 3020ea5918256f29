# SPDX-License-Identifier: MIT
# What the desktop tests share; sourced by them, not run. It sets `work` (a
# scratch folder, removed at exit, holding the test's own settings and table),
# `pids` (killed at exit), `failures` and `fail`, and gives wait_for and
# start_xvfb.
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
# Nothing of the player's settings or table.
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data

# shellcheck source=wait_for.sh
source "$(dirname "${BASH_SOURCE[0]}")/wait_for.sh"

# start_xvfb WIDTHxHEIGHT: an X server of its own, its display in x_display.
# Xvfb writes the number and a line end once it accepts clients.
display_ready() { [[ $(wc -l <"$work/display") -gt 0 ]]; }
start_xvfb() {
  : >"$work/display"
  Xvfb -displayfd 5 -screen 0 "${1}x24" -nolisten tcp 5>"$work/display" 2>/dev/null &
  pids+=($!)
  wait_for 30 display_ready || { echo "FAIL: Xvfb reported no display within 30 s" >&2; exit 1; }
  x_display=:$(tr -dc 0-9 <"$work/display")
}
