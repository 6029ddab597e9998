#include "treatment/input_language_win32.h"

#include <windows.h>

namespace orbin {
namespace {

// Marks our injected keystrokes, so the wait knows its own Ctrl release.
constexpr ULONG_PTR kInjectedMark = 0x4F524249;  // "ORBI"
constexpr ULONGLONG kLongestWaitMs = 1000;
// When another thread has the keyboard the keys go there; give them a moment.
constexpr ULONGLONG kForeignWaitMs = 100;

INPUT Key(WORD virtual_key, bool release) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtual_key;
  input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
  input.ki.dwExtraInfo = kInjectedMark;
  return input;
}

bool IsCtrl(WPARAM virtual_key) {
  return virtual_key == VK_CONTROL || virtual_key == VK_LCONTROL || virtual_key == VK_RCONTROL;
}

bool KeyboardIsOurs() {
  HWND foreground = GetForegroundWindow();
  return foreground && GetWindowThreadProcessId(foreground, nullptr) == GetCurrentThreadId();
}

}  // namespace

std::int32_t Win32InputLanguage::KeyboardLayoutHandle() {
  // Window 0 gives thread 0, which GetKeyboardLayout takes as this thread.
  const DWORD thread = GetWindowThreadProcessId(nullptr, nullptr);
  const auto layout = reinterpret_cast<std::uintptr_t>(GetKeyboardLayout(thread));
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(layout));
}

void Win32InputLanguage::SendCtrlSpaceAndWait() {
  INPUT keys[] = {Key(VK_CONTROL, false), Key(VK_SPACE, false), Key(VK_SPACE, true),
                  Key(VK_CONTROL, true)};
  if (SendInput(4, keys, sizeof(INPUT)) != 4) return;
  struct Flag {
    bool& flag;
    explicit Flag(bool& f) : flag(f) { flag = true; }
    ~Flag() { flag = false; }
  } waiting(waiting_);
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      const bool last = (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) &&
                        IsCtrl(msg.wParam) && GetMessageExtraInfo() == LPARAM(kInjectedMark);
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      if (last) return;
    }
    const ULONGLONG waited = GetTickCount64() - start;
    const ULONGLONG limit = KeyboardIsOurs() ? kLongestWaitMs : kForeignWaitMs;
    if (waited >= limit) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(limit - waited), QS_ALLINPUT);
  }
}

}  // namespace orbin
