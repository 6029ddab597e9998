// Runs one module routine through the real platform calls and writes its
// result, UTF-8, to the file named last:
//   platform_probe readini KEY DEFAULT INI OUT
//   platform_probe fileexists PATH OUT
//   platform_probe fromansi HEXBYTES OUT
//     the code page bytes (two hex digits each) as the program decodes them
//   platform_probe hold PATH shared|exclusive MILLISECONDS OUT
//     holds PATH open for reading, sharing reading and writing (as the main
//     program may) or nothing, and writes "held" to OUT once it has it.
// asks the window of class CLASS to close, as another program's close
// request does, and returns once it has handled the request (or the
// program ended meanwhile):
//   platform_probe close CLASS OUT
// and reports how the system keeps a top-level window whose caption ends
// with TEXT: "shown" or "hidden", then ",topmost" if so; "none": no such
// window.
//   platform_probe window TEXT OUT
// and what the first drop-down list of that window holds: its text, then
// each entry, one per line.
//   platform_probe combo TEXT OUT
// and whether the shown window of class CLASS has handled all the input it
// was sent before: the window and its controls are marked for repainting,
// which their program does only once no input is waiting; "settled" once
// it has, "busy" if it has not within MILLISECONDS, "none" without such a
// window (or when it goes meanwhile).
//   platform_probe settled CLASS MILLISECONDS OUT
#include <windows.h>

#include <fstream>
#include <string>

#include "platform/codepage.h"
#include "platform/files_win32.h"
#include "platform/settings_win32.h"
#include "platform/wide_win32.h"
#include "startup/module_routines.h"

namespace {

struct WindowSearch {
  std::wstring ending;
  HWND found = nullptr;
};

BOOL CALLBACK FindByCaptionEnding(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  wchar_t caption[256] = {};
  GetWindowTextW(window, caption, 256);
  const std::wstring text = caption;
  const std::wstring& ending = search->ending;
  if (text.size() < ending.size() ||
      text.compare(text.size() - ending.size(), std::wstring::npos, ending) != 0)
    return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK AnyToRepaint(HWND control, LPARAM data) {
  if (GetUpdateRect(control, nullptr, FALSE)) *reinterpret_cast<bool*>(data) = true;
  return TRUE;
}

bool WaitingToRepaint(HWND window) {
  bool waiting = GetUpdateRect(window, nullptr, FALSE) != FALSE;
  EnumChildWindows(window, &AnyToRepaint, reinterpret_cast<LPARAM>(&waiting));
  return waiting;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using namespace orbin;
  if (argc < 2) return 2;
  std::wstring command = argv[1];
  std::string result;
  if (command == L"readini" && argc == 6) {
    Win32SettingsFile settings;
    result = ReadIniKey(settings, Narrow(argv[2]), Narrow(argv[3]), Narrow(argv[4]));
  } else if (command == L"fileexists" && argc == 4) {
    Win32FileSystem files;
    result = files.FileExists(Narrow(argv[2])) ? "true" : "false";
  } else if (command == L"fromansi" && argc == 4) {
    const std::string hex = Narrow(argv[2]);
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
      bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    result = FromAnsi(bytes);
  } else if (command == L"hold" && argc == 6) {
    const DWORD share = std::wstring(argv[3]) == L"shared" ? FILE_SHARE_READ | FILE_SHARE_WRITE : 0;
    HANDLE file = CreateFileW(argv[2], GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::ofstream(argv[argc - 1], std::ios::binary) << "held";
    Sleep(static_cast<DWORD>(_wtoi(argv[4])));
    CloseHandle(file);
    return 0;
  } else if (command == L"endsession" && argc == 4) {
    HWND window = FindWindowW(argv[2], nullptr);
    if (!window) return 1;
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                        &answer);
    // The program may end while it handles this: no answer is expected.
    SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                        &answer);
    result = "sent";
  } else if (command == L"close" && argc == 4) {
    HWND window = FindWindowW(argv[2], nullptr);
    if (!window) return 1;
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    result = "sent";
  } else if (command == L"window" && argc == 4) {
    WindowSearch search{argv[2]};
    EnumWindows(&FindByCaptionEnding, reinterpret_cast<LPARAM>(&search));
    if (!search.found) {
      result = "none";
    } else {
      result = IsWindowVisible(search.found) ? "shown" : "hidden";
      if (GetWindowLongW(search.found, GWL_EXSTYLE) & WS_EX_TOPMOST) result += ",topmost";
    }
  } else if (command == L"combo" && argc == 4) {
    WindowSearch search{argv[2]};
    EnumWindows(&FindByCaptionEnding, reinterpret_cast<LPARAM>(&search));
    HWND combo = search.found ? FindWindowExW(search.found, nullptr, L"ComboBox", nullptr) : nullptr;
    if (!combo) return 1;
    // Asked of the list itself: GetWindowText of another program's window
    // gives its caption, not the list's text.
    wchar_t text[256] = {};
    SendMessageW(combo, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    result = Narrow(text);
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      wchar_t entry[256] = {};
      SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
      result += '\n';
      result += Narrow(entry);
    }
  } else if (command == L"settled" && argc == 5) {
    HWND window = FindWindowW(argv[2], nullptr);
    if (!window || !IsWindowVisible(window)) {
      result = "none";
    } else {
      // A message is no use: the program takes sent and posted messages
      // before input, but paints only when no input is left.
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
      const DWORD start = GetTickCount();
      const DWORD limit = static_cast<DWORD>(_wtoi(argv[3]));
      result = "busy";
      while (GetTickCount() - start < limit) {
        if (!IsWindow(window)) {
          result = "none";
          break;
        }
        if (!WaitingToRepaint(window)) {
          result = "settled";
          break;
        }
        Sleep(10);
      }
    }
  } else {
    return 2;
  }
  std::ofstream out(argv[argc - 1], std::ios::binary);
  out << result;
  return out ? 0 : 1;
}
