// Main: records the start-up directory, picks the one job from the argument
// text and runs it; window jobs then live in the message loop until their
// handlers end the program.
#include <windows.h>

#include "platform/wide_win32.h"
#include "startup/jobs_win32.h"
#include "platform/run_guard_win32.h"

namespace orbin {
namespace {

ProgramContext g_program;

ProgramContext ReadProgramContext() {
  ProgramContext context;
  wchar_t directory[MAX_PATH * 2];
  DWORD n = GetCurrentDirectoryW(MAX_PATH * 2, directory);
  context.start_dir = MakeStartDir(Narrow(std::wstring_view(directory, n)));
  context.argument_text = ArgumentText(Narrow(GetCommandLineW()));
  wchar_t module[MAX_PATH * 2];
  n = GetModuleFileNameW(nullptr, module, MAX_PATH * 2);
  context.executable_base_name = ExecutableBaseName(Narrow(std::wstring_view(module, n)));
  return context;
}

int MessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

const ProgramContext& Program() { return g_program; }

}  // namespace orbin

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace orbin;
  bool windows_open = false;
  int code = RunGuarded([&] {
    g_program = ReadProgramContext();
    windows_open = RunJob(SelectJob(g_program.argument_text, g_program.executable_base_name));
  });
  if (code >= 0) return code;
  return windows_open ? MessageLoop() : 0;
}
