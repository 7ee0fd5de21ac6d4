// SPDX-License-Identifier: GPL-3.0-or-later
// The prefilter: runs of characters that every match contains side by side, looked for
// in the input's UTF-8 bytes before it is decoded, so that most inputs that cannot match
// cost one scan. It only rules matches out; it never finds one.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "regex/detail/URegexCharClass.h"

namespace qx::detail {

// One run is a text or a row of places.
struct TRequiredRun {
  // A text: UTF-8 looked for in any input, since a character is encoded alike wherever
  // it stands.
  std::string bytes;
  // Places: what each accepts, looked for only in inputs that are all ASCII, where every
  // byte is a character and the sets are exact.
  std::vector<TCharSet> places;
  // The place that accepts the fewest ASCII characters, where the scan looks first, and
  // its one character when it accepts only one (-1 otherwise).
  std::size_t anchor = 0;
  int anchorByte = -1;
};

class TPrefilter {
 public:
  // Offer runs that every match contains: a text of case-sensitive characters, or a row
  // of places. A few of the most telling are kept, texts before places.
  void OfferText(std::string bytes);
  void OfferPlaces(std::vector<TCharSet> places);

  // False when no match can lie within `bytes`; `ascii`: no byte of the input is 128 or more.
  bool MayMatch(std::string_view bytes, bool ascii) const;

 private:
  void Keep(TRequiredRun run);

  std::vector<TRequiredRun> m_runs;  // texts first: they are found fastest and in any input
};

}  // namespace qx::detail
