// "/L": the treatment-site entry window carries the run; its handlers end it.
#include "platform/clock_win32.h"
#include "platform/files_win32.h"
#include "platform/settings_win32.h"
#include "startup/job_registry_win32.h"
#include "startup/jobs_win32.h"
#include "treatment/chg2eng_win32.h"
#include "treatment/input_language_win32.h"

namespace orbin {
namespace {

struct TreatmentEntryRun {
  Win32FileSystem files;
  Win32SettingsFile settings;
  SystemClock clock;
  Win32InputLanguage input_language;
  chg2eng window;
  TreatmentEntryForm form{window, {files, settings, clock, input_language},
                          Program().argument_text, Program().start_dir};
};

bool RunTreatmentEntry() {
  // Lives until a handler ends the process.
  auto* run = new TreatmentEntryRun;
  run->window.Open(run->form, run->input_language);
  run->form.Form_Load();
  return true;
}

const JobRegistration kRegistration{Job::kTreatmentEntry, &RunTreatmentEntry};

}  // namespace
}  // namespace orbin
