// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a command's arguments: options as the command declares them, in the order
// given, and the operands. Every value is kept byte for byte; nothing is split, trimmed
// or unquoted, so a name like "[2019] Holiday" or "A,B" arrives as it was typed.
#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qx::cli {

// Wrong usage: an unknown option, a missing or bad value, a missing operand. The text
// says what is wrong; the caller adds where to read more.
class TUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// How an option takes its values.
enum class TValues {
  none,      // --recurse
  one,       // --mask MASK or --mask=MASK
  two,       // --replace FIND WITH (the first may also follow "=")
  attached,  // --log or --log=FILE: a value only after "=", never the next argument
};

struct TOptionRule {
  std::string_view name;  // with its dashes: "--mask"
  TValues values;
};

struct TGivenOption {
  std::string_view name;  // as declared
  std::vector<std::string> values;
};

struct TCommandArgs {
  std::vector<TGivenOption> options;  // in the order given
  std::vector<std::string> operands;
  bool help = false;  // -h or --help was given
};

// Reads `args` against `rules`. An option's value is the next argument whatever it looks
// like (so "--counter-start -5" and "--mask -x" work). "--" ends the options; an argument
// starting with "-" before it must be a declared option. With `stopAtOperand`, the first
// operand ends the options too, and it and everything after it are operands (a command
// name and its own arguments). Throws TUsageError.
TCommandArgs ReadCommandArgs(std::span<const std::string> args, std::span<const TOptionRule> rules,
                             bool stopAtOperand = false);

}  // namespace qx::cli
