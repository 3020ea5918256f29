#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The embedded assets' object claims the control-flow protection its compiler
# is asked for (IBT and the shadow stack on x86-64, BTI and PAC on arm64) and
# none without it. The linker keeps a protection only if every object claims
# it, so a silent object would drop it from the whole program.
# Usage: tests/test_assets_note.sh COMPILER ASSEMBLER_FILE WORK_DIR
# Exits 77 (skipped) on a target without such marks.
set -euo pipefail
compiler=$1
source=$2
work=$3
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

case $("$compiler" -dumpmachine) in
  x86_64-*) on=-fcf-protection=full off=-fcf-protection=none expected='x86 feature: IBT, SHSTK' ;;
  aarch64-*) on=-mbranch-protection=standard off=-mbranch-protection=none expected='AArch64 feature: BTI, PAC' ;;
  *) echo "no control-flow protection marks for $("$compiler" -dumpmachine)"; exit 77 ;;
esac
rm -rf "$work"
mkdir -p "$work"
features() { readelf -n "$1" | sed -n 's/^ *Properties: *//p'; }

"$compiler" $on -c "$source" -o "$work/assets-on.o"
"$compiler" $off -c "$source" -o "$work/assets-off.o"
echo 'int quandrite_code(int x) { return x + 1; }' >"$work/code.c"
"$compiler" $on -x c -c "$work/code.c" -o "$work/code.o"
[[ $(features "$work/code.o") == "$expected" ]] ||
  { echo "FAIL: $compiler $on marks no C object with '$expected'" >&2; exit 1; }

[[ $(features "$work/assets-on.o") == "$expected" ]] ||
  fail "with $on the assets' object claims '$(features "$work/assets-on.o")', not '$expected'"
[[ -z $(features "$work/assets-off.o") ]] ||
  fail "with $off the assets' object still claims '$(features "$work/assets-off.o")'"

# Linked with code built the same way, the protection survives.
"$compiler" $on -nostdlib -shared "$work/code.o" "$work/assets-on.o" -o "$work/linked.so"
[[ $(features "$work/linked.so") == "$expected" ]] ||
  fail "code and assets built with $on link to '$(features "$work/linked.so")', not '$expected'"

[[ $failures -eq 0 ]] && echo "assets' object: '$expected' with $on, nothing with $off"
exit $((failures > 0))
