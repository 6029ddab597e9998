#pragma once
// The reader authentication job ("/ReadF4", or the executable "chg2eng"):
// open the reader on one or two ports, authenticate the SAM when the card
// status asks for it, show each step in the progress window, record failing
// statuses in "ickno", and end the program.
#include <cstdint>
#include <string>
#include <string_view>

#include "cardreader/progress_window.h"
#include "cardreader/reader_library.h"
#include "cardreader/working_directory.h"
#include "platform/clock.h"
#include "platform/files.h"

namespace orbin {

inline constexpr char kReaderExecutableName[] = "chg2eng";
inline constexpr char kReaderBackupDrive[] = "c:";
inline constexpr char kReaderBackupDirectory[] = "c:\\backup\\vexa\\";

struct ReaderRunPlatform {
  ReaderLibrary& reader;
  ProgressWindow& progress;
  FileSystem& files;
  WorkingDirectory& directory;
  Clock& clock;
  EventPump& events;
};

class ReaderRun {
 public:
  explicit ReaderRun(ReaderRunPlatform platform);

  // The whole job; always ends by throwing EndProgram. Library failures
  // (ReaderLibraryFailure) and file failures pass through to the top level.
  [[noreturn]] void Run(std::string_view argument_text, std::string_view executable_base_name);

  // Open, card status and, for status 1, authentication on one port.
  void Attempt(int port);
  void AuthenticateSam(int port);
  // Unloads the progress window, closes the reader, ends the program; each
  // step goes on past a failure.
  [[noreturn]] void CloseReaderAndEnd();

  // The result of the last library call of the run, widened.
  int reader_status() const { return reader_status_; }

 private:
  // Writes the port's mark ("X" after a failing status, "0" when a failure
  // has cleared); returns true when a new failure was recorded.
  bool RecordStatus(std::int16_t mark_position, int port, char mark);

  ReaderRunPlatform platform_;
  int reader_status_ = 0;
};

}  // namespace orbin
