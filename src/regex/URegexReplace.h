// The regular-expression replacement that replace jobs and the replace dialog's
// tester use: every match of `expression` in `input` replaced by the substituted
// `tmpl`. Never throws: an engine error becomes the result text.
#pragma once

#include <string>

namespace qx {

std::string RegexReplace(const std::string& input, const std::string& expression, const std::string& tmpl);

}  // namespace qx
