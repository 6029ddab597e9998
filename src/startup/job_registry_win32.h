#pragma once
// Each subsystem's Windows code registers the job it carries, so the
// start-up routine needs to know none of them:
//   static const JobRegistration kRegistration{Job::kTreatmentEntry, &RunTreatmentEntry};
#include "startup/dispatch.h"

namespace orbin {

// Runs a job: throws EndProgram or Failure, or returns true when a window
// now carries the run (false: the run ends).
using JobRunner = bool (*)();

void RegisterJob(Job job, JobRunner runner);
// The registered runner, or nullptr.
JobRunner FindJob(Job job);

struct JobRegistration {
  JobRegistration(Job job, JobRunner runner) { RegisterJob(job, runner); }
};

}  // namespace orbin
