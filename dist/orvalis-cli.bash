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

_orvalis()
{
    local cur prev words cword
    _init_completion || return

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
    COMPREPLY=($(compgen -W '--backend= --command --sim --help --version' -- "$cur"))
    [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
} &&
    complete -F _orvalis orvalis
