# SPDX-License-Identifier: MIT
# wait_for SECONDS COMMAND...: runs the check until it holds, at most SECONDS;
# sourced by the shell tests, which wait on states, never on a fixed sleep.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.05
  done
}
