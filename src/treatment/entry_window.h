#pragma once
// What the entry rules need of the window and the platform. The Win32
// window implements EntryWindow by applying each call to its controls at
// once; the rules keep their own copy of the state they read.
#include <cstdint>
#include <string>

namespace orbin {

class EntryWindow {
 public:
  virtual ~EntryWindow() = default;

  // Shows the window and keeps it above all others.
  virtual void ShowTopmost() = 0;
  virtual void MoveLeft(double twips) = 0;
  virtual void MoveTop(double twips) = 0;
  virtual void SetOuterHeight(int twips) = 0;
  virtual void SetCaption(const std::string& text) = 0;
  // The shortcut-letter list (Label1) and the accumulated items (Label2).
  virtual void SetShortcutLabel(const std::string& text) = 0;
  virtual void SetItemsLabel(const std::string& text) = 0;
  // Check1: 0 single-item format, 1 multi-item format.
  virtual void SetFormatCheck(int value) = 0;
  // The text box: new text (the caret goes to its start, as after any
  // programmatic change) and the caret as a character index.
  virtual void SetText(const std::string& text) = 0;
  virtual void SetCaret(std::size_t chars) = 0;
  virtual void FocusText() = 0;
  // A file the entry needs could not be read or written ("treat.dat",
  // "orbin.txt"); `message` names the file and the reason. True when the
  // user chose to try again (Enter), false for cancel (Esc or the close
  // box): the window then stays as it was.
  virtual bool AskRetry(const std::string& message) = 0;
};

// The keyboard layout of the user-interface thread, and the keystroke that
// toggles the input method when the layout is not the one wanted for typing
// sites.
class InputLanguage {
 public:
  virtual ~InputLanguage() = default;
  // GetKeyboardLayout of the calling thread, as a signed 32-bit number.
  virtual std::int32_t KeyboardLayoutHandle() = 0;
  // Sends Ctrl+Space to the active window and returns once it is processed.
  virtual void SendCtrlSpaceAndWait() = 0;
};

}  // namespace orbin
