// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "jobs/UTJob.h"
#include "support/UMakeJob.h"

namespace qx {
namespace {

using K = TJobKind;

using test::MakeJob;

TEST(UTJobTest, DescriptionOfEveryKindAndModifier) {
  struct Row {
    TJob job;
    const char* expected;
  };
  const Row rows[] = {
      {MakeJob(K::jobNone, 5), "<none>"},
      {MakeJob(K::jobLower, 0), "Convert all characters to lower case"},
      {MakeJob(K::jobLower, 1), "Convert filename to lower case"},
      {MakeJob(K::jobLower, 2), "Convert extension to lower case"},
      {MakeJob(K::jobLower, 3), ""},
      {MakeJob(K::jobUpper, 0), "Convert all characters to upper case"},
      {MakeJob(K::jobUpper, 1), "Convert filename to upper case"},
      {MakeJob(K::jobUpper, 2), "Convert extension to upper case"},
      {MakeJob(K::jobNormal, 0), "Normalize case of all characters"},
      {MakeJob(K::jobNormal, 1), "Normalize case of filename only"},
      {MakeJob(K::jobNormal, 2), "Normalize case of extension only"},
      {MakeJob(K::jobNormal, -1), ""},
      {MakeJob(K::jobLower, 1, caseEveryAlphabet), "Convert filename to lower case in every alphabet"},
      {MakeJob(K::jobNormal, 0, caseEveryAlphabet), "Normalize case of all characters in every alphabet"},
      {MakeJob(K::jobUpper, 0, 7), "Convert all characters to upper case"},
      {MakeJob(K::jobSimplify, 0, simplifyCompose), "Compose all characters (NFC)"},
      {MakeJob(K::jobSimplify, 1, simplifyDecompose), "Decompose filename (NFD)"},
      {MakeJob(K::jobSimplify, 2, simplifyMarks), "Remove accents and marks from extension"},
      {MakeJob(K::jobSimplify, 0, simplifyAscii), "Convert all characters to ASCII"},
      {MakeJob(K::jobSimplify, 0, 4), ""},
      {MakeJob(K::jobSimplify, 3, simplifyAscii), ""},
      {MakeJob(K::jobShift, shiftFirst, 100), "Add 100 to the first number"},
      {MakeJob(K::jobShift, shiftEvery, -3, 1), "Subtract 3 from every number, below zero allowed"},
      {MakeJob(K::jobShift, shiftLast, 0), "Add 0 to the last number"},
      {MakeJob(K::jobShift, 3, 1), ""},
      {MakeJob(K::jobInsert, 0, 0, 0, ""), "Insert \"\" at the beginning"},
      {MakeJob(K::jobInsert, 1, 0, 0, "say \"hi\""), "Append \"say \"hi\"\" at the end"},
      {MakeJob(K::jobInsert, 2, 3, 0, "_old"), "Insert \"_old\" after the 3rd character"},
      {MakeJob(K::jobInsert, 2, 1, 0, "x"), "Insert \"x\" after the 1st character"},
      {MakeJob(K::jobInsert, 2, 22, 0, "x"), "Insert \"x\" after the 22nd character"},
      {MakeJob(K::jobInsert, 2, 111, 0, "x"), "Insert \"x\" after the 111st character"},
      {MakeJob(K::jobInsert, 3, 0, 0, "x", "-"), "Insert \"x\" before string \"-\""},
      {MakeJob(K::jobInsert, 4, 0, 0, "x", "-"), "Insert \"x\" after string \"-\""},
      {MakeJob(K::jobInsert, 5, 0, 0, "x"), ""},
      {MakeJob(K::jobRemove, 0, 2), "Remove 2 characters from the beginning"},
      {MakeJob(K::jobRemove, 1, 1), "Remove 1 character from the end"},
      {MakeJob(K::jobRemove, 2, 0, 12), "Remove 0 characters after the 12nd character"},
      {MakeJob(K::jobRemove, 3, -1, 0, "ab"), "Remove -1 characters before string \"ab\""},
      {MakeJob(K::jobRemove, 4, 3, 0, "ab"), "Remove 3 characters after string \"ab\""},
      {MakeJob(K::jobReplace, 0, 1, 0, "a", "b"), "Replace \"a\" with \"b\" (match case)"},
      {MakeJob(K::jobReplace, 0, 0, 0, "a", "b"), "Replace \"a\" with \"b\" (ignore case)"},
      {MakeJob(K::jobReplace, 0, 2, 0, "a", "b"), "Replace \"a\" with \"b\" (ignore case)"},
      {MakeJob(K::jobReplace, 0, -1, 0, "a", "b"), "Replace \"a\" with \"b\" (ignore case)"},
      {MakeJob(K::jobReplace, 1, 0, 0, "(\\d+)", "#$1"), "Replace regex \"(\\d+)\" with \"#$1\" (ignore case)"},
      {MakeJob(K::jobReplace, 7, 1, 0, "a", "b"), " (match case)"},
      {MakeJob(K::jobCounter, 0, 3), "Add a counter of 3 characters at the beginning"},
      {MakeJob(K::jobCounter, 1, 1), "Add a counter of 1 character at the end"},
      {MakeJob(K::jobCounter, 2, 2, 3), "Add a counter of 2 characters after the 3rd character"},
      {MakeJob(K::jobCounter, 3, 2, 0, "x"), "Add a counter of 2 characters before string \"x\""},
      {MakeJob(K::jobCounter, 4, 2, 0, "x"), "Add a counter of 2 characters after string \"x\""},
      {MakeJob(K::jobCounter, 9, 2), ""},
      {MakeJob(K::jobDate, 0, 1, 0, "", "yyyy-mm-dd"), "Insert the date taken (yyyy-mm-dd) at the beginning"},
      {MakeJob(K::jobDate, 1, 0, 0, "", "dd.mm.yy"), "Insert the modification date (dd.mm.yy) at the end"},
      {MakeJob(K::jobDate, 2, 1, 4, "", "yyyy"), "Insert the date taken (yyyy) after the 4th character"},
      {MakeJob(K::jobDate, 3, 0, 0, ".", "yyyymmdd_hhnnss"),
       "Insert the modification date (yyyymmdd_hhnnss) before string \".\""},
      {MakeJob(K::jobDate, 4, 1, 0, "IMG", "yy"), "Insert the date taken (yy) after string \"IMG\""},
      {MakeJob(K::jobDate, 5, 1, 0, "", "yyyy"), ""},
      {MakeJob(K::jobDate, 0, 2, 0, "", "yyyy"), ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(JobDescription(row.job), row.expected) << JobKindName(row.job.type) << " modifier " << row.job.modifier;
  }
}

TEST(UTJobTest, OrdinalAndCountTexts) {
  const std::pair<std::int32_t, const char*> ordinals[] = {
      {0, "0th"},   {1, "1st"},   {2, "2nd"},   {3, "3rd"},   {4, "4th"},     {10, "10th"},  {11, "11st"},
      {12, "12nd"}, {13, "13rd"}, {21, "21st"}, {-1, "-1st"}, {-12, "-12nd"}, {-20, "-20th"}};
  for (const auto& [n, text] : ordinals) EXPECT_EQ(OrdinalText(n), text) << n;

  EXPECT_EQ(CountText(1, "character"), "1 character");
  EXPECT_EQ(CountText(0, "character"), "0 characters");
  EXPECT_EQ(CountText(2, "character"), "2 characters");
  EXPECT_EQ(CountText(-1, "character"), "-1 characters");
}

TEST(UTJobTest, KindNamesLookUpIgnoringCase) {
  for (int code = 0; code <= 7; ++code) {
    const auto kind = static_cast<K>(code);
    EXPECT_EQ(JobKindFromName(JobKindName(kind)), kind) << code;
  }
  EXPECT_EQ(JobKindFromName("JOBLOWER"), K::jobLower);
  EXPECT_EQ(JobKindFromName("jobcounter"), K::jobCounter);
  EXPECT_EQ(JobKindFromName("Lower"), K::jobNone);
  EXPECT_EQ(JobKindFromName("jobLower "), K::jobNone);
  EXPECT_EQ(JobKindFromName(""), K::jobNone);
}

TEST(UTJobTest, ANewJobHasItsKindAndOtherwiseZeroesAndIsDisabled) {
  const TJob job(K::jobReplace);
  EXPECT_EQ(job, MakeJob(K::jobReplace, 0, 0, 0, "", "", false));
  EXPECT_FALSE(job.enabled);
}

TEST(UTJobTest, TheListKeepsOrderAndTicksAsTheJobsFlags) {
  TJobList list;
  list.AddNew(MakeJob(K::jobLower, 0));
  list.AddNew(MakeJob(K::jobUpper, 0));
  TJob loaded = MakeJob(K::jobNormal, 0);
  loaded.enabled = false;
  list.AddLoaded(loaded);
  ASSERT_EQ(list.Count(), 3u);
  EXPECT_TRUE(list[0].enabled) << "a job the user adds is ticked";
  EXPECT_FALSE(list[2].enabled) << "a loaded job keeps its stored flag";

  EXPECT_FALSE(list.MoveUp(0));
  EXPECT_FALSE(list.MoveDown(2));
  EXPECT_TRUE(list.MoveDown(0));
  EXPECT_EQ(list[0].type, K::jobUpper);
  EXPECT_EQ(list[1].type, K::jobLower);
  EXPECT_TRUE(list.MoveUp(2));
  EXPECT_EQ(list[1].type, K::jobNormal);

  list.Delete(0);
  EXPECT_EQ(list.Count(), 2u);
  EXPECT_TRUE(list.AnyEnabled());
  list[1].enabled = false;
  EXPECT_FALSE(list.AnyEnabled());
}

}  // namespace
}  // namespace qx
