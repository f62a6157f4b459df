#!/usr/bin/env bash
# Times `orvalis-cli summary` against `wc -l` on the same generated log, side by side.
#
# usage: bench/cli_vs_wc.sh [BUILD_DIR] [RECORDS] [RUNS]
#   BUILD_DIR  a build configured with -DORVALIS_BUILD_BENCH=ON (default: build-release)
#   RECORDS    records in the generated log (default: 1000000)
#   RUNS       timed runs of each command; the best run counts (default: 5)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-release}
records=${2:-1000000}
runs=${3:-5}

cli=$build/src/cli/orvalis-cli
gen=$build/bench/orvalis-loggen
for tool in "$cli" "$gen"; do
    if [[ ! -x $tool ]]; then
        echo "missing $tool: build the targets orvalis-cli and orvalis-loggen" \
             "with -DORVALIS_BUILD_BENCH=ON" >&2
        exit 1
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The settings the tool reads: a tariff, and the log in the work folder.
mkdir -p "$work/config/orvalis"
cat >"$work/config/orvalis/ov.ini" <<INI
[Settings]
IniPath=$work
SummaryWhen=0
CheapInSat=1
CheapInSun=1
[Price]
PricePerDial=0.1000000000
CostPerMinute=0.6000000000
CheapCostPerMinute=0.3000000000
CheapTimeStart=23:00
CheapTimeEnd=05:59
MinConTime=00:01
ConnectionBlock=00:01
FreeMonthTime=02:00
INI
export XDG_CONFIG_HOME=$work/config

log=$work/logfile.log
"$gen" "$log" "$records"
small=$work/small.log
"$gen" "$small" $((records / 100))
cat "$log" "$small" >/dev/null # both in the page cache before any timing

# Best wall time of a command over $runs runs, in milliseconds.
best_ms() {
    local best="" start end ms
    for ((i = 0; i < runs; i++)); do
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        ms=$(((end - start) / 1000))
        if [[ -z $best || $ms -lt $best ]]; then best=$ms; fi
    done
    awk -v us="$best" 'BEGIN { printf "%.1f", us / 1000 }'
}

# Peak resident memory of a command, in KiB.
max_rss() {
    /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1
}

size=$(stat -c %s "$log")
echo "log: $records records, $((size / 1024 / 1024)) MiB; best of $runs runs"
wc_ms=$(best_ms wc -l "$log")
cli_ms=$(best_ms "$cli" summary)
explicit_ms=$(best_ms "$cli" summary --log "$log")
echo "wc -l FILE                      ${wc_ms} ms   max RSS $(max_rss wc -l "$log") KiB"
echo "orvalis-cli summary             ${cli_ms} ms   max RSS $(max_rss "$cli" summary) KiB"
echo "orvalis-cli summary --log FILE  ${explicit_ms} ms   max RSS $(max_rss "$cli" summary --log "$log") KiB"
echo "orvalis-cli summary, $((records / 100)) records: max RSS" \
     "$(max_rss "$cli" summary --log "$small") KiB (memory does not grow with the log)"
awk -v c="$cli_ms" -v w="$wc_ms" 'BEGIN { printf "ratio cli / wc: %.2f (target: at most 2.5)\n", c / w }'
echo
"$cli" summary
