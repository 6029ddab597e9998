#include "platform/run_guard_win32.h"

#include <windows.h>

#include "common/failure.h"
#include "common/program_end.h"
#include "platform/printer_surface_win32.h"
#include "platform/wide_win32.h"

namespace orbin {

void ShowErrorBox(const std::string& message) {
  MessageBoxW(nullptr, Widen(message).c_str(), kProgramTitle, MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

int RunGuarded(const std::function<void()>& body) {
  try {
    body();
    return -1;
  } catch (const EndProgram& end) {
    try {
      FinishPrinting(true);
    } catch (const Failure& failure) {
      ShowErrorBox(failure.what());
      return kFailureExitCode;
    }
    return end.exit_code;
  } catch (const Failure& failure) {
    FinishPrinting(false);
    ShowErrorBox(failure.what());
  } catch (const std::exception& failure) {
    FinishPrinting(false);
    ShowErrorBox(std::string("未預期的錯誤：") + failure.what());
  }
  return kFailureExitCode;
}

void RunHandler(const std::function<void()>& body) {
  int code = RunGuarded(body);
  if (code >= 0) EndProcess(code);
}

void EndProcess(int exit_code) { ExitProcess(static_cast<UINT>(exit_code)); }

}  // namespace orbin
