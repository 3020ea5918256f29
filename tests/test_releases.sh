#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# One release history: CHANGELOG.md, debian/changelog and the generated
# AppStream metadata name the same releases with the same dates, newest
# first, and the newest is the version the build says it is.
# Usage: tests/test_releases.sh PROJECT_VERSION SOURCE_DIR METAINFO
set -euo pipefail
version=$1
source=$2
metainfo=$3
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# "VERSION DATE" lines of each history.
changelog=$(sed -n 's/^## \([0-9.]*\) - \([0-9-]*\)$/\1 \2/p' "$source/CHANGELOG.md")
metadata=$(grep -o '<release version="[^"]*" date="[^"]*"' "$metainfo" | sed 's/.*version="\([^"]*\)" date="\([^"]*\)"/\1 \2/')
# A Debian revision (-1) is the packaging's own: the upstream version is compared.
debian=$(awk '/^quandrite \(/ {gsub(/[()]/, "", $2); sub(/-[^-]*$/, "", $2); v = $2}
              /^ -- / {sub(/^ -- .*>  /, ""); print v, $0}' "$source/debian/changelog" |
         while read -r v stamp; do echo "$v $(date -u -d "$stamp" +%F)"; done)

[[ -n $changelog ]] || fail "CHANGELOG.md names no release"
[[ ${changelog%%$'\n'*} == "$version "* ]] ||
  fail "the newest release in CHANGELOG.md is '${changelog%%$'\n'*}', the project's version is $version"
[[ $metadata == "$changelog" ]] || fail "the metadata's releases differ from CHANGELOG.md:
$(diff <(echo "$changelog") <(echo "$metadata"))"
[[ $debian == "$changelog" ]] || fail "debian/changelog's releases differ from CHANGELOG.md:
$(diff <(echo "$changelog") <(echo "$debian"))"
sorted=$(sort -t. -k1,1nr -k2,2nr -k3,3nr <<<"$changelog")
[[ $sorted == "$changelog" ]] || fail "CHANGELOG.md is not newest first"

[[ $failures -eq 0 ]] && echo "release history ok: $(wc -l <<<"$changelog") release(s), newest $version"
exit $((failures > 0))
