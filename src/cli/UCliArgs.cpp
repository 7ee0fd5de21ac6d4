// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/UCliArgs.h"

#include <algorithm>

namespace qx::cli {

namespace {

const TOptionSpec* FindSpec(std::span<const TOptionSpec> specs, std::string_view name) {
  const auto spec = std::find_if(specs.begin(), specs.end(), [&](const TOptionSpec& s) { return s.name == name; });
  return spec == specs.end() ? nullptr : &*spec;
}

}  // namespace

TCommandArgs ReadCommandArgs(std::span<const std::string> args, std::span<const TOptionSpec> specs,
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
    const TOptionSpec* spec = FindSpec(specs, name);
    if (!spec) throw TUsageError("unknown option " + std::string(name));
    TGivenOption given{spec->name, {}};
    if (equals != std::string::npos) {
      if (spec->values == TValues::none) throw TUsageError(std::string(name) + " takes no value");
      given.values.push_back(arg.substr(equals + 1));
    } else if (spec->values == TValues::one || spec->values == TValues::two) {
      given.values.push_back(next(name));
    }
    if (spec->values == TValues::two) given.values.push_back(next(name));
    result.options.push_back(std::move(given));
  }
  result.operands.insert(result.operands.end(), args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
  return result;
}

}  // namespace qx::cli
