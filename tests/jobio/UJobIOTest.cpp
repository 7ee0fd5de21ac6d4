// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "jobio/UJobIO.h"
#include "platform/UFiles.h"
#include "platform/USystemError.h"
#include "platform/UTextCodec.h"
#include "support/UMakeJob.h"
#include "support/URecordingMessages.h"
#include "support/UTempDir.h"

namespace qx {
namespace {

using K = TJobKind;

TJob Make(K kind, std::int32_t modifier, std::string str1 = "", std::string str2 = "", bool enabled = true) {
  return test::MakeJob(kind, modifier, 0, 0, std::move(str1), std::move(str2), enabled);
}

std::string JobsFile(const std::string& jobLines) {
  return "<?xml version=\"1.0\" standalone=\"yes\" ?>\r\n\r\n<quillex>\r\n  <jobs>\r\n" + jobLines +
         "  </jobs>\r\n</quillex>\r\n";
}

TEST(UJobIOTest, WritesTheExactLineLayout) {
  test::TTempDir dir;
  TJob remove = Make(K::jobRemove, 2);
  remove.int1 = -3;
  remove.int2 = 7;
  const std::vector<TJob> jobs = {Make(K::jobLower, 0), Make(K::jobReplace, 1, "(\\d+)", "[$1]", false), remove};
  ASSERT_NO_THROW(SaveJobListToXML(dir / "a.xml", jobs, "ISO-8859-1"));
  EXPECT_EQ(
      ReadWholeFile(dir / "a.xml"),
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\" ?>\r\n"
      "\r\n"
      "<quillex>\r\n"
      "  <jobs>\r\n"
      "    <job type=\"jobLower\" modifier=\"0\" int1=\"0\" int2=\"0\" str1=\"\" str2=\"\" enabled=\"-1\" />\r\n"
      "    <job type=\"jobReplace\" modifier=\"1\" int1=\"0\" int2=\"0\" str1=\"(\\d+)\" str2=\"[$1]\" "
      "enabled=\"0\" />\r\n"
      "    <job type=\"jobRemove\" modifier=\"2\" int1=\"-3\" int2=\"7\" str1=\"\" str2=\"\" enabled=\"-1\" />\r\n"
      "  </jobs>\r\n"
      "</quillex>\r\n");

  ASSERT_NO_THROW(SaveJobListToXML(dir / "b.xml", {}, ""));
  EXPECT_EQ(ReadWholeFile(dir / "b.xml"), JobsFile(""));
}

TEST(UJobIOTest, EscapeAndEntityPass) {
  const std::string file = ComposeJobListFile({Make(K::jobInsert, 0, "a<b>\"c\"&'d'")}, "");
  EXPECT_NE(file.find("str1=\"a&lt;b&gt;&quot;c&quot;&amp;&apos;d&apos;\""), std::string::npos) << file;
  EXPECT_EQ(XMLCarriable("tab\there\r\nnext\x01"), "tabherenext");
  // What XML cannot carry at all: U+FFFE, U+FFFF, a surrogate, a byte that is not UTF-8.
  EXPECT_EQ(XMLCarriable("Ærø \xEF\xBF\xBE|\xEF\xBF\xBF|\xED\xA0\x80|\xFF|\xEF\xBF\xBD"), "Ærø ||||\xEF\xBF\xBD");

  const std::pair<const char*, const char*> unescapes[] = {
      {"&amp;amp;", "&"}, {"&amp;lt;", "<"},          {"&lt;&gt;&apos;&quot;", "<>'\""},
      {"&amp", "&amp"},   {"a&amp;amp;amp;b", "a&b"}, {"&quot;&amp;quot;", "\"\""},
      {"plain", "plain"}, {"&&amp;;", "&&;"},
  };
  for (const auto& [in, out] : unescapes) EXPECT_EQ(XMLUnescape(in), out) << in;
}

TEST(UJobIOTest, EveryEncodingOfTheDialogReadsBackEveryText) {
  test::TTempDir dir;
  const std::vector<TJob> jobs = {Make(K::jobInsert, 0, "<\"&'>", "Ærøskøbing"), Make(K::jobReplace, 0, "日本", "a\tb"),
                                  Make(K::jobReplace, 1, "\\d+\xEF\xBF\xBF", "€ ü ß ж ת ع", false)};
  std::vector<std::string> encodings = {""};
  for (const std::string& choice : XMLEncodingChoices()) encodings.push_back(choice.substr(0, choice.find(' ')));
  ASSERT_EQ(encodings.size(), 13u);

  for (const std::string& encoding : encodings) {
    EXPECT_EQ(EncodingProblem(encoding), std::nullopt) << encoding;
    const std::string path = dir / ("jobs-" + encoding + ".xml");
    ASSERT_NO_THROW(SaveJobListToXML(path, jobs, encoding)) << encoding;
    test::TRecordingMessages messages;
    const auto loaded = LoadJobListFromXML(path, messages);
    ASSERT_TRUE(loaded) << encoding << ": " << (messages.messages.empty() ? "" : messages.messages[0]);
    ASSERT_EQ(loaded->size(), 3u) << encoding;
    EXPECT_EQ((*loaded)[0], jobs[0]) << encoding;
    EXPECT_EQ((*loaded)[1].str1, "日本") << encoding;
    EXPECT_EQ((*loaded)[1].str2, "ab") << encoding << ": the tab is dropped";
    EXPECT_EQ((*loaded)[2].str1, "\\d+") << encoding << ": U+FFFF is dropped";
    EXPECT_EQ((*loaded)[2].str2, "€ ü ß ж ת ع") << encoding;
    EXPECT_FALSE((*loaded)[2].enabled) << encoding;
  }
}

TEST(UJobIOTest, ASaveThatWouldNotReadBackFailsAndKeepsThePreviousFile) {
  struct Row {
    const char* what;
    std::string encoding;
    TJob job;
    std::string why;  // after "The job list cannot be saved in encoding <encoding>: "
  };
  const Row rows[] = {
      {"unknown encoding", "NO-SUCH-ENCODING", Make(K::jobLower, 0), "Quillex does not know this encoding"},
      {"a quote in the name", "ISO\"-8859-1", Make(K::jobLower, 0), "an XML declaration cannot name it"},
      {"UTF-32", "UTF-32", Make(K::jobLower, 0), "the file would not load again (XML error: "},
      {"UTF-7", "UTF-7", Make(K::jobLower, 0), "the file would not load again (XML error: "},
      {"ISO-2022-KR", "ISO-2022-KR", Make(K::jobLower, 0), "the file would not load again (XML error: "},
      {"Shift_JIS turns the backslash into a yen sign", "Shift_JIS", Make(K::jobReplace, 1, "(\\d+)", "x"),
       "job 2: \"(\\d+)\" would read back as \"(\xC2\xA5"
       "d+)\""},
      {"a text holding an entity", "", Make(K::jobInsert, 0, "a&amp;b"),
       "job 2: \"a&amp;b\" would read back as \"a&b\""},
  };
  test::TTempDir dir;
  const std::string path = dir.WriteFile("jobs.xml", "previous");
  for (const Row& row : rows) {
    const std::string shown =
        "The job list cannot be saved in encoding " + (row.encoding.empty() ? "UTF-8" : row.encoding) + ": " + row.why;
    try {
      SaveJobListToXML(path, {Make(K::jobUpper, 0), row.job}, row.encoding);
      ADD_FAILURE() << row.what << ": saved";
    } catch (const TJobListError& error) {
      const std::string message = error.what();
      EXPECT_EQ(message.substr(0, shown.size()), shown) << row.what;
    }
    EXPECT_EQ(ReadWholeFile(path), "previous") << row.what;
  }
  EXPECT_THROW(SaveJobListToXML(dir / "missing-folder/jobs.xml", {Make(K::jobLower, 0)}, ""), TSystemError);
}

TEST(UJobIOTest, ReadingJobsAttributeByAttribute) {
  struct Row {
    const char* what;
    std::string element;
    bool loads;
    TJob expected;
  };
  TJob upper = Make(K::jobUpper, 0);
  TJob counter(K::jobCounter);
  counter.modifier = 2;
  counter.int1 = -4;
  counter.int2 = 2147483647;
  counter.enabled = true;
  const auto disabled = [](TJob job) {
    job.enabled = false;
    return job;
  };
  TJob date = Make(K::jobDate, 3, ".", "yyyymmdd_hhnnss");
  date.int1 = dateTaken;
  const Row rows[] = {
      {"only a type", R"(<job type="jobUpper"/>)", true, upper},
      {"upper-case type", R"(<job type="JOBUPPER"/>)", true, upper},
      {"lower-case type", R"(<job type="jobupper"/>)", true, upper},
      {"kind without prefix", R"(<job type="Upper"/>)", false, {}},
      {"jobNone", R"(<job type="jobNone"/>)", false, {}},
      {"no type", R"(<job modifier="1"/>)", false, {}},
      {"Type with a capital", R"(<job Type="jobUpper"/>)", false, {}},
      {"numbers", R"(<job type="jobCounter" modifier="2" int1="-4" int2="2147483647"/>)", true, counter},
      {"bad number", R"(<job type="jobUpper" modifier="abc" int1="1x" int2="99999999999"/>)", true, upper},
      {"enabled 1", R"(<job type="jobUpper" enabled="1"/>)", true, upper},
      {"enabled -1", R"(<job type="jobUpper" enabled="-1"/>)", true, upper},
      {"enabled 2", R"(<job type="jobUpper" enabled="2"/>)", true, upper},
      {"enabled TRUE", R"(<job type="jobUpper" enabled="TRUE"/>)", true, upper},
      {"enabled 0.5 (a number, not zero)", R"(<job type="jobUpper" enabled="0.5"/>)", true, upper},
      {"enabled 0.0", R"(<job type="jobUpper" enabled="0.0"/>)", true, disabled(upper)},
      {"enabled 0", R"(<job type="jobUpper" enabled="0"/>)", true, disabled(upper)},
      {"enabled false", R"(<job type="jobUpper" enabled="false"/>)", true, disabled(upper)},
      {"enabled yes", R"(<job type="jobUpper" enabled="yes"/>)", true, disabled(upper)},
      {"literal &amp; in the file", R"(<job type="jobUpper" str1="&amp;amp;" str2="&#x65e5;&lt;"/>)", true,
       Make(K::jobUpper, 0, "&", "日<")},
      {"unknown attribute", R"(<job type="jobUpper" colour="red"/>)", true, upper},
      {"date", R"(<job type="jobDate" modifier="3" int1="1" str1="." str2="yyyymmdd_hhnnss"/>)", true, date},
      // What a program older than the date job makes of one, and this one of a later kind.
      {"a kind this program does not know", R"(<job type="jobGeotag" modifier="0"/>)", false, {}},
  };
  test::TTempDir dir;
  for (const Row& row : rows) {
    const std::string path = dir.WriteFile("job.xml", JobsFile("    " + row.element + "\r\n"));
    test::TRecordingMessages messages;
    const auto loaded = LoadJobListFromXML(path, messages);
    ASSERT_TRUE(loaded) << row.what;
    EXPECT_TRUE(messages.messages.empty()) << row.what;
    ASSERT_EQ(loaded->size(), row.loads ? 1u : 0u) << row.what;
    if (row.loads) {
      EXPECT_EQ(loaded->front(), row.expected) << row.what;
    }
  }
}

TEST(UJobIOTest, DocumentStructure) {
  test::TTempDir dir;
  const std::string two = R"(<job type="jobLower"/><job type="jobUpper"/>)";
  const std::string four = "<quillex><jobs>" + two +
                           "<other type=\"jobNormal\"/></jobs><extra><job type=\"jobNormal\"/>"
                           "</extra><jobs>" +
                           two + "</jobs></quillex>";
  test::TRecordingMessages messages;
  auto loaded = LoadJobListFromXML(dir.WriteFile("four.xml", four), messages);
  ASSERT_TRUE(loaded);
  ASSERT_EQ(loaded->size(), 4u);
  EXPECT_EQ((*loaded)[0].type, K::jobLower);
  EXPECT_EQ((*loaded)[3].type, K::jobUpper);

  // Prefixed names are other names: that job and that attribute are not the program's.
  const std::string prefixed =
      "<quillex xmlns:p=\"urn:x\"><jobs><p:job type=\"jobNormal\"/>"
      "<job type=\"jobLower\" p:type=\"jobNormal\" p:str1=\"x\"/></jobs></quillex>";
  loaded = LoadJobListFromXML(dir.WriteFile("prefixed.xml", prefixed), messages);
  ASSERT_TRUE(loaded);
  ASSERT_EQ(loaded->size(), 1u);
  EXPECT_EQ((*loaded)[0].type, K::jobLower);
  EXPECT_EQ((*loaded)[0].str1, "");

  loaded = LoadJobListFromXML(dir.WriteFile("empty-jobs.xml", JobsFile("")), messages);
  ASSERT_TRUE(loaded);
  EXPECT_TRUE(loaded->empty());
  EXPECT_TRUE(messages.messages.empty());
}

// A job list whose one job refers `references` times to an entity of 10,000 characters.
std::string EntityBomb(std::size_t references) {
  std::string refs;
  refs.reserve(3 * references);
  for (std::size_t i = 0; i < references; ++i) refs += "&e;";
  return "<?xml version=\"1.0\"?><!DOCTYPE quillex [<!ENTITY e \"" + std::string(10'000, 'a') +
         "\">]><quillex><jobs><job type=\"jobUpper\" str1=\"" + refs + "\"/></jobs></quillex>";
}
// One job with 200,000 attributes, in UTF-8 or in UTF-16LE; each value of the latter
// holds U+3C3C, whose bytes are two '<' to a reader that does not decode.
std::string CrowdedTag(bool utf16) {
  std::string tag = "<?xml version=\"1.0\"?><quillex><jobs><job type=\"jobUpper\"";
  for (int n = 0; n < 200'000; ++n) tag += " a" + std::to_string(n) + (utf16 ? "=\"\xE3\xB0\xBC\"" : "=\"\"");
  tag += "/></jobs></quillex>";
  if (!utf16) return tag;
  return *EncodeFromUtf8("\xEF\xBB\xBF" + tag, "UTF-16LE", [](char32_t) { return "?"; });
}

constexpr const char* kTooMuch = "XML error: its entities expand to more than a job list can hold (1 MiB)";

TEST(UJobIOTest, FilesThatDoNotLoadSayWhy) {
  struct Row {
    const char* what;
    std::string content;
    std::string messageStart;
  };
  const Row rows[] = {
      {"wrong root", "<Quillex><jobs/></Quillex>", "Root node element is not recognised. Loading aborted!"},
      {"a prefixed root is another name", "<p:quillex xmlns:p=\"urn:x\"><jobs/></p:quillex>",
       "Root node element is not recognised. Loading aborted!"},
      // Entities referenced in attribute values: 10,000 characters 10,000 times.
      {"an attribute entity bomb of 40 KB", EntityBomb(10'000), kTooMuch},
      {"an attribute entity bomb of 9 MB", EntityBomb(900'000), kTooMuch},
      {"a tag with 200,000 attributes", CrowdedTag(false), "XML error: a tag with more than 4096 attributes"},
      {"the same in UTF-16", CrowdedTag(true), "XML error: a tag with more than 4096 attributes"},
      {"empty file", "", "XML error: "},
      {"not XML", "job list", "XML error: "},
      {"unclosed", "<quillex><jobs>", "XML error: "},
      {"Latin-1 bytes without a declared encoding", JobsFile("    <job type=\"jobUpper\" str1=\"caf\xE9\"/>\r\n"),
       "XML error: "},
      {"entity expansion bomb",
       "<?xml version=\"1.0\"?><!DOCTYPE q [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">"
       "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
       "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
       "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
       "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">"
       "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">"
       "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\">]>"
       "<quillex><jobs><job type=\"jobUpper\" str1=\"&g;\"/></jobs></quillex>",
       "XML error: "},
  };
  test::TTempDir dir;
  for (const Row& row : rows) {
    test::TRecordingMessages messages;
    EXPECT_FALSE(LoadJobListFromXML(dir.WriteFile("bad.xml", row.content), messages)) << row.what;
    ASSERT_EQ(messages.messages.size(), 1u) << row.what;
    EXPECT_EQ(messages.messages[0].rfind(row.messageStart, 0), 0u) << row.what << ": " << messages.messages[0];
    EXPECT_GT(messages.messages[0].size(), row.messageStart.size() - 1) << row.what;
  }
  // The reader's message is the only word: libxml2 prints nothing of its own.
  testing::internal::CaptureStderr();
  test::TRecordingMessages badBytes;
  EXPECT_FALSE(LoadJobListFromXML(
      dir.WriteFile("euc-kr.xml",
                    "<?xml version=\"1.0\" encoding=\"EUC-KR\"?><quillex><jobs><job type=\"jobUpper\" "
                    "str1=\"\xFF\xFE\xFD\"/></jobs></quillex>"),
      badBytes));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  test::TRecordingMessages messages;
  EXPECT_FALSE(LoadJobListFromXML(dir / "missing.xml", messages));
  ASSERT_EQ(messages.messages.size(), 1u);
  EXPECT_NE(messages.messages[0].find("missing.xml"), std::string::npos);
}

TEST(UJobIOTest, ExternalEntitiesAreNeverRead) {
  test::TTempDir dir;
  dir.WriteFile("secret.txt", "SECRET");
  const std::string content = "<?xml version=\"1.0\"?><!DOCTYPE quillex [<!ENTITY s SYSTEM \"" + dir.Path() +
                              "secret.txt\">]><quillex><jobs><job type=\"jobUpper\" str1=\"x\"/></jobs>&s;</quillex>";
  test::TRecordingMessages messages;
  const auto loaded = LoadJobListFromXML(dir.WriteFile("xxe.xml", content), messages);
  if (loaded) {
    ASSERT_EQ(loaded->size(), 1u);
    EXPECT_EQ(loaded->front().str1, "x");
  } else {
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].find("SECRET"), std::string::npos);
  }
}

TEST(UJobIOTest, LoadFailureMessageText) {
  EXPECT_EQ(LoadFailureMessage("/x/jobs.xml"),
            "Failed to load jobs from file /x/jobs.xml\r\n"
            "Please make sure that this is a Quillex Job List file or\r\n"
            "set the encoding of the XML file to a different value\r\n\r\n"
            "WARNING! To set the default encoding for XML files for Quillex\r\n"
            "please use the \"Settings->Character Encoding\" menu option");
}

}  // namespace
}  // namespace qx
