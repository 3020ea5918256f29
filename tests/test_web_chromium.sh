#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The browser build in Debian's Chromium, headless (tests/web/browser_test.mjs
# says what it checks). Needs the site (scripts/build-web) and the native
# build in build/, whose demotool makes the demos and whose program gives the
# frames the page's must match.
# Usage: tests/test_web_chromium.sh
set -euo pipefail
cd "$(dirname "$0")/.."
site=build-web/site
game=build/game/quandrite
demotool=build/tools/demotool/demotool
work=build-web/browser-test
for needed in "$site/index.html" "$site/quandrite.wasm" "$game" "$demotool"; do
  [[ -e "$needed" ]] || { echo "test_web_chromium: $needed is missing (scripts/build-web builds it)" >&2; exit 1; }
done

rm -rf "$work/files" "$work/home"
mkdir -p "$work/files" "$work/home/config" "$work/home/data"
demos=()
for script in tests/demos/*.script; do
  name=$(basename "$script" .script)
  "$demotool" make "$script" "$work/files/$name.demo"
  demos+=("$name")
done
# The native frames, from a home of the test's own.
export XDG_CONFIG_HOME="$PWD/$work/home/config" XDG_DATA_HOME="$PWD/$work/home/data"
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
for shot in title:3 level1:120; do
  "$game" --headless --play "$work/files/level1_complete.demo" \
    --screenshot "${shot#*:}" "$work/files/${shot%%:*}-native.png" --frames "${shot#*:}" >/dev/null
done

# puppeteer-core from the lock file; it never downloads a browser.
cp tests/web/package.json tests/web/package-lock.json tests/web/browser_test.mjs tests/web/static_site.mjs "$work/"
if ! cmp -s tests/web/package-lock.json "$work/node_modules/.package-lock.json.copy" 2>/dev/null; then
  (cd "$work" && npm ci --no-audit --no-fund --ignore-scripts --loglevel=error)
  cp tests/web/package-lock.json "$work/node_modules/.package-lock.json.copy"
fi
node "$work/browser_test.mjs" "$site" "$work/files" tests/demos "${demos[@]}"
