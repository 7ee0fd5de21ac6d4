#include "cli/UCliApp.h"

#include <CLI/CLI.hpp>
#include <istream>
#include <optional>
#include <ostream>

#include "cli/UTerminal.h"
#include "jobio/UJobIO.h"
#include "jobs/UTJob.h"
#include "platform/UAppPaths.h"
#include "platform/UFiles.h"
#include "regex/URegexReplace.h"

namespace qx::cli {

namespace {

struct TOptions {
  std::string jobsFile;
  std::string describeFile;
  std::int32_t counterStart = 0;
  std::vector<std::string> names;
  std::string expression;
  std::string replacement;
};

std::string DefaultJobListPath() { return SettingsDir() + kDefaultJobListFileName; }

// The job list of a command: the named file, or the default job list, which
// may not exist yet (a first start has none) and then is an empty list.
std::optional<TJobList> LoadJobs(const std::string& named, TTerminalMessages& messages) {
  const std::string path = named.empty() ? DefaultJobListPath() : named;
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

int Describe(const TOptions& options, TTerminalMessages& messages, std::ostream& out) {
  const auto jobs = LoadJobs(options.describeFile, messages);
  if (!jobs) return kExitFailure;
  for (const TJob& job : *jobs) out << (job.enabled ? "[x] " : "[ ] ") << JobDescription(job) << '\n';
  return kExitOk;
}

int TestNames(const TOptions& options, TTerminalMessages& messages, std::ostream& out) {
  const auto jobs = LoadJobs(options.jobsFile, messages);
  if (!jobs) return kExitFailure;
  std::int32_t counterValue = options.counterStart;
  for (const std::string& name : options.names) out << ApplyJobList(*jobs, name, counterValue) << '\n';
  return kExitOk;
}

// The replace dialog's tester: an engine error is the tester's output, not a failure.
int TestRegex(const TOptions& options, std::ostream& out) {
  for (const std::string& input : options.names) {
    out << RegexReplace(input, options.expression, options.replacement) << '\n';
  }
  return kExitOk;
}

void DefineCommands(CLI::App& app, TOptions& options) {
  app.require_subcommand(1);
  app.set_version_flag("--version", "Quillex v2.07");

  CLI::App* describe = app.add_subcommand("describe", "List the jobs of a job list file, a tick and a line each");
  describe->add_option("FILE", options.describeFile, "Job list file")->required();

  CLI::App* test = app.add_subcommand("test", "Apply the ticked jobs to sample names, as the sample-name test does");
  test->add_option("--jobs", options.jobsFile, "Job list file (default: the default job list)");
  test->add_option("--counter-start", options.counterStart, "Counter value for the first name (default 0)");
  test->add_option("NAME", options.names, "Sample names, each on its own line of output")->required();

  CLI::App* regex = app.add_subcommand("regex", "Replace every match of EXPR in each INPUT by TEMPLATE ($1, ${2}, $&)");
  regex->add_option("EXPR", options.expression, "Regular expression")->required();
  regex->add_option("TEMPLATE", options.replacement, "Replacement template")->required();
  regex->add_option("INPUT", options.names, "Texts to try, each on its own line of output")->required();
}

}  // namespace

int RunQuillexCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
  CLI::App app("Quillex renames many files at once. This is its command line.", "quillex-cli");
  TOptions options;
  DefineCommands(app, options);

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
    err << "quillex-cli: " << error.what() << "\nRun 'quillex-cli --help' for the commands.\n";
    return kExitUsage;
  }

  TTerminalMessages messages(in, err);
  if (app.got_subcommand("describe")) return Describe(options, messages, out);
  if (app.got_subcommand("regex")) return TestRegex(options, out);
  return TestNames(options, messages, out);
}

}  // namespace qx::cli
