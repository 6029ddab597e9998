#include "startup/jobs_win32.h"

#include "common/program_end.h"
#include "platform/files_win32.h"
#include "platform/printer_surface_win32.h"
#include "startup/print_text_file.h"

namespace orbin {
namespace {

// "/HH/": "orbin.txt" line by line on a landscape page.
[[noreturn]] void PrintResultFile() {
  Win32FileSystem files;
  PrinterSurface& printer = DefaultPrinter();
  printer.SetOrientation(Orientation::kLandscape);
  PrintTextFile(SplitTextLines(files.ReadAll("orbin.txt")), printer);
  throw EndProgram{0};
}

// "/VV/": portrait for the program's printer output; nothing is printed.
[[noreturn]] void SetPortrait() {
  DefaultPrinter().SetOrientation(Orientation::kPortrait);
  throw EndProgram{0};
}

}  // namespace

bool RunJob(Job job) {
  switch (job) {
    case Job::kPrintTextFile:
      PrintResultFile();
    case Job::kPortrait:
      SetPortrait();
    default:
      // Jobs this build does not carry yet end the run quietly.
      return false;
  }
}

}  // namespace orbin
