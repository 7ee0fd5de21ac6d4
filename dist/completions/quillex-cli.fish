# SPDX-License-Identifier: GPL-3.0-or-later
# Fish completion for quillex-cli: subcommands, their options, --sort's orders, folders and files.
# The lists are written out rather than asked of the program at each Tab;
# tests/dist/check-completions.sh compares them with the program's --help.

# Succeeds when the subcommand on the command line is $argv[1] (none yet, without an argument)
# and the word being completed is no option's value: quillex-cli takes the word after --mask
# as the mask even when it begins with '-', where fish would offer options.
function __quillex_cli_on
    set -l words (commandline -opc)[2..]
    if string match -q -- '-*' (commandline -ct)
        if contains -- "$words[-1]" --config-dir --jobs --from0 --from --taken-suffix --mask --counter-start --sort --format --parallel --encoding \
                --insert --remove --counter --date --at --replace --regex
            or contains -- "$words[-2]" --replace --regex
            return 1
        end
    end
    # The subcommand is the first word that is neither an option nor --config-dir's folder.
    set -l sub
    while set -q words[1]
        switch $words[1]
            case --config-dir
                set -e words[1]
            case '-*'
            case '*'
                set sub $words[1]
                break
        end
        set -e words[1]
    end
    test "$sub" = "$argv[1]"
end

complete -c quillex-cli -f

complete -c quillex-cli -n __quillex_cli_on -s h -l help -d 'Print help and exit'
complete -c quillex-cli -n __quillex_cli_on -l version -d 'Print the version and exit'
complete -c quillex-cli -n __quillex_cli_on -l config-dir -x -a '(__fish_complete_directories)' -d 'Folder of quillex.ini and the job list'
complete -c quillex-cli -n __quillex_cli_on -a describe -d 'List the jobs of a job list file'
complete -c quillex-cli -n __quillex_cli_on -a test -d 'Apply the ticked jobs to sample names'
complete -c quillex-cli -n __quillex_cli_on -a regex -d 'Replace every match of EXPR in INPUTs'
complete -c quillex-cli -n __quillex_cli_on -a run -d 'Rename the matching files of DIR'
complete -c quillex-cli -n __quillex_cli_on -a make-jobs -d 'Write jobs given as options to a job list file'
complete -c quillex-cli -n __quillex_cli_on -a undo -d 'Undo the renaming recorded in DIR'
complete -c quillex-cli -n __quillex_cli_on -a apply -d 'Rename as a list of old paths and new names says'
complete -c quillex-cli -n __quillex_cli_on -a edit -d 'Edit names in your text editor'

for sub in describe test regex run make-jobs undo apply edit
    complete -c quillex-cli -n "__quillex_cli_on $sub" -s h -l help -d 'Print help and exit'
end

# The options apply and edit share with run.
for sub in apply edit
    complete -c quillex-cli -n "__quillex_cli_on $sub" -F
    complete -c quillex-cli -n "__quillex_cli_on $sub" -l simulate -d 'Print what would change, rename nothing'
    complete -c quillex-cli -n "__quillex_cli_on $sub" -l no-simulate -d 'Rename for real'
    complete -c quillex-cli -n "__quillex_cli_on $sub" -s n -l dry-run -d 'Print what would change, rename nothing'
    complete -c quillex-cli -n "__quillex_cli_on $sub" -s v -l verbose -d 'Print each change'
    complete -c quillex-cli -n "__quillex_cli_on $sub" -l undo -d 'Leave an undo file in every folder touched'
    complete -c quillex-cli -n "__quillex_cli_on $sub" -l no-undo -d 'Leave no undo file'
    complete -c quillex-cli -n "__quillex_cli_on $sub" -l confirm -d 'Ask first'
    complete -c quillex-cli -n "__quillex_cli_on $sub" -l no-confirm -d 'Ask nothing'
    complete -c quillex-cli -n "__quillex_cli_on $sub" -l log -d 'Log on stderr, or to FILE with --log=FILE'
    complete -c quillex-cli -n "__quillex_cli_on $sub" -l no-log -d 'No log'
    complete -c quillex-cli -n "__quillex_cli_on $sub" -l format -x -a 'text tree json' -d 'Changes, the tree, or JSON lines'
    complete -c quillex-cli -n "__quillex_cli_on $sub" -l color -x -a 'auto always never' -d 'Changed parts of names in colour'
end
complete -c quillex-cli -n '__quillex_cli_on edit' -l mask -x -d 'File mask'
complete -c quillex-cli -n '__quillex_cli_on edit' -l natural -d 'Lines by name, numbers by their value'
complete -c quillex-cli -n '__quillex_cli_on edit' -l no-natural -d 'Lines by name, digits as text'

complete -c quillex-cli -n '__quillex_cli_on describe' -F

complete -c quillex-cli -n '__quillex_cli_on test' -l jobs -r -F -d 'Job list file'
complete -c quillex-cli -n '__quillex_cli_on test' -l counter-start -x -d 'Counter value for the first name'

complete -c quillex-cli -n '__quillex_cli_on run' -F
complete -c quillex-cli -n '__quillex_cli_on run' -l jobs -r -F -d 'Job list file'
complete -c quillex-cli -n '__quillex_cli_on run' -l from0 -r -F -d 'Rename the entries whose paths FILE holds, NUL-ended'
complete -c quillex-cli -n '__quillex_cli_on run' -l from -r -F -d 'Rename the entries whose paths FILE holds, one a line'
complete -c quillex-cli -n '__quillex_cli_on run' -s n -l dry-run -d 'Print what would change, rename nothing'
complete -c quillex-cli -n '__quillex_cli_on run' -s v -l verbose -d 'A real run prints each change too'
complete -c quillex-cli -n '__quillex_cli_on run' -l color -x -a 'auto always never' -d 'Changed parts of names in colour'
complete -c quillex-cli -n '__quillex_cli_on run' -l mask -x -d 'File mask'
complete -c quillex-cli -n '__quillex_cli_on run' -l recurse -d 'Recurse into subdirectories'
complete -c quillex-cli -n '__quillex_cli_on run' -l no-recurse -d 'Stay in DIR'
complete -c quillex-cli -n '__quillex_cli_on run' -l one-file-system -d 'Do not go into folders of another file system'
complete -c quillex-cli -n '__quillex_cli_on run' -l no-one-file-system -d 'Go into folders of every file system'
complete -c quillex-cli -n '__quillex_cli_on run' -l natural -d 'Sort names with numbers by their value'
complete -c quillex-cli -n '__quillex_cli_on run' -l no-natural -d 'Sort names with digits compared as text'
complete -c quillex-cli -n '__quillex_cli_on run' -l taken-suffix -x -d 'Number a new name that is taken'
complete -c quillex-cli -n '__quillex_cli_on run' -l no-taken-suffix -d 'Fail where a new name is taken'
complete -c quillex-cli -n '__quillex_cli_on run' -l rename-dirs -d 'Rename subdirectories too'
complete -c quillex-cli -n '__quillex_cli_on run' -l no-rename-dirs -d 'Rename files only'
complete -c quillex-cli -n '__quillex_cli_on run' -l reset-counter -d 'Reset counter in every subdir'
complete -c quillex-cli -n '__quillex_cli_on run' -l no-reset-counter -d 'One counter for the whole run'
complete -c quillex-cli -n '__quillex_cli_on run' -l counter-start -x -d 'Counter start value'
complete -c quillex-cli -n '__quillex_cli_on run' -l sort -x -a 'name-asc name-desc date-asc date-desc none' -d 'Order'
complete -c quillex-cli -n '__quillex_cli_on run' -l simulate -d 'Print the predicted tree, rename nothing'
complete -c quillex-cli -n '__quillex_cli_on run' -l no-simulate -d 'Rename for real'
complete -c quillex-cli -n '__quillex_cli_on run' -l undo -d 'Create an undo file in every folder visited'
complete -c quillex-cli -n '__quillex_cli_on run' -l no-undo -d 'Create no undo file'
complete -c quillex-cli -n '__quillex_cli_on run' -l confirm -d 'Confirm every change'
complete -c quillex-cli -n '__quillex_cli_on run' -l no-confirm -d 'Confirm nothing'
# Plain --log takes no value, --log=FILE takes a file.
complete -c quillex-cli -n '__quillex_cli_on run' -l log -F -d 'Log on stderr, or to FILE with --log=FILE'
complete -c quillex-cli -n '__quillex_cli_on run' -l no-log -d 'No log'

complete -c quillex-cli -n '__quillex_cli_on run' -l format -x -a 'text tree json' -d 'Changes, the tree, or JSON lines'
complete -c quillex-cli -n '__quillex_cli_on run' -l parallel -x -a 'auto 1 2 4 8 16 32 64' -d 'Work on up to N folders at once'

complete -c quillex-cli -n '__quillex_cli_on make-jobs' -F
complete -c quillex-cli -n '__quillex_cli_on make-jobs' -l encoding -x -d 'Encoding of the job list file'
complete -c quillex-cli -n '__quillex_cli_on make-jobs' -l force -d 'Replace FILE if it exists'

# The job options of run, test and make-jobs.
for sub in run test make-jobs
    set -l on "__quillex_cli_on $sub"
    complete -c quillex-cli -n $on -l lower -d 'Lower case (=all, =name, =ext)'
    complete -c quillex-cli -n $on -l upper -d 'Upper case (=all, =name, =ext)'
    complete -c quillex-cli -n $on -l normal -d 'Normal case (=all, =name, =ext)'
    complete -c quillex-cli -n $on -l insert -x -d 'Insert TEXT'
    complete -c quillex-cli -n $on -l remove -x -d 'Remove COUNT characters'
    complete -c quillex-cli -n $on -l counter -x -d 'Insert the counter, WIDTH digits'
    complete -c quillex-cli -n $on -l date -x -d 'Insert the modification date in FORMAT'
    complete -c quillex-cli -n $on -l taken -d 'After --date: the date taken'
    complete -c quillex-cli -n $on -l shift -x -d 'Add N to the numbers (=N[:first|last|all])'
    complete -c quillex-cli -n $on -l simplify -x -a 'nfc nfd accents ascii' -d 'Simplify characters (=HOW[:all|name|ext])'
    complete -c quillex-cli -n $on -l at -x -a 'start end before: after:' -d 'After a job: where'
    complete -c quillex-cli -n $on -l replace -x -d 'Replace FIND by WITH'
    complete -c quillex-cli -n $on -l match-case -d 'After --replace: match case'
    complete -c quillex-cli -n $on -l regex -x -d 'Replace matches of EXPR by TEMPLATE'
end

complete -c quillex-cli -n '__quillex_cli_on undo' -x -a '(__fish_complete_directories)'
complete -c quillex-cli -n '__quillex_cli_on undo' -l yes -d 'Answer Yes to the first question'
complete -c quillex-cli -n '__quillex_cli_on undo' -l remove-after-errors -d 'Remove the undo file even after errors'
complete -c quillex-cli -n '__quillex_cli_on undo' -l recurse -d 'Undo in DIR and all its subfolders'
