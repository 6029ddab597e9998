#pragma once
#include "treatment/entry_window.h"

namespace orbin {

// The keyboard layout through GetKeyboardLayout, and Ctrl+Space through the
// system's keystroke input.
class Win32InputLanguage : public InputLanguage {
 public:
  std::int32_t KeyboardLayoutHandle() override;
  // Injects Ctrl+Space and dispatches this thread's messages until the
  // injected Ctrl release has been handled (at most a second), so that the
  // start-up goes on only after the input method has toggled.
  void SendCtrlSpaceAndWait() override;

  // True while the wait dispatches messages: the keys then arriving are the
  // injected ones (for the input method) or typed before the start-up ended,
  // and the window keeps them from the entry rules.
  bool Waiting() const { return waiting_; }

 private:
  bool waiting_ = false;
};

}  // namespace orbin
