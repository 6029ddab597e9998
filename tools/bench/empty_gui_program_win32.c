/* The floor of a windowed program's start: a Win32 program that does
   nothing but import user32 and gdi32, which every windowed program loads.
   The calls below never run; they only keep the imports. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  if (command_line[0] == '\x01') {
    GetSystemMetrics(0); /* user32 */
    GetStockObject(0);   /* gdi32 */
  }
  return 0;
}
