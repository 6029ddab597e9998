#include "startup/jobs_win32.h"

#include "common/program_end.h"
#include "platform/files_win32.h"
#include "platform/printer_surface_win32.h"
#include "startup/job_registry_win32.h"
#include "startup/print_text_file.h"

namespace orbin {
namespace {

// "/HH/": "orbin.txt" line by line on a landscape page.
bool PrintResultFile() {
  Win32FileSystem files;
  PrinterSurface& printer = DefaultPrinter();
  printer.SetOrientation(Orientation::kLandscape);
  PrintTextFile(SplitTextLines(files.ReadAll("orbin.txt")), printer);
  throw EndProgram{0};
}

// "/VV/": portrait for the program's printer output; nothing is printed.
bool SetPortrait() {
  DefaultPrinter().SetOrientation(Orientation::kPortrait);
  throw EndProgram{0};
}

const JobRegistration kPrintResultFile{Job::kPrintTextFile, &PrintResultFile};
const JobRegistration kPortrait{Job::kPortrait, &SetPortrait};

}  // namespace

bool RunJob(Job job) {
  JobRunner runner = FindJob(job);
  // A job this build does not carry ends the run quietly.
  return runner ? runner() : false;
}

}  // namespace orbin
