#pragma once
// The entry window as a person uses it: a simulated edit control (the key
// goes in at the caret unless the rules discard it, then the change and the
// key release), fakes for the platform, and a record of how the run ended.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/program_end.h"
#include "common/text.h"
#include "fakes/fake_platform.h"
#include "treatment/entry_form.h"

namespace orbin::testing {

class FakeEntryWindow : public EntryWindow {
 public:
  std::u32string text;
  std::size_t caret = 0;
  std::string caption, shortcut_label, items_label;
  int height = 0, check = 0, topmost_calls = 0, focus_calls = 0;
  std::optional<double> left, top;
  std::vector<std::string> retry_questions;
  std::function<bool()> retry = [] { return false; };

  void ShowTopmost() override { ++topmost_calls; }
  void MoveLeft(double twips) override { left = twips; }
  void MoveTop(double twips) override { top = twips; }
  void SetOuterHeight(int twips) override { height = twips; }
  void SetCaption(const std::string& t) override { caption = t; }
  void SetShortcutLabel(const std::string& t) override { shortcut_label = t; }
  void SetItemsLabel(const std::string& t) override { items_label = t; }
  void SetFormatCheck(int value) override { check = value; }
  void SetText(const std::string& t) override { text = ToCodePoints(t), caret = 0; }
  void SetCaret(std::size_t chars) override { caret = chars; }
  void FocusText() override { ++focus_calls; }
  bool AskRetry(const std::string& message) override {
    retry_questions.push_back(message);
    return retry();
  }
};

class FakeInputLanguage : public InputLanguage {
 public:
  std::int32_t handle = 0x04040404;
  int ctrl_space_sent = 0;
  std::int32_t KeyboardLayoutHandle() override { return handle; }
  void SendCtrlSpaceAndWait() override { ++ctrl_space_sent; }
};

struct EntryRig {
  FakeFileSystem files;
  FakeSettings settings;
  FakeClock clock;
  FakeInputLanguage language;
  FakeEntryWindow window;
  TreatmentEntryForm form;
  std::optional<int> exit_code;  // set when the program ended

  explicit EntryRig(std::string args = "/L1200/T300", bool main_program_present = true)
      : form(window, {files, settings, clock, language}, std::move(args), "C:\\work\\") {
    if (main_program_present) files.files["orbin.exe"] = "MZ";
  }

  // Runs `action`, noting an end of the program.
  void Run(const std::function<void()>& action) {
    try {
      action();
    } catch (const EndProgram& end) {
      exit_code = end.exit_code;
    }
  }

  void Load() { Run([&] { form.Form_Load(); }); }

  // Keys as typed; "{Esc}", "{Enter}" and "{BS}" name the control keys
  // (a "{" without its "}" is typed as itself).
  void Type(const std::string& keys) {
    const std::u32string chars = ToCodePoints(keys);
    for (std::size_t i = 0; i < chars.size() && !exit_code; ++i) {
      char32_t key = chars[i];
      const std::size_t close = key == U'{' ? chars.find(U'}', i) : std::u32string::npos;
      if (close != std::u32string::npos) {
        const std::u32string name = chars.substr(i + 1, close - i - 1);
        key = name == U"Esc" ? 27 : name == U"Enter" ? 13 : 8;
        i = close;
      }
      Run([&] { Press(static_cast<std::uint16_t>(key)); });
    }
  }

  std::optional<std::string> ResultFile() const {
    auto it = files.files.find("orbin.txt");
    if (it == files.files.end()) return std::nullopt;
    return it->second;
  }

 private:
  void Press(std::uint16_t key) {
    form.Text1_KeyPress(key);
    if (key == 8 && window.caret > 0) {
      window.text.erase(--window.caret, 1);
    } else if (key != 0 && key != 8) {
      window.text.insert(window.caret++, 1, key);
    }
    form.Text1_Change(FromCodePoints(window.text));
    form.Text1_KeyUp();
  }
};

}  // namespace orbin::testing
