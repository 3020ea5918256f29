#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The page's speed and size (docs/performance.md): after scripts/build-web and
# tests/test_web_chromium.sh (whose node_modules it borrows), replays the
# title left alone and level 1 to level 4 at the game's pace in headless
# Chromium, runs level 17 from its scene (no demo reaches it) for as many
# frames, and gives the bytes a static server sends with gzip.
# Usage: [RENDERER=software|gpu] [SCENES="NAME:DEMO:FRAMES ..."] bench/web/page_bench.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
work=build-web/browser-test
[[ -d "$work/node_modules/puppeteer-core" ]] || { echo "page_bench: run tests/test_web_chromium.sh first" >&2; exit 1; }
build/tools/demotool/demotool make bench/web/title_idle.script "$work/files/title_idle.demo"
cp bench/web/page_bench.mjs tests/web/static_site.mjs "$work/"
node "$work/page_bench.mjs" build-web/site "$work/files" \
  ${SCENES:-title:title_idle.demo:600 levels-1-to-4:several_levels.demo:4400 level-17:scene=level17:900}
for file in build-web/site/*; do
  printf '%-12s %9d bytes, %9d with gzip -6\n' "$(basename "$file")" "$(stat -c %s "$file")" "$(gzip -6 -c "$file" | wc -c)"
done
