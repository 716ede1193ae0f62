# SPDX-License-Identifier: GPL-3.0-or-later
# bash completion for quillo

# The ids `quillo history` prints first on each line, for `quillo undo`.
_quillo_history_ids()
{
    "${COMP_WORDS[0]}" history 2>/dev/null | cut -f1 | grep -E '^[0-9A-F]{8}$'
}

_quillo()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local command=""
    local word
    for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
        case $word in
        name | rename | history | undo | index | search)
            command=$word
            break
            ;;
        esac
    done

    case $command in
    "")
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--headless --autostart --json --help --help-all --version' -- "$cur"))
        else
            COMPREPLY=($(compgen -W 'name rename history undo index search' -- "$cur"))
        fi
        ;;
    name)
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--json --help' -- "$cur"))
        else
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -f -- "$cur"))
        fi
        ;;
    rename | index)
        if [[ $prev == --jobs ]]; then
            COMPREPLY=($(compgen -W "$(seq 1 "$(nproc 2>/dev/null || echo 4)")" -- "$cur"))
        elif [[ $cur == -* && $command == rename ]]; then
            COMPREPLY=($(compgen -W '--dry-run --json --recursive --jobs --help' -- "$cur"))
        elif [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--json --recursive --jobs --help' -- "$cur"))
        else
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -f -- "$cur"))
        fi
        ;;
    history)
        COMPREPLY=($(compgen -W '--json --help' -- "$cur"))
        ;;
    search)
        # Words are the user's own; only the options complete.
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--json --limit --help' -- "$cur"))
        fi
        ;;
    undo)
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--last --help' -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$(_quillo_history_ids)" -- "${cur^^}"))
        fi
        ;;
    esac
}
complete -F _quillo quillo
