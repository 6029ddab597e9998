// The reader authentication job ("/ReadF4", or the program run as
// "chg2eng") on the real reader library, files, clock and progress window.
#include <windows.h>

#include "cardreader/progress_view_win32.h"
#include "cardreader/reader_library_win32.h"
#include "cardreader/reader_run.h"
#include "common/failure.h"
#include "platform/clock_win32.h"
#include "platform/files_win32.h"
#include "platform/wide_win32.h"
#include "startup/job_registry_win32.h"
#include "startup/jobs_win32.h"

namespace orbin {
namespace {

class Win32WorkingDirectory : public WorkingDirectory {
 public:
  // "c:" alone names the current directory of that drive.
  void ChangeDrive(const std::string& drive) override { Change(drive, "無法切換到磁碟機"); }
  void ChangeDirectory(const std::string& directory) override {
    Change(directory, "無法進入資料夾");
  }

 private:
  static void Change(const std::string& path, const char* what) {
    if (!SetCurrentDirectoryW(Widen(path).c_str())) {
      const DWORD error = GetLastError();
      throw Failure(FileFailureMessage(what, path, error));
    }
  }
};

bool RunReaderAuthentication() {
  Win32ReaderLibrary reader;
  Win32ProgressView view;
  MessagePump events;
  ProgressWindow progress(view, reader, events);
  view.Attach(progress);
  Win32FileSystem files;
  Win32WorkingDirectory directory;
  SystemClock clock;
  ReaderRun run({reader, progress, files, directory, clock, events});
  run.Run(Program().argument_text, Program().executable_base_name);
}

const JobRegistration kRegistration{Job::kReaderAuthentication, &RunReaderAuthentication};

}  // namespace
}  // namespace orbin
