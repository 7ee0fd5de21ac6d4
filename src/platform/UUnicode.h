// SPDX-License-Identifier: GPL-3.0-or-later
// Unicode simple case mapping of single code points, for ignore-case comparisons.
// The case jobs do not use it: they change only A-Z and a-z.
#pragma once

#include <string>
#include <string_view>

namespace qx::unicode {

char32_t SimpleUpper(char32_t cp);
char32_t SimpleLower(char32_t cp);

// True when the two code points are equal after simple upper-casing.
bool EqualIgnoringCase(char32_t a, char32_t b);

// The text with every character simply upper-cased: two names that differ only in
// letter case fold alike. A byte that is not UTF-8 stays as it is.
std::string FoldCase(std::string_view text);

}  // namespace qx::unicode
