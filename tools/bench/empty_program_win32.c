/* The baseline of the start-up benchmark: a Win32 program that does
   nothing, built like orbin.exe. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  return 0;
}
