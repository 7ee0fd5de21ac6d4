// SPDX-License-Identifier: GPL-3.0-or-later
#include "jobs/UTJob.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/UValueText.h"

namespace qx {

namespace {

constexpr std::array<const char*, 11> kKindNames = {"jobNone",   "jobLower",    "jobUpper",   "jobNormal",
                                                    "jobInsert", "jobRemove",   "jobReplace", "jobCounter",
                                                    "jobDate",   "jobSimplify", "jobShift"};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The place phrase of the position kinds: " after the 3rd character", ...
std::string PlaceText(std::int32_t modifier, std::int32_t position, const std::string& search) {
  switch (modifier) {
    case posBeginning: return " at the beginning";
    case posEnd: return " at the end";
    case posAfterCharacters: return " after the " + OrdinalText(position) + " character";
    case posBeforeText: return " before string " + Quoted(search);
    default: return " after string " + Quoted(search);
  }
}

// The parts of a name a case or simplify job reaches, by TCaseTarget.
constexpr std::array<const char*, 3> kTargets = {"all characters", "filename", "extension"};

std::string SimplifyDescription(const TJob& job) {
  if (job.modifier < caseWholeName || job.modifier > caseExtension) return "";
  const std::string target = kTargets[static_cast<std::size_t>(job.modifier)];
  switch (job.int1) {
    case simplifyCompose: return "Compose " + target + " (NFC)";
    case simplifyDecompose: return "Decompose " + target + " (NFD)";
    case simplifyMarks: return "Remove accents and marks from " + target;
    case simplifyAscii: return "Convert " + target + " to ASCII";
    default: return "";
  }
}

std::string ShiftDescription(const TJob& job) {
  static constexpr std::array<const char*, 3> kWhich = {"the first number", "the last number", "every number"};
  if (job.modifier < shiftFirst || job.modifier > shiftEvery) return "";
  const std::string which = kWhich[static_cast<std::size_t>(job.modifier)];
  const std::int64_t amount = job.int1;
  const std::string text = amount < 0 ? "Subtract " + std::to_string(-amount) + " from " + which
                                      : "Add " + std::to_string(amount) + " to " + which;
  return job.int2 == 1 ? text + ", below zero allowed" : text;
}

// The A-Z rule keeps the words it always had; the other says it reaches every alphabet.
std::string CaseDescription(const char* verb, const char* rule, const TJob& job) {
  static constexpr std::array<const char*, 3> kNormalTargets = {"all characters", "filename only", "extension only"};
  if (job.modifier < caseWholeName || job.modifier > caseExtension) return "";
  const auto target = static_cast<std::size_t>(job.modifier);
  const std::string text = rule == nullptr ? std::string("Normalize case of ") + kNormalTargets[target]
                                           : std::string(verb) + " " + kTargets[target] + " to " + rule + " case";
  return job.int1 == caseEveryAlphabet ? text + " in every alphabet" : text;
}

}  // namespace

TJob NewJob(TJobKind kind) {
  TJob job(kind);
  if (IsCaseKind(kind)) job.int1 = caseEveryAlphabet;
  if (kind == TJobKind::jobDate) {
    job.int1 = dateTaken;
    job.str2 = kDefaultDateFormat;
  }
  return job;
}

const char* JobKindName(TJobKind kind) {
  const auto code = static_cast<std::size_t>(kind);
  return code < kKindNames.size() ? kKindNames[code] : kKindNames[0];
}

TJobKind JobKindFromName(std::string_view name) {
  for (std::size_t code = 0; code < kKindNames.size(); ++code) {
    if (EqualIgnoringAsciiCase(name, kKindNames[code])) return static_cast<TJobKind>(code);
  }
  return TJobKind::jobNone;
}

std::string OrdinalText(std::int32_t n) {
  const char* suffix = "th";
  switch (n % 10) {
    case 1:
    case -1: suffix = "st"; break;
    case 2:
    case -2: suffix = "nd"; break;
    case 3:
    case -3: suffix = "rd"; break;
    default: break;
  }
  return std::to_string(n) + suffix;
}

std::string CountText(std::int32_t n, std::string_view noun) {
  return std::to_string(n) + " " + std::string(noun) + (n == 1 ? "" : "s");
}

std::string JobDescription(const TJob& job) {
  const bool positional = job.modifier >= posBeginning && job.modifier <= posAfterText;
  switch (job.type) {
    case TJobKind::jobNone: return "<none>";
    case TJobKind::jobLower: return CaseDescription("Convert", "lower", job);
    case TJobKind::jobUpper: return CaseDescription("Convert", "upper", job);
    case TJobKind::jobNormal: return CaseDescription(nullptr, nullptr, job);
    case TJobKind::jobInsert: {
      if (!positional) return "";
      const std::string what = Quoted(job.str1);
      if (job.modifier == posEnd) return "Append " + what + " at the end";
      return "Insert " + what + PlaceText(job.modifier, job.int1, job.str2);
    }
    case TJobKind::jobRemove:
      if (!positional) return "";
      if (job.modifier == posBeginning || job.modifier == posEnd) {
        return "Remove " + CountText(job.int1, "character") +
               (job.modifier == posBeginning ? " from the beginning" : " from the end");
      }
      return "Remove " + CountText(job.int1, "character") + PlaceText(job.modifier, job.int2, job.str1);
    case TJobKind::jobCounter:
      if (!positional) return "";
      return "Add a counter of " + CountText(job.int1, "character") + PlaceText(job.modifier, job.int2, job.str1);
    case TJobKind::jobDate: {
      if (!positional || (job.int1 != dateModified && job.int1 != dateTaken)) return "";
      const char* which = job.int1 == dateTaken ? "the date taken" : "the modification date";
      return std::string("Insert ") + which + " (" + job.str2 + ")" + PlaceText(job.modifier, job.int2, job.str1);
    }
    case TJobKind::jobReplace: {
      std::string text;
      if (job.modifier == replacePlain) text = "Replace " + Quoted(job.str1) + " with " + Quoted(job.str2);
      if (job.modifier == replaceRegex) text = "Replace regex " + Quoted(job.str1) + " with " + Quoted(job.str2);
      return text + (job.int1 == 1 ? " (match case)" : " (ignore case)");
    }
    case TJobKind::jobSimplify: return SimplifyDescription(job);
    case TJobKind::jobShift: return ShiftDescription(job);
  }
  return "";
}

void TJobList::AddNew(TJob job) {
  job.enabled = true;
  m_jobs.push_back(std::move(job));
}

void TJobList::AddLoaded(TJob job) { m_jobs.push_back(std::move(job)); }

void TJobList::Delete(std::size_t index) {
  if (index < m_jobs.size()) m_jobs.erase(m_jobs.begin() + static_cast<std::ptrdiff_t>(index));
}

bool TJobList::MoveUp(std::size_t index) {
  if (index == 0 || index >= m_jobs.size()) return false;
  std::swap(m_jobs[index - 1], m_jobs[index]);
  return true;
}

bool TJobList::MoveDown(std::size_t index) {
  if (index + 1 >= m_jobs.size()) return false;
  std::swap(m_jobs[index], m_jobs[index + 1]);
  return true;
}

void TJobList::ReplaceAll(std::vector<TJob> jobs) { m_jobs = std::move(jobs); }

bool TJobList::AnyEnabled() const {
  return std::any_of(m_jobs.begin(), m_jobs.end(), [](const TJob& job) { return job.enabled; });
}

}  // namespace qx
