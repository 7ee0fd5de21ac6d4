// SPDX-License-Identifier: GPL-3.0-or-later
// Unicode case mapping: simple mappings of single code points, for ignore-case
// comparisons, and the full mappings of whole texts that the case jobs use.
#pragma once

#include <string>
#include <string_view>

namespace qx::unicode {

char32_t SimpleUpper(char32_t cp);
char32_t SimpleLower(char32_t cp);

// True when the two code points are equal after simple upper-casing.
bool EqualIgnoringCase(char32_t a, char32_t b);

// The text with every character simply upper-cased: two names that differ only in
// letter case fold alike, as vfat, exfat, NTFS and SMB servers compare them (a table of
// one capital per character). A byte that is not UTF-8 stays as it is.
std::string FoldCase(std::string_view text);
// The text decomposed, fully case-folded and decomposed again: two names are one where
// Linux folds case itself (folders with the casefold attribute on ext4, f2fs, tmpfs),
// which also takes ß for ss and a composed é for e and a combining accent. A text that is
// not UTF-8 is its own key, as those folders compare it byte for byte.
std::string FoldCaseCanonically(std::string_view text);

// Unicode's full case mappings, the same in every locale: a character may become several
// (ß -> SS), a Greek capital sigma that ends a word lowers to ς. Characters without case,
// and bytes that are not UTF-8 (held as lone surrogates), stay as they are.
std::u32string ToLowerFull(std::u32string_view text);
std::u32string ToUpperFull(std::u32string_view text);
// The title case of one character: ß -> Ss, ǆ -> ǅ, a -> A.
std::u32string ToTitleFull(char32_t c);

// Ways to write a text's characters more simply. Bytes that are not UTF-8 (held as lone
// surrogates) stay as they are, and split the text: each run between them is simplified
// alone.
enum class TSimplification {
  compose,      // NFC: "e" and a combining accent become "é", as Linux programs expect
  decompose,    // NFD: "é" becomes "e" and a combining accent, as macOS writes names
  removeMarks,  // accents and other marks dropped, letters without one spelled plainly: é -> e, ø -> o, ß -> ss
  ascii,  // written in Latin, then in ASCII: "Ærøskøbing – Été" -> "AEroskobing - Ete", "Москва" -> "Moskva";
          // a slash it would write is a hyphen (½ -> " 1-2")
};
std::u32string Simplified(std::u32string_view text, TSimplification how);

}  // namespace qx::unicode
