#!/usr/bin/env bash
# The bash completion of orvalis-cli and orvalis: what it offers after a few command lines.
#   completion_test.sh COMPLETION_SCRIPT
set -uo pipefail
script=$1
helpers=/usr/share/bash-completion/bash_completion
if [ ! -r "$helpers" ]; then
    echo "SKIP: bash-completion is not installed"
    exit 0
fi
# shellcheck source=/dev/null
source "$helpers"
# shellcheck source=/dev/null
source "$script"

failures=0
# expect "WORDS..." "EXPECTED" : completes the last word of the line.
expect() {
    local line=$1 want=$2
    read -r -a COMP_WORDS <<<"$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMPREPLY=()
    local function
    function=$(complete -p "${COMP_WORDS[0]}" | sed -E 's/.*-F ([^ ]+).*/\1/')
    "$function" "${COMP_WORDS[0]}" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]:-}"
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
    if [ "$got" != "$want" ]; then
        echo "FAIL: '$line' gave '$got', expected '$want'"
        failures=$((failures + 1))
    fi
}

expect "orvalis-cli " "--help --version daily monthly price report summary usage"
expect "orvalis-cli daily --" "--csv --date --json --log --range"
expect "orvalis-cli monthly --range " "12 all last this"
expect "orvalis-cli s" "summary"
expect "orvalis-cli summary --" "--filter --json --log"
expect "orvalis-cli usage --" "--date --json --log --over"
expect "orvalis-cli summary --filter " "all month today"
expect "orvalis-cli summary --filter m" "month"
expect "orvalis-cli report --" "--csv --json --log"
expect "orvalis-cli report --csv --log /nonexistent-orvalis-dir/" ""
expect "orvalis --" "--backend= --command --help --sim --status --version"
expect "orvalis --command hang" "hangup"
expect "orvalis --backend=s" "sim"
expect "orvalis --sim co" "connect"
# The simulator's entries after "--sim connect", from its file, or its own two without one.
XDG_CONFIG_HOME=$(mktemp -d)
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
expect "orvalis --sim connect " "Home ISP Work"
mkdir "$XDG_CONFIG_HOME/orvalis"
printf '[Line]\nEntries=x\n[phonebook]\n entries = Home ISP| Work |Office\n' \
    >"$XDG_CONFIG_HOME/orvalis/simulator.ini"
expect "orvalis --sim connect " "Home ISP Office Work"
expect "orvalis --sim connect O" "Office"

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "completion: all cases passed"
