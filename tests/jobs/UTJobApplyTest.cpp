// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "jobs/UTJob.h"
#include "support/UMakeJob.h"

namespace qx {
namespace {

using K = TJobKind;

using test::MakeJob;

// Where the extension starts, through the case jobs that use it: at the last full stop,
// unless a backslash, colon or slash follows it.
TEST(UTJobApplyTest, TheExtensionRunsFromTheLastFullStop) {
  const std::tuple<const char*, const char*, const char*> rows[] = {
      // name, name part upper-cased, extension upper-cased
      {"report.final.doc", "REPORT.FINAL.doc", "report.final.DOC"},
      {"readme", "README", "readme"},
      {".profile", ".profile", ".PROFILE"},
      {"name.", "NAME.", "name."},
      {"old.dir\\file", "OLD.DIR\\FILE", "old.dir\\file"},
      {"c.d:stream", "C.D:STREAM", "c.d:stream"},
      {"old.dir/file", "OLD.DIR/FILE", "old.dir/file"},
      {"", "", ""},
  };
  for (const auto& [text, namePart, extension] : rows) {
    std::int32_t counter = 0;
    EXPECT_EQ(ApplyJob(MakeJob(K::jobUpper, 1), text, counter), namePart) << text;
    EXPECT_EQ(ApplyJob(MakeJob(K::jobUpper, 2), text, counter), extension) << text;
  }
}

TEST(UTJobApplyTest, NormaliseCase) {
  const std::pair<const char*, const char*> rows[] = {
      {"hello world.txt", "Hello World.Txt"},
      {"x-ray film", "X-Ray Film"},
      {"a b c", "A b c"},
      {"photo of me", "Photo Of Me"},
      {"file v", "File v"},
      {"file k2", "File K2"},
      {"MY FILE.TXT", "My File.Txt"},
      {"", ""},
      {"ÉCOLE-école x", "École-école x"},
  };
  for (const auto& [in, out] : rows) EXPECT_EQ(NormaliseCase(in), out) << in;
}

// Unicode's full mappings, the same in every locale; a job list's A-Z rule as it was.
TEST(UTJobApplyTest, CaseInEveryAlphabet) {
  const struct {
    K kind;
    std::int32_t target;
    std::int32_t rule;
    const char* name;
    const char* expected;
  } rows[] = {
      {K::jobLower, caseWholeName, caseEveryAlphabet, "ÉTÉ.JPG", "été.jpg"},
      {K::jobUpper, caseWholeName, caseEveryAlphabet, "ωmega", "ΩMEGA"},
      {K::jobUpper, caseWholeName, caseEveryAlphabet, "straße.txt", "STRASSE.TXT"},           // the name grows
      {K::jobLower, caseWholeName, caseEveryAlphabet, "ΟΔΟΣ ΑΘΗΝΑΣ.JPG", "οδος αθηνας.jpg"},  // final sigma
      {K::jobLower, caseWholeName, caseEveryAlphabet, "ΣΟΦΙΑ", "σοφια"},
      {K::jobLower, caseWholeName, caseEveryAlphabet, "МОСКВА Ёж.TXT", "москва ёж.txt"},
      {K::jobNormal, caseWholeName, caseEveryAlphabet, "élan vital", "Élan Vital"},
      {K::jobNormal, caseWholeName, caseEveryAlphabet, "ǆEMAL ßa", "ǅemal Ssa"},  // title case
      {K::jobNormal, caseNamePart, caseEveryAlphabet, "ΟΔΟΣ-ΑΘΗΝΩΝ.JPG", "Οδος-Αθηνων.JPG"},
      // Turkish: the root locale's mappings, whatever the user's language.
      {K::jobLower, caseWholeName, caseEveryAlphabet, "İZMIR", "i\u0307zmir"},
      {K::jobUpper, caseWholeName, caseEveryAlphabet, "ısparta", "ISPARTA"},
      {K::jobUpper, caseWholeName, caseEveryAlphabet, "e\u0301te\u0301", "E\u0301TE\u0301"},    // combining marks
      {K::jobLower, caseWholeName, caseEveryAlphabet, "CAF\xC9 \xFF.TXT", "caf\xC9 \xFF.txt"},  // not UTF-8
      {K::jobUpper, caseWholeName, caseEveryAlphabet, "emoji \U0001F600 ok", "EMOJI \U0001F600 OK"},
      {K::jobLower, caseExtension, caseEveryAlphabet, "ÉTÉ.ÀÉ", "ÉTÉ.àé"},
      {K::jobLower, caseWholeName, caseAsciiLetters, "ÉTÉ.JPG", "ÉtÉ.jpg"},  // an old job list's rule
      {K::jobUpper, caseWholeName, 7, "straße", "STRAßE"},                   // any other value: A-Z
  };
  for (const auto& row : rows) {
    std::int32_t counter = 0;
    EXPECT_EQ(ApplyJob(MakeJob(row.kind, row.target, row.rule), row.name, counter), row.expected) << row.name;
  }
}

// Each way of simplifying, over a part of the name; bytes that are not UTF-8 stay.
TEST(UTJobApplyTest, SimplifyCharacters) {
  const struct {
    std::int32_t mode;
    std::int32_t target;
    const char* name;
    const char* expected;
  } rows[] = {
      {simplifyCompose, caseWholeName, "e\u0301te\u0301.jpg", "\u00E9t\u00E9.jpg"},
      {simplifyDecompose, caseWholeName, "\u00E9t\u00E9.jpg", "e\u0301te\u0301.jpg"},
      {simplifyMarks, caseWholeName, "Cr\u00E8me br\u00FBl\u00E9e.JPG", "Creme brulee.JPG"},
      {simplifyMarks, caseWholeName, "Stra\u00DFe \u00C6r\u00F8 \u0141\u00F3d\u017A", "Strasse AEro Lodz"},
      {simplifyMarks, caseWholeName, "e\u0301 \u1EC7", "e e"},  // decomposed, and two marks on one letter
      {simplifyAscii, caseWholeName, "\u00C6r\u00F8sk\u00F8bing \u2013 \u00C9t\u00E9.jpg", "AEroskobing - Ete.jpg"},
      {simplifyAscii, caseWholeName, "\u041C\u043E\u0441\u043A\u0432\u0430.JPG", "Moskva.JPG"},
      {simplifyAscii, caseWholeName, "\u0391\u03B8\u03AE\u03BD\u03B1", "Athena"},
      {simplifyAscii, caseWholeName, "\u00BD cup a\u2044b", " 1-2 cup a-b"},  // never a slash
      {simplifyAscii, caseWholeName, "\u041C\u0438\u0440 \u041C\u0438\u0440_\u03A3-\u6771\u4EAC",
       "Mir Mir_S-dong jing"},
      {simplifyMarks, caseNamePart, "\u00E9t\u00E9.\u00E9", "ete.\u00E9"},
      {simplifyAscii, caseExtension, "\u00E9.\u00E9", "\u00E9.e"},
      {simplifyMarks, caseWholeName, "caf\xE9 \u00E9\xFF\u00E8",
       "caf\xE9 e\xFF"
       "e"},                                   // not UTF-8
      {9, caseWholeName, "\u00E9", "\u00E9"},  // a mode no job knows
  };
  for (const auto& row : rows) {
    std::int32_t counter = 0;
    EXPECT_EQ(ApplyJob(MakeJob(K::jobSimplify, row.target, row.mode), row.name, counter), row.expected) << row.name;
  }
}

// Numbers of the name part keep at least their width; one that cannot be shifted fails
// the entry, and the reason stands for the name where no run asks for it.
TEST(UTJobApplyTest, ShiftNumbers) {
  const struct {
    std::int32_t which;
    std::int32_t amount;
    std::int32_t belowZero;
    const char* name;
    const char* expected;  // or the reason
    bool refused;
  } rows[] = {
      {shiftFirst, 1, 0, "IMG_0099.jpg", "IMG_0100.jpg", false},
      {shiftFirst, 1, 0, "9 and 9", "10 and 9", false},
      {shiftLast, 1, 0, "9 and 9", "9 and 10", false},
      {shiftEvery, 100, 0, "a1 b02 c003.mp3", "a101 b102 c103.mp3", false},  // not the extension's 3
      {shiftEvery, -1, 0, "f10 f01", "f09 f00", false},
      {shiftFirst, -15, 0, "a010.txt", "the number 010 minus 15 would fall below zero", true},
      {shiftFirst, -15, 1, "a010.txt", "a-005.txt", false},
      {shiftFirst, 1, 0, "no digits.txt", "no digits.txt", false},
      {shiftFirst, 1, 0, "1234567890123456789", "the number 1234567890123456789 is too long to shift", true},
      {shiftFirst, 1, 0, "\u0661\u0662 3", "\u0661\u0662 4", false},  // digits of another script stay
      {5, 1, 0, "a1", "a1", false},                                   // no choice the job knows
  };
  for (const auto& row : rows) {
    std::int32_t counter = 0;
    const TJob job = MakeJob(K::jobShift, row.which, row.amount, row.belowZero);
    EXPECT_EQ(ApplyJob(job, row.name, counter), row.expected) << row.name;
    TJobList jobs;
    jobs.AddNew(job);
    std::string failure;
    const auto name = TryApplyJobList(jobs, row.name, counter, failure);
    EXPECT_EQ(!name, row.refused) << row.name;
    EXPECT_EQ(failure, row.refused ? row.expected : "") << row.name;
  }
}

TEST(UTJobApplyTest, CounterText) {
  const std::tuple<std::int32_t, std::int32_t, const char*> rows[] = {
      {7, 3, "007"}, {1234, 3, "1234"}, {-5, 4, "00-5"}, {5, 0, "5"}, {5, -3, "5"}, {0, 1, "0"},
  };
  for (const auto& [value, width, text] : rows) EXPECT_EQ(CounterText(value, width), text) << value << "/" << width;
  EXPECT_EQ(CounterText(1, 1000).size(), 255u) << "a width above 255 counts as 255";
}

TEST(UTJobApplyTest, EachKindAndModifier) {
  struct Row {
    const char* what;
    TJob job;
    std::string in;
    std::string out;
  };
  const Row rows[] = {
      {"lower extension", MakeJob(K::jobLower, 2), "Photo.JPG", "Photo.jpg"},
      {"upper name part", MakeJob(K::jobUpper, 1), "Photo.JPG", "PHOTO.JPG"},
      {"normalise all", MakeJob(K::jobNormal, 0), "Photo.JPG", "Photo.Jpg"},
      {"no extension, extension only", MakeJob(K::jobUpper, 2), "readme", "readme"},
      {"no extension, name only", MakeJob(K::jobUpper, 1), "readme", "README"},
      {"hidden, name part empty", MakeJob(K::jobUpper, 1), ".hidden", ".hidden"},
      {"hidden, extension", MakeJob(K::jobUpper, 2), ".hidden", ".HIDDEN"},
      {"accented capital kept", MakeJob(K::jobLower, 0), "ÉCOLE.TXT", "École.txt"},
      {"accented extension", MakeJob(K::jobLower, 2), "Été.JPG", "Été.jpg"},
      {"normalise extension", MakeJob(K::jobNormal, 2), "notes.txt", "notes.Txt"},
      {"normalise short extension", MakeJob(K::jobNormal, 2), "prog.c", "prog.c"},
      {"case, unknown modifier", MakeJob(K::jobLower, 3), "ABC", "ABC"},
      {"insert front", MakeJob(K::jobInsert, 0, 0, 0, "x_"), "abc", "x_abc"},
      {"insert end", MakeJob(K::jobInsert, 1, 0, 0, "_x"), "abc", "abc_x"},
      {"insert after 10 of 3", MakeJob(K::jobInsert, 2, 10, 0, "X"), "abc", "abcX"},
      {"insert after 0", MakeJob(K::jobInsert, 2, 0, 0, "X"), "abc", "Xabc"},
      {"insert after -4", MakeJob(K::jobInsert, 2, -4, 0, "X"), "abc", "Xabc"},
      {"insert after 2 characters, UTF-8", MakeJob(K::jobInsert, 2, 2, 0, "X"), "éàb", "éàXb"},
      {"insert before, case-sensitive search", MakeJob(K::jobInsert, 3, 0, 0, "_", "x"), "aXb", "aXb"},
      {"insert before", MakeJob(K::jobInsert, 3, 0, 0, "_", "b"), "abab", "a_bab"},
      {"insert after", MakeJob(K::jobInsert, 4, 0, 0, "_", "b"), "abab", "ab_ab"},
      {"insert empty text", MakeJob(K::jobInsert, 0, 0, 0, ""), "abc", "abc"},
      {"insert, empty search never matches", MakeJob(K::jobInsert, 3, 0, 0, "_", ""), "abc", "abc"},
      {"remove 5 from front of 3", MakeJob(K::jobRemove, 0, 5), "abc", ""},
      {"remove 2 from end", MakeJob(K::jobRemove, 1, 2), "abc", "a"},
      {"remove 1 from end, UTF-8", MakeJob(K::jobRemove, 1, 1), "añ", "a"},
      {"remove 0 removes nothing", MakeJob(K::jobRemove, 0, 0), "abc", "abc"},
      {"remove negative removes nothing", MakeJob(K::jobRemove, 1, -2), "abc", "abc"},
      {"remove 2 after 1", MakeJob(K::jobRemove, 2, 2, 1), "abcde", "ade"},
      {"remove after 0 is from the start", MakeJob(K::jobRemove, 2, 2, 0), "abcde", "cde"},
      {"remove runs off the end", MakeJob(K::jobRemove, 2, 9, 3), "abcde", "abc"},
      {"remove after the end", MakeJob(K::jobRemove, 2, 1, 5), "abcde", "abcde"},
      {"remove after negative", MakeJob(K::jobRemove, 2, 1, -1), "abcde", "abcde"},
      {"remove 3 before, fewer stand there", MakeJob(K::jobRemove, 3, 3, 0, "-"), "ab-cd", "-cd"},
      {"remove 1 before", MakeJob(K::jobRemove, 3, 1, 0, "-"), "ab-cd", "a-cd"},
      {"remove before, missing", MakeJob(K::jobRemove, 3, 1, 0, "+"), "ab-cd", "ab-cd"},
      {"remove after", MakeJob(K::jobRemove, 4, 1, 0, "-"), "ab-cd", "ab-d"},
      {"remove after, runs off", MakeJob(K::jobRemove, 4, 9, 0, "-"), "ab-cd", "ab-"},
      {"remove after, occurrence ends name", MakeJob(K::jobRemove, 4, 2, 0, "cd"), "ab-cd", "ab-cd"},
      {"replace ignoring case", MakeJob(K::jobReplace, 0, 0, 0, "a", "b"), "Aa", "bb"},
      {"replace matching case", MakeJob(K::jobReplace, 0, 1, 0, "a", "b"), "Aa", "Ab"},
      {"replace does not rescan", MakeJob(K::jobReplace, 0, 1, 0, "aa", "a"), "aaaa", "aa"},
      {"replace, empty search", MakeJob(K::jobReplace, 0, 1, 0, "", "x"), "abc", "abc"},
      {"replace accented ignoring case", MakeJob(K::jobReplace, 0, 0, 0, "é", "e"), "ÉtÉ été", "ete ete"},
      {"replace Greek ignoring case", MakeJob(K::jobReplace, 0, 0, 0, "σ", "s"), "ΣΑΣ", "sΑs"},
      {"replace with empty", MakeJob(K::jobReplace, 0, 1, 0, " ", ""), "a b c", "abc"},
      {"replace, unknown modifier", MakeJob(K::jobReplace, 2, 1, 0, "a", "b"), "abc", "abc"},
      {"none", MakeJob(K::jobNone, 0), "abc", "abc"},
  };
  for (const Row& row : rows) {
    std::int32_t counter = 0;
    EXPECT_EQ(ApplyJob(row.job, row.in, counter), row.out) << row.what;
    EXPECT_EQ(counter, 0) << row.what;
  }
}

TEST(UTJobApplyTest, InvalidUtf8SurvivesByteForByte) {
  const std::string name = "caf\xE9 \xFF\xFE.JPG";
  std::int32_t counter = 0;
  EXPECT_EQ(ApplyJob(MakeJob(K::jobReplace, 0, 1, 0, "zzz", "y"), name, counter), name);
  EXPECT_EQ(ApplyJob(MakeJob(K::jobLower, 2), name, counter), "caf\xE9 \xFF\xFE.jpg");
  EXPECT_EQ(ApplyJob(MakeJob(K::jobRemove, 0, 4), name, counter), " \xFF\xFE.JPG") << "a bad byte is one character";
  EXPECT_EQ(ApplyJob(MakeJob(K::jobInsert, 4, 0, 0, "!", "\xFF"), name, counter), "caf\xE9 \xFF!\xFE.JPG");
}

TEST(UTJobApplyTest, CounterPositionsAndAdvance) {
  struct Row {
    const char* what;
    TJob job;
    const char* in;
    const char* out;
  };
  const Row rows[] = {
      {"front", MakeJob(K::jobCounter, 0, 3), "ab", "009ab"},
      {"end", MakeJob(K::jobCounter, 1, 2), "ab", "ab09"},
      {"after 1", MakeJob(K::jobCounter, 2, 1, 1), "ab", "a9b"},
      {"before", MakeJob(K::jobCounter, 3, 1, 0, "b"), "ab", "a9b"},
      {"after", MakeJob(K::jobCounter, 4, 1, 0, "a"), "ab", "a9b"},
      {"search missing", MakeJob(K::jobCounter, 3, 1, 0, "z"), "ab", "ab"},
      {"unknown modifier", MakeJob(K::jobCounter, 8, 1), "ab", "ab"},
  };
  for (const Row& row : rows) {
    std::int32_t counter = 9;
    EXPECT_EQ(ApplyJob(row.job, row.in, counter), row.out) << row.what;
    EXPECT_EQ(counter, 10) << row.what << ": every application advances the counter";
  }
}

// Dates an entry would have; `taken` empty for a file without one.
class TFixedDates : public TEntryDates {
 public:
  TFixedDates(TLocalDateTime modified, std::optional<TLocalDateTime> taken) : m_modified(modified), m_taken(taken) {}
  TDateOrReason Modified() override { return {m_modified, ""}; }
  std::optional<TLocalDateTime> Taken() override {
    ++takenAsked;
    return m_taken;
  }
  int takenAsked = 0;

 private:
  TLocalDateTime m_modified;
  std::optional<TLocalDateTime> m_taken;
};

TEST(UTJobApplyTest, FormatDate) {
  const TLocalDateTime date{2024, 6, 3, 9, 7, 5};
  const std::pair<const char*, const char*> rows[] = {
      {"yyyy-mm-dd", "2024-06-03"},
      {"yyyymmdd_hhnnss", "20240603_090705"},
      {"dd.mm.yy", "03.06.24"},
      {"yyyyy", "2024y"},
      {"Day dd", "Day 03"},
      {"YYYY", "YYYY"},
      {"", ""},
      {"h", "h"},
      {"mmm", "06m"},
      {"ü yyyy", "ü 2024"},
  };
  for (const auto& [format, text] : rows) EXPECT_EQ(FormatDate(format, date), text) << format;
  EXPECT_EQ(FormatDate("yyyy yy", TLocalDateTime{7, 1, 1, 0, 0, 0}), "0007 07");
}

TEST(UTJobApplyTest, DateJobsTakeTheirDateWherePlacedAndFallBack) {
  const TLocalDateTime modified{2023, 12, 31, 23, 59, 58};
  const TLocalDateTime taken{2024, 6, 3, 9, 7, 5};
  struct Row {
    const char* what;
    TJob job;
    bool hasTaken;
    const char* out;
  };
  const Row rows[] = {
      {"taken, beginning", MakeJob(K::jobDate, 0, 1, 0, "", "yyyy-mm-dd "), true, "2024-06-03 IMG_0412.JPG"},
      {"taken missing: modified", MakeJob(K::jobDate, 0, 1, 0, "", "yyyy-mm-dd "), false, "2023-12-31 IMG_0412.JPG"},
      {"modified, end", MakeJob(K::jobDate, 1, 0, 0, "", "_hhnnss"), true, "IMG_0412.JPG_235958"},
      {"after 4", MakeJob(K::jobDate, 2, 1, 4, "", "yy"), true, "IMG_240412.JPG"},
      {"before .", MakeJob(K::jobDate, 3, 1, 0, ".", " dd"), true, "IMG_0412 03.JPG"},
      {"after _", MakeJob(K::jobDate, 4, 0, 0, "_", "mm"), true, "IMG_120412.JPG"},
      {"search missing", MakeJob(K::jobDate, 3, 1, 0, "z", "yyyy"), true, "IMG_0412.JPG"},
      {"unknown position", MakeJob(K::jobDate, 7, 1, 0, "", "yyyy"), true, "IMG_0412.JPG"},
      {"unknown source", MakeJob(K::jobDate, 0, 5, 0, "", "yyyy"), true, "IMG_0412.JPG"},
      {"empty format", MakeJob(K::jobDate, 0, 1, 0, "", ""), true, "IMG_0412.JPG"},
  };
  for (const Row& row : rows) {
    TFixedDates dates(modified, row.hasTaken ? std::optional(taken) : std::nullopt);
    std::int32_t counter = 0;
    EXPECT_EQ(ApplyJob(row.job, "IMG_0412.JPG", counter, &dates), row.out) << row.what;
  }
  // The photo's metadata is read only for a ticked date job that wants it.
  TJobList list;
  list.AddLoaded(MakeJob(K::jobDate, 0, 1, 0, "", "yyyy", false));
  list.AddLoaded(MakeJob(K::jobDate, 0, 0, 0, "", "yyyy"));
  TFixedDates dates(modified, taken);
  std::int32_t counter = 0;
  EXPECT_EQ(ApplyJobList(list, "a", counter, &dates), "2023a");
  EXPECT_EQ(dates.takenAsked, 0);
}

TEST(UTJobApplyTest, JobListAppliesEnabledJobsInOrderAndSharesTheCounter) {
  TJobList list;
  list.AddNew(MakeJob(K::jobCounter, 1, 2));
  list.AddNew(MakeJob(K::jobCounter, 1, 2));
  std::int32_t counter = 1;
  EXPECT_EQ(ApplyJobList(list, "a", counter), "a0102");
  EXPECT_EQ(ApplyJobList(list, "b", counter), "b0304");

  TJobList order;
  order.AddNew(MakeJob(K::jobInsert, 1, 0, 0, ".TXT"));
  order.AddNew(MakeJob(K::jobLower, 2));
  TJob disabledCounter = MakeJob(K::jobCounter, 0, 3);
  disabledCounter.enabled = false;
  order.AddLoaded(disabledCounter);
  counter = 5;
  EXPECT_EQ(ApplyJobList(order, "Name", counter), "Name.txt");
  EXPECT_EQ(counter, 5) << "a disabled counter job does not advance the counter";

  TJobList none;
  EXPECT_EQ(ApplyJobList(none, "Same", counter), "Same");
}

TEST(UTJobApplyTest, CounterWrapsInsteadOfOverflowing) {
  std::int32_t counter = INT32_MAX;
  EXPECT_EQ(ApplyJob(MakeJob(K::jobCounter, 1, 0), "a", counter), "a2147483647");
  EXPECT_EQ(counter, INT32_MIN);
}

TEST(UTJobApplyTest, NothingToDoWithoutATickedJobOrWithABrokenExpression) {
  TJobList jobs;
  EXPECT_EQ(RunStartProblem(jobs), "Nothing to do! Create some jobs or enable them first.");
  jobs.AddLoaded(test::MakeJob(TJobKind::jobUpper, 0, 0, 0, "", "", false));
  EXPECT_EQ(RunStartProblem(jobs), "Nothing to do! Create some jobs or enable them first.");
  jobs[0].enabled = true;
  EXPECT_FALSE(RunStartProblem(jobs));

  // A regular expression that cannot work stops the run before it starts.
  jobs.AddNew(test::MakeJob(TJobKind::jobReplace, 1, 0, 0, "(\\d+", "x"));
  const auto problem = RunStartProblem(jobs);
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->rfind("TRegexEngine(comp): ParseReg Unmatched () (pos ", 0), 0u) << *problem;
  jobs[1].str1 = "";
  EXPECT_EQ(RunStartProblem(jobs), "TRegexEngine(exec): Not Assigned Expression Property");
  jobs[1].enabled = false;
  EXPECT_FALSE(RunStartProblem(jobs)) << "an unticked job does not count";
}

}  // namespace
}  // namespace qx
