#pragma once
// The jobs of the Windows program, one per switch.
#include "startup/dispatch.h"
#include "startup/program_context.h"

namespace orbin {

// The run's context, set once by the start-up routine.
const ProgramContext& Program();

// Runs `job`. A job either ends the program (throws EndProgram), fails
// (throws Failure), or returns: true when it opened a window whose handlers
// carry the rest of the run, false when the run simply ends.
bool RunJob(Job job);

}  // namespace orbin
