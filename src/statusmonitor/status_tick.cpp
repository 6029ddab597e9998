#include "statusmonitor/status_tick.h"

#include <cstdio>
#include <exception>

namespace orbin {

std::string TimeOfDayText(const LocalTime& time) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.hour, time.minute, time.second);
  return text;
}

StatusMonitor::StatusMonitor(StatusMonitorView& view, ReaderLibrary& reader, Clock& clock,
                             MemorySource& memory)
    : view_(view), reader_(reader), clock_(clock), memory_(memory) {}

void StatusMonitor::Form_Load() {
  Timer1_Timer();
  view_.AddTrayIcon();
  view_.Show();
}

void StatusMonitor::Timer1_Timer() {
  view_.SetCaption(TimeOfDayText(clock_.Now()));
  int status = 0;
  // A call that cannot be made leaves its error number as the status; any
  // other failure leaves the status as it was.
  const auto call = [&](auto&& entry_point) {
    try {
      status = entry_point();
    } catch (const ReaderLibraryFailure& failure) {
      status = failure.number();
    } catch (const std::exception&) {
    }
  };
  call([&] { return reader_.csOpenCom(0); });
  call([&] { return reader_.hisGetCardStatus(kReaderCardType); });
  view_.SetCaption(TimeOfDayText(clock_.Now()) + " - " + std::to_string(status));
  call([&] { return reader_.csCloseCom(); });
  try {
    view_.SetMemoryTexts(FormatMemoryFigures(memory_.Read()));
  } catch (const std::exception&) {
  }
}

}  // namespace orbin
