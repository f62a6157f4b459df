# bash completion for orvalis-cli and orvalis

_orvalis_cli()
{
    local cur prev words cword
    _init_completion || return

    local command="" i
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            summary | report | price | usage | daily | monthly)
                command=${words[i]}
                break
                ;;
        esac
    done

    case $prev in
        --filter)
            COMPREPLY=($(compgen -W 'all month today' -- "$cur"))
            return
            ;;
        --log)
            _filedir
            return
            ;;
        --date)
            [[ -z $cur ]] && COMPREPLY=('YYYY-MM-DD')
            return
            ;;
        --over)
            [[ -z $cur ]] && COMPREPLY=('80' '100')
            return
            ;;
        --range)
            COMPREPLY=($(compgen -W 'this last 12 all' -- "$cur"))
            return
            ;;
    esac

    case $command in
        "")
            COMPREPLY=($(compgen -W 'summary report price usage daily monthly --help --version' -- "$cur"))
            ;;
        summary)
            COMPREPLY=($(compgen -W '--filter --json --log' -- "$cur"))
            ;;
        report)
            COMPREPLY=($(compgen -W '--csv --json --log' -- "$cur"))
            ;;
        usage)
            COMPREPLY=($(compgen -W '--json --date --over --log' -- "$cur"))
            ;;
        daily | monthly)
            COMPREPLY=($(compgen -W '--csv --json --range --date --log' -- "$cur"))
            ;;
        price)
            # A date and two times of day: nothing to offer but their shape.
            [[ -z $cur ]] && COMPREPLY=('DD-MM-YYYY' 'HH:MM:SS') && compopt -o nosort 2>/dev/null
            ;;
    esac
} &&
    complete -F _orvalis_cli orvalis-cli

# The simulator's phonebook entries, one a line, from its file beside the settings; what the
# simulator itself starts with while the file or the key is missing.
_orvalis_sim_entries()
{
    local file=${XDG_CONFIG_HOME:-$HOME/.config}/orvalis/simulator.ini
    [[ -r $file ]] || file=/dev/null
    awk '
        /^[ \t]*\[/ { section = tolower($0); gsub(/[ \t\[\]\r]/, "", section); next }
        section == "phonebook" && tolower($0) ~ /^[ \t]*entries[ \t]*=/ {
            sub(/^[^=]*=/, ""); found = 1
            n = split($0, names, "|")
            for (i = 1; i <= n; i++) {
                gsub(/^[ \t]+|[ \t\r]+$/, "", names[i])
                if (names[i] != "") print names[i]
            }
            exit
        }
        END { if (!found) print "Home ISP\nWork" }
    ' "$file" 2>/dev/null
}

_orvalis()
{
    local cur prev words cword
    _init_completion || return

    # After "--sim connect": the names of the simulator's entries, blanks and all (the
    # program joins the words after --sim again).
    if ((cword >= 3)) && [[ $prev == connect && ${words[cword - 2]} == --sim ]]; then
        local IFS=$'\n'
        mapfile -t COMPREPLY < <(compgen -W "$(_orvalis_sim_entries)" -- "$cur")
        return
    fi
    case $prev in
        --command)
            COMPREPLY=($(compgen -W 'connect hangup check-mail check-update inet-tools
                preferences dataplan connections security timer report summary statistics help about hide
                minimize show exit' -- "$cur"))
            return
            ;;
        --sim)
            COMPREPLY=($(compgen -W 'connect drop busy fail ok entries rate status' -- "$cur"))
            return
            ;;
        --backend)
            COMPREPLY=($(compgen -W 'auto nm sim' -- "$cur"))
            return
            ;;
    esac
    if [[ $cur == --backend=* ]]; then
        COMPREPLY=($(compgen -W 'auto nm sim' -- "${cur#--backend=}"))
        return
    fi
    COMPREPLY=($(compgen -W '--backend= --command --sim --status --help --version' -- "$cur"))
    [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
} &&
    complete -F _orvalis orvalis
