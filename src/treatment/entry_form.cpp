#include "treatment/entry_form.h"

#include <utility>

#include "common/lenient_number.h"
#include "common/program_end.h"
#include "common/retry.h"
#include "common/text.h"
#include "startup/module_routines.h"
#include "treatment/code_table.h"
#include "treatment/entry_captions.h"
#include "treatment/result_line.h"
#include "treatment/window_position.h"

namespace orbin {
namespace {

constexpr std::uint16_t kBackspace = 8;
constexpr std::uint16_t kEnter = 13;
constexpr std::uint16_t kEsc = 27;
constexpr std::uint16_t kSpace = 32;

// The settings key that holds the shortcut list is named after its default.
constexpr char kShortcutListKey[] = "BCDEFGIJKM";
constexpr char kDefaultShortcutList[] = "BCDEFGIJKM";

constexpr char kResultHealthCheck[] = "IC;H;-;";
constexpr char kFullMouthItem[] = "FMS;-;";
constexpr char kResultFullMouth[] = "IC;FMS;-;";
// Shorter results end the test display instead of showing them.
constexpr std::size_t kShortestShownResult = 5;

// The keypad operator keys stand for letters.
char32_t KeypadLetter(char32_t key_char) {
  switch (key_char) {
    case U'/': return U'S';
    case U'-': return U'L';
    case U'*': return U'A';
    case U'+': return U'P';
    default: return key_char;
  }
}

bool IsLetter(char32_t c) { return c >= U'A' && c <= U'Z'; }
bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

}  // namespace

TreatmentEntryForm::TreatmentEntryForm(EntryWindow& window, EntryServices services,
                                       std::string argument_text, std::string start_dir)
    : window_(window),
      services_(services),
      argument_text_(std::move(argument_text)),
      start_dir_(std::move(start_dir)) {}

void TreatmentEntryForm::Form_Load() {
  window_.ShowTopmost();
  if (FindTheardlanguage() < 0) services_.input_language.SendCtrlSpaceAndWait();
  SetText1("");
  SetCheck1(0);
  if (auto left = SwitchPosition(argument_text_, "/L")) window_.MoveLeft(*left);
  if (auto top = SwitchPosition(argument_text_, "/T")) window_.MoveTop(*top);
  if (argument_text_.find("/+") != std::string::npos) SetCheck1(1);
  window_.FocusText();
  label1_ = ReadIniKey(services_.settings, kShortcutListKey, kDefaultShortcutList,
                       start_dir_ + kSettingsFileName);
  window_.SetShortcutLabel(label1_);
  SetCaption(kCaptionEnterSites + label1_);
  entry_.code_letter.clear();
  SetLabel2("");
  SetOuterHeight(kSingleItemHeight);
  if (check1_ == 1) {
    std::uint16_t space = kSpace;
    Text1_KeyPress(space);
  }
  per_tooth_letters_ = LoadPerToothLetters(services_.files);
}

void TreatmentEntryForm::Form_GotFocus() { window_.FocusText(); }

void TreatmentEntryForm::Check1_GotFocus() { window_.FocusText(); }

void TreatmentEntryForm::Check1_Click(int value) { check1_ = value; }

void TreatmentEntryForm::Command2_Click() { Command2Click(""); }

void TreatmentEntryForm::Form_Unload() { throw EndProgram{0}; }

void TreatmentEntryForm::Text1_Change(const std::string& new_text) {
  if (new_text == entry_.text) return;
  entry_.text = new_text;
  RunCaptionRule();
}

void TreatmentEntryForm::Text1_KeyPress(std::uint16_t& key_ascii) {
  if (KeyRulesA(key_ascii) == Flow::kStop) return;
  char32_t key_char = KeypadLetter(key_ascii);
  if (ShortcutRules(key_ascii, key_char) == Flow::kStop) {
    key_ascii = 0;
    return;
  }
  KeyRulesC(key_ascii, key_char);
}

TreatmentEntryForm::Flow TreatmentEntryForm::KeyRulesA(std::uint16_t& key_ascii) {
  const bool text_empty = entry_.text.empty();
  if (key_ascii == kEsc) {
    if (text_empty && label2_.empty()) {
      if (FinishGoesOn("")) return Flow::kGoOn;
      key_ascii = 0;
      return Flow::kStop;
    }
    if (text_empty) {
      SetLabel2("");  // the caption stays as it is until the next refresh
      return Flow::kGoOn;
    }
    entry_.code_letter.clear();
    SetText1("");
    SetCheck1(0);
    return Flow::kGoOn;
  }
  if (key_ascii == kEnter && text_empty) {
    if (FinishGoesOn(label2_.empty() ? std::string(kResultHealthCheck) : label2_)) return Flow::kGoOn;
    key_ascii = 0;
    return Flow::kStop;
  }
  if (key_ascii == kEnter || key_ascii == kSpace) {
    SwitchToMultiItem();
    key_ascii = 0;
    return Flow::kStop;
  }
  if (key_ascii > 96) key_ascii -= 32;  // a..z become A..Z
  return Flow::kGoOn;
}

TreatmentEntryForm::Flow TreatmentEntryForm::ShortcutRules(std::uint16_t key_ascii,
                                                           char32_t& key_char) {
  if (!entry_.text.ends_with('0')) return Flow::kGoOn;
  if (key_char == U'0') return FinishGoesOn("") ? Flow::kGoOn : Flow::kStop;
  if (key_char >= U'1' && key_char <= U'9') {
    const std::u32string list = ToCodePoints(label1_);
    const std::size_t n = key_char - U'0';
    key_char = n <= list.size() ? list[n - 1] : U'\0';
    SetText1(entry_.text.substr(0, entry_.text.size() - 1));
    CaretToEnd();
  }
  return Flow::kGoOn;
}

void TreatmentEntryForm::KeyRulesC(std::uint16_t& key_ascii, char32_t key_char) {
  if (key_char == U'S') {
    if (check1_ == 0) {
      FinishGoesOn(kResultFullMouth);
    } else {
      SetLabel2(label2_ + kFullMouthItem);
      SetText1("");
      RunCaptionRule();
    }
    key_ascii = 0;
    return;
  }
  if (IsLetter(key_char)) {
    const std::string letter(1, static_cast<char>(key_char));
    if (entry_.code_letter.empty()) {
      entry_.code_letter = letter;
      entry_.letter_pos = RoundToInt16(static_cast<double>(CharCount(entry_.text)));
      return;  // the typed key holds the letter's place
    }
    if (entry_.code_letter != letter) {
      entry_.code_letter = letter;
      SetText1(CharSubstr(entry_.text, 0, static_cast<std::size_t>(entry_.letter_pos)) + letter);
      CaretToEnd();
    }
    key_ascii = 0;
    return;
  }
  if (IsDigit(key_char)) return;
  if (key_ascii == kBackspace) {
    if (CharCount(entry_.text) <= static_cast<std::size_t>(entry_.letter_pos)) {
      entry_.code_letter.clear();
    }
    return;
  }
  key_ascii = 0;
}

void TreatmentEntryForm::Text1_KeyUp() {
  if (!IsEntryComplete(entry_, per_tooth_letters_)) return;
  std::string item;
  // An unreadable "treat.dat" and a cancel keep the entry as typed.
  if (!RetryOnFailure([&] { item = Chgdat(); })) return;
  if (check1_ == 0) {
    Command2Click(item);
    return;
  }
  SetLabel2(label2_ + item);
  entry_.code_letter.clear();
  entry_.letter_pos = 0;
  SetText1("");
}

FinishOutcome TreatmentEntryForm::Command2Click(const std::string& text) {
  const std::string result = NormaliseResult(text);
  if (services_.files.FileExists(kMainProgramMarker)) {
    if (!WriteResult(result)) return FinishOutcome::kKept;
    throw EndProgram{0};
  }
  if (CharCount(result) < kShortestShownResult) throw EndProgram{0};
  Form_Load();
  SetCaption(result);
  return FinishOutcome::kRedisplayed;
}

std::int32_t TreatmentEntryForm::FindTheardlanguage() {
  return services_.input_language.KeyboardLayoutHandle() % 10000;
}

std::string TreatmentEntryForm::Chgdat() {
  return BuildItem(entry_, per_tooth_letters_, treatdat(), services_.clock.Now());
}

std::string TreatmentEntryForm::treatdat() {
  return LookupTreatmentCode(services_.files, entry_.code_letter);
}

void TreatmentEntryForm::SwitchToMultiItem() {
  SetCheck1(1);
  SetOuterHeight(kMultiItemHeight);
  RunCaptionRule();
  CaretToEnd();
}

bool TreatmentEntryForm::FinishGoesOn(const std::string& text) {
  return Command2Click(text) == FinishOutcome::kRedisplayed;
}

bool TreatmentEntryForm::WriteResult(const std::string& result) {
  return RetryOnFailure(
      [&] { services_.files.WriteWhole(kResultFileName, ResultFileBytes(result)); });
}

// Until `step` succeeds or the user cancels: a locked, unreadable or
// read-only file must not cost the staff their entries.
bool TreatmentEntryForm::RetryOnFailure(const std::function<void()>& step) {
  return orbin::RetryOnFailure(step,
                               [&](const std::string& message) { return window_.AskRetry(message); });
}

void TreatmentEntryForm::SetText1(const std::string& text) {
  if (text == entry_.text) return;
  // Stored first, so that the control's change notification echoing this
  // text finds nothing changed.
  entry_.text = text;
  window_.SetText(text);
  RunCaptionRule();
}

void TreatmentEntryForm::CaretToEnd() { window_.SetCaret(CharCount(entry_.text)); }

void TreatmentEntryForm::SetCheck1(int value) {
  check1_ = value;
  window_.SetFormatCheck(value);
}

void TreatmentEntryForm::SetLabel2(const std::string& text) {
  label2_ = text;
  window_.SetItemsLabel(text);
}

void TreatmentEntryForm::SetCaption(const std::string& text) {
  caption_ = text;
  window_.SetCaption(text);
}

void TreatmentEntryForm::SetOuterHeight(int twips) {
  outer_height_ = twips;
  window_.SetOuterHeight(twips);
}

void TreatmentEntryForm::RunCaptionRule() {
  SetCaption(EntryCaption(check1_, entry_.text.empty(), label2_.empty(), label1_));
}

}  // namespace orbin
