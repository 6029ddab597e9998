/* Times program starts from inside Wine, as the main system starts orbin.exe
   (CreateProcess), so that nothing outside Windows is counted.

     startup_timer.exe PLAN RESULTS ROUNDS

   PLAN (UTF-8) has one program per line, "MODE<TAB>COMMAND LINE":
     exit    from the start until the process has ended (it must end with 0);
     typing  from the start until a visible edit box of the program has the
             keyboard in its active window (polled every millisecond); the
             window is then closed, and the program must end by itself.
   The programs run one after another, ROUNDS times over (interleaved), each
   round starting one program further down the plan, so that no program
   always follows the same one; the system settles for a moment (untimed)
   after each program has ended. RESULTS gets one line per round: the
   milliseconds of each program, in the plan's order, separated by tabs.
   Exit code 0, or 1 with the reason on the error channel. */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

enum { kMaxPrograms = 8, kMaxCommand = 2048 };
static const DWORD kTimeoutMs = 30000;
/* After a program has ended, Wine and the X server still tidy up its
   windows for a while; the next start should not pay for that. */
static const DWORD kSettleMs = 100;

typedef struct {
  BOOL typing;
  wchar_t command[kMaxCommand];
} Program;

static double g_ticks_per_ms;

static double Now(void) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return (double)now.QuadPart / g_ticks_per_ms;
}

static void Fail(const wchar_t* what, const wchar_t* command) {
  fwprintf(stderr, L"startup_timer: %ls: %ls (error %lu)\n", what, command, GetLastError());
  exit(1);
}

/* True when the thread's focus is a visible edit box in its active window:
   keys typed now go into the box. */
static BOOL KeyboardInEditBox(DWORD thread) {
  GUITHREADINFO info;
  wchar_t name[64];
  size_t length;
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(thread, &info) || !info.hwndFocus || !info.hwndActive) return FALSE;
  if (GetAncestor(info.hwndFocus, GA_ROOT) != info.hwndActive) return FALSE;
  if (!IsWindowVisible(info.hwndFocus)) return FALSE;
  /* A class of a newer control library may carry a version prefix. */
  length = (size_t)GetClassNameW(info.hwndFocus, name, 64);
  return length >= 4 && _wcsicmp(name + length - 4, L"Edit") == 0;
}

static double TimeOne(Program* program) {
  STARTUPINFOW startup;
  PROCESS_INFORMATION process;
  DWORD code = 1;
  double start, elapsed;
  memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  start = Now();
  if (!CreateProcessW(NULL, program->command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
    Fail(L"cannot start", program->command);
  if (program->typing) {
    while (!KeyboardInEditBox(process.dwThreadId)) {
      if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
        Fail(L"ended before an edit box had the keyboard", program->command);
      if (Now() - start > kTimeoutMs) Fail(L"no edit box got the keyboard", program->command);
      Sleep(1);
    }
    elapsed = Now() - start;
    {
      GUITHREADINFO info;
      info.cbSize = sizeof info;
      GetGUIThreadInfo(process.dwThreadId, &info);
      PostMessageW(info.hwndActive, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, kTimeoutMs) != WAIT_OBJECT_0)
      Fail(L"did not end when its window was closed", program->command);
  } else {
    if (WaitForSingleObject(process.hProcess, kTimeoutMs) != WAIT_OBJECT_0)
      Fail(L"did not end", program->command);
    elapsed = Now() - start;
  }
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (code != 0) Fail(L"ended with a non-zero code", program->command);
  return elapsed;
}

static int ReadPlan(const wchar_t* path, Program* programs) {
  char line[kMaxCommand];
  int count = 0;
  FILE* plan = _wfopen(path, L"rb");
  if (!plan) Fail(L"cannot read the plan", path);
  while (count < kMaxPrograms && fgets(line, sizeof line, plan)) {
    char* tab = strchr(line, '\t');
    line[strcspn(line, "\r\n")] = '\0';
    if (!tab) continue;
    *tab = '\0';
    programs[count].typing = strcmp(line, "typing") == 0;
    if (!MultiByteToWideChar(CP_UTF8, 0, tab + 1, -1, programs[count].command, kMaxCommand))
      Fail(L"command line too long in", path);
    ++count;
  }
  fclose(plan);
  return count;
}

int wmain(int argc, wchar_t** argv) {
  Program programs[kMaxPrograms];
  LARGE_INTEGER frequency;
  FILE* results;
  int count, rounds, round, i;
  if (argc != 4) {
    fwprintf(stderr, L"usage: startup_timer PLAN RESULTS ROUNDS\n");
    return 1;
  }
  QueryPerformanceFrequency(&frequency);
  g_ticks_per_ms = (double)frequency.QuadPart / 1000.0;
  count = ReadPlan(argv[1], programs);
  rounds = _wtoi(argv[3]);
  results = _wfopen(argv[2], L"wb");
  if (!results) Fail(L"cannot write the results", argv[2]);
  for (round = 0; round < rounds; ++round) {
    double elapsed[kMaxPrograms];
    for (i = 0; i < count; ++i) {
      const int next = (round + i) % count;
      elapsed[next] = TimeOne(&programs[next]);
      Sleep(kSettleMs);
    }
    for (i = 0; i < count; ++i) fprintf(results, i ? "\t%.3f" : "%.3f", elapsed[i]);
    fputs("\n", results);
    fflush(results);
  }
  fclose(results);
  return 0;
}
