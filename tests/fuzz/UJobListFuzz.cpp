// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target over the job list reader: the input is a whole job list file. Besides
// the sanitizers it checks that every job read is of a known kind, that the jobs it read
// save again, in UTF-8 and in one of the offered encodings, as themselves, and that they
// apply to names in any alphabet or in no encoding at all without a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "jobio/UJobIO.h"
#include "jobs/UTJob.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// The jobs as a file can hold them: what a save promises to read back.
std::vector<qx::TJob> AsStored(std::vector<qx::TJob> jobs) {
  for (qx::TJob& job : jobs) {
    job.str1 = qx::XMLCarriable(job.str1);
    job.str2 = qx::XMLCarriable(job.str2);
  }
  return jobs;
}

// The setting's name of an offered encoding: the part before the first blank.
std::string EncodingName(const std::string& choice) { return choice.substr(0, choice.find(' ')); }

// Saving may refuse with TJobListError; when it does not, the bytes must load as the
// same jobs. UTF-8 holds every character, so it refuses only jobs whose texts lose
// characters that a file cannot carry (a tab from "&#9;", say): what is left of such a
// text may read back as another one.
void CheckSavesAs(const std::vector<qx::TJob>& jobs, const std::string& encoding) {
  std::string bytes;
  try {
    bytes = qx::ComposeJobListFile(jobs, encoding);
  } catch (const qx::TJobListError&) {
    Check(!encoding.empty() || AsStored(jobs) != jobs);
    return;
  }
  Check(qx::ParseJobList(bytes, "saved job list") == AsStored(jobs));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<qx::TJob> jobs;
  try {
    jobs = qx::ParseJobList(bytes, "fuzz input");
  } catch (const qx::TJobListError&) {
    return 0;  // a bad file is refused with a message, which is what it should get
  }
  for (const qx::TJob& job : jobs) Check(job.type != qx::TJobKind::jobNone);

  CheckSavesAs(jobs, "");
  // One offered encoding per input, so every one gets its share without slowing each run.
  const auto& choices = qx::XMLEncodingChoices();
  CheckSavesAs(jobs, EncodingName(choices[size % choices.size()]));

  qx::TJobList list;
  list.ReplaceAll(jobs);
  std::int32_t counter = 0;
  for (const std::string_view name : {"Ærøskøbing – ÉTÉ.JPG", "ΟΔΟΣ e\u0301 straße.txt", "caf\xE9 \xFF.txt", ""}) {
    qx::ApplyJobList(list, name, counter);
  }
  return 0;
}
