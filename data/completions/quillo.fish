# SPDX-License-Identifier: GPL-3.0-or-later
# fish completion for quillo

set -l commands name rename history undo index search

function __quillo_history_ids
    set -l quillo (commandline -opc)[1]
    $quillo history 2>/dev/null | string match -r '^[0-9A-F]{8}(?=\t)'
end

complete -c quillo -f
complete -c quillo -n "not __fish_seen_subcommand_from $commands" -a name -d 'Print the name Quillo would give each file'
complete -c quillo -n "not __fish_seen_subcommand_from $commands" -a rename -d 'Rename the screenshots among these files and folders'
complete -c quillo -n "not __fish_seen_subcommand_from $commands" -a history -d 'List the renames Quillo remembers'
complete -c quillo -n "not __fish_seen_subcommand_from $commands" -a undo -d 'Put a renamed file back under its old name'
complete -c quillo -n "not __fish_seen_subcommand_from $commands" -a index -d 'Keep the text of these screenshots for search'
complete -c quillo -n "not __fish_seen_subcommand_from $commands" -a search -d 'List the screenshots that show these words'
complete -c quillo -n "not __fish_seen_subcommand_from $commands" -l headless -d 'Run without any interface'
complete -c quillo -n "not __fish_seen_subcommand_from $commands" -l autostart -d 'Started with the session: open no window'
complete -c quillo -n "not __fish_seen_subcommand_from $commands" -l help-all -d 'Show the help with the options of every Qt program'
complete -c quillo -n "not __fish_seen_subcommand_from $commands" -s v -l version -d 'Show the version'
complete -c quillo -s h -l help -d 'Show the help'
complete -c quillo -n "__fish_seen_subcommand_from name rename history index search; or not __fish_seen_subcommand_from $commands" -l json -d 'Print JSON for scripts'

complete -c quillo -n "__fish_seen_subcommand_from name" -F
complete -c quillo -n "__fish_seen_subcommand_from rename index" -F
complete -c quillo -n "__fish_seen_subcommand_from rename" -l dry-run -d 'Print what would be renamed; change nothing'
complete -c quillo -n "__fish_seen_subcommand_from rename index" -l recursive -d 'Also look in subfolders'
complete -c quillo -n "__fish_seen_subcommand_from rename index" -l jobs -x -a '(seq 1 (nproc))' -d 'Files read at once'
complete -c quillo -n "__fish_seen_subcommand_from search" -l limit -x -d 'Show at most N screenshots'

complete -c quillo -n "__fish_seen_subcommand_from undo" -l last -d 'The newest rename'
complete -c quillo -n "__fish_seen_subcommand_from undo" -a '(__quillo_history_ids)' -d 'Rename id'
