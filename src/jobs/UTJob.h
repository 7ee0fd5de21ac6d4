// SPDX-License-Identifier: GPL-3.0-or-later
// Rename jobs: the job record, its one-line description, the job list, and the
// application of jobs to a bare name (never a path). Pure text work apart from the
// counter value that the caller owns and passes in, and the entry's dates, which the
// caller gives when a date job asks for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/UDateTime.h"

namespace qx {

// The codes are what job list files store by name; they never change.
enum class TJobKind : std::uint8_t {
  jobNone = 0,
  jobLower = 1,
  jobUpper = 2,
  jobNormal = 3,
  jobInsert = 4,
  jobRemove = 5,
  jobReplace = 6,
  jobCounter = 7,
  jobDate = 8,
  jobSimplify = 9,
  jobShift = 10,
};

inline bool IsCaseKind(TJobKind kind) {
  return kind == TJobKind::jobLower || kind == TJobKind::jobUpper || kind == TJobKind::jobNormal;
}

// What `modifier` means, by kind. The field stays a plain 32-bit number, as the job
// list file stores it (a value no kind knows is kept and leaves names alone); these
// name its values.
// Case kinds: which part of the name changes.
enum TCaseTarget : std::int32_t { caseWholeName = 0, caseNamePart = 1, caseExtension = 2 };
// Case kinds, in int1: which letters change. Job lists written before every alphabet's
// letters could change hold 0 there, and keep their results.
enum TCaseRule : std::int32_t { caseAsciiLetters = 0, caseEveryAlphabet = 1 };
// Insert, remove and counter: where.
enum TPosition : std::int32_t {
  posBeginning = 0,
  posEnd = 1,
  posAfterCharacters = 2,  // after the position field's count of characters
  posBeforeText = 3,       // before the first occurrence of the search text
  posAfterText = 4,        // after it
};
// Replace: how str1 is found.
enum TReplaceMode : std::int32_t { replacePlain = 0, replaceRegex = 1 };
// Date: which date, in int1.
enum TDateSource : std::int32_t { dateModified = 0, dateTaken = 1 };
// Simplify: how, in int1 (unicode::TSimplification's order).
enum TSimplifyMode : std::int32_t { simplifyCompose = 0, simplifyDecompose = 1, simplifyMarks = 2, simplifyAscii = 3 };
// Shift: which numbers of the name, in modifier.
enum TShiftWhich : std::int32_t { shiftFirst = 0, shiftLast = 1, shiftEvery = 2 };

// One rename operation. Which fields a kind uses:
//   case kinds   modifier a TCaseTarget; int1 a TCaseRule (any value but caseEveryAlphabet: A-Z)
//   jobInsert    str1 text; modifier a TPosition, int1 its count, str2 its search text
//   jobRemove    int1 count; modifier a TPosition, int2 its count, str1 its search text
//   jobCounter   int1 width; positions as jobRemove (int2, str1)
//   jobReplace   modifier a TReplaceMode; str1 -> str2; int1 == 1 match case
//   jobDate      int1 a TDateSource; str2 its format; positions as jobRemove (int2, str1)
//   jobSimplify  modifier a TCaseTarget; int1 a TSimplifyMode
//   jobShift     modifier a TShiftWhich; int1 the amount added (may be negative); int2 == 1
//                lets a number fall below zero
// Unused fields keep whatever they held and are stored as they are.
struct TJob {
  TJobKind type = TJobKind::jobNone;
  std::int32_t modifier = 0;
  std::int32_t int1 = 0;
  std::int32_t int2 = 0;
  std::string str1;
  std::string str2;
  bool enabled = false;

  TJob() = default;
  explicit TJob(TJobKind kind) : type(kind) {}
  bool operator==(const TJob&) const = default;
};

// The default format of a date job.
inline constexpr const char* kDefaultDateFormat = "yyyy-mm-dd";

// A job of `kind` as the user starts one: a case job changing letters of every alphabet,
// a date job with the date taken in the default format, any other kind with its fields
// zero and empty.
TJob NewJob(TJobKind kind);

// "jobNone" .. "jobShift".
const char* JobKindName(TJobKind kind);
// The kind whose name equals `name` ignoring ASCII letter case; jobNone when none does.
TJobKind JobKindFromName(std::string_view name);

// "1st", "2nd", "3rd", "4th"; chosen by the last digit alone, so "11st", "12nd".
std::string OrdinalText(std::int32_t n);
// "1 character", "0 characters", "-1 characters".
std::string CountText(std::int32_t n, std::string_view noun);
// The line the job list shows, e.g. 'Insert "_old" after the 3rd character'.
// An unknown kind/modifier pair gives "".
std::string JobDescription(const TJob& job);

// The ordered job list; it owns its jobs. A job's tick mark is its `enabled` flag:
// there is no second copy of that state to keep in step.
class TJobList {
 public:
  std::size_t Count() const { return m_jobs.size(); }
  bool IsEmpty() const { return m_jobs.empty(); }
  const TJob& operator[](std::size_t index) const { return m_jobs[index]; }
  TJob& operator[](std::size_t index) { return m_jobs[index]; }
  auto begin() const { return m_jobs.begin(); }
  auto end() const { return m_jobs.end(); }
  const std::vector<TJob>& Jobs() const { return m_jobs; }

  // A job the user added: at the end, ticked and enabled.
  void AddNew(TJob job);
  // A job as read from a file: its tick follows its stored flag.
  void AddLoaded(TJob job);
  void Delete(std::size_t index);
  // Exchange with the neighbour; false (and nothing changes) at the ends.
  bool MoveUp(std::size_t index);
  bool MoveDown(std::size_t index);
  // Loading a file replaces the whole list, in file order.
  void ReplaceAll(std::vector<TJob> jobs);
  void Clear() { m_jobs.clear(); }
  // True when at least one job takes part in renaming.
  bool AnyEnabled() const;

 private:
  std::vector<TJob> m_jobs;
};

// Applying jobs to a name.

// The dates of the entry being renamed, asked for only when a ticked date job needs
// them: reading a photo's metadata costs a file read.
class TEntryDates {
 public:
  virtual ~TEntryDates() = default;
  // Its last change; nothing, with the reason, when it cannot be read or told as a date.
  virtual TDateOrReason Modified() = 0;
  // When the photo was taken; nothing when the entry carries no such date, and the
  // date job takes Modified() instead.
  virtual std::optional<TLocalDateTime> Taken() = 0;
};

// A name that is no entry's, such as a typed sample: both dates are now.
class TCurrentTime : public TEntryDates {
 public:
  TDateOrReason Modified() override;
  std::optional<TLocalDateTime> Taken() override { return Modified().date; }

 private:
  std::optional<TDateOrReason> m_now;  // taken once, so every date job of a name agrees
};

// `date` in `format`: yyyy, yy, mm, dd, hh, nn, ss are its fields, zero-padded; every
// other character stands for itself.
std::string FormatDate(std::string_view format, const TLocalDateTime& date);

// The case rules touch only A-Z and a-z; every other character stays as it is.
// Lower-case everything, capitalise the first character and every character that
// follows a blank, hyphen or full stop and starts a word of two or more characters.
std::string NormaliseCase(std::string_view text);

// The counter as text: `value` right-aligned in `width` characters (at most 255),
// every padding blank turned into '0'; -5 in width 4 is "00-5".
std::string CounterText(std::int32_t value, std::int32_t width);

// One job applied to one name; positions and counts are in characters. Never fails:
// an unknown kind or modifier leaves the name as it is, and a job that cannot do its
// work gives the reason as the name (a regular-expression engine's error, a date job's
// "no date: ..."). A counter job reads `counterValue` and then adds 1, whatever else
// happens. A date job takes its date from `dates`, or the current time when there are
// none.
std::string ApplyJob(const TJob& job, std::string_view name, std::int32_t& counterValue, TEntryDates* dates = nullptr);

// The enabled jobs applied in list order, each to the previous result. Disabled
// jobs are skipped entirely, so a disabled counter does not advance the counter.
std::string ApplyJobList(const TJobList& jobs, std::string_view name, std::int32_t& counterValue,
                         TEntryDates* dates = nullptr);

// The same for a rename run, which must never take an error text for a name: nothing
// when a regular-expression job failed on this name or a date job found no date
// (`error` receives the engine's text or why there is no date). The other jobs still
// run, so counters advance as for any name.
std::optional<std::string> TryApplyJobList(const TJobList& jobs, std::string_view name, std::int32_t& counterValue,
                                           std::string& error, TEntryDates* dates = nullptr);

// Why a run of the list cannot start, as the text to show: no ticked job ("Nothing to
// do! ..."), or a ticked regular-expression job whose expression does not compile.
std::optional<std::string> RunStartProblem(const TJobList& jobs);

}  // namespace qx
