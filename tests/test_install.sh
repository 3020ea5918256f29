#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs a finished build into a scratch prefix and checks the five kinds
# of file a desktop needs: the program, its menu entry, its AppStream
# metadata, its icons and its man page, that they agree with the program, and
# that install_manifest.txt names every installed file (for uninstalling).
# Usage: tests/test_install.sh BUILD_DIR SOURCE_DIR BINDIR APP_ID ICON_SIZE...
set -euo pipefail
build=$1
source=$2
bindir=$3
app_id=$4
shift 4
sizes=$*
prefix=$(mktemp -d)
home=$(mktemp -d)
trap 'rm -rf "$prefix" "$home"' EXIT
# The program runs with nothing of the player's settings or table.
export XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data
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

# A folder that was there before the install, which uninstalling must keep.
mkdir -p "$prefix/share/man"
cmake --install "$build" --prefix "$prefix" >/dev/null

program=$prefix/$bindir/quandrite
entry=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
page=$prefix/share/man/man6/quandrite.6
[[ -x $program ]] || fail "no program at $bindir/quandrite"
[[ -f $entry ]] || fail "no desktop entry $app_id.desktop"
[[ -f $metainfo ]] || fail "no AppStream metadata $app_id.metainfo.xml"
[[ -f $page ]] || fail "no man page"

installed=$(cd "$prefix" && find . -type f -printf '%P\n' | sort)
listed=$(sed "s|^$prefix/||" "$build/install_manifest.txt" | sort)
[[ $installed == "$listed" ]] || fail "install_manifest.txt does not list exactly the installed files:
$(diff <(echo "$listed") <(echo "$installed"))"

# Each icon is a PNG of its folder's size (width and height from the header).
for size in $sizes; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
  if [[ ! -f $icon ]]; then
    fail "no ${size}x${size} icon"
    continue
  fi
  signature=$(od -An -tx1 -N8 "$icon" | tr -d ' \n')
  [[ $signature == 89504e470d0a1a0a ]] || fail "${size}x${size} icon is not a PNG"
  read -r width height < <(od -An -tu4 --endian=big -j16 -N8 "$icon")
  [[ "$width $height" == "$size $size" ]] || fail "${size}x${size} icon is ${width}x${height}"
done

if [[ -f $entry ]]; then
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
  grep -qx 'Exec=quandrite' "$entry" || fail "entry does not start the installed program"
  grep -qx "Icon=$app_id" "$entry" || fail "entry does not name the installed icon"
  grep -qx "StartupWMClass=$app_id" "$entry" || fail "entry does not name the window's class"
  grep -qx 'Categories=Game;ArcadeGame;' "$entry" || fail "entry is not in Game;ArcadeGame;"
fi

if [[ -f $metainfo ]]; then
  report=$(appstream_validate "$metainfo") || fail "appstreamcli rejects the metadata: $report"
  report=$(appstreamcli validate-tree --no-net "$prefix" 2>&1) ||
    fail "appstreamcli rejects the installed tree: $report"
  grep -qF "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metadata does not launch $app_id.desktop"
  grep -qF "<binary>$(basename "$program")</binary>" "$metainfo" || fail "the metadata does not provide the program"
  grep -qx "Exec=$(basename "$program")" "$entry" || fail "the entry launches another program than the metadata provides"
  summary=$(sed -n 's|.*<summary>\(.*\)</summary>.*|\1|p' "$metainfo")
  ((${#summary} > 0 && ${#summary} <= 35)) || fail "the summary '$summary' is not 1 to 35 characters"
  grep -qE '<developer id="[^"]+">' "$metainfo" && grep -qE '^ *<name>[^<]+</name>' "$metainfo" ||
    fail "the metadata names no developer with an id"
  for scheme in light dark; do
    grep -qE "<color type=\"primary\" scheme_preference=\"$scheme\">#[0-9a-f]{6}</color>" "$metainfo" ||
      fail "the metadata has no $scheme branding colour"
  done
  for link in bugtracker vcs-browser; do
    grep -qE "<url type=\"$link\">https://[^<]+</url>" "$metainfo" || fail "the metadata has no $link link"
  done
  shown=$(grep -o '<image>[^<]*' "$metainfo" | sed 's|.*/||' | sort)
  pictures=$(cd "$source/docs" && ls -- *.png | sort)
  [[ $shown == "$pictures" ]] || fail "the metadata's screenshots are not the pictures in docs/:
$(diff <(echo "$pictures") <(echo "$shown"))"
  keywords=$(grep -o '<keyword>[^<]*' "$metainfo" | sed 's/<keyword>//' | tr '\n' ';')
  grep -qxF "Keywords=$keywords" "$entry" || fail "the entry's keywords are not the metadata's ($keywords)"
fi

if [[ -f $page && -x $program ]]; then
  warnings=$(groff -man -ww -z "$page" 2>&1) || true
  [[ -z $warnings ]] || fail "man page warnings: $warnings"
  text=$(MANWIDTH=200 man -l "$page" 2>/dev/null | sed 's/\x1b\[[0-9;]*m//g; s/.\x08//g')
  # Every option the program's usage text lists is in the page.
  usage=$(timeout -s KILL 60 "$program" --help 2>/dev/null) || fail "--help did not end with status 0"
  options=$(grep -o -- '--[a-z-]*' <<<"$usage" | sort -u) || true
  [[ -n $options ]] || fail "the program printed no usage"
  for option in $options; do
    grep -q -- "$option" <<<"$text" || fail "man page does not name $option"
  done
  for needle in 'quandrite/quandrite.dat' '~/.local/share/quandrite/quandrite.dat' 'XDG_DATA_HOME' \
                'Arrow keys' 'Escape' 'Backspace' 'F11' 'QUANDRITE_FULLSCREEN' 'Pause' 'settings.ini' \
                'sound = on' 'fullscreen = on' 'scale = stretch' 'size = width' 'renderer = auto' 'volume = 0' \
                'quandrite/replays/'; do
    grep -qF -- "$needle" <<<"$text" || fail "man page does not mention $needle"
  done
  # Every exit status the program uses, and which modes use the player's hiscore file.
  exits=$(sed -n '/^EXIT STATUS/,/^[A-Z]/p' <<<"$text" | tr -s ' \n' ' ')
  for status in 0 1 2; do
    grep -qE "(^| |;)$status (when|for)" <<<"$exits" || fail "man page EXIT STATUS does not give status $status"
  done
  files=$(sed -n '/^FILES/,/^[A-Z]/p' <<<"$text" | tr -s ' \n' ' ')
  grep -qF -- '--play and --timedemo never touch it' <<<"$files" || fail "man page does not say replays keep off the table"
  grep -qF -- 'with or without --record' <<<"$files" || fail "man page does not say recorded games use the table"
fi

# Uninstalling as README.md says leaves the prefix as the install found it.
xargs -d '\n' rm -f -- <"$build/install_manifest.txt"
made=$(grep -F "$prefix/" "$build/install_folders.txt") || fail "install_folders.txt lists no folder of the install"
xargs -d '\n' rmdir --ignore-fail-on-non-empty -- <<<"$made" || fail "removing the folders the install made"
left=$(cd "$prefix" && find . -mindepth 1 -printf '%P\n' | sort)
[[ $left == $'share\nshare/man' ]] || fail "uninstalling left more than the folder that was there: $left"

[[ $failures -eq 0 ]] && echo "install layout ok: $prefix"
exit $((failures > 0))
