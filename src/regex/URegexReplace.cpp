// SPDX-License-Identifier: GPL-3.0-or-later
#include "regex/URegexReplace.h"

#include <array>
#include <memory>

#include "regex/UTRegexEngine.h"

namespace qx {

namespace {

// A run calls this once per name with the same few expressions, so the compiled
// engines of the latest ones are kept. Every search clears an engine's match state,
// so a kept engine behaves exactly like a fresh one.
constexpr std::size_t kKeptEngines = 4;

TRegexEngine& EngineFor(const std::string& expression) {
  thread_local std::array<std::unique_ptr<TRegexEngine>, kKeptEngines> engines;
  thread_local std::size_t nextVictim = 0;
  for (auto& engine : engines) {
    if (engine && engine->Expression() == expression) return *engine;
  }
  auto& slot = engines[nextVictim];
  nextVictim = (nextVictim + 1) % kKeptEngines;
  slot = std::make_unique<TRegexEngine>();
  slot->SetExpression(expression);
  return *slot;
}

}  // namespace

std::string RegexReplace(const std::string& input, const std::string& expression, const std::string& tmpl) {
  std::string error;
  return TryRegexReplace(input, expression, tmpl, error).value_or(error);
}

std::optional<std::string> TryRegexReplace(const std::string& input, const std::string& expression,
                                           const std::string& tmpl, std::string& error) {
  try {
    // Replace leaves the input as it is when nothing matches.
    return EngineFor(expression).Replace(input, tmpl, true);
  } catch (const std::exception& failure) {
    error = failure.what();
    return std::nullopt;
  }
}

std::optional<std::string> RegexExpressionError(const std::string& expression) {
  std::string error;
  // Any one-character text will do: compiling happens on the first search.
  if (TryRegexReplace("x", expression, "", error)) return std::nullopt;
  return error;
}

}  // namespace qx
