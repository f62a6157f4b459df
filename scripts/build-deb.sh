#!/usr/bin/env bash
# Builds the Debian package from the committed state of the checkout (HEAD), the way
# Debian builds packages: a clean copy in a temporary folder, then dpkg-buildpackage.
#   scripts/build-deb.sh [OUTPUT_DIR]       (default: build-deb)
# The .deb, .buildinfo and .changes files end up in OUTPUT_DIR. Set
# CMAKE_CXX_COMPILER_LAUNCHER=ccache to compile through ccache.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build-deb}")
mkdir -p "$out"
# Always the same folder, so that ccache finds the objects of the last build.
work=${TMPDIR:-/tmp}/orvalis-deb-$(id -u)
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/orvalis"
git archive --format=tar HEAD | tar -x -C "$work/orvalis"
(cd "$work/orvalis" && dpkg-buildpackage -us -uc -b -j"$(nproc)")
mv "$work"/*.deb "$work"/*.buildinfo "$work"/*.changes "$out"/
ls -1 "$out"
