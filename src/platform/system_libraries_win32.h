#pragma once
// System libraries that only some jobs use, loaded when a job first calls
// into them rather than when the program starts: the printer library (its
// loading connects to the print system, which would cost every job a
// noticeable start) and the shell. The program imports neither; it calls
// their entry points through these records.
#include <windows.h>
#include <shellapi.h>
#include <winspool.h>

namespace orbin {

// "winspool.drv": the printer calls of the print jobs and the printer
// settings window.
struct PrinterLibrary {
  decltype(&::OpenPrinterA) OpenPrinterA;
  decltype(&::OpenPrinterW) OpenPrinterW;
  decltype(&::ClosePrinter) ClosePrinter;
  decltype(&::GetPrinterA) GetPrinterA;
  decltype(&::SetPrinterA) SetPrinterA;
  decltype(&::EnumPrintersW) EnumPrintersW;
  decltype(&::GetDefaultPrinterW) GetDefaultPrinterW;
  decltype(&::DocumentPropertiesW) DocumentPropertiesW;
};

// "shell32.dll": the status monitor's tray icon and the office information
// window's links.
struct ShellLibrary {
  decltype(&::Shell_NotifyIconW) Shell_NotifyIconW;
  decltype(&::ShellExecuteW) ShellExecuteW;
};

// Each library is loaded and every entry point above bound at the first
// call, and again at later calls while that fails. A library that cannot be
// loaded, or lacks one of the entry points, is a Failure naming it (the
// standard error box of the job that needed it).
const PrinterLibrary& Spooler();
const ShellLibrary& Shell();

}  // namespace orbin
