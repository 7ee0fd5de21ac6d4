// SPDX-License-Identifier: GPL-3.0-or-later
// The user guide's tables of names before and after, run through the jobs they name: a
// guide that promised another name than a job gives would mislead every reader of it.
// A table names its jobs as data-jobs="kind|modifier|int1|int2|str1|str2", several
// joined by ";;", and its counter start as data-start; its caption opens with the
// description of its one job.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "jobs/UTJob.h"

namespace qx {
namespace {

std::string ReadGuide() {
  std::ifstream in(QX_GUIDE);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return parts;
    start = end + separator.size();
  }
}

std::string Unescaped(std::string text) {
  static const std::pair<const char*, const char*> kEntities[] = {{"&lt;", "<"},    {"&gt;", ">"},   {"&quot;", "\""},
                                                                  {"&minus;", "-"}, {"&nbsp;", " "}, {"&amp;", "&"}};
  for (const auto& [entity, character] : kEntities) {
    for (std::size_t at; (at = text.find(entity)) != std::string::npos;)
      text.replace(at, std::strlen(entity), character);
  }
  return text;
}

TJob ParseJob(const std::string& fields) {
  const std::vector<std::string> field = Split(Unescaped(fields), "|");
  if (field.size() != 6) throw std::invalid_argument("a job of six fields: " + fields);
  TJob job(JobKindFromName(field[0]));
  job.modifier = std::stoi(field[1]);
  job.int1 = std::stoi(field[2]);
  job.int2 = std::stoi(field[3]);
  job.str1 = field[4];
  job.str2 = field[5];
  return job;
}

// A table's opening tag's attributes and its body, found by plain search: a regular
// expression spanning a whole table would recurse once for each of its characters.
struct TTable {
  std::string jobs;
  std::string start;
  std::string body;
};

std::vector<TTable> NameTables(const std::string& guide) {
  static const std::string kOpening = "<table class=\"names\" ";
  const std::regex attributes(R"re(^data-jobs="([^"]*)"(?: data-start="(-?\d+)")?>)re");
  std::vector<TTable> tables;
  for (std::size_t at = guide.find(kOpening); at != std::string::npos; at = guide.find(kOpening, at + 1)) {
    const std::size_t end = guide.find("</table>", at);
    const std::size_t tagEnd = guide.find('>', at);
    std::smatch found;
    const std::string tag = guide.substr(at + kOpening.size(), tagEnd + 1 - at - kOpening.size());
    if (end == std::string::npos || !std::regex_search(tag, found, attributes)) continue;
    tables.push_back({found[1], found[2], guide.substr(tagEnd + 1, end - tagEnd - 1)});
  }
  return tables;
}

TEST(UGuideExamplesTest, EveryTableOfNamesIsWhatTheJobsGive) {
  const std::string guide = ReadGuide();
  ASSERT_FALSE(guide.empty()) << QX_GUIDE;
  const std::regex row(R"re(<tr><td><code>(.*?)</code></td><td><code>(.*?)</code></td></tr>)re");
  const std::regex caption(R"re(<caption>"([^<]*?)"(?:, [^<]*)?</caption>)re");
  const std::vector<TTable> tables = NameTables(guide);
  for (const TTable& table : tables) {
    TJobList jobs;
    for (const std::string& fields : Split(table.jobs, ";;")) jobs.AddNew(ParseJob(fields));
    std::smatch title;
    if (jobs.Count() == 1 && std::regex_search(table.body, title, caption)) {
      EXPECT_EQ(Unescaped(title[1]), JobDescription(jobs[0])) << table.jobs;
    }
    std::int32_t counter = table.start.empty() ? 0 : std::stoi(table.start);
    for (auto names = std::sregex_iterator(table.body.begin(), table.body.end(), row); names != std::sregex_iterator();
         ++names) {
      const std::string before = Unescaped((*names)[1]);
      EXPECT_EQ(ApplyJobList(jobs, before, counter), Unescaped((*names)[2])) << table.jobs << ": " << before;
    }
  }
  EXPECT_GE(tables.size(), 30u) << "the guide's tables of names are no longer found";
}

}  // namespace
}  // namespace qx
