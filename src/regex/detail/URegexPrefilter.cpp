// SPDX-License-Identifier: GPL-3.0-or-later
#include "regex/detail/URegexPrefilter.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace qx::detail {

namespace {

// A few runs of a few places rule out nearly every input that cannot match, while the
// scans stay short.
constexpr std::size_t kMaxRuns = 4;
constexpr std::size_t kMaxPlaces = 16;
// A run whose rarest place accepts more ASCII characters than this (\w, [^a]) is in
// nearly every input: looking for it would cost more than it saves.
constexpr int kMaxAnchorChoice = 32;

int AsciiCount(const TCharSet& place) { return std::popcount(place.low[0]) + std::popcount(place.low[1]); }

bool PlacesMatchAt(std::string_view bytes, std::size_t start, const TRequiredRun& run) {
  for (std::size_t i = 0; i < run.places.size(); ++i) {
    if (!run.places[i].Contains(static_cast<unsigned char>(bytes[start + i]))) return false;
  }
  return true;
}

bool ContainsPlaces(std::string_view bytes, const TRequiredRun& run) {
  const std::size_t count = run.places.size();
  if (bytes.size() < count) return false;
  const std::size_t last = bytes.size() - count + run.anchor;  // the anchor's last possible place
  const TCharSet& anchor = run.places[run.anchor];
  for (std::size_t at = run.anchor; at <= last; ++at) {
    if (run.anchorByte >= 0) {
      const void* hit = std::memchr(bytes.data() + at, run.anchorByte, last - at + 1);
      if (!hit) return false;
      at = static_cast<std::size_t>(static_cast<const char*>(hit) - bytes.data());
    } else if (!anchor.Contains(static_cast<unsigned char>(bytes[at]))) {
      continue;
    }
    if (PlacesMatchAt(bytes, at - run.anchor, run)) return true;
  }
  return false;
}

}  // namespace

void TPrefilter::OfferText(std::string bytes) { Keep({std::move(bytes), {}}); }

void TPrefilter::OfferPlaces(std::vector<TCharSet> places) {
  places.resize(std::min(places.size(), kMaxPlaces));
  TRequiredRun run{{}, std::move(places)};
  for (std::size_t i = 1; i < run.places.size(); ++i) {
    if (AsciiCount(run.places[i]) < AsciiCount(run.places[run.anchor])) run.anchor = i;
  }
  const TCharSet& anchor = run.places[run.anchor];
  if (AsciiCount(anchor) > kMaxAnchorChoice) return;
  if (AsciiCount(anchor) == 1) {
    run.anchorByte = anchor.low[0] ? std::countr_zero(anchor.low[0]) : 64 + std::countr_zero(anchor.low[1]);
  }
  Keep(std::move(run));
}

void TPrefilter::Keep(TRequiredRun run) {
  auto same = [&run](const TRequiredRun& kept) { return kept.bytes == run.bytes && kept.places == run.places; };
  if (std::any_of(m_runs.begin(), m_runs.end(), same)) return;
  const bool text = !run.bytes.empty();
  auto at = m_runs.end();
  if (text)
    at = std::find_if(m_runs.begin(), m_runs.end(), [](const TRequiredRun& kept) { return kept.bytes.empty(); });
  m_runs.insert(at, std::move(run));
  if (m_runs.size() > kMaxRuns) m_runs.pop_back();
}

bool TPrefilter::MayMatch(std::string_view bytes, bool ascii) const {
  for (const TRequiredRun& run : m_runs) {
    if (!run.bytes.empty()) {
      if (bytes.find(run.bytes) == std::string_view::npos) return false;
    } else if (ascii && !ContainsPlaces(bytes, run)) {
      return false;
    }
  }
  return true;
}

}  // namespace qx::detail
