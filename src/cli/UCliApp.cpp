// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/UCliApp.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <istream>
#include <map>
#include <optional>
#include <ostream>
#include <utility>

#include "UVersion.h"
#include "cli/UCliRun.h"
#include "cli/UCliSettings.h"
#include "cli/UTerminal.h"
#include "cli/UTerminalText.h"
#include "jobio/UJobIO.h"
#include "jobs/UTJob.h"
#include "platform/UFiles.h"
#include "platform/UProcess.h"
#include "platform/USystemError.h"
#include "platform/UUndoFile.h"
#include "regex/URegexReplace.h"
#include "rename/UEntryDates.h"

namespace qx::cli {

namespace {

// A boolean option with its --no- form; it counts only when the user gave one.
struct TSwitch {
  bool value = false;
  CLI::Option* option = nullptr;
  void ApplyTo(bool& setting) const {
    if (option->count() > 0) setting = value;
  }
};

struct TCommandLine {
  std::string configDir;
  std::string jobsFile;
  std::string file;  // describe's FILE, run's and undo's DIR
  std::optional<std::int32_t> counterStart;
  std::vector<std::string> names;
  std::string expression;
  std::string replacement;
  // run
  std::optional<std::string> mask;
  TSwitch recurse, renameDirs, resetCounter, simulate, undo, confirm;
  std::optional<TSortOrder> sort;
  CLI::App* run = nullptr;
  CLI::Option* log = nullptr;
  CLI::Option* noLog = nullptr;
  std::string logFile;
  // undo
  bool yes = false;
  bool removeAfterErrors = false;
  bool undoRecurse = false;
};

const std::map<std::string, TSortOrder> kSortNames = {
    {"name-asc", TSortOrder::NameAsc},   {"name-desc", TSortOrder::NameDesc}, {"date-asc", TSortOrder::DateAsc},
    {"date-desc", TSortOrder::DateDesc}, {"none", TSortOrder::ListingOrder},
};

// `undo --yes`: Yes to the first question, "undo?"; the later one, "Errors detected!
// Remove ...?", is answered by --remove-after-errors, so by default the undo file stays
// and the pairs that failed can be tried again.
class TUndoAnswers : public TTerminalMessages {
 public:
  TUndoAnswers(std::istream& in, std::ostream& err, bool removeAfterErrors)
      : TTerminalMessages(in, err), m_removeAfterErrors(removeAfterErrors) {}
  bool Confirm(const std::string&) override { return std::exchange(m_first, false) || m_removeAfterErrors; }

 private:
  bool m_first = true;
  bool m_removeAfterErrors;
};

// The job list of a command: the named file, or the default job list, which may not
// exist yet (a first start has none) and then is an empty list.
std::optional<TJobList> LoadJobs(const std::string& named, const std::string& defaultFile,
                                 TTerminalMessages& messages) {
  const std::string path = named.empty() ? defaultFile : named;
  TJobList jobs;
  if (named.empty() && !PathExists(path)) return jobs;
  auto loaded = LoadJobListFromXML(path, messages);
  if (!loaded) {
    messages.ShowMessage(LoadFailureMessage(path));
    return std::nullopt;
  }
  jobs.ReplaceAll(std::move(*loaded));
  return jobs;
}

void AddSwitch(CLI::App* command, TSwitch& flag, const std::string& name, const std::string& help) {
  flag.option = command->add_flag("--" + name + ",!--no-" + name, flag.value, help);
}

void DefineCommands(CLI::App& app, TCommandLine& line) {
  app.require_subcommand(1);
  // A repeated option takes its last value, as scripts and aliases that add to a command
  // line expect. Subcommands copy this default when they are added; switches have it already.
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.set_version_flag("--version", std::string("Quillex ") + kVersionText);
  app.add_option("--config-dir", line.configDir,
                 "Folder of quillex.ini and quillex_job_config.xml (default: the desktop program's)");

  CLI::App* describe = app.add_subcommand("describe", "List the jobs of a job list file, a tick and a line each");
  describe->add_option("FILE", line.file, "Job list file")->required();

  CLI::App* test = app.add_subcommand("test", "Apply the ticked jobs to sample names, as the sample-name test does");
  test->add_option("--jobs", line.jobsFile, "Job list file (default: the default job list)");
  test->add_option("--counter-start", line.counterStart, "Counter value for the first name (default: counterStart)");
  test->add_option("NAME", line.names, "Sample names, each on its own line of output")->required();

  CLI::App* regex = app.add_subcommand("regex", "Replace every match of EXPR in each INPUT by TEMPLATE ($1, ${2}, $&)");
  regex->add_option("EXPR", line.expression, "Regular expression")->required();
  regex->add_option("TEMPLATE", line.replacement, "Replacement template")->required();
  regex->add_option("INPUT", line.names, "Texts to try, each on its own line of output")->required();

  CLI::App* run = line.run =
      app.add_subcommand("run", "Rename the matching files of DIR (and more, as the options say)");
  run->add_option("--jobs", line.jobsFile, "Job list file (default: the default job list)");
  run->add_option("--mask", line.mask, "File mask: * any run, ? one character, *.* every name");
  AddSwitch(run, line.recurse, "recurse", "Recurse into subdirectories");
  AddSwitch(run, line.renameDirs, "rename-dirs", "Rename subdirectories too");
  AddSwitch(run, line.resetCounter, "reset-counter", "Reset counter in every subdir");
  run->add_option("--counter-start", line.counterStart, "Counter start value");
  run->add_option("--sort", line.sort, "Order: name-asc, name-desc, date-asc, date-desc or none")
      ->transform(CLI::CheckedTransformer(kSortNames, CLI::ignore_case));
  AddSwitch(run, line.simulate, "simulate", "Simulation mode: print the predicted tree, rename nothing");
  AddSwitch(run, line.undo, "undo", "Create Undo file in every folder visited");
  AddSwitch(run, line.confirm, "confirm", "Confirm every change (needs a terminal)");
  line.log = run->add_option("--log", line.logFile, "Produce Log: on stderr, or appended to FILE with --log=FILE")
                 ->expected(0, 1);
  line.noLog = run->add_flag("--no-log")->description("No log");
  run->add_option("DIR", line.file, "Starting folder")->required();

  CLI::App* undo = app.add_subcommand("undo", "Undo the renaming recorded in DIR's undo file");
  undo->add_flag("--yes", line.yes, "Answer Yes to the first question (undo?)");
  undo->add_flag("--remove-after-errors", line.removeAfterErrors,
                 "With --yes: remove the undo file even when some renames could not be taken back");
  undo->add_flag("--recurse", line.undoRecurse, "Undo in DIR and all its subfolders, in one step");
  undo->add_option("DIR", line.file, std::string("Folder holding ") + kUndoFileName)->required();
}

// A relative `path` joined to the working directory, so that the tree, the log and the
// messages name the folder in full; "." and empty components are dropped. A ".." goes up
// from the working directory only while it leads: past a name it stays, since that name
// may be a link and "link/.." is the parent of the link's target. Links are never
// resolved, and "" stays "" so that an empty argument never means the working directory.
std::string FullPath(const std::string& path) {
  if (path.empty() || path.front() == '/') return path;
  std::string full;
  try {
    full = CurrentDirectory();
  } catch (const TSystemError&) {
    return path;  // the run then meets the same trouble and reports it
  }
  if (full.back() == '/') full.pop_back();  // the root
  bool leading = true;
  for (std::size_t from = 0; from <= path.size();) {
    const std::size_t slash = std::min(path.find('/', from), path.size());
    const std::string_view part = std::string_view(path).substr(from, slash - from);
    from = slash + 1;
    if (part.empty() || part == ".") continue;
    if (part == ".." && leading) {
      if (!full.empty()) full.erase(full.rfind('/'));  // "/.." is "/"
      continue;
    }
    leading = false;
    full.append(1, '/').append(part);
  }
  return full.empty() ? "/" : full;
}

TRunRequest MakeRunRequest(const TCommandLine& line, const TCliDefaults& defaults) {
  TRunRequest request{defaults.run, ""};
  TRunOptions& options = request.options;
  options.startDirectory = FullPath(line.file);
  if (line.mask) options.fileMask = *line.mask;
  line.recurse.ApplyTo(options.recurseDirs);
  line.renameDirs.ApplyTo(options.renameDirs);
  line.resetCounter.ApplyTo(options.resetCounter);
  line.simulate.ApplyTo(options.simulate);
  line.undo.ApplyTo(options.undo);
  line.confirm.ApplyTo(options.confirm);
  if (line.counterStart) options.counterStart = *line.counterStart;
  if (line.sort) {
    options.sort = *line.sort != TSortOrder::ListingOrder;
    if (options.sort) options.sortOrder = *line.sort;
  }
  // --log and --no-log are two options: the later one given decides.
  const auto& order = line.run->parse_order();
  const auto last = std::find_if(order.rbegin(), order.rend(),
                                 [&](const CLI::Option* option) { return option == line.log || option == line.noLog; });
  if (last != order.rend()) options.log = *last == line.log;
  if (options.log) request.logFile = line.logFile;
  return request;
}

int Describe(const TCommandLine& line, const TCliDefaults& defaults, TTerminalMessages& messages, std::ostream& out) {
  const auto jobs = LoadJobs(line.file, defaults.defaultJobList, messages);
  if (!jobs) return kExitFailure;
  for (const TJob& job : *jobs) {
    out << (job.enabled ? "[x] " : "[ ] ") << ShownOn(out, WithControlPictures(JobDescription(job))) << '\n';
  }
  return kExitOk;
}

int TestNames(const TCommandLine& line, const TCliDefaults& defaults, TTerminalMessages& messages, std::ostream& out) {
  const auto jobs = LoadJobs(line.jobsFile, defaults.defaultJobList, messages);
  if (!jobs) return kExitFailure;
  std::int32_t counterValue = line.counterStart.value_or(defaults.run.counterStart);
  for (const std::string& name : line.names) {
    // A name that is an entry's brings that entry's dates to a date job.
    const auto dates = DatesOfPath(name);
    out << ShownOn(out, ApplyJobList(*jobs, name, counterValue, dates.get())) << '\n';
  }
  return kExitOk;
}

// The replace dialog's tester: an engine error is the tester's output, not a failure.
int TestRegex(const TCommandLine& line, std::ostream& out) {
  for (const std::string& input : line.names)
    out << ShownOn(out, RegexReplace(input, line.expression, line.replacement)) << '\n';
  return kExitOk;
}

int RunCommand(const TCommandLine& line, const TCliDefaults& defaults, TTerminalMessages& messages,
               bool inputIsTerminal, std::ostream& out, std::ostream& err) {
  const TRunRequest request = MakeRunRequest(line, defaults);
  if (request.options.confirm && !request.options.simulate && !inputIsTerminal) {
    err << "quillex-cli: --confirm asks on the terminal, and there is none\n";
    return kExitUsage;
  }
  const auto jobs = LoadJobs(line.jobsFile, defaults.defaultJobList, messages);
  if (!jobs) return kExitFailure;
  return RunRename(*jobs, request, messages, out, err);
}

}  // namespace

int RunQuillexCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
                  const TStreams& streams) {
  MarkTerminal(out, streams.outputIsTerminal);
  MarkTerminal(err, streams.errorIsTerminal);
  CLI::App app("Quillex renames many files at once. This is its command line.", "quillex-cli");
  TCommandLine line;
  DefineCommands(app, line);

  std::vector<const char*> argv{"quillex-cli"};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return kExitOk;
  } catch (const CLI::CallForVersion&) {
    out << app.version() << '\n';
    return kExitOk;
  } catch (const CLI::ParseError& error) {
    err << "quillex-cli: " << ShownOn(err, error.what()) << "\nRun 'quillex-cli --help' for the commands.\n";
    return kExitUsage;
  }

  const TCliDefaults defaults = LoadCliDefaults(line.configDir, err);
  TTerminalMessages messages(in, err);
  if (app.got_subcommand("describe")) return Describe(line, defaults, messages, out);
  if (app.got_subcommand("test")) return TestNames(line, defaults, messages, out);
  if (app.got_subcommand("regex")) return TestRegex(line, out);
  if (app.got_subcommand("run")) return RunCommand(line, defaults, messages, streams.inputIsTerminal, out, err);
  if (app.got_subcommand("undo")) {
    if (line.yes) {
      TUndoAnswers answers(in, err, line.removeAfterErrors);
      return RunUndo(FullPath(line.file), line.undoRecurse, answers);
    }
    return RunUndo(FullPath(line.file), line.undoRecurse, messages);
  }
  // The parser lets no other command through; should that change, nothing is run.
  err << "quillex-cli: no command given\nRun 'quillex-cli --help' for the commands.\n";
  return kExitUsage;
}

}  // namespace qx::cli
