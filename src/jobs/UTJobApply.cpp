// SPDX-License-Identifier: GPL-3.0-or-later
// Applying jobs to a name. The work is done on code points, so positions and counts
// are characters and a byte that is not valid UTF-8 travels through as one character.
#include <algorithm>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "jobs/UTJob.h"
#include "platform/UUnicode.h"
#include "platform/UUtf8.h"
#include "regex/URegexReplace.h"

namespace qx {

namespace {

using TChars = std::u32string;
constexpr std::size_t kNotFound = TChars::npos;

bool IsSeparator(char32_t c) { return c == U' ' || c == U'-' || c == U'.'; }
char32_t ToLowerAscii(char32_t c) { return (c >= U'A' && c <= U'Z') ? c + 32 : c; }
char32_t ToUpperAscii(char32_t c) { return (c >= U'a' && c <= U'z') ? c - 32 : c; }

void LowerInPlace(TChars& text) { std::transform(text.begin(), text.end(), text.begin(), ToLowerAscii); }
void UpperInPlace(TChars& text) { std::transform(text.begin(), text.end(), text.begin(), ToUpperAscii); }

// Lower-case everything, then capitalise the first character and every character that
// follows a separator and starts a word of two or more characters.
void NormaliseWith(TChars& text, void (*lower)(TChars&), TChars (*title)(char32_t)) {
  lower(text);
  if (text.empty()) return;
  // The first and last characters are not examined: a one-letter word stays lower.
  // Title case can make a character two (ß -> Ss); the word starts are found first.
  std::vector<std::size_t> starts{0};
  for (std::size_t i = 1; i + 1 < text.size(); ++i) {
    if (!IsSeparator(text[i]) && IsSeparator(text[i - 1]) && !IsSeparator(text[i + 1])) starts.push_back(i);
  }
  for (auto start = starts.rbegin(); start != starts.rend(); ++start) text.replace(*start, 1, title(text[*start]));
}

TChars TitleAscii(char32_t c) { return TChars(1, ToUpperAscii(c)); }
void NormaliseInPlace(TChars& text) { NormaliseWith(text, LowerInPlace, TitleAscii); }

void LowerFull(TChars& text) {
  // Unicode counts a full stop as inside a word, which would keep the sigma of "ΟΔΟΣ.TXT"
  // from lowering as a word's last letter (ς); in a name it ends one.
  TChars lowered;
  for (std::size_t start = 0;;) {
    const std::size_t dot = text.find(U'.', start);
    lowered += unicode::ToLowerFull(std::u32string_view(text).substr(start, dot - start));
    if (dot == kNotFound) break;
    lowered += U'.';
    start = dot + 1;
  }
  text = std::move(lowered);
}
void UpperFull(TChars& text) { text = unicode::ToUpperFull(text); }
void NormaliseFull(TChars& text) { NormaliseWith(text, LowerFull, unicode::ToTitleFull); }

// Index of the extension's full stop, or text.size() when there is no extension.
std::size_t ExtensionStart(const TChars& text) {
  const std::size_t dot = text.rfind(U'.');
  if (dot == kNotFound) return text.size();
  const bool pathAfter = text.find_first_of(U"\\:/", dot) != kNotFound;
  return pathAfter ? text.size() : dot;
}

// The leftmost occurrence of a non-empty `what`; an empty search string never matches.
std::size_t FindFirst(const TChars& text, const TChars& what) { return what.empty() ? kNotFound : text.find(what); }

std::size_t FindIgnoringCase(const TChars& text, const TChars& what, std::size_t from) {
  const auto hit = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), what.begin(), what.end(),
                               unicode::EqualIgnoringCase);
  return hit == text.end() ? kNotFound : static_cast<std::size_t>(hit - text.begin());
}

// Clamps a signed character count to [0, limit].
std::size_t Clamp(std::int32_t count, std::size_t limit) {
  return count <= 0 ? 0 : std::min(static_cast<std::size_t>(count), limit);
}

// `rule` over the whole name, its name part or its extension (a TCaseTarget).
template <typename Rule>
void ApplyToTarget(std::int32_t target, TChars& name, Rule rule) {
  if (target == caseWholeName) {
    rule(name);
    return;
  }
  if (target != caseNamePart && target != caseExtension) return;
  const bool namePart = target == caseNamePart;
  const std::size_t split = ExtensionStart(name);
  TChars part = namePart ? name.substr(0, split) : name.substr(split);
  rule(part);
  name.replace(namePart ? 0 : split, namePart ? split : kNotFound, part);
}

void ApplyCase(TJobKind kind, std::int32_t modifier, std::int32_t letters, TChars& name) {
  const bool everyAlphabet = letters == caseEveryAlphabet;
  void (*rule)(TChars&) = kind == TJobKind::jobLower   ? (everyAlphabet ? LowerFull : LowerInPlace)
                          : kind == TJobKind::jobUpper ? (everyAlphabet ? UpperFull : UpperInPlace)
                                                       : (everyAlphabet ? NormaliseFull : NormaliseInPlace);
  ApplyToTarget(modifier, name, rule);
}

// A mode no simplification knows leaves the name alone.
void Simplify(const TJob& job, TChars& name) {
  if (job.int1 < simplifyCompose || job.int1 > simplifyAscii) return;
  const auto how = static_cast<unicode::TSimplification>(job.int1);
  ApplyToTarget(job.modifier, name, [how](TChars& part) { part = unicode::Simplified(part, how); });
}

// Inserts `what` at the place the position kinds share (a TPosition; `after` counts
// characters for posAfterCharacters).
void InsertAt(TChars& name, const TChars& what, std::int32_t modifier, std::int32_t after, const TChars& search) {
  std::size_t at = kNotFound;
  switch (modifier) {
    case posBeginning: at = 0; break;
    case posEnd: at = name.size(); break;
    case posAfterCharacters: at = Clamp(after, name.size()); break;
    case posBeforeText: at = FindFirst(name, search); break;
    case posAfterText:
      at = FindFirst(name, search);
      if (at != kNotFound) at += search.size();
      break;
    default: break;
  }
  if (at != kNotFound) name.insert(at, what);
}

void Remove(TChars& name, const TJob& job) {
  if (job.int1 <= 0) return;
  const std::size_t count = static_cast<std::size_t>(job.int1);
  switch (job.modifier) {
    case posBeginning: name.erase(0, std::min(count, name.size())); break;
    case posEnd: name.erase(name.size() - std::min(count, name.size())); break;
    case posAfterCharacters:
      if (job.int2 >= 0 && static_cast<std::size_t>(job.int2) < name.size()) {
        name.erase(static_cast<std::size_t>(job.int2), count);
      }
      break;
    case posBeforeText: {
      const std::size_t at = FindFirst(name, utf8::ToCodePoints(job.str1));
      if (at != kNotFound) name.erase(at - std::min(count, at), std::min(count, at));
      break;
    }
    case posAfterText: {
      const TChars search = utf8::ToCodePoints(job.str1);
      const std::size_t at = FindFirst(name, search);
      if (at != kNotFound) name.erase(at + search.size(), count);
      break;
    }
    default: break;
  }
}

void ReplacePlain(TChars& name, const TJob& job) {
  const TChars what = utf8::ToCodePoints(job.str1);
  if (what.empty()) return;
  const TChars with = utf8::ToCodePoints(job.str2);
  const bool matchCase = job.int1 == 1;
  TChars result;
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = matchCase ? name.find(what, from) : FindIgnoringCase(name, what, from);
    if (at == kNotFound) break;
    result.append(name, from, at - from).append(with);
    from = at + what.size();
  }
  name = result.append(name, from);
}

// The name being worked on, as UTF-8 or as code points: it is converted only when a
// job needs the other form, so a list of regular-expression jobs never converts at all.
class TWorkingName {
 public:
  explicit TWorkingName(std::string_view name) : m_text(name) {}
  TChars& Chars() {
    if (!m_inChars) {
      m_chars = utf8::ToCodePoints(m_text);
      m_inChars = true;
    }
    return m_chars;
  }
  std::string& Text() {
    if (m_inChars) {
      m_text = utf8::FromCodePoints(m_chars);
      m_inChars = false;
    }
    return m_text;
  }

 private:
  std::string m_text;
  TChars m_chars;
  bool m_inChars = false;
};

// With `engineError` given, a failing regular-expression job leaves the name as it was
// and stores the engine's text there instead of making that text the name.
void ApplyRegex(const TJob& job, TWorkingName& name, std::string* engineError) {
  std::string error;
  auto replaced = TryRegexReplace(name.Text(), job.str1, job.str2, error);
  if (replaced) {
    name.Text() = std::move(*replaced);
  } else if (engineError) {
    *engineError = error;
  } else {
    name.Text() = error;
  }
}

// The date a date job inserts: the photo's, else the entry's modification date.
TDateOrReason DateOf(const TJob& job, TEntryDates& dates) {
  if (job.int1 == dateTaken) {
    if (const auto taken = dates.Taken()) return {taken, ""};
  }
  return dates.Modified();
}

// With `failure` given, a date job without a date leaves the name as it was and says
// why there; otherwise the reason becomes the name, as an engine's error does.
void ApplyDate(const TJob& job, TWorkingName& name, std::string* failure, TEntryDates& dates) {
  const TDateOrReason date = DateOf(job, dates);
  if (!date.date) {
    const std::string reason = "no date: " + date.whyNone;
    if (failure) {
      *failure = reason;
    } else {
      name.Text() = reason;
    }
    return;
  }
  InsertAt(name.Chars(), utf8::ToCodePoints(FormatDate(job.str2, *date.date)), job.modifier, job.int2,
           utf8::ToCodePoints(job.str1));
}

// A number as long as this or longer is not shifted: its value would not fit.
constexpr std::size_t kLongestShiftedNumber = 18;

// The runs of ASCII digits of `text` before `end`: where each starts, and how long it is.
std::vector<std::pair<std::size_t, std::size_t>> Numbers(const TChars& text, std::size_t end) {
  std::vector<std::pair<std::size_t, std::size_t>> runs;
  for (std::size_t at = 0; at < end;) {
    if (text[at] < U'0' || text[at] > U'9') {
      ++at;
      continue;
    }
    const std::size_t start = at;
    while (at < end && text[at] >= U'0' && text[at] <= U'9') ++at;
    runs.emplace_back(start, at - start);
  }
  return runs;
}

// The number `digits` plus `amount`, as wide as it was at least (0099 + 1 is 0100); the
// reason it cannot be, when it cannot.
std::optional<std::string> Shifted(const std::string& digits, std::int64_t amount, bool belowZero,
                                   std::string& refusal) {
  if (digits.size() > kLongestShiftedNumber) {
    refusal = "the number " + digits + " is too long to shift";
    return std::nullopt;
  }
  const std::int64_t value = std::stoll(digits) + amount;
  if (value < 0 && !belowZero) {
    refusal = "the number " + digits + (amount < 0 ? " minus " : " plus ") +
              std::to_string(amount < 0 ? -amount : amount) + " would fall below zero";
    return std::nullopt;
  }
  std::string text = std::to_string(value < 0 ? -value : value);
  if (text.size() < digits.size()) text.insert(0, digits.size() - text.size(), '0');
  return value < 0 ? "-" + text : text;
}

// With `failure` given, a number that cannot be shifted leaves the name as it was and
// says why there; otherwise the reason becomes the name, as an engine's error does.
void ShiftNumbers(const TJob& job, TWorkingName& name, std::string* failure) {
  if (job.modifier < shiftFirst || job.modifier > shiftEvery) return;
  TChars shifted = name.Chars();
  // The extension's digits name a format (.mp3, .mp4), not a number of the series.
  auto numbers = Numbers(shifted, ExtensionStart(shifted));
  if (numbers.empty()) return;
  if (job.modifier == shiftFirst) numbers.erase(numbers.begin() + 1, numbers.end());
  if (job.modifier == shiftLast) numbers.erase(numbers.begin(), numbers.end() - 1);
  std::string refusal;
  // From the last, so that the places of the others hold as a number grows or shrinks.
  for (auto number = numbers.rbegin(); number != numbers.rend(); ++number) {
    const std::string digits = utf8::FromCodePoints(shifted.substr(number->first, number->second));
    const auto text = Shifted(digits, job.int1, job.int2 == 1, refusal);
    if (!text) {
      if (failure) {
        *failure = refusal;
      } else {
        name.Text() = refusal;
      }
      return;
    }
    shifted.replace(number->first, number->second, utf8::ToCodePoints(*text));
  }
  name.Chars() = std::move(shifted);
}

void ApplyToName(const TJob& job, TWorkingName& name, std::int32_t& counterValue, std::string* engineError,
                 TEntryDates& dates) {
  switch (job.type) {
    case TJobKind::jobLower:
    case TJobKind::jobUpper:
    case TJobKind::jobNormal: ApplyCase(job.type, job.modifier, job.int1, name.Chars()); break;
    case TJobKind::jobSimplify: Simplify(job, name.Chars()); break;
    case TJobKind::jobShift: ShiftNumbers(job, name, engineError); break;
    case TJobKind::jobInsert:
      if (!job.str1.empty()) {
        InsertAt(name.Chars(), utf8::ToCodePoints(job.str1), job.modifier, job.int1, utf8::ToCodePoints(job.str2));
      }
      break;
    case TJobKind::jobRemove: Remove(name.Chars(), job); break;
    case TJobKind::jobReplace:
      if (job.modifier == replacePlain) ReplacePlain(name.Chars(), job);
      if (job.modifier == replaceRegex) ApplyRegex(job, name, engineError);
      break;
    case TJobKind::jobCounter: {
      const std::string text = CounterText(counterValue, job.int1);
      // Wraps like the 32-bit counter it is instead of overflowing.
      counterValue = static_cast<std::int32_t>(static_cast<std::uint32_t>(counterValue) + 1u);
      InsertAt(name.Chars(), utf8::ToCodePoints(text), job.modifier, job.int2, utf8::ToCodePoints(job.str1));
      break;
    }
    case TJobKind::jobDate:
      // An unknown source leaves the name alone, as an unknown modifier does.
      if (!job.str2.empty() && (job.int1 == dateModified || job.int1 == dateTaken)) {
        ApplyDate(job, name, engineError, dates);
      }
      break;
    case TJobKind::jobNone: break;
  }
}

// The dates given, or now.
class TDatesOrNow {
 public:
  explicit TDatesOrNow(TEntryDates* dates) : m_dates(dates ? *dates : m_now) {}
  TEntryDates& Get() { return m_dates; }

 private:
  TCurrentTime m_now;
  TEntryDates& m_dates;
};

}  // namespace

std::string NormaliseCase(std::string_view text) {
  TChars chars = utf8::ToCodePoints(text);
  NormaliseInPlace(chars);
  return utf8::FromCodePoints(chars);
}

std::string CounterText(std::int32_t value, std::int32_t width) {
  std::string digits = std::to_string(value);
  const std::size_t field = Clamp(width, 255);
  if (digits.size() < field) digits.insert(0, field - digits.size(), '0');
  return digits;
}

TDateOrReason TCurrentTime::Modified() {
  if (!m_now) {
    const auto now = LocalDateTime(std::time(nullptr));
    m_now = {now, now ? "" : "the clock's date lies outside the years 1 to 9999"};
  }
  return *m_now;
}

std::string FormatDate(std::string_view format, const TLocalDateTime& date) {
  struct TField {
    std::string_view token;
    int value;
    int width;
  };
  const TField fields[] = {{"yyyy", date.year, 4}, {"yy", date.year % 100, 2}, {"mm", date.month, 2},
                           {"dd", date.day, 2},    {"hh", date.hour, 2},       {"nn", date.minute, 2},
                           {"ss", date.second, 2}};
  std::string text;
  for (std::size_t at = 0; at < format.size();) {
    const auto field = std::find_if(std::begin(fields), std::end(fields),
                                    [&](const TField& f) { return format.substr(at, f.token.size()) == f.token; });
    if (field == std::end(fields)) {
      text += format[at++];
      continue;
    }
    const std::string digits = std::to_string(field->value < 0 ? -field->value : field->value);
    if (field->value < 0) text += '-';
    const auto width = static_cast<std::size_t>(field->width);
    text.append(digits.size() < width ? width - digits.size() : 0, '0');
    text += digits;
    at += field->token.size();
  }
  return text;
}

std::string ApplyJob(const TJob& job, std::string_view name, std::int32_t& counterValue, TEntryDates* dates) {
  TDatesOrNow given(dates);
  TWorkingName working(name);
  ApplyToName(job, working, counterValue, nullptr, given.Get());
  return std::move(working.Text());
}

std::string ApplyJobList(const TJobList& jobs, std::string_view name, std::int32_t& counterValue, TEntryDates* dates) {
  TDatesOrNow given(dates);
  TWorkingName working(name);
  for (const TJob& job : jobs) {
    if (job.enabled) ApplyToName(job, working, counterValue, nullptr, given.Get());
  }
  return std::move(working.Text());
}

std::optional<std::string> TryApplyJobList(const TJobList& jobs, std::string_view name, std::int32_t& counterValue,
                                           std::string& error, TEntryDates* dates) {
  error.clear();
  TDatesOrNow given(dates);
  TWorkingName working(name);
  for (const TJob& job : jobs) {
    if (job.enabled) ApplyToName(job, working, counterValue, &error, given.Get());
  }
  if (!error.empty()) return std::nullopt;
  return std::move(working.Text());
}

std::optional<std::string> RunStartProblem(const TJobList& jobs) {
  if (!jobs.AnyEnabled()) return "Nothing to do! Create some jobs or enable them first.";
  // An expression that cannot work would turn every name into its error text.
  for (const TJob& job : jobs) {
    if (job.enabled && job.type == TJobKind::jobReplace && job.modifier == replaceRegex) {
      if (auto error = RegexExpressionError(job.str1)) return error;
    }
  }
  return std::nullopt;
}

}  // namespace qx
