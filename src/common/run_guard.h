#pragma once
// How a run ends, whatever ends it: the job's body, or a window handler
// that the system calls while the program waits for events, which includes
// the message loop of a box the program shows. A failure is shown in the
// error box and ends the program with kFailureExitCode.
//
// While the error box is up, the program's other windows still get their
// events: a timer ticks, another program asks a window to close. Their
// handlers may end the program, with 0. That end must neither tear the box
// down nor turn the failure into success: once a failure is being
// reported, a handler's end (or failure) is left unfinished, the box stays
// until the person answers it, and the run then ends with the failure's
// code.
#include <functional>
#include <string>

namespace orbin {

inline constexpr int kFailureExitCode = 1;

// What ending a run needs of the platform.
class RunPlatform {
 public:
  virtual ~RunPlatform() = default;
  // A print document still open is sent (`send`) or discarded. Throws
  // Failure when the sending fails.
  virtual void FinishPrinting(bool send) = 0;
  // Shows the error box and returns once the person has answered it; the
  // program's windows get their events meanwhile.
  virtual void ShowErrorBox(const std::string& message) = 0;
  // Ends the process with `exit_code`; never returns.
  [[noreturn]] virtual void EndProcess(int exit_code) = 0;
};

class RunGuard {
 public:
  explicit RunGuard(RunPlatform& platform) : platform_(platform) {}

  // Runs `body`; returns the exit code the program should end with if
  // `body` ended the program or failed, or -1 when it returned.
  int RunGuarded(const std::function<void()>& body);

  // For window handlers: runs `body`, and if it ends the program or fails,
  // ends the process at once (after the error box), as an end statement
  // would; unless a failure is being reported, see above.
  void RunHandler(const std::function<void()>& body);

  bool ReportingFailure() const { return reporting_failure_; }

 private:
  int ReportFailure(const std::string& message);

  RunPlatform& platform_;
  bool reporting_failure_ = false;
};

}  // namespace orbin
