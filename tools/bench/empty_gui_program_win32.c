/* The baseline of the start-up benchmark: a Win32 program that does nothing,
   built like orbin.exe and importing the same system DLLs (the loader maps
   them whatever the job, so they are part of every program's start). The
   calls below never run; they only keep the imports. */
#include <windows.h>
#include <shellapi.h>
#include <winspool.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  if (command_line[0] == '\x01') {
    GetSystemMetrics(0);                           /* user32 */
    GetStockObject(0);                             /* gdi32 */
    ClosePrinter(0);                               /* winspool.drv */
    ShellExecuteW(0, 0, 0, 0, 0, 0);               /* shell32 */
  }
  return 0;
}
