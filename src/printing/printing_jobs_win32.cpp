// The start-up routine's printing jobs, all carried by the printer settings
// window `prt2`.
#include "common/program_end.h"
#include "platform/files_win32.h"
#include "printing/print_script.h"
#include "printing/printer_list_file.h"
#include "printing/prt2_win32.h"
#include "startup/job_registry_win32.h"
#include "startup/jobs_win32.h"

namespace orbin {
namespace {

// "/Print/": "pic print" on the hidden window; its handler ends the run.
bool PressPicturePrint() { Prt2::Loaded().Command1_Click(); }

// "/Printer/" [name]: with a name, that printer becomes the default through
// the list's click handler; without one, the window opens with the stored
// settings and carries the run.
bool PrinterSettingsOrSwitch() {
  const std::string name = PrinterNameArgument(Program().argument_text);
  Prt2& prt2 = Prt2::Loaded();
  if (name.empty()) {
    prt2.Command4_Click();
    prt2.Show();
    return true;
  }
  prt2.Combo1InsertItem(name, 0);
  prt2.SetCombo1ListIndex(0);
  prt2.Unload();
}

// "/Printers/": the default printer, then every printer, to "Printers.txt".
bool ListPrinters() {
  Prt2& prt2 = Prt2::Loaded();
  Win32FileSystem files;
  WritePrinterListFile(files, prt2.Combo1Text(), prt2.Combo1Entries());
  prt2.Unload();
}

// "/Print2VB/": "fileprint" when the main system left a script; otherwise
// the run ends with nothing done.
bool PressFilePrint() {
  Win32FileSystem files;
  if (!files.FileExists(kPrintScriptFileName)) return false;
  Prt2::Loaded().Command2_Click();
}

const JobRegistration kPicturePrint{Job::kPicturePrint, &PressPicturePrint};
const JobRegistration kPrinter{Job::kPrinter, &PrinterSettingsOrSwitch};
const JobRegistration kPrinterList{Job::kPrinterList, &ListPrinters};
const JobRegistration kPrintScript{Job::kPrintScript, &PressFilePrint};

}  // namespace
}  // namespace orbin
