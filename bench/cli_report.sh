#!/usr/bin/env bash
# Times `orvalis-cli report` against a plain awk script that prices every call of the same
# generated log, and against `wc -l`, side by side, with the peak resident memory of each.
#
# usage: bench/cli_report.sh [BUILD_DIR] [RECORDS] [ROUNDS]
#   BUILD_DIR  a build configured with -DORVALIS_BUILD_BENCH=ON (default: build-release)
#   RECORDS    records in the generated log (default: 1000000)
#   ROUNDS     rounds; each runs every command once, in turn, and the median counts
#              (default: 5)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-release}
records=${2:-1000000}
rounds=${3:-5}

cli=$build/src/cli/orvalis-cli
gen=$build/bench/orvalis-loggen
for tool in "$cli" "$gen"; do
    if [[ ! -x $tool ]]; then
        echo "missing $tool: build the targets orvalis-cli and orvalis-loggen" \
             "with -DORVALIS_BUILD_BENCH=ON" >&2
        exit 1
    fi
done
if [[ ! -x /usr/bin/time ]]; then
    echo "missing /usr/bin/time (apt-get install time)" >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The tariff of the help's worked example, and the log in the work folder.
mkdir -p "$work/config/orvalis"
cat >"$work/config/orvalis/ov.ini" <<INI
[Settings]
IniPath=$work
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
INI
export XDG_CONFIG_HOME=$work/config

log=$work/logfile.log
"$gen" "$log" "$records"
cat "$log" >/dev/null # in the page cache before any timing

# The same tariff in awk: one row per call in file order, the price to the cent.
cat >"$work/price.awk" <<'AWK'
function secs(t) { return substr(t, 1, 2) * 3600 + substr(t, 4, 2) * 60 + substr(t, 7, 2) }
function weekday(d, m, y) { # 1 = Monday ... 7 = Sunday
    if (m < 3) { m += 12; y-- }
    return (d + int(13 * (m + 1) / 5) + y + int(y / 4) - int(y / 100) + int(y / 400) + 5) % 7 + 1
}
BEGIN { FS = "|"; OFS = "\t" }
{
    start = secs($2); end = secs($4)
    raw = end > start ? end - start : (end < start ? 86400 - (start - end) : 0)
    charged = raw < 60 ? 60 : raw
    charged = int((charged + 59) / 60) * 60
    wd = weekday(substr($1, 1, 2) + 0, substr($1, 4, 2) + 0, substr($1, 7, 4) + 0)
    cheap = start > 82800 || start < 21540 || wd >= 6
    price = 0.1 + (cheap ? 0.3 : 0.6) / 60 * charged
    printf "%s\t%s\t%s\t%02d:%02d:%02d\t%s\t%s\t%s\t%s\t%s\t%.2f\n", $1, $2, $4,
           raw / 3600 % 24, raw / 60 % 60, raw % 60, $5, $6, $7, $8, $9, price
}
AWK

# Wall time of one run in microseconds.
run_us() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}

# Peak resident memory of a command, in KiB.
max_rss() {
    /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1
}

median_ms() {
    sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", v[int((NR + 1) / 2)] / 1000 }'
}

declare -A times
names=(wc awk report)
for ((r = 0; r < rounds; r++)); do
    times[wc]+="$(run_us wc -l "$log") "
    times[awk]+="$(run_us awk -f "$work/price.awk" "$log") "
    times[report]+="$(run_us "$cli" report) "
done

size=$(stat -c %s "$log")
echo "log: $records records, $((size / 1024 / 1024)) MiB; median of $rounds interleaved rounds"
wc_ms=$(tr ' ' '\n' <<<"${times[wc]}" | grep . | median_ms)
awk_ms=$(tr ' ' '\n' <<<"${times[awk]}" | grep . | median_ms)
report_ms=$(tr ' ' '\n' <<<"${times[report]}" | grep . | median_ms)
printf "%-28s %9s ms   max RSS %7s KiB\n" "wc -l FILE" "$wc_ms" "$(max_rss wc -l "$log")"
printf "%-28s %9s ms   max RSS %7s KiB\n" "awk pricing script" "$awk_ms" \
    "$(max_rss awk -f "$work/price.awk" "$log")"
printf "%-28s %9s ms   max RSS %7s KiB\n" "orvalis-cli report" "$report_ms" \
    "$(max_rss "$cli" report)"
awk -v c="$report_ms" -v a="$awk_ms" -v w="$wc_ms" 'BEGIN {
    printf "report / awk: %.2f   report / wc: %.1f (target: at most 500 ms, under 25 MB)\n",
           c / a, c / w }'
