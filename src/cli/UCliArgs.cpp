// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/UCliArgs.h"

#include <algorithm>

namespace qx::cli {

namespace {

const TOptionRule* FindRule(std::span<const TOptionRule> rules, std::string_view name) {
  const auto rule = std::find_if(rules.begin(), rules.end(), [&](const TOptionRule& s) { return s.name == name; });
  return rule == rules.end() ? nullptr : &*rule;
}

}  // namespace

TCommandArgs ReadCommandArgs(std::span<const std::string> args, std::span<const TOptionRule> rules,
                             bool stopAtOperand) {
  TCommandArgs result;
  std::size_t i = 0;
  const auto next = [&](std::string_view option) -> std::string {
    if (i >= args.size()) throw TUsageError(std::string(option) + " needs a value");
    return args[i++];
  };
  while (i < args.size()) {
    const std::string& arg = args[i++];
    if (arg == "--") {
      // Before a command, "--" would let a name pass for the command.
      if (stopAtOperand) throw TUsageError("-- comes after the command");
      break;
    }
    if (arg.size() < 2 || arg[0] != '-') {
      result.operands.push_back(arg);
      if (stopAtOperand) break;
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      result.help = true;
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string_view name = std::string_view(arg).substr(0, equals);
    const TOptionRule* rule = FindRule(rules, name);
    if (!rule) throw TUsageError("unknown option " + std::string(name));
    TGivenOption given{rule->name, {}};
    if (equals != std::string::npos) {
      if (rule->values == TValues::none) throw TUsageError(std::string(name) + " takes no value");
      given.values.push_back(arg.substr(equals + 1));
    } else if (rule->values == TValues::one || rule->values == TValues::two) {
      given.values.push_back(next(name));
    }
    if (rule->values == TValues::two) given.values.push_back(next(name));
    result.options.push_back(std::move(given));
  }
  result.operands.insert(result.operands.end(), args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
  return result;
}

}  // namespace qx::cli
