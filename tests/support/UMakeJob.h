// SPDX-License-Identifier: GPL-3.0-or-later
// Builds a job in one expression for test tables.
#pragma once

#include <cstdint>
#include <string>

#include "jobs/UTJob.h"

namespace qx::test {

// An enabled job with the given fields; the rest zero or empty.
TJob MakeJob(TJobKind kind, std::int32_t modifier, std::int32_t int1 = 0, std::int32_t int2 = 0, std::string str1 = "",
             std::string str2 = "", bool enabled = true);

}  // namespace qx::test
