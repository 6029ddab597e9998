#include "common/run_guard.h"

#include <exception>

#include "common/failure.h"
#include "common/program_end.h"

namespace orbin {

int RunGuard::RunGuarded(const std::function<void()>& body) {
  try {
    body();
    return -1;
  } catch (const EndProgram& end) {
    // Under the error box: the end waits for the box, and the failure's
    // code stands.
    if (reporting_failure_) return kFailureExitCode;
    try {
      platform_.FinishPrinting(true);
    } catch (const Failure& failure) {
      return ReportFailure(failure.what());
    }
    return end.exit_code;
  } catch (const Failure& failure) {
    return ReportFailure(failure.what());
  } catch (const std::exception& failure) {
    return ReportFailure(std::string("未預期的錯誤：") + failure.what());
  }
}

void RunGuard::RunHandler(const std::function<void()>& body) {
  // A handler that starts while the error box is up runs under it: its end
  // is the box's to finish.
  const bool under_error_box = reporting_failure_;
  const int code = RunGuarded(body);
  if (code < 0 || under_error_box) return;
  platform_.EndProcess(code);
}

int RunGuard::ReportFailure(const std::string& message) {
  // A second failure while the first one's box is up is not shown: the
  // person answers the first, and the run ends with its code.
  if (reporting_failure_) return kFailureExitCode;
  reporting_failure_ = true;
  platform_.FinishPrinting(false);
  platform_.ShowErrorBox(message);
  return kFailureExitCode;
}

}  // namespace orbin
