#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The completion files load in each shell that is installed, and bash and fish complete what a user
# types. Usage: CheckCompletions.sh <folder of the completion files> <quillo binary>
set -u
folder=$1
quillo=$2
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

bash -n "$folder/quillo.bash" || fail "bash -n rejects quillo.bash"
for shell in zsh fish; do
    file=$folder/_quillo
    [ "$shell" = fish ] && file=$folder/quillo.fish
    if command -v "$shell" >/dev/null; then
        "$shell" -n "$file" || fail "$shell -n rejects $file"
    else
        echo "skipped: $shell is not installed"
    fi
done

# shellcheck source=/dev/null
source "$folder/quillo.bash"
# words typed (the last one being completed) | what COMPREPLY must hold, in order
while IFS='|' read -r typed expected; do
    read -ra COMP_WORDS <<<"$typed"
    [[ $typed == *' ' ]] && COMP_WORDS+=("")
    COMP_WORDS[0]=$quillo
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _quillo
    [ "${COMPREPLY[*]}" = "$expected" ] || fail "bash completes '$typed' to '${COMPREPLY[*]}', not '$expected'"
done <<'CASES'
quillo un|undo
quillo |name rename history undo index search
quillo index --|--json --recursive --jobs --help
quillo search invoice --l|--limit
quillo --he|--headless --help --help-all
quillo rename --dr|--dry-run
quillo rename --dry-run --re|--recursive
quillo rename --jobs 1|1
quillo history --|--json --help
quillo undo --l|--last
quillo name --|--json --help
CASES

if command -v fish >/dev/null; then
    completed=$(fish --no-config -c "source $folder/quillo.fish; complete -C 'quillo un'" | cut -f1)
    [ "$completed" = undo ] || fail "fish completes 'quillo un' to '$completed'"
fi
exit $((failures > 0))
