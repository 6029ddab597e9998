#pragma once
// The treatment-site entry window on Win32: a small topmost dialog frame
// whose text box Text1 keeps the keyboard focus. Each key goes through the
// entry rules before the edit control sees it.
#include <windows.h>

#include <vector>

#include "platform/form_win32.h"
#include "treatment/entry_form.h"
#include "treatment/entry_window.h"
#include "treatment/input_language_win32.h"

namespace orbin {

class chg2eng final : public Form, public EntryWindow {
 public:
  enum ControlId { kText1 = 1, kCommand2, kCheck1, kLabel2, kLabel1, kLabel3 };

  chg2eng() = default;
  ~chg2eng() override;

  // Creates the window hidden with its controls; `rules` receives its events.
  void Open(TreatmentEntryForm& rules, const Win32InputLanguage& input_language);

  // EntryWindow
  void ShowTopmost() override;
  void MoveLeft(double twips) override;
  void MoveTop(double twips) override;
  void SetOuterHeight(int twips) override;
  void SetCaption(const std::string& text) override;
  void SetShortcutLabel(const std::string& text) override;
  void SetItemsLabel(const std::string& text) override;
  void SetFormatCheck(int value) override;
  void SetText(const std::string& text) override;
  void SetCaret(std::size_t chars) override;
  void FocusText() override;
  bool AskRetry(const std::string& message) override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnCloseRequest() override { rules_->Form_Unload(); }
  void OnCommand(int id, int code, HWND control) override;
  HFONT ControlFont(const ControlDesign& control) override;

 private:
  static LRESULT CALLBACK Text1Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK Check1Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  static chg2eng* Of(HWND control);

  TreatmentEntryForm* rules_ = nullptr;
  const Win32InputLanguage* input_language_ = nullptr;
  // A mouse press gave Check1 the focus: the focus moves on after the
  // release, so the click still toggles the box.
  bool check1_focus_pending_ = false;
  // The key that answered the write-failure box is released over Text1; its
  // release is no key of Text1's and must not finish the entry again.
  bool skip_key_up_ = false;
  std::vector<HFONT> fonts_;
};

}  // namespace orbin
