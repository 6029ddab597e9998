#pragma once
// `lookdc` on Win32: a popup with the fixed dialog border and no title bar,
// `Label1` (the message) and the "X" button `Command1`, laid out from the
// design table; `Timer1` ticks every 500 ms, which only shows while the run
// dispatches events.
#include <memory>

#include "cardreader/progress_view.h"
#include "cardreader/progress_window.h"

namespace orbin {

class LookdcForm;

class Win32ProgressView : public ProgressView {
 public:
  Win32ProgressView();
  ~Win32ProgressView() override;

  // The handlers of the window run `window`'s rules.
  void Attach(ProgressWindow& window) { window_ = &window; }

  void Load() override;
  void Unload() override;
  TwipsSize ScreenSize() override;
  TwipsSize WindowSize() override;
  void Move(double left_twips, double top_twips) override;
  void SetLabelCaption(const std::string& text) override;
  std::uint32_t LabelColour() override;
  void SetLabelColour(std::uint32_t colour) override;
  void RepaintLabel() override;
  void Show() override;
  void Hide() override;

  // The window, or nullptr when it is not loaded.
  LookdcForm* form() const { return form_.get(); }

 private:
  ProgressWindow* window_ = nullptr;
  std::unique_ptr<LookdcForm> form_;
};

}  // namespace orbin
