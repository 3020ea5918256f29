#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# scripts/release-tarball on a tagged copy of this repository: the tarball is
# the tagged commit's files (without debian/) under quandrite-VERSION/, the
# same bytes whatever the time zone, umask or working tree, and a tag that
# names another version than the tagged CMakeLists.txt is refused.
# Usage: tests/test_release_tarball.sh SOURCE_DIR WORK_DIR
# Exits 77 (skipped) outside a git checkout (a source package, a tarball).
set -euo pipefail
source=$(realpath "$1")
work=$(realpath -m "$2")
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# A source package unpacked inside some other checkout is no checkout of its own.
command -v git >/dev/null && [[ $(git -C "$source" rev-parse --show-toplevel 2>/dev/null) == "$source" ]] ||
  { echo "not a git checkout: nothing to release from"; exit 77; }
rm -rf "$work"
mkdir -p "$work"
git clone -q "$source" "$work/repo"
repo=$work/repo
# The script under test is this tree's, run from inside the copy.
cp "$source/scripts/release-tarball" "$repo/scripts/release-tarball"
git -C "$repo" -c user.name=test -c user.email=test@invalid commit -q -a --allow-empty -m "release script under test"
version=$(sed -n 's/^project(quandrite VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")
git -C "$repo" tag "v$version"

made=$("$repo/scripts/release-tarball" "v$version" "$work/first")
[[ $made == "$work/first/quandrite-$version.tar.gz" ]] || fail "the tarball is '$made'"
# Another day, zone and umask, with the working tree changed: the same bytes.
echo changed >>"$repo/README.md"
touch "$repo/CMakeLists.txt"
(umask 077 && cd "$work" && TZ=Pacific/Kiritimati "$repo/scripts/release-tarball" "v$version" second) >/dev/null
cmp -s "$made" "$work/second/quandrite-$version.tar.gz" || fail "two runs on the same tag give different bytes"

expected=$(git -C "$repo" ls-tree -r --name-only "v$version" | grep -v '^debian/' | sed "s|^|quandrite-$version/|" | sort)
actual=$(tar -tzf "$made" | grep -v '/$' | sort)
[[ $actual == "$expected" ]] || fail "the tarball's files differ from the tagged commit's less debian/:
$(diff <(echo "$expected") <(echo "$actual") | head -20)"
[[ -n $(grep -x "quandrite-$version/CMakeLists.txt" <<<"$actual") ]] || fail "the tarball has no CMakeLists.txt"
grep -q "^quandrite-$version/debian/" <<<"$actual" && fail "the tarball carries debian/"
stamp=$(git -C "$repo" log -1 --format=%ct "v$version")
TZ=UTC tar --full-time -tvzf "$made" | awk -v d="$(date -u -d "@$stamp" '+%F %T')" '($4 " " $5) != d {bad = 1} END {exit bad}' ||
  fail "not every file carries the tagged commit's time"

git -C "$repo" tag v0.0.1
if "$repo/scripts/release-tarball" v0.0.1 "$work/wrong" 2>/dev/null; then
  fail "a tag v0.0.1 on a commit of version $version was released"
fi
[[ ! -e $work/wrong/quandrite-0.0.1.tar.gz && ! -e $work/wrong/quandrite-$version.tar.gz ]] ||
  fail "a refused tag left a tarball"

[[ $failures -eq 0 ]] && echo "release tarball ok: quandrite-$version.tar.gz, $(wc -l <<<"$actual") files"
exit $((failures > 0))
