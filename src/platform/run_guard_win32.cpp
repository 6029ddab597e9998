#include "platform/run_guard_win32.h"

#include <windows.h>

#include "common/run_guard.h"
#include "platform/printer_surface_win32.h"
#include "platform/wide_win32.h"

namespace orbin {
namespace {

class Win32RunPlatform : public RunPlatform {
 public:
  void FinishPrinting(bool send) override { orbin::FinishPrinting(send); }
  void ShowErrorBox(const std::string& message) override { orbin::ShowErrorBox(message); }
  [[noreturn]] void EndProcess(int exit_code) override { orbin::EndProcess(exit_code); }
};

// One for the run: whether a failure is being reported concerns every
// window's handlers.
RunGuard& Guard() {
  static Win32RunPlatform platform;
  static RunGuard guard(platform);
  return guard;
}

}  // namespace

void ShowErrorBox(const std::string& message) {
  MessageBoxW(nullptr, Widen(message).c_str(), kProgramTitle, MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

int RunGuarded(const std::function<void()>& body) { return Guard().RunGuarded(body); }

void RunHandler(const std::function<void()>& body) { Guard().RunHandler(body); }

void EndProcess(int exit_code) { ExitProcess(static_cast<UINT>(exit_code)); }

}  // namespace orbin
