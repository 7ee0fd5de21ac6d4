// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/UCliHelp.h"

#include <array>

namespace qx::cli {

namespace {

constexpr std::string_view kProgram = R"(Usage: quillex-cli [--config-dir DIR] COMMAND [ARGUMENTS]
Quillex renames many files at once. This is its command line; quillex is its
desktop program, whose settings and default job list it reads (never writes).

Commands:
  run        Rename the matching files of a folder tree, or given entries,
             or simulate it
  test       Apply jobs to sample names
  make-jobs  Write the jobs given as options to a job list file
  describe   List the jobs of a job list file
  regex      Try a regular expression and a template on sample texts
  undo       Take back the renames recorded in folders' undo files
  apply      Rename as a list of old paths and new names says (CSV, TSV)
  edit       Edit names in your text editor, then rename what changed

Options:
  --config-dir DIR  Folder of quillex.ini and quillex_job_config.xml
                    (default: the desktop program's)
  -h, --help        Print this help; after a command, the command's help
  --version         Print the version

Exit status: 0 success; 1 a failure was reported (on stderr, with its
reason); 2 wrong usage or nothing to do.
)";

// The job options of run, test and make-jobs, between their own options and examples.
constexpr std::string_view kJobOptions = R"(Job options (each adds a ticked job, in the order given; not with --jobs):
  --lower[=all|name|ext]
                        Lower case, every letter that has one (ÉTÉ -> été):
                        all of the name (the default), the part before the
                        extension, or the extension
  --upper[=all|name|ext]
                        Upper case, likewise
  --normal[=all|name|ext]
                        Normal case (Each Word Capitalised), likewise
  --insert TEXT         Insert TEXT
  --remove COUNT        Remove COUNT characters
  --counter WIDTH       Insert the counter, zero-padded to WIDTH digits
  --date FORMAT         Insert the modification date in FORMAT, where yyyy yy
                        mm dd hh nn ss are its fields
  --taken               Right after --date: the date a photo was taken instead
                        (its modification date when it has none)
  --shift=N[:first|last|all]
                        Add N (below zero: subtract) to the first number of
                        the name part, the last, or all, as wide as before
  --simplify=HOW[:all|name|ext]
                        Simplify characters: nfc composes them, nfd decomposes
                        them, accents removes accents and marks (é -> e),
                        ascii writes them in ASCII (Москва -> Moskva)
  --at WHERE            Right after --insert, --remove, --counter or --date:
                        where. start (the default), end, N (after N
                        characters), before:STRING or after:STRING
  --replace FIND WITH   Replace FIND by WITH, ignoring letter case
  --match-case          Right after --replace: only where the case matches
  --regex EXPR TEMPLATE Replace each match of the regular expression EXPR by
                        TEMPLATE ($0 or $& the match, $1 or ${1} a group)
)";

constexpr std::string_view kRunHead = R"(Usage: quillex-cli run [OPTIONS] [JOB OPTIONS] DIR
       quillex-cli run [OPTIONS] [JOB OPTIONS] PATH...
Rename the matching files of the folder DIR with the ticked jobs of a job list,
or with the jobs given as options. Given several PATHs, a file, or lists of
paths, rename exactly those entries, in any folders, whatever the mask; folders
among them only with --rename-dirs, and entered only with --recurse. The
counter numbers them as one series in the sort order. Options not given take
the desktop program's settings.

Options:
  --jobs FILE           Job list file (default: the default job list)
  --from0 FILE|-        Also the entries whose paths FILE (- standard input)
                        holds, each ended by a NUL byte, as find -print0 writes
  --from FILE|-         Also the entries whose paths FILE holds, one a line
  --mask MASK           File mask: * any run, ? one character, *.* every name
  --recurse             Recurse into subdirectories
  --one-file-system     Do not go into folders of another file system (mount
                        points) below DIR
  --rename-dirs         Rename subdirectories too
  --reset-counter       Restart the counter in every folder
  --counter-start N     Counter start value
  --sort ORDER          name-asc, name-desc, date-asc, date-desc or none
  --taken-suffix FORMAT Where a new name is taken, add a number instead of
                        failing: FORMAT with %d the number, from 2, goes before
                        the extension (' (%d)' makes IMG (2).jpg)
  --natural             By name, numbers by their value: f2 before f10 (the
                        default, unless the settings say otherwise)
  -n, --simulate, --dry-run
                        Rename nothing; print "old -> new" for each change
  -v, --verbose         A real run prints each change too
  --undo                Leave an undo file in every folder visited
  --confirm             Ask before every rename (needs a terminal)
  --log, --log=FILE     Write the log on stderr, or append it to FILE
  --format FORMAT       text (the default), tree (the simulation's tree),
                        json (one object per line), or with --simulate tsv
                        or csv: a list for quillex-cli apply
  --color[=WHEN]        Changed parts of names in colour: auto (on a
                        terminal, unless NO_COLOR is set), always or never
  --parallel N|auto     Work on up to N folders at once, where the outcome
                        cannot depend on their order; auto: many on a network
                        share, a few on a local disk (default: the settings'
                        Folders at Once, else auto)
  --no-recurse, --no-rename-dirs, --no-reset-counter, --no-simulate,
  --no-undo, --no-confirm, --no-log, --no-one-file-system, --no-natural,
  --no-taken-suffix     Turn that option off
  -h, --help            Print this help

)";

constexpr std::string_view kRunTail = R"(
Examples:
  Camera files named by the date they were taken, the extension lower case:
    quillex-cli run --remove 4 --date yyyy-mm-dd_ --taken --lower=ext \
      --mask 'IMG_*' --simulate ~/Pictures/Trip
  Numbers shifted by 100, "001 Intro.mp3" to "101 Intro.mp3":
    quillex-cli run --shift=100 ~/Music/Album
  Every JPEG below the folder numbered as one series, by the date taken:
    find . -iname '*.jpg' -print0 |
      quillex-cli run --counter 4 --at start --sort date-asc --from0 -
  Artist and title swapped, "Artist - Title.mp3" to "Title - Artist.mp3":
    quillex-cli run --regex '^(.+) - (.+)\.mp3$' '$2 - $1.mp3' ~/Music

Ctrl-C or SIGTERM stops the run before its next entry; --confirm takes y, n,
a (yes to all) or q (stop).

Exit status: 0 success; 1 a failure (a failed rename, a folder that could not
be read, a clash a simulation predicts, a cancelled or stopped run, output that
could not be written); 2 wrong usage or nothing to do.
)";

constexpr std::string_view kTestHead = R"(Usage: quillex-cli test [OPTIONS] [JOB OPTIONS] [--] NAME...
Apply the ticked jobs to each NAME and print the results, one per line, as the
desktop program's sample-name test does. The counter starts once, then runs on
from name to name. A NAME that is a file brings its dates to a date job.

Options:
  --jobs FILE           Job list file (default: the default job list)
  --counter-start N     Counter value for the first name (default: the
                        settings' counter start)
  -h, --help            Print this help

)";

constexpr std::string_view kTestTail = R"(
Example:
  quillex-cli test --counter 3 --at before:. --lower=ext IMG_A.JPG IMG_B.JPG
)";

constexpr std::string_view kMakeJobsHead = R"(Usage: quillex-cli make-jobs [OPTIONS] JOB OPTIONS... FILE
Write the jobs given as options to the job list file FILE, which the desktop
program opens, and list them as describe does.

Options:
  --encoding ENC        The file's encoding, as the desktop program's Settings
                        offer it (default: UTF-8)
  --force               Replace FILE if it exists
  -h, --help            Print this help

)";

constexpr std::string_view kMakeJobsTail = R"(
Example:
  quillex-cli make-jobs --lower=ext --counter 3 --at before:. holiday.xml
)";

constexpr std::string_view kDescribe = R"(Usage: quillex-cli describe FILE
List the jobs of the job list file FILE, one line each: [x] or [ ] for its
tick, then its description.

Options:
  -h, --help            Print this help
)";

constexpr std::string_view kRegex = R"(Usage: quillex-cli regex [--] EXPR TEMPLATE INPUT...
Replace every match of the regular expression EXPR in each INPUT by TEMPLATE and
print the results, one per line: the replace dialog's tester. In TEMPLATE, $0
or $& is the whole match, $1 .. $14 or ${1} a group, and \ makes the next
character literal. An expression with an error prints the engine's message.

Options:
  -h, --help            Print this help

Example:
  quillex-cli regex '(\d+)' '[$1]' a1b22
)";

constexpr std::string_view kUndo = R"(Usage: quillex-cli undo [OPTIONS] DIR...
Take back the renames recorded in the undo file of each folder DIR, latest
first, after asking.

Options:
  --yes                 Answer Yes to the first question (undo?)
  --remove-after-errors After --yes: remove the undo files even when some
                        renames could not be taken back
  --recurse             Undo in DIR and all its subfolders, in one step
  -h, --help            Print this help
)";

constexpr std::string_view kApply = R"(Usage: quillex-cli apply [OPTIONS] LIST
Rename as the list LIST says, at once: one rename a line, the old path and the
new name, separated by a comma (CSV) or by a tab (TSV; also any LIST ending in
.tsv), quoted as spreadsheets quote; a first line "old,new" is a header. Old
paths start in the list's folder (LIST "-": the standard input, paths from the
working directory). A list with a problem renames nothing. quillex-cli run
--simulate --format tsv writes such a list.

Options:
  -n, --simulate, --dry-run
                        Rename nothing; print "old -> new" for each change
  -v, --verbose         Print each change, then the figures
  --no-undo             Leave no undo file (the default leaves one in every
                        folder touched)
  --confirm             Ask before every rename (needs a terminal)
  --log, --log=FILE     Write the log on stderr, or append it to FILE
  --format FORMAT       text (the default), tree or json
  --color[=WHEN]        Changed parts of names in colour: auto, always, never
  --no-simulate, --undo, --no-confirm, --no-log
                        Turn that option off or on
  -h, --help            Print this help

Example:
  quillex-cli run --lower -n --format tsv . > names.tsv   (edit it, then)
  quillex-cli apply names.tsv
)";

constexpr std::string_view kEdit = R"(Usage: quillex-cli edit [OPTIONS] [PATH...]
Edit names in your editor ($VISUAL, else $EDITOR, else editor): one line per
entry, its number, a tab and its path; a folder PATH (the default: the working
folder) gives its entries that the mask takes. When the editor ends, what you
changed after the last / of a line is renamed at once, through the same run as
any (swaps and cycles work). A deleted line, a repeated number, a name given
twice or one that cannot be had opens the editor again with the problems on
top; quit the editor with an error (vim: :cq), or leave the text as it was, to
rename nothing. \n, \t, \\ and \xNN stand for a line break, a tab, a backslash
and any byte.

Options:
  --mask MASK           File mask of a folder's entries (default: the
                        settings')
  --natural             Lines by name, numbers by their value (the default)
  --confirm             Ask once before renaming
  -n, --simulate, --dry-run
                        Rename nothing; print "old -> new" for each change
  -v, --verbose         Print each change, then the figures
  --undo                Leave an undo file in every folder touched (default:
                        the settings')
  --log, --log=FILE     Write the log on stderr, or append it to FILE
  --format FORMAT       text (the default), tree or json
  --color[=WHEN]        Changed parts of names in colour: auto, always, never
  --no-natural, --no-confirm, --no-simulate, --no-undo, --no-log
                        Turn that option off
  -h, --help            Print this help
)";

struct THelp {
  std::string_view command;  // "" for the program
  std::string_view head;
  std::string_view jobsAndTail;  // after the job options; empty for a command without them
};

constexpr std::array<THelp, 9> kHelp = {{
    {"", kProgram, {}},
    {"run", kRunHead, kRunTail},
    {"test", kTestHead, kTestTail},
    {"make-jobs", kMakeJobsHead, kMakeJobsTail},
    {"describe", kDescribe, {}},
    {"regex", kRegex, {}},
    {"undo", kUndo, {}},
    {"apply", kApply, {}},
    {"edit", kEdit, {}},
}};

}  // namespace

std::string HelpText(std::string_view command) {
  for (const THelp& help : kHelp) {
    if (help.command != command) continue;
    std::string text(help.head);
    if (!help.jobsAndTail.empty()) text.append(kJobOptions).append(help.jobsAndTail);
    return text;
  }
  return {};
}

}  // namespace qx::cli
