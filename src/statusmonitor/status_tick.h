#pragma once
// The status monitor's work: once a second, open the reader on COM1, ask the
// card status, close it again, and show the time and the status in the
// caption. No failure stops a tick.
#include <string>

#include "cardreader/reader_library.h"
#include "platform/clock.h"
#include "statusmonitor/memory_figures.h"
#include "statusmonitor/status_monitor_view.h"

namespace orbin {

// "14:05:09": 24-hour clock, two digits each.
std::string TimeOfDayText(const LocalTime& time);

class StatusMonitor {
 public:
  StatusMonitor(StatusMonitorView& view, ReaderLibrary& reader, Clock& clock, MemorySource& memory);

  // The first tick runs before the window is shown, so the design caption
  // is never seen; the tray icon comes with the window.
  void Form_Load();
  // Caption "HH:MM:SS", then "HH:MM:SS - S" with S the card status, or 53 /
  // 453 when the library or an entry point is missing.
  void Timer1_Timer();

 private:
  StatusMonitorView& view_;
  ReaderLibrary& reader_;
  Clock& clock_;
  MemorySource& memory_;
};

}  // namespace orbin
