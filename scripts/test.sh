#!/usr/bin/env bash
# Builds Orvalis with its tests and runs every test through CTest.
#   scripts/test.sh                      plain build in build/
#   scripts/test.sh --sanitize address,undefined
#   scripts/test.sh --sanitize thread    only the tests of threaded code (label "threads")
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize=""
if [ "${1:-}" = "--sanitize" ]; then sanitize=${2:?which sanitizers}; fi

export LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen
# Tests never reach a desktop session of the user running them.
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS || true

ctest_args=(--output-on-failure --timeout 600)
case "$sanitize" in
  "")
    dir=build
    ./scripts/build.sh "$dir" -DORVALIS_WERROR=ON
    ;;
  thread)
    dir=build-tsan
    ./scripts/build.sh "$dir" -DORVALIS_WERROR=ON -DORVALIS_SANITIZE=thread -DCMAKE_BUILD_TYPE=Debug
    export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/scripts/tsan.supp"
    ctest_args+=(-L threads)
    ;;
  *)
    dir=build-asan
    ./scripts/build.sh "$dir" -DORVALIS_WERROR=ON -DORVALIS_SANITIZE="$sanitize" -DCMAKE_BUILD_TYPE=Debug
    export ASAN_OPTIONS="detect_leaks=1 abort_on_error=1"
    export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1 halt_on_error=1"
    ;;
esac
ctest --test-dir "$dir" -j2 "${ctest_args[@]}"
