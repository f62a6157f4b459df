#!/usr/bin/env bash
# Checks an installed Orvalis (the Debian package, or any `cmake --install` into a prefix):
# both commands run from the PATH, the desktop files are in place and valid, and the
# installed program, offscreen in a home of its own, logs one simulated call.
#   scripts/check-installed.sh [PREFIX]      (default: /usr)
set -euo pipefail
prefix=${1:-/usr}
export PATH="$prefix/bin:$PATH"
app_id=org.orvalis.Orvalis
fail() { echo "check-installed: $*" >&2; exit 1; }

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    local limit=$(($(date +%s) + $1))
    shift
    until "$@"; do
        [ "$(date +%s)" -lt "$limit" ] || return 1
        sleep 0.1
    done
}

# The commands, from the PATH.
[ "$(command -v orvalis)" = "$prefix/bin/orvalis" ] || fail "orvalis is not $prefix/bin/orvalis"
version=$(orvalis --version)
echo "$version"
[[ $version =~ ^orvalis\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "unexpected version line: $version"
orvalis-cli --help | grep >/dev/null '^Usage: orvalis-cli' || fail "orvalis-cli --help"
orvalis-cli --version

# The files of the desktop, and that they agree with the program.
share=$prefix/share
for file in "applications/$app_id.desktop" "icons/hicolor/scalable/apps/$app_id.svg" \
    "metainfo/$app_id.metainfo.xml" man/man1/orvalis.1.gz man/man1/orvalis-cli.1.gz \
    bash-completion/completions/orvalis-cli orvalis/help/index.html \
    orvalis/translations/orvalis_de.qm; do
    f=$share/$file
    [ -f "$f" ] || [ -f "${f%.gz}" ] || fail "missing $f"
done
desktop-file-validate "$share/applications/$app_id.desktop"
appstreamcli validate --no-net "$share/metainfo/$app_id.metainfo.xml"
grep -q "<release version=\"${version#orvalis }\"" "$share/metainfo/$app_id.metainfo.xml" ||
    fail "the AppStream data has no release ${version#orvalis }"
# The pages are formatted from the installed files (-l): man-db's cache of formatted pages
# is keyed on the file's time, which the package pins, so it could show an older build.
manual_of() { MANWIDTH=80 man -P cat -l "$(man -w "$1")"; }
for page in orvalis orvalis-cli; do
    manual_of "$page" | grep >/dev/null "^EXIT STATUS" || fail "man $page"
done
# Every option of the program's help is in its manual page. The page is read once: grep -q
# leaving a pipe early would end man with SIGPIPE, which pipefail counts as a failure.
manual=$(manual_of orvalis)
for option in $(orvalis --help | grep -o -- '--[a-z]*' | sort -u); do
    grep -q -- "$option" <<<"$manual" || fail "man orvalis lacks $option"
done

# One simulated call through the installed program, in a home of its own.
home=$(mktemp -d)
program=""
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT
mkdir -p "$home/home" "$home/config" "$home/cache" "$home/tmp" "$home/runtime"
chmod 700 "$home/runtime"
export HOME=$home/home XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache \
    TMPDIR=$home/tmp XDG_RUNTIME_DIR=$home/runtime QT_QPA_PLATFORM=offscreen LANGUAGE=de
unset DBUS_SESSION_BUS_ADDRESS
config=$XDG_CONFIG_HOME/orvalis
orvalis --backend=sim >"$home/program.out" 2>&1 &
program=$!
wait_for 30 test -S "$XDG_RUNTIME_DIR/orvalis.sock" || fail "the program did not start"
orvalis --sim connect Check Line >/dev/null
wait_for 30 test -f "$config/logfile.journal" || fail "the call was not seen"
orvalis --sim drop >/dev/null
wait_for 30 test -s "$config/logfile.log" || fail "the call was not logged"
line=$(head -n 1 "$config/logfile.log")
echo "logged: $line"
[[ $line =~ ^[0-9]{2}-[0-9]{2}-[0-9]{4}\|[0-9:]{8}\|[0-9]{2}-[0-9]{2}-[0-9]{4}\|[0-9:]{8}\|[^|]*\|[^|]*\|Check\ Line\|[0-9]+\|[0-9]+\|$ ]] ||
    fail "unexpected log line: $line"
# orvalis-cli stays English whatever the language of the session.
summary=$(orvalis-cli summary --filter all)
echo "$summary" | grep -q '^Connections: 1$' || fail "unexpected summary: $summary"
# Logging out ends the program as "Exit" does.
kill -TERM "$program"
status=0
wait "$program" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with $status: $(cat "$home/program.out")"
program=""
echo "check-installed: all checks passed"
