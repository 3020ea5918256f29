# SPDX-License-Identifier: MIT
# Shared by the measurement scripts of docs/performance.md.
# BUILD: the build folder (default build); DISPLAY_NUMBER: the Xvfb display.
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build}
GAME=$BUILD/game/quandrite
DEMOTOOL=$BUILD/tools/demotool/demotool
SCREENS=$BUILD/bench/bench_game_screens
DISPLAY_NUMBER=${DISPLAY_NUMBER:-:99}
RUNS=${RUNS:-7}

# The median of the numbers on stdin.
median() { sort -g | awk '{v[NR]=$1} END {if (NR%2) print v[(NR+1)/2]; else printf "%.3f\n", (v[NR/2]+v[NR/2+1])/2}'; }

# Milliseconds since the epoch.
now_ms() { date +%s%3N; }

# Starts Xvfb on DISPLAY_NUMBER unless a server already answers there.
XVFB_PID=
start_xvfb() {
    if xdpyinfo -display "$DISPLAY_NUMBER" >/dev/null 2>&1 || [ -e "/tmp/.X11-unix/X${DISPLAY_NUMBER#:}" ]; then return; fi
    Xvfb "$DISPLAY_NUMBER" -screen 0 1920x1080x24 >/dev/null 2>&1 &
    XVFB_PID=$!
    sleep 1
}
stop_xvfb() { if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID"; fi; }

# Private data and settings folders, so every run starts from the default
# hiscore table and the original's settings, whatever the player's are.
export XDG_DATA_HOME=$(mktemp -d) XDG_CONFIG_HOME=$(mktemp -d)
trap 'stop_xvfb; rm -rf "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"' EXIT
echo "# $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, load average$(uptime | sed 's/.*load average//'), commit $(git -C "$ROOT" rev-parse --short HEAD)"
