#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the Debian source and binary packages from a clean copy of the
# source as a packager does (dpkg-buildpackage -us -uc, the upstream tarball
# made from the same copy) and checks them: blhc finds every compiler line
# with the distribution's flags, lintian finds no error
# and no warning, the AppStream metadata and the menu entry validate, the
# files are where Debian keeps a game's, and the command of the menu entry,
# looked up in Debian's default PATH, starts the packaged game. Given
# demotool, it also replays every scripted demo with the packaged program.
# Usage: tests/test_package.sh [OUT_DIR [DEMOTOOL]]     (OUT_DIR: build-package)
# DEB_BUILD_OPTIONS passes through (nocheck: no test suite in the package build).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/build-package}")
demotool=${2:-}
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# appstreamcli validate --strict (ARGS...). Before AppStream 1.0 the tool does
# not know <developer> (the successor of <developer_name>) and notes it as an
# unknown tag; that one note is no fault, any other is.
appstream_validate() {
  local report others
  report=$(appstreamcli validate --no-net --strict "$@" 2>&1) && return 0
  appstreamcli --version | grep -q 'version: 0\.' || { echo "$report"; return 1; }
  others=$(grep -E '^[EWIP]: ' <<<"$report" | grep -vE ': unknown-tag developer$') || true
  [[ -z $others ]] || { echo "$report"; return 1; }
}

version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
upstream=${version%-*}
arch=$(dpkg-architecture -qDEB_HOST_ARCH)
app_id=io.github.quandrite.Quandrite
source=$out/quandrite-$upstream
rm -rf "$out"
mkdir -p "$source"

# A clean copy of the source: no build trees, no version control.
tar -C "$root" --exclude-vcs --exclude='./build*' --exclude='./obj-*' -cf - . | tar -C "$source" -xf -
# The upstream tarball as scripts/release-tarball makes it from a tag (its
# own test checks that), here from this copy, which may hold uncommitted work.
tar -C "$out" --exclude="quandrite-$upstream/debian" --sort=name --owner=0 --group=0 --numeric-owner \
    -cf - "quandrite-$upstream" | gzip -9n >"$out/quandrite_$upstream.orig.tar.gz"
echo "dpkg-buildpackage -us -uc (DEB_BUILD_OPTIONS=${DEB_BUILD_OPTIONS:-}), log in $out/build.log"
if ! (cd "$source" && dpkg-buildpackage -us -uc) >"$out/build.log" 2>&1; then
  tail -n 80 "$out/build.log" >&2
  echo "FAIL: dpkg-buildpackage" >&2
  exit 1
fi
# The package is built with -Wall -Wextra like every build: no warning either.
if grep -n 'warning:' "$out/build.log" >&2; then fail "the package build has compiler warnings"; fi
# Every compiler line, the assembler's too, has the distribution's flags.
blhc --all --debian "$out/build.log" >&2 || fail "blhc finds compiler lines without the distribution's flags"

deb=$out/quandrite_${version}_${arch}.deb
changes=$out/quandrite_${version}_${arch}.changes
[[ -f $deb ]] || { echo "FAIL: no $deb" >&2; exit 1; }
echo "--- dpkg -c $(basename "$deb")"
dpkg-deb -c "$deb"

echo "--- lintian $(basename "$changes")"
if ! lintian --fail-on error,warning --display-info "$changes"; then
  fail "lintian reports errors or warnings"
fi
# What debian/*lintian-overrides hides, shown apart: this lintian counts a
# shown override as the tag itself.
lintian --show-overrides "$changes" | grep '^O:' || true

tree=$out/root
dpkg-deb -x "$deb" "$tree"
for file in usr/games/quandrite usr/share/applications/$app_id.desktop usr/share/metainfo/$app_id.metainfo.xml \
            usr/share/icons/hicolor/256x256/apps/$app_id.png usr/share/man/man6/quandrite.6.gz \
            usr/share/doc/quandrite/copyright; do
  [[ -f $tree/$file ]] || fail "the package has no /$file"
done
[[ ! -e $tree/usr/bin ]] || fail "the package installs into /usr/bin; Debian keeps games in /usr/games"

echo "--- appstreamcli validate"
appstream_validate "$tree/usr/share/metainfo/$app_id.metainfo.xml" || fail "appstreamcli validate"
appstreamcli validate-tree --no-net "$tree" || fail "appstreamcli validate-tree"
desktop-file-validate "$tree/usr/share/applications/$app_id.desktop" || fail "desktop-file-validate"

# Debian's upstream metadata and watch file name the repository and bug
# tracker the project's metadata gives (one CMake value, QUANDRITE_SOURCE_URL).
metainfo_url() { sed -n "s|.*<url type=\"$1\">\(.*\)</url>.*|\1|p" "$tree/usr/share/metainfo/$app_id.metainfo.xml"; }
browse=$(metainfo_url vcs-browser)
bugs=$(metainfo_url bugtracker)
grep -qx "Repository-Browse: $browse" "$root/debian/upstream/metadata" ||
  fail "debian/upstream/metadata's Repository-Browse is not the metadata's '$browse'"
grep -qx "Bug-Database: $bugs" "$root/debian/upstream/metadata" ||
  fail "debian/upstream/metadata's Bug-Database is not the metadata's '$bugs'"
grep -q "^ *$browse/tags " "$root/debian/watch" || fail "debian/watch does not look at $browse/tags"

# The menu entry's command, found as a desktop session finds it.
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$tree/usr/share/applications/$app_id.desktop")
program=''
for dir in /usr/local/bin /usr/bin /bin /usr/local/games /usr/games; do
  [[ -x $tree$dir/$command ]] && { program=$tree$dir/$command; break; }
done
if [[ -z $program ]]; then
  fail "the menu entry's command '$command' is in no directory of Debian's default PATH"
else
  # Nothing of the player's settings or table.
  export XDG_CONFIG_HOME=$out/config XDG_DATA_HOME=$out/data
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
  said=$(timeout -s KILL 60 "$program" --version) || fail "the packaged game's --version ended with an error"
  [[ $said == *"$upstream"* ]] || fail "the packaged game says '$said', the package is $version"
  # The window and sound as in play, on SDL's drivers that need no devices.
  SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy timeout -s KILL 60 "$program" --frames 200 ||
    fail "the packaged game did not run 200 frames and end normally"
  if [[ -n $demotool ]]; then
    for script in "$root"/tests/demos/*.script; do
      cmake -DDEMOTOOL="$demotool" -DGAME="$program" -DSCRIPT="$script" -DEXPECTED="${script%.script}.expected" \
            -DWORK="$out/demos" -P "$root/tests/demos/run_demo.cmake" || fail "demo $(basename "$script")"
    done
  fi
fi

[[ $failures -eq 0 ]] && echo "package ok: $deb"
exit $((failures > 0))
