// SPDX-License-Identifier: GPL-3.0-or-later
// Jobs given on the command line: each job option adds one ticked job, in the order
// given, with the meaning of the desktop program's job dialogs; --at, --match-case and
// --taken right after a job option qualify that job.
#pragma once

#include <span>
#include <vector>

#include "cli/UCliArgs.h"
#include "jobs/UTJob.h"

namespace qx::cli {

// The job options and their qualifiers, for the commands that take jobs.
std::span<const TOptionRule> JobOptionRules();

// The jobs the job options among `options` make, in order; the other options are
// skipped. Throws TUsageError for a bad value (a count out of range, an unknown place,
// a regular expression that does not compile, with the engine's message) or a qualifier
// that does not follow a job it fits.
std::vector<TJob> JobsFromOptions(std::span<const TGivenOption> options);

}  // namespace qx::cli
