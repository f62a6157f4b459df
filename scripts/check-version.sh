#!/usr/bin/env bash
# The version is set once, by project(Orvalis VERSION ...) in CMakeLists.txt; the build
# hands it to the program, the manual pages and the AppStream data. debian/changelog is
# written by hand, so this checks that its top entry is that version, and that the
# AppStream release being built carries the date of that entry.
#   scripts/check-version.sh
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { echo "check-version: $*" >&2; exit 1; }

project=$(sed -n 's/^project(Orvalis VERSION \([0-9][0-9.]*\)[ )].*/\1/p' CMakeLists.txt)
[ -n "$project" ] || fail "no project(Orvalis VERSION ...) in CMakeLists.txt"

# The upstream part of the changelog's version: no epoch, no Debian revision.
debian=$(dpkg-parsechangelog -l debian/changelog -S Version)
upstream=${debian#*:}
upstream=${upstream%-*}
[ "$upstream" = "$project" ] ||
    fail "debian/changelog starts with $debian, but CMakeLists.txt says $project;" \
        "add an entry for $project (dch -v $project) or fix the version in CMakeLists.txt"

metainfo=dist/org.orvalis.Orvalis.metainfo.xml.in
date=$(date -u -d "$(dpkg-parsechangelog -l debian/changelog -S Date)" +%F)
release=$(grep -m 1 -o "<release [^>]*>" "$metainfo")
[[ $release == *'version="@PROJECT_VERSION@"'* ]] ||
    fail "the first <release> of $metainfo is not version=\"@PROJECT_VERSION@\": $release"
[[ $release == *"date=\"$date\""* ]] ||
    fail "the first <release> of $metainfo is not dated $date like debian/changelog: $release"
echo "check-version: $project in CMakeLists.txt, debian/changelog and the AppStream release"
