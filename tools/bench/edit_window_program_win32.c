/* The baseline of the entry-window benchmark: the least a program can do to
   take typing, a window with one edit box that has the keyboard. Built with
   orbin.exe's link options and manifest (edit_window_program.exe), and
   plain for reference; it ends when its window is closed. */
#define UNICODE
#include <windows.h>

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR command_line, int show) {
  WNDCLASSW window_class = {0};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(NULL, IDC_ARROW);
  window_class.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
  window_class.lpszClassName = L"edit_window_program";
  RegisterClassW(&window_class);
  HWND window = CreateWindowExW(0, L"edit_window_program", L"edit window", WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, 280, 120, NULL, NULL, instance, NULL);
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                              8, 8, 240, 40, window, NULL, instance, NULL);
  ShowWindow(window, SW_SHOW);
  SetFocus(edit);
  MSG msg;
  while (GetMessageW(&msg, NULL, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
