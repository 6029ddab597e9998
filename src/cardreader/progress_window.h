#pragma once
// `lookdc`, the blinking banner of the reader run: its event handlers and
// `ShowProgress`, over a ProgressView. Handlers run only while the run
// dispatches events (inside ShowProgress and WaitSeconds).
#include <string>

#include "cardreader/progress_view.h"
#include "cardreader/reader_library.h"
#include "platform/clock.h"

namespace orbin {

inline constexpr int kProgressTickLimit = 600;

struct TwipsPoint {
  double left = 0;
  double top = 0;
};

// Centred across, a third of the way down less 400 twips.
TwipsPoint ProgressPlacement(TwipsSize screen, TwipsSize window);

class ProgressWindow {
 public:
  ProgressWindow(ProgressView& view, ReaderLibrary& reader, EventPump& events);

  // Loads the window when needed, places it, shows `message` and lets it
  // paint before the caller's next (possibly long) library call.
  void ShowProgress(const std::string& message);

  void Form_Load();
  // Blinks the label; past kProgressTickLimit ticks it ends like "X".
  void Timer1_Timer();
  // "X": closes the reader and ends the program (throws EndProgram).
  [[noreturn]] void Command1_Click();
  void Label1_DblClick();

  // Unloads the window if it is loaded.
  void Unload();

  bool loaded() const { return loaded_; }
  int tick_count() const { return tick_count_; }

 private:
  ProgressView& view_;
  ReaderLibrary& reader_;
  EventPump& events_;
  bool loaded_ = false;
  int tick_count_ = 0;
};

}  // namespace orbin
