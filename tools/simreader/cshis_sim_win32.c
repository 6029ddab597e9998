/* A stand-in for the NHI card reader library "cshis.dll", for the tests and
 * for running the reader jobs on a PC without a reader. It is never shipped
 * as a practice's "cshis.dll".
 *
 * Results come from "cshis_sim.ini" in the folder of this DLL, one section
 * per COM port, one key per entry point:
 *
 *   [COM1]
 *   csOpenCom=0
 *   hisGetCardStatus=1,0     ; consumed call by call, the last value repeats
 *   csVerifySAMDC=0
 *   csCloseCom=0
 *   hisGetBasicData=0
 *   csOpenComDelay=500       ; optional: the call returns after 500 ms
 *   csCloseComDelay=second   ; or just after the local clock's next second
 *
 * The port is the one of the latest csOpenCom call (its index + 1), whether
 * the open succeeded or not; COM1 before any open. A delay stands for a slow
 * reader ("second" makes a whole-second wait of the caller that follows
 * last almost a full second, which the tests need to click in it). A missing file, section
 * or key gives 0. Each call's position in its sequence counts per port and
 * entry point, for the life of the process.
 *
 * Every call is appended to "cshis.log" beside the DLL as one line
 * "name(argument)=result", e.g. "csOpenCom(0)=0", "csCloseCom()=0".
 *
 * Exports are undecorated __stdcall names (linked with --kill-at), 16-bit
 * arguments and results, as 32-bit callers of the real library expect. */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

#define SIM_EXPORT __declspec(dllexport)

enum { kPorts = 4, kEntryPoints = 5 };
static const wchar_t* const kEntryNames[kEntryPoints] = {
    L"csOpenCom", L"hisGetCardStatus", L"csVerifySAMDC", L"csCloseCom", L"hisGetBasicData"};
enum { kOpen, kStatus, kVerify, kClose, kBasicData };

static HMODULE g_module;
static int g_port = 1;
static int g_calls[kPorts + 1][kEntryPoints];
static CRITICAL_SECTION g_lock;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    InitializeCriticalSection(&g_lock);
  } else if (reason == DLL_PROCESS_DETACH) {
    DeleteCriticalSection(&g_lock);
  }
  return TRUE;
}

/* `name` in the folder of this DLL. */
static void BesideDll(const wchar_t* name, wchar_t* path, size_t size) {
  DWORD n = GetModuleFileNameW(g_module, path, (DWORD)size);
  if (n == 0 || n >= size) {
    path[0] = L'\0';
    return;
  }
  wchar_t* slash = wcsrchr(path, L'\\');
  wchar_t* folder_end = slash ? slash + 1 : path;
  *folder_end = L'\0';
  if (wcslen(path) + wcslen(name) + 1 > size) {
    path[0] = L'\0';
    return;
  }
  wcscat(path, name);
}

/* The `call`-th value (0-based) of the comma-separated list; the last value
 * once the list is used up; 0 for an empty list. */
static short NthValue(const wchar_t* list, int call) {
  short value = 0;
  const wchar_t* p = list;
  for (int i = 0; *p; ++i) {
    wchar_t* end = NULL;
    long v = wcstol(p, &end, 10);
    if (end == p) break;
    value = (short)v;
    if (i == call) break;
    p = end;
    while (*p == L' ' || *p == L'\t') ++p;
    if (*p != L',') break;
    ++p;
  }
  return value;
}

static short NextResult(int entry) {
  wchar_t ini[MAX_PATH * 2], section[8], list[512];
  BesideDll(L"cshis_sim.ini", ini, sizeof ini / sizeof ini[0]);
  swprintf(section, sizeof section / sizeof section[0], L"COM%d", g_port);
  GetPrivateProfileStringW(section, kEntryNames[entry], L"0", list, sizeof list / sizeof list[0],
                           ini);
  return NthValue(list, g_calls[g_port][entry]++);
}

/* "<entry>Delay" of the port's section: milliseconds, or "second". */
static void Delay(int entry) {
  wchar_t ini[MAX_PATH * 2], section[8], key[40], value[32];
  BesideDll(L"cshis_sim.ini", ini, sizeof ini / sizeof ini[0]);
  swprintf(section, sizeof section / sizeof section[0], L"COM%d", g_port);
  swprintf(key, sizeof key / sizeof key[0], L"%lsDelay", kEntryNames[entry]);
  GetPrivateProfileStringW(section, key, L"", value, sizeof value / sizeof value[0], ini);
  if (wcscmp(value, L"second") == 0) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    Sleep(1000 - now.wMilliseconds + 50);
  } else if (value[0]) {
    long ms = wcstol(value, NULL, 10);
    if (ms > 0) Sleep((DWORD)ms);
  }
}

static void LogCall(int entry, const wchar_t* argument, short result) {
  wchar_t path[MAX_PATH * 2];
  char line[160];
  BesideDll(L"cshis.log", path, sizeof path / sizeof path[0]);
  int n = snprintf(line, sizeof line, "%ls(%ls)=%d\r\n", kEntryNames[entry], argument, result);
  HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written;
  WriteFile(file, line, (DWORD)n, &written, NULL);
  CloseHandle(file);
}

static short Call(int entry, const wchar_t* argument) {
  EnterCriticalSection(&g_lock);
  Delay(entry);
  short result = NextResult(entry);
  LogCall(entry, argument, result);
  LeaveCriticalSection(&g_lock);
  return result;
}

SIM_EXPORT short WINAPI csOpenCom(short port_index) {
  wchar_t argument[16];
  swprintf(argument, 16, L"%d", port_index);
  EnterCriticalSection(&g_lock);
  g_port = (port_index >= 0 && port_index < kPorts) ? port_index + 1 : 1;
  LeaveCriticalSection(&g_lock);
  return Call(kOpen, argument);
}

SIM_EXPORT short WINAPI hisGetCardStatus(short card_type) {
  wchar_t argument[16];
  swprintf(argument, 16, L"%d", card_type);
  return Call(kStatus, argument);
}

SIM_EXPORT short WINAPI csVerifySAMDC(void) { return Call(kVerify, L""); }

SIM_EXPORT short WINAPI csCloseCom(void) { return Call(kClose, L""); }

/* Declared by the program but never called: only its result is simulated;
 * the buffer is left as it is. */
SIM_EXPORT short WINAPI hisGetBasicData(char* buffer, int* length) {
  (void)buffer;
  (void)length;
  return Call(kBasicData, L"");
}
