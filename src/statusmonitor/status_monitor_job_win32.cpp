// The status monitor job ("memfrm"): loads `memfrm`, whose load shows it;
// its timer and handlers carry the run until it is unloaded.
#include "cardreader/reader_library_win32.h"
#include "platform/clock_win32.h"
#include "startup/job_registry_win32.h"
#include "statusmonitor/memfrm_win32.h"

namespace orbin {
namespace {

bool RunStatusMonitor() {
  // They live for the rest of the run: the message loop carries it.
  static Win32ReaderLibrary reader;
  static SystemClock clock;
  static Win32MemorySource memory;
  static MemfrmForm form;
  static StatusMonitor monitor(form, reader, clock, memory);
  form.Load(monitor);
  monitor.Form_Load();
  return true;
}

const JobRegistration kRegistration{Job::kStatusMonitor, &RunStatusMonitor};

}  // namespace
}  // namespace orbin
