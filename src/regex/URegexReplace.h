// SPDX-License-Identifier: GPL-3.0-or-later
// The regular-expression replacement that replace jobs and the replace dialog's
// tester use: every match of `expression` in `input` replaced by the substituted
// `tmpl`. Never throws: an engine error becomes the result text.
#pragma once

#include <optional>
#include <string>

namespace qx {

std::string RegexReplace(const std::string& input, const std::string& expression, const std::string& tmpl);

// The same replacement for callers that must tell a result from an engine error: a
// rename run never uses an error text as a name. Nothing when the engine raised an
// error; `error` then receives its text.
std::optional<std::string> TryRegexReplace(const std::string& input, const std::string& expression,
                                           const std::string& tmpl, std::string& error);

// The engine's error for an expression that cannot be used (it does not compile, or it
// is empty), or nothing when it is fine. Checked before a run starts.
std::optional<std::string> RegexExpressionError(const std::string& expression);

}  // namespace qx
