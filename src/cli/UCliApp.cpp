// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/UCliApp.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <istream>
#include <iterator>
#include <optional>
#include <ostream>
#include <span>
#include <utility>

#include "UVersion.h"
#include "cli/UCliArgs.h"
#include "cli/UCliHelp.h"
#include "cli/UCliJobOptions.h"
#include "cli/UCliLists.h"
#include "cli/UCliRun.h"
#include "cli/UCliSettings.h"
#include "cli/UTerminal.h"
#include "cli/UTerminalText.h"
#include "jobio/UJobIO.h"
#include "jobs/UTJob.h"
#include "platform/UEditor.h"
#include "platform/UFiles.h"
#include "platform/USystemError.h"
#include "platform/UUndoFile.h"
#include "platform/UValueText.h"
#include "regex/URegexReplace.h"
#include "rename/UEntryDates.h"
#include "settings/UAppSettings.h"

namespace qx::cli {

namespace {

constexpr std::array kProgramOptions = {TOptionRule{"--config-dir", TValues::one},
                                        TOptionRule{"--version", TValues::none}};
constexpr std::array kRunOptions = {
    TOptionRule{"--jobs", TValues::one},
    TOptionRule{"--mask", TValues::one},
    TOptionRule{"--counter-start", TValues::one},
    TOptionRule{"--sort", TValues::one},
    TOptionRule{"--log", TValues::attached},
    TOptionRule{"--no-log", TValues::none},
    TOptionRule{"--format", TValues::one},
    TOptionRule{"--parallel", TValues::one},
    TOptionRule{"--recurse", TValues::none},
    TOptionRule{"--no-recurse", TValues::none},
    TOptionRule{"--rename-dirs", TValues::none},
    TOptionRule{"--no-rename-dirs", TValues::none},
    TOptionRule{"--reset-counter", TValues::none},
    TOptionRule{"--no-reset-counter", TValues::none},
    TOptionRule{"--simulate", TValues::none},
    TOptionRule{"--no-simulate", TValues::none},
    TOptionRule{"--undo", TValues::none},
    TOptionRule{"--no-undo", TValues::none},
    TOptionRule{"--confirm", TValues::none},
    TOptionRule{"--no-confirm", TValues::none},
    TOptionRule{"--one-file-system", TValues::none},
    TOptionRule{"--no-one-file-system", TValues::none},
    TOptionRule{"--natural", TValues::none},
    TOptionRule{"--no-natural", TValues::none},
    TOptionRule{"--from0", TValues::one},
    TOptionRule{"--from", TValues::one},
    TOptionRule{"--taken-suffix", TValues::one},
    TOptionRule{"--no-taken-suffix", TValues::none},
    TOptionRule{"--dry-run", TValues::none},
    TOptionRule{"-n", TValues::none},
    TOptionRule{"--verbose", TValues::none},
    TOptionRule{"-v", TValues::none},
    TOptionRule{"--color", TValues::attached},
};
template <std::size_t A, std::size_t B>
constexpr std::array<TOptionRule, A + B> Joined(const std::array<TOptionRule, A>& a,
                                                const std::array<TOptionRule, B>& b) {
  std::array<TOptionRule, A + B> joined{};
  std::copy(a.begin(), a.end(), joined.begin());
  std::copy(b.begin(), b.end(), joined.begin() + A);
  return joined;
}
// What apply takes of run's options; edit takes the mask and the order of names too.
constexpr std::array kApplyOptions = {
    TOptionRule{"--simulate", TValues::none}, TOptionRule{"--no-simulate", TValues::none},
    TOptionRule{"--dry-run", TValues::none},  TOptionRule{"-n", TValues::none},
    TOptionRule{"--verbose", TValues::none},  TOptionRule{"-v", TValues::none},
    TOptionRule{"--undo", TValues::none},     TOptionRule{"--no-undo", TValues::none},
    TOptionRule{"--confirm", TValues::none},  TOptionRule{"--no-confirm", TValues::none},
    TOptionRule{"--log", TValues::attached},  TOptionRule{"--no-log", TValues::none},
    TOptionRule{"--format", TValues::one},    TOptionRule{"--color", TValues::attached}};
constexpr std::array kEditOptions =
    Joined(kApplyOptions, std::array{TOptionRule{"--mask", TValues::one}, TOptionRule{"--natural", TValues::none},
                                     TOptionRule{"--no-natural", TValues::none}});
constexpr std::array kTestOptions = {TOptionRule{"--jobs", TValues::one}, TOptionRule{"--counter-start", TValues::one}};
constexpr std::array kMakeJobsOptions = {TOptionRule{"--encoding", TValues::one},
                                         TOptionRule{"--force", TValues::none}};
constexpr std::array kUndoOptions = {TOptionRule{"--yes", TValues::none},
                                     TOptionRule{"--remove-after-errors", TValues::none},
                                     TOptionRule{"--recurse", TValues::none}};

// The switches of run, each with its --no- form, and the option it sets.
constexpr std::array<std::pair<std::string_view, bool TRunOptions::*>, 8> kRunSwitches = {{
    {"recurse", &TRunOptions::recurseDirs},
    {"rename-dirs", &TRunOptions::renameDirs},
    {"reset-counter", &TRunOptions::resetCounter},
    {"simulate", &TRunOptions::simulate},
    {"undo", &TRunOptions::undo},
    {"confirm", &TRunOptions::confirm},
    {"one-file-system", &TRunOptions::oneFileSystem},
    {"natural", &TRunOptions::numbersByValue},
}};

constexpr std::array<std::pair<std::string_view, TSortOrder>, 5> kSortNames = {{
    {"name-asc", TSortOrder::NameAsc},
    {"name-desc", TSortOrder::NameDesc},
    {"date-asc", TSortOrder::DateAsc},
    {"date-desc", TSortOrder::DateDesc},
    {"none", TSortOrder::ListingOrder},
}};

constexpr std::array<std::pair<std::string_view, TOutputFormat>, 5> kFormatNames = {{
    {"text", TOutputFormat::text},
    {"tree", TOutputFormat::tree},
    {"json", TOutputFormat::json},
    {"tsv", TOutputFormat::tsv},
    {"csv", TOutputFormat::csv},
}};

constexpr const char* kHowToGiveJobs =
    "Give jobs with --jobs FILE or with job options such as --lower; see 'quillex-cli run --help'.";

// What every command works with.
struct TContext {
  const TCommandArgs& args;
  const TCliDefaults& defaults;
  TTerminalMessages& messages;
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  const TStreams& streams;
};

struct TCommand {
  std::string_view name;
  std::span<const TOptionRule> options;
  bool takesJobs;
  int (*handler)(const TContext&);
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

// The value of the last `name` given, as a repeated option takes its later value, as
// scripts and aliases that add to a command line expect.
std::optional<std::string> LastValue(const TCommandArgs& args, std::string_view name) {
  std::optional<std::string> value;
  for (const TGivenOption& option : args.options) {
    if (option.name == name) value = option.values.empty() ? std::string() : option.values[0];
  }
  return value;
}

bool Given(const TCommandArgs& args, std::string_view name) {
  return std::any_of(args.options.begin(), args.options.end(),
                     [&](const TGivenOption& option) { return option.name == name; });
}

std::optional<std::int32_t> CounterStart(const TCommandArgs& args) {
  const auto text = LastValue(args, "--counter-start");
  if (!text) return std::nullopt;
  const auto value = ParseInteger(*text);
  if (!value || *value < INT32_MIN || *value > INT32_MAX) {
    throw TUsageError("--counter-start: N must be a whole number from -2147483648 to 2147483647, not \"" + *text +
                      "\"");
  }
  return static_cast<std::int32_t>(*value);
}

void ExpectOperands(const TCommandArgs& args, std::size_t least, std::size_t most, std::string_view what) {
  if (args.operands.size() < least) throw TUsageError("missing " + std::string(what));
  if (args.operands.size() > most)
    throw TUsageError("one " + std::string(what) + " only, not also \"" + args.operands[most] + "\"");
}

// The job list of a command: the jobs given as options, the named file, or the default
// job list, which may not exist yet (a first start has none) and then is an empty list.
std::optional<TJobList> LoadJobs(const TContext& context) {
  const std::optional<std::string> named = LastValue(context.args, "--jobs");
  std::vector<TJob> given = JobsFromOptions(context.args.options);
  TJobList jobs;
  if (!given.empty()) {
    if (named) throw TUsageError("give jobs either with --jobs FILE or as job options, not both");
    jobs.ReplaceAll(std::move(given));
    return jobs;
  }
  const std::string path = named ? *named : context.defaults.defaultJobList;
  if (!named && !PathExists(path)) return jobs;
  auto loaded = LoadJobListFromXML(path, context.messages);
  if (!loaded) {
    context.messages.ShowMessage(LoadFailureMessage(path));
    return std::nullopt;
  }
  jobs.ReplaceAll(std::move(*loaded));
  return jobs;
}

void PrintJobs(const std::vector<TJob>& jobs, std::ostream& out) {
  for (const TJob& job : jobs) {
    out << (job.enabled ? "[x] " : "[ ] ") << ShownOn(out, WithControlPictures(JobDescription(job))) << '\n';
  }
}

// The paths a --from0 or --from list holds, read to its end (a pipe from find as well as
// a file), split at NUL bytes or line ends; empty ones are passed over. Throws
// TSystemError.
std::vector<std::string> ReadPathList(const TContext& context, const std::string& source, char separator) {
  std::string text;
  if (source == "-") {
    text.assign(std::istreambuf_iterator<char>(context.in), {});
  } else {
    text = ReadToEnd(source);
  }
  std::vector<std::string> paths;
  for (std::size_t from = 0; from < text.size();) {
    const std::size_t end = std::min(text.find(separator, from), text.size());
    if (end > from) paths.push_back(text.substr(from, end - from));
    from = end + 1;
  }
  return paths;
}

// Where a run goes: one folder it walks, or the entries it is given (several paths, a
// file, or lists from --from0 and --from). Throws TUsageError and TSystemError.
void SetRunPlace(const TContext& context, TRunOptions& options) {
  std::vector<std::string> paths = context.args.operands;
  bool listed = false;
  for (const TGivenOption& option : context.args.options) {
    if (option.name != "--from0" && option.name != "--from") continue;
    listed = true;
    for (std::string& path : ReadPathList(context, option.values[0], option.name == "--from0" ? '\0' : '\n')) {
      paths.push_back(std::move(path));
    }
  }
  if (paths.empty() && !listed) throw TUsageError("missing folder DIR or entries PATH...");
  // A single name that is no file stays a folder to walk, and a mistyped one is reported
  // as a folder that cannot be entered.
  if (!listed && paths.size() == 1 && !IsNonDirectory(paths[0])) {
    options.startDirectory = AbsolutePath(paths[0]);
    return;
  }
  options.given.emplace();
  for (std::string& path : paths) options.given->push_back({std::move(path)});
}

// --taken-suffix's format, checked. Throws TUsageError.
std::string TakenSuffix(const std::string& format) {
  if (const auto problem = TakenSuffixProblem(format)) {
    throw TUsageError("--taken-suffix \"" + format + "\": " + *problem);
  }
  return format;
}

// --color: always, never, or (auto, the default) on a terminal unless NO_COLOR is set
// to anything but "". Throws TUsageError.
bool ShowsColour(const TContext& context) {
  const std::string when = LastValue(context.args, "--color").value_or("auto");
  if (when == "always" || when.empty()) return true;
  if (when == "never") return false;
  if (when != "auto") throw TUsageError("--color=" + when + ": WHEN is auto, always or never");
  const char* noColour = std::getenv("NO_COLOR");
  return ShowsOnTerminal(context.out) && (noColour == nullptr || *noColour == '\0');
}

// One option of run (and of apply and edit) into the request; the last of each wins.
// Throws TUsageError.
void TakeRunOption(const TGivenOption& option, TRunRequest& request) {
  TRunOptions& options = request.options;
  const std::string_view name = option.name;
  for (const auto& [word, field] : kRunSwitches) {
    if (name.substr(2) == word) options.*field = true;
    if (name.starts_with("--no-") && name.substr(5) == word) options.*field = false;
  }
  if (name == "--mask") options.fileMask = option.values[0];
  if (name == "--log") {
    options.log = true;
    request.logFile = option.values.empty() ? "" : option.values[0];
  }
  if (name == "--no-log") options.log = false;
  if (name == "--sort") {
    const auto order = std::find_if(kSortNames.begin(), kSortNames.end(), [&](const auto& sort) {
      return EqualIgnoringAsciiCase(sort.first, option.values[0]);
    });
    if (order == kSortNames.end()) {
      throw TUsageError("--sort " + option.values[0] + ": ORDER is name-asc, name-desc, date-asc, date-desc or none");
    }
    options.sort = order->second != TSortOrder::ListingOrder;
    if (options.sort) options.sortOrder = order->second;
  }
  if (name == "--format") {
    const auto format = std::find_if(kFormatNames.begin(), kFormatNames.end(),
                                     [&](const auto& known) { return known.first == option.values[0]; });
    if (format == kFormatNames.end()) {
      throw TUsageError("--format " + option.values[0] + ": FORMAT is text, tree, json, tsv or csv");
    }
    request.format = format->second;
  }
  if (name == "--taken-suffix") options.takenSuffix = TakenSuffix(option.values[0]);
  if (name == "--no-taken-suffix") options.takenSuffix.clear();
  // The spelling of peers' previews.
  if (name == "--dry-run" || name == "-n") options.simulate = true;
  if (name == "--verbose" || name == "-v") request.verbose = true;
}

// --parallel's folders at once, when given. Throws TUsageError.
std::optional<int> ParallelFolders(const TCommandArgs& args) {
  const auto parallel = LastValue(args, "--parallel");
  if (!parallel) return std::nullopt;
  if (*parallel == "auto") return kAutomaticFolders;
  const auto value = ParseInteger(*parallel);
  if (!value || *value < 1 || *value > kMostFoldersAtOnce) {
    throw TUsageError("--parallel: N must be auto or a whole number from 1 to " + std::to_string(kMostFoldersAtOnce) +
                      ", not \"" + *parallel + "\"");
  }
  return static_cast<int>(*value);
}

TRunRequest MakeRunRequest(const TContext& context) {
  TRunRequest request{context.defaults.run, ""};
  TRunOptions& options = request.options;
  for (const TGivenOption& option : context.args.options) TakeRunOption(option, request);
  if (const auto start = CounterStart(context.args)) options.counterStart = *start;
  if (const auto parallel = ParallelFolders(context.args)) options.parallel = *parallel;
  if (!options.log) request.logFile.clear();
  request.colour = ShowsColour(context);
  const bool list = request.format == TOutputFormat::tsv || request.format == TOutputFormat::csv;
  if (list && !options.simulate) throw TUsageError("--format tsv and csv list what a simulation would rename: add -n");
  return request;
}

int Describe(const TContext& context) {
  ExpectOperands(context.args, 1, 1, "job list FILE");
  auto jobs = LoadJobListFromXML(context.args.operands[0], context.messages);
  if (!jobs) {
    context.messages.ShowMessage(LoadFailureMessage(context.args.operands[0]));
    return kExitFailure;
  }
  PrintJobs(*jobs, context.out);
  return kExitOk;
}

int TestNames(const TContext& context) {
  ExpectOperands(context.args, 1, SIZE_MAX, "NAME");
  const std::optional<std::int32_t> counterStart = CounterStart(context.args);
  const auto jobs = LoadJobs(context);
  if (!jobs) return kExitFailure;
  std::int32_t counterValue = counterStart.value_or(context.defaults.run.counterStart);
  for (const std::string& name : context.args.operands) {
    // A name that is an entry's brings that entry's dates to a date job.
    const auto dates = DatesOfPath(name);
    context.out << ShownOn(context.out, ApplyJobList(*jobs, name, counterValue, dates.get())) << '\n';
  }
  return kExitOk;
}

// The replace dialog's tester: an engine error is the tester's output, not a failure.
int TestRegex(const TContext& context) {
  ExpectOperands(context.args, 3, SIZE_MAX, "EXPR, TEMPLATE and INPUT");
  const std::vector<std::string>& operands = context.args.operands;
  for (std::size_t i = 2; i < operands.size(); ++i)
    context.out << ShownOn(context.out, RegexReplace(operands[i], operands[0], operands[1])) << '\n';
  return kExitOk;
}

// run, once its jobs are loaded.
int RunJobs(const TContext& context, const TRunRequest& request, const TJobList& jobs) {
  if (request.options.confirm && !request.options.simulate && !context.streams.inputIsTerminal) {
    context.err << "quillex-cli: --confirm asks on the terminal, and there is none\n";
    return kExitUsage;
  }
  // No job anywhere: say how to give some, after the desktop program's words.
  if (!jobs.AnyEnabled() && !Given(context.args, "--jobs")) {
    context.messages.ShowMessage(RunStartProblem(jobs).value_or("") + "\n" + kHowToGiveJobs);
    return kExitUsage;
  }
  // Nobody who typed a plain run may believe it renamed anything.
  const bool simulateGiven = Given(context.args, "--simulate") || Given(context.args, "--no-simulate") ||
                             Given(context.args, "--dry-run") || Given(context.args, "-n");
  if (request.options.simulate && !simulateGiven) {
    context.messages.ShowMessage("Simulation mode is on in " + context.defaults.settingsFile +
                                 ": nothing is renamed (--no-simulate renames).");
  }
  return RunRename(jobs, request, context.messages, context.out, context.err);
}

int RunCommand(const TContext& context) {
  TRunRequest request = MakeRunRequest(context);
  try {
    SetRunPlace(context, request.options);
  } catch (const TSystemError& error) {
    context.messages.ShowFailure("Cannot read " + error.Path(), error.Reason());
    return kExitFailure;
  }
  const std::optional<TJobList> jobs = LoadJobs(context);
  return jobs ? RunJobs(context, request, *jobs) : kExitFailure;
}

// Written through the desktop program's Save, which reads the bytes back before it
// replaces anything.
int MakeJobs(const TContext& context) {
  ExpectOperands(context.args, 1, 1, "job list FILE");
  const std::string& file = context.args.operands[0];
  const std::string encoding = LastValue(context.args, "--encoding").value_or("");
  if (const auto problem = encoding.empty() ? std::nullopt : EncodingProblem(encoding)) {
    throw TUsageError("--encoding " + encoding + ": " + *problem);
  }
  const std::vector<TJob> jobs = JobsFromOptions(context.args.options);
  if (jobs.empty()) throw TUsageError("no job options given: nothing to write");
  if (PathExists(file) && !Given(context.args, "--force")) {
    context.messages.ShowMessage(file + " exists already: give --force to replace it.");
    return kExitFailure;
  }
  try {
    SaveJobListToXML(file, jobs, encoding);
  } catch (const TJobListError& error) {
    context.messages.ShowMessage(error.what());
    return kExitFailure;
  } catch (const TSystemError& error) {
    context.messages.ShowFailure("Unable to write to " + file, error.Reason());
    return kExitFailure;
  }
  PrintJobs(jobs, context.out);
  return kExitOk;
}

// Each folder given in turn; the exit status is the worst of theirs.
int Undo(const TContext& context) {
  ExpectOperands(context.args, 1, SIZE_MAX, "folder DIR");
  const bool recurse = Given(context.args, "--recurse");
  int status = kExitOk;
  for (const std::string& folder : context.args.operands) {
    const std::string directory = AbsolutePath(folder);
    int undone = kExitOk;
    if (Given(context.args, "--yes")) {
      TUndoAnswers answers(context.in, context.err, Given(context.args, "--remove-after-errors"));
      undone = RunUndo(directory, recurse, answers);
    } else {
      undone = RunUndo(directory, recurse, context.messages);
    }
    status = std::max(status, undone);
  }
  return status;
}

// apply LIST: old paths and new names from a spreadsheet's list, with undo unless told.
int Apply(const TContext& context) {
  ExpectOperands(context.args, 1, 1, "list FILE");
  TRunRequest request = MakeRunRequest(context);
  if (!Given(context.args, "--no-undo")) request.options.undo = true;
  const std::string& list = context.args.operands[0];
  std::string text;
  try {
    text = list == "-" ? std::string(std::istreambuf_iterator<char>(context.in), {}) : ReadToEnd(list);
  } catch (const TSystemError& error) {
    context.messages.ShowFailure("Cannot read " + error.Path(), error.Reason());
    return kExitFailure;
  }
  return ApplyList(list, text, request, context.messages, context.out, context.err);
}

// edit [PATH...]: the names in the user's editor. Its --confirm asks once, before all.
int Edit(const TContext& context) {
  TRunRequest request = MakeRunRequest(context);
  const bool confirm = request.options.confirm;
  request.options.confirm = false;
  std::vector<std::string> paths = context.args.operands;
  if (paths.empty()) paths.emplace_back(".");
  return EditNames(paths, request, ChosenEditor(), confirm, context.messages, context.out, context.err);
}

constexpr std::array<TCommand, 8> kCommands = {{
    {"describe", {}, false, Describe},
    {"test", kTestOptions, true, TestNames},
    {"regex", {}, false, TestRegex},
    {"run", kRunOptions, true, RunCommand},
    {"make-jobs", kMakeJobsOptions, true, MakeJobs},
    {"undo", kUndoOptions, false, Undo},
    {"apply", kApplyOptions, false, Apply},
    {"edit", kEditOptions, false, Edit},
}};

const TCommand& FindCommand(const std::string& name) {
  for (const TCommand& command : kCommands) {
    if (command.name == name) return command;
  }
  throw TUsageError("unknown command \"" + name + "\"");
}

std::vector<TOptionRule> OptionsOf(const TCommand& command) {
  std::vector<TOptionRule> options(command.options.begin(), command.options.end());
  if (command.takesJobs) options.insert(options.end(), JobOptionRules().begin(), JobOptionRules().end());
  return options;
}

}  // namespace

int RunQuillexCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
                  const TStreams& streams) {
  MarkTerminal(out, streams.outputIsTerminal);
  MarkTerminal(err, streams.errorIsTerminal);
  std::string helpAt = "quillex-cli --help";
  try {
    const TCommandArgs program = ReadCommandArgs(args, kProgramOptions, true);
    if (program.help) {
      out << HelpText("");
      return kExitOk;
    }
    if (Given(program, "--version")) {
      out << "Quillex " << kVersionText << '\n';
      return kExitOk;
    }
    if (program.operands.empty()) throw TUsageError("no command given");
    const TCommand& command = FindCommand(program.operands[0]);
    helpAt = "quillex-cli " + std::string(command.name) + " --help";
    const std::vector<TOptionRule> options = OptionsOf(command);
    const TCommandArgs commandArgs = ReadCommandArgs(std::span(program.operands).subspan(1), options);
    if (commandArgs.help) {
      out << HelpText(command.name);
      return kExitOk;
    }
    const TCliDefaults defaults = LoadCliDefaults(LastValue(program, "--config-dir").value_or(""), err);
    TTerminalMessages messages(in, err);
    return command.handler({commandArgs, defaults, messages, in, out, err, streams});
  } catch (const TUsageError& error) {
    err << "quillex-cli: " << ShownOn(err, error.what()) << "\nRun '" << helpAt << "' for more.\n";
    return kExitUsage;
  }
}

}  // namespace qx::cli
