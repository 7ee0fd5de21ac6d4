#include "regex/URegexReplace.h"

namespace qx {

// Placeholder until the engine lands: names pass through unchanged.
std::string RegexReplace(const std::string& input, const std::string&, const std::string&) { return input; }

}  // namespace qx
