#pragma once
// Ending the program from inside a job's rules ("end the program"): thrown,
// and caught by the top level of the run (or of the window handler that is
// running), which ends the process with `exit_code`. Nothing after the
// throw runs, as nothing after an end would.
namespace orbin {

struct EndProgram {
  int exit_code = 0;
};

}  // namespace orbin
