// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/UCliJobOptions.h"

#include <algorithm>
#include <array>

#include "platform/UValueText.h"
#include "regex/URegexReplace.h"

namespace qx::cli {

namespace {

constexpr std::array kJobOptionRules = {
    TOptionRule{"--lower", TValues::attached},    TOptionRule{"--upper", TValues::attached},
    TOptionRule{"--normal", TValues::attached},   TOptionRule{"--insert", TValues::one},
    TOptionRule{"--remove", TValues::one},        TOptionRule{"--counter", TValues::one},
    TOptionRule{"--date", TValues::one},          TOptionRule{"--replace", TValues::two},
    TOptionRule{"--regex", TValues::two},         TOptionRule{"--at", TValues::one},
    TOptionRule{"--match-case", TValues::none},   TOptionRule{"--taken", TValues::none},
    TOptionRule{"--simplify", TValues::attached}, TOptionRule{"--shift", TValues::attached},
};

// The job dialogs' number fields take 1 to 65535.
std::int32_t Count(std::string_view option, const std::string& text, std::string_view what) {
  const auto value = ParseInteger(text);
  if (!value || *value < 1 || *value > 65535) {
    throw TUsageError(std::string(option) + ": " + std::string(what) +
                      " must be a whole number from 1 to 65535, not \"" + text + "\"");
  }
  return static_cast<std::int32_t>(*value);
}

std::int32_t CaseTarget(std::string_view option, const std::string& part) {
  if (part == "all") return caseWholeName;
  if (part == "name") return caseNamePart;
  if (part == "ext") return caseExtension;
  throw TUsageError(std::string(option) + "=" + part + ": the part is all, name or ext");
}

std::int32_t CaseTarget(const TGivenOption& option) {
  return CaseTarget(option.name, option.values.empty() ? "all" : option.values[0]);
}

// --shift=N[:first|last|all] into the job's amount and the numbers it reaches.
void Shift(const TGivenOption& option, TJob& job) {
  const std::string value = option.values.empty() ? "" : option.values[0];
  const std::size_t colon = value.find(':');
  const auto amount = ParseInteger(value.substr(0, colon));
  if (!amount || *amount < -999'999'999 || *amount > 999'999'999) {
    throw TUsageError(std::string(option.name) + "=" + value +
                      ": N is a whole number from -999999999 to 999999999, then :first, :last or :all");
  }
  job.int1 = static_cast<std::int32_t>(*amount);
  const std::string which = colon == std::string::npos ? "first" : value.substr(colon + 1);
  static constexpr std::array<std::pair<std::string_view, TShiftWhich>, 3> kWhich = {
      {{"first", shiftFirst}, {"last", shiftLast}, {"all", shiftEvery}}};
  const auto found =
      std::find_if(kWhich.begin(), kWhich.end(), [&](const auto& known) { return known.first == which; });
  if (found == kWhich.end())
    throw TUsageError(std::string(option.name) + "=" + value + ": the numbers are first, last or all");
  job.modifier = found->second;
}

// --simplify=HOW[:PART] into the job's mode and part.
void Simplification(const TGivenOption& option, TJob& job) {
  static constexpr std::array<std::pair<std::string_view, TSimplifyMode>, 4> kModes = {
      {{"nfc", simplifyCompose}, {"nfd", simplifyDecompose}, {"accents", simplifyMarks}, {"ascii", simplifyAscii}}};
  const std::string value = option.values.empty() ? "" : option.values[0];
  const std::size_t colon = value.find(':');
  const std::string how = value.substr(0, colon);
  const auto mode = std::find_if(kModes.begin(), kModes.end(), [&](const auto& known) { return known.first == how; });
  if (mode == kModes.end()) {
    throw TUsageError(std::string(option.name) + "=" + value + ": HOW is nfc, nfd, accents or ascii");
  }
  job.int1 = mode->second;
  job.modifier = colon == std::string::npos ? caseWholeName : CaseTarget(option.name, value.substr(colon + 1));
}

// --at WHERE into the job's position fields: where insert keeps them, or where remove,
// counter and date do.
void Place(TJob& job, const std::string& where) {
  std::int32_t& count = job.type == TJobKind::jobInsert ? job.int1 : job.int2;
  std::string& search = job.type == TJobKind::jobInsert ? job.str2 : job.str1;
  if (where == "start") {
    job.modifier = posBeginning;
  } else if (where == "end") {
    job.modifier = posEnd;
  } else if (where.starts_with("before:")) {
    job.modifier = posBeforeText;
    search = where.substr(7);
  } else if (where.starts_with("after:")) {
    job.modifier = posAfterText;
    search = where.substr(6);
  } else if (!where.empty() && where.find_first_not_of("0123456789") == std::string::npos) {
    job.modifier = posAfterCharacters;
    count = Count("--at", where, "N");
  } else {
    throw TUsageError("--at " + where + ": WHERE is start, end, a number N, before:STRING or after:STRING");
  }
}

TJob MakeJob(const TGivenOption& option) {
  const std::string_view name = option.name;
  const auto value = [&](std::size_t i) { return option.values.at(i); };
  TJob job;
  if (name == "--lower" || name == "--upper" || name == "--normal") {
    job = NewJob(name == "--lower" ? TJobKind::jobLower : name == "--upper" ? TJobKind::jobUpper : TJobKind::jobNormal);
    job.modifier = CaseTarget(option);
  } else if (name == "--shift") {
    job = NewJob(TJobKind::jobShift);
    Shift(option, job);
  } else if (name == "--simplify") {
    job = NewJob(TJobKind::jobSimplify);
    Simplification(option, job);
  } else if (name == "--insert") {
    job.type = TJobKind::jobInsert;
    job.str1 = value(0);
  } else if (name == "--remove") {
    job.type = TJobKind::jobRemove;
    job.int1 = Count(name, value(0), "COUNT");
  } else if (name == "--counter") {
    job.type = TJobKind::jobCounter;
    job.int1 = Count(name, value(0), "WIDTH");
  } else if (name == "--date") {
    job.type = TJobKind::jobDate;
    job.int1 = dateModified;
    job.str2 = value(0);
    if (job.str2.empty()) throw TUsageError("--date needs a FORMAT, such as yyyy-mm-dd");
  } else {
    job.type = TJobKind::jobReplace;
    job.modifier = name == "--regex" ? replaceRegex : replacePlain;
    job.str1 = value(0);
    job.str2 = value(1);
    if (job.modifier == replaceRegex) {
      if (const auto error = RegexExpressionError(job.str1)) throw TUsageError("--regex " + job.str1 + ": " + *error);
    }
  }
  job.enabled = true;
  return job;
}

// Whether `qualifier` fits `job`; --at: a job that is placed, --match-case: a plain
// replace, --taken: a date.
bool Fits(std::string_view qualifier, const TJob& job) {
  if (qualifier == "--at") {
    return job.type == TJobKind::jobInsert || job.type == TJobKind::jobRemove || job.type == TJobKind::jobCounter ||
           job.type == TJobKind::jobDate;
  }
  if (qualifier == "--match-case") return job.type == TJobKind::jobReplace && job.modifier == replacePlain;
  return job.type == TJobKind::jobDate;
}

}  // namespace

std::span<const TOptionRule> JobOptionRules() { return kJobOptionRules; }

std::vector<TJob> JobsFromOptions(std::span<const TGivenOption> options) {
  static constexpr std::array<std::string_view, 3> kQualifiers = {"--at", "--match-case", "--taken"};
  const auto isJobOption = [](std::string_view name) {
    return std::find_if(kJobOptionRules.begin(), kJobOptionRules.end(),
                        [&](const TOptionRule& rule) { return rule.name == name; }) != kJobOptionRules.end();
  };
  std::vector<TJob> jobs;
  // The job the next qualifier may belong to: the one just given, until another option.
  TJob* open = nullptr;
  std::vector<std::string_view> qualified;  // the qualifiers the open job has had
  for (const TGivenOption& option : options) {
    const bool qualifier = std::find(kQualifiers.begin(), kQualifiers.end(), option.name) != kQualifiers.end();
    if (!qualifier) {
      open = nullptr;
      if (!isJobOption(option.name)) continue;
      jobs.push_back(MakeJob(option));
      open = &jobs.back();
      qualified.clear();
      continue;
    }
    if (!open || !Fits(option.name, *open) ||
        std::find(qualified.begin(), qualified.end(), option.name) != qualified.end()) {
      const std::string_view fits = option.name == "--at"           ? "--insert, --remove, --counter or --date"
                                    : option.name == "--match-case" ? "--replace FIND WITH"
                                                                    : "--date FORMAT";
      throw TUsageError(std::string(option.name) + " belongs right after " + std::string(fits));
    }
    qualified.push_back(option.name);
    if (option.name == "--at") Place(*open, option.values[0]);
    if (option.name == "--match-case") open->int1 = 1;
    if (option.name == "--taken") open->int1 = dateTaken;
  }
  return jobs;
}

}  // namespace qx::cli
