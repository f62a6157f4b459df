#!/usr/bin/env bash
# Builds the Debian package, installs it with apt (so its dependencies resolve), checks the
# installed program, runs lintian, and removes the package again, making sure none of its
# files stays behind. Needs root.
#   scripts/check-deb.sh [OUTPUT_DIR]       (default: build-deb)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build-deb}")
rm -f "$out"/orvalis_*
./scripts/build-deb.sh "$out"
deb=$(ls "$out"/orvalis_*.deb)
export DEBIAN_FRONTEND=noninteractive
# Without the recommended packages: NetworkManager has no place on a build machine, and
# the program falls back to its simulator without it.
apt-get install -y -qq --no-install-recommends "$deb"
./scripts/check-installed.sh /usr

# lintian: errors fail the check; warnings and notes are listed.
lintian --fail-on error --display-info --tag-display-limit 0 "$out"/orvalis_*.changes

files=$(dpkg -L orvalis)
apt-get remove -y -qq orvalis
left=0
while IFS= read -r path; do
    if [ -f "$path" ] || [ -L "$path" ]; then
        echo "left behind: $path" >&2
        left=1
    fi
done <<<"$files"
[ "$left" -eq 0 ] || exit 1
echo "check-deb: the package builds, installs, works, passes lintian and removes cleanly"
