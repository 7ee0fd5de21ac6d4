# SPDX-License-Identifier: GPL-3.0-or-later
# Bash completion for quillex-cli: subcommands, their options, --sort's orders, folders and files.
# The lists are written out rather than asked of the program at each Tab;
# tests/dist/check-completions.sh compares them with the program's --help.

_quillex_cli()
{
    local cur prev words cword split
    _init_completion -s || return

    # The subcommand is the first word that is neither an option nor --config-dir's folder.
    local i sub=
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            --config-dir) ((i++)) ;;
            -*) ;;
            *) sub=${words[i]}; break ;;
        esac
    done

    # The word is an option's value; values are free text unless named here. --replace and
    # --regex take two, so the word before the previous one counts too.
    local takes_jobs=
    [[ $sub == @(run|test|make-jobs) ]] && takes_jobs=1
    if [[ $takes_jobs && $cword -ge 3 && ${words[cword - 2]} == --@(replace|regex) && $split != true ]]; then
        return
    fi
    case $sub:$prev in
        :--config-dir) _filedir -d; return ;;
        test:--jobs | run:--jobs | run:--from0 | run:--from) _filedir; return ;;
        apply:--format | edit:--format) COMPREPLY=($(compgen -W 'text tree json' -- "$cur")); return ;;
        apply:--color | edit:--color) if [[ $split == true ]]; then COMPREPLY=($(compgen -W 'auto always never' -- "$cur")); fi; return ;;
        edit:--mask) return ;;
        apply:--log | edit:--log) if [[ $split == true ]]; then _filedir; return; fi ;;
        run:--sort) COMPREPLY=($(compgen -W 'name-asc name-desc date-asc date-desc none' -- "$cur")); return ;;
        run:--format) COMPREPLY=($(compgen -W 'text tree json' -- "$cur")); return ;;
        run:--color) if [[ $split == true ]]; then COMPREPLY=($(compgen -W 'auto always never' -- "$cur")); fi; return ;;
        run:--parallel) COMPREPLY=($(compgen -W 'auto 1 2 4 8 16 32 64' -- "$cur")); return ;;
        test:--counter-start | run:--counter-start | run:--mask | run:--taken-suffix | make-jobs:--encoding) return ;;
        # Plain --log takes no value, --log=FILE takes a file.
        run:--log) if [[ $split == true ]]; then _filedir; return; fi ;;
    esac
    if [[ $takes_jobs ]]; then
        case $prev in
            --lower | --upper | --normal)
                if [[ $split == true ]]; then COMPREPLY=($(compgen -W 'all name ext' -- "$cur")); return; fi ;;
            --at)
                COMPREPLY=($(compgen -W 'start end before: after:' -- "$cur"))
                [[ ${COMPREPLY[*]} == *: ]] && compopt -o nospace 2>/dev/null
                return ;;
            --insert | --remove | --counter | --date | --replace | --regex) return ;;
        esac
    fi
    [[ $split == true ]] && return

    local options jobs='--lower --upper --normal --insert --remove --counter --date --taken --simplify --shift --at
        --replace --match-case --regex'
    case $sub in
        '') options='--help --version --config-dir' ;;
        describe | regex) options='--help' ;;
        test) options="--help --jobs --counter-start $jobs" ;;
        make-jobs) options="--help --encoding --force $jobs" ;;
        run)
            options="--help --jobs --from0 --from --mask --recurse --no-recurse --rename-dirs --no-rename-dirs
                --reset-counter --no-reset-counter --counter-start --sort --simulate --no-simulate
                --undo --no-undo --confirm --no-confirm --log --no-log --format --parallel --dry-run --verbose --color
                --one-file-system --no-one-file-system --natural --no-natural --taken-suffix --no-taken-suffix $jobs"
            ;;
        undo) options='--help --yes --remove-after-errors --recurse' ;;
        apply | edit)
            options='--help --simulate --no-simulate --dry-run --verbose --undo --no-undo --confirm --no-confirm
                --log --no-log --format --color'
            [[ $sub == edit ]] && options+=' --mask --natural --no-natural'
            ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi

    case $sub in
        '') COMPREPLY=($(compgen -W 'describe test regex run make-jobs undo apply edit' -- "$cur")) ;;
        describe | make-jobs | run | apply | edit) _filedir ;;
        undo) _filedir -d ;;
    esac
} && complete -F _quillex_cli quillex-cli
