// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/UMakeJob.h"

namespace qx::test {

TJob MakeJob(TJobKind kind, std::int32_t modifier, std::int32_t int1, std::int32_t int2, std::string str1,
             std::string str2, bool enabled) {
  TJob job(kind);
  job.modifier = modifier;
  job.int1 = int1;
  job.int2 = int2;
  job.str1 = std::move(str1);
  job.str2 = std::move(str2);
  job.enabled = enabled;
  return job;
}

}  // namespace qx::test
