#include "cardreader/progress_window.h"

#include "cardreader/ignore_failure.h"
#include "common/program_end.h"

namespace orbin {

TwipsPoint ProgressPlacement(TwipsSize screen, TwipsSize window) {
  return {(screen.width - window.width) / 2, (screen.height - window.height) / 3 - 400};
}

ProgressWindow::ProgressWindow(ProgressView& view, ReaderLibrary& reader, EventPump& events)
    : view_(view), reader_(reader), events_(events) {}

void ProgressWindow::ShowProgress(const std::string& message) {
  if (!loaded_) {
    view_.Load();
    loaded_ = true;
    Form_Load();
  }
  const TwipsPoint at = ProgressPlacement(view_.ScreenSize(), view_.WindowSize());
  view_.Move(at.left, at.top);
  view_.SetLabelCaption(message);
  view_.RepaintLabel();
  events_.DispatchPending();
  view_.Show();
  events_.DispatchPending();
}

void ProgressWindow::Form_Load() {
  tick_count_ = 0;
  Timer1_Timer();
}

void ProgressWindow::Timer1_Timer() {
  ++tick_count_;
  view_.SetLabelColour(view_.LabelColour() == kPureRed ? kPureBlue : kPureRed);
  view_.RepaintLabel();
  if (tick_count_ > kProgressTickLimit) Command1_Click();
}

void ProgressWindow::Command1_Click() {
  IgnoreFailure([&] { reader_.csCloseCom(); });
  IgnoreFailure([&] { Unload(); });
  throw EndProgram{0};
}

void ProgressWindow::Label1_DblClick() { view_.Hide(); }

void ProgressWindow::Unload() {
  if (!loaded_) return;
  loaded_ = false;
  view_.Unload();
}

}  // namespace orbin
