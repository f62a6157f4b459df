#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and the address and undefined-behaviour sanitizers
# in build-fuzz/, then runs each target for a while on a copy of its seed corpus.
#   scripts/fuzz.sh [SECONDS]          seconds per target, default 20
#   scripts/fuzz.sh --runs N [SECONDS] N inputs per target, but no longer than SECONDS
#                                      (default 600) per target
# Exits non-zero when a target finds a crash; the input that caused it is kept in
# build-fuzz/artifacts/<target>/ and the target's log is printed.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=-1
if [ "${1:-}" = --runs ]; then
  runs=${2:-}
  seconds=${3:-600}
else
  seconds=${1:-20}
fi
for number in "$seconds" "${runs#-}"; do
  case "$number" in
    '' | *[!0-9]*) echo "usage: $0 [SECONDS] | --runs N [SECONDS]" >&2; exit 2 ;;
  esac
done
dir=build-fuzz
targets=(fuzz_logline fuzz_clocktext fuzz_money)

CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVALIS_BUILD_FUZZ=ON -DORVALIS_BUILD_TESTS=OFF -DORVALIS_SANITIZE=address,undefined \
  -DORVALIS_WERROR=ON >/dev/null
cmake --build "$dir" --target "${targets[@]}" -j"$(nproc)"

export LANG=C.UTF-8 LC_ALL=C.UTF-8
export ASAN_OPTIONS="detect_leaks=1 abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1 halt_on_error=1"

# The log target writes a scratch file per input: in memory (/dev/shm) when there is one,
# which makes it several times faster than on a disk.
scratch=${TMPDIR:-/tmp}
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then scratch=/dev/shm; fi
work=$(mktemp -d "$scratch/orvalis-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
# The targets put their scratch files here too, so nothing is left behind.
export TMPDIR="$work"

failed=()
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  corpus="$work/corpus-$name"
  artifacts="$PWD/$dir/artifacts/$target"
  log="$work/$target.log"
  mkdir -p "$corpus" "$artifacts"
  cp fuzz/corpus/"$name"/* "$corpus"/
  status=0
  "$dir/fuzz/$target" -max_total_time="$seconds" -runs="$runs" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" >"$log" 2>&1 || status=$?
  done_runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  [ "${rate:-0}" = 0 ] && rate="?"
  if [ "$status" -ne 0 ]; then
    echo "== $target FAILED (exit $status) after ${done_runs:-?} runs; log follows"
    cat "$log"
    failed+=("$target")
  else
    echo "== $target: ${done_runs:-?} runs, ${rate:-?} per second, corpus $(ls "$corpus" | wc -l) inputs, no crash"
  fi
done

if [ "${#failed[@]}" -ne 0 ]; then
  echo "Fuzzing found crashes in: ${failed[*]} (inputs in $dir/artifacts/)" >&2
  exit 1
fi
