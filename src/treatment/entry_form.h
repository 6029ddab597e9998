#pragma once
// The treatment-site entry window (chg2eng): the rules behind its handlers.
// Staff type site digits and a code letter (mostly on the numeric keypad);
// complete entries become items, and the result "IC;<items>" goes to
// "orbin.txt" for the main system.
//
// The Win32 window drives it: Text1_KeyPress on every WM_CHAR before the
// edit control sees it (the character goes on only when key_ascii is still
// not 0, possibly changed), Text1_Change on EN_CHANGE with the control's
// text, Text1_KeyUp on WM_KEYUP, the other handlers on their events. The
// rules apply every change they make to the window through EntryWindow.
// Handlers that end the program throw EndProgram{0}.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/settings.h"
#include "treatment/entry_window.h"
#include "treatment/site_entry.h"

namespace orbin {

struct EntryServices {
  FileSystem& files;
  SettingsFile& settings;
  Clock& clock;
  InputLanguage& input_language;
};

// How a finish that did not end the program left the window.
enum class FinishOutcome {
  kRedisplayed,  // test display: start-up re-run, the result in the caption
  // "orbin.txt" could not be written (or "treat.dat" read) and the user
  // cancelled: the key that finished is discarded, text and items stay for
  // another try.
  kKept,
};

class TreatmentEntryForm {
 public:
  static constexpr int kSingleItemHeight = 1400;  // twips, outer
  static constexpr int kMultiItemHeight = 1800;

  // `argument_text`: the whole argument text of the run; `start_dir`: the
  // start-up directory with its trailing backslash.
  TreatmentEntryForm(EntryWindow& window, EntryServices services, std::string argument_text,
                     std::string start_dir);

  void Form_Load();
  void Form_GotFocus();
  void Check1_GotFocus();
  // A mouse click toggled the check box; the caption is not refreshed.
  void Check1_Click(int value);
  void Command2_Click();
  [[noreturn]] void Form_Unload();
  // The text box holds `new_text`; the same text as before is no change.
  void Text1_Change(const std::string& new_text);
  void Text1_KeyPress(std::uint16_t& key_ascii);
  void Text1_KeyUp();

  FinishOutcome Command2Click(const std::string& text);
  std::int32_t FindTheardlanguage();
  std::string Chgdat();
  std::string treatdat();

  const std::string& Text() const { return entry_.text; }
  const std::string& CodeLetter() const { return entry_.code_letter; }
  std::int16_t LetterPos() const { return entry_.letter_pos; }
  const std::string& PerToothLetters() const { return per_tooth_letters_; }
  int Check1() const { return check1_; }
  const std::string& Label1() const { return label1_; }
  const std::string& Label2() const { return label2_; }
  const std::string& Caption() const { return caption_; }
  int OuterHeight() const { return outer_height_; }

 private:
  enum class Flow { kGoOn, kStop };

  Flow KeyRulesA(std::uint16_t& key_ascii);
  // The key character after the keypad mappings and the "0" shortcuts;
  // U'\0' when a shortcut digit lies beyond the list.
  Flow ShortcutRules(std::uint16_t key_ascii, char32_t& key_char);
  void KeyRulesC(std::uint16_t& key_ascii, char32_t key_char);
  void SwitchToMultiItem();
  // Finishes with `text`; true when the handler goes on (test display).
  bool FinishGoesOn(const std::string& text);
  bool WriteResult(const std::string& result);
  // Runs `step`; on a failure asks the user to retry. False: cancelled.
  bool RetryOnFailure(const std::function<void()>& step);

  void SetText1(const std::string& text);
  void CaretToEnd();
  void SetCheck1(int value);
  void SetLabel2(const std::string& text);
  void SetCaption(const std::string& text);
  void SetOuterHeight(int twips);
  void RunCaptionRule();

  EntryWindow& window_;
  EntryServices services_;
  std::string argument_text_;
  std::string start_dir_;

  SiteEntry entry_;
  std::string per_tooth_letters_;
  int check1_ = 0;
  std::string label1_ = "Label1";
  std::string label2_ = "Label1";
  std::string caption_ = "輸入健保治療部位項目";
  int outer_height_ = 0;
};

}  // namespace orbin
