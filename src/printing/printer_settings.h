#pragma once
// The controls of the printer settings window `prt2` and their keys in
// section "VexaDent" of the settings file: "存檔" writes them, "load" reads
// them back. The Win32 window copies its controls into a PrinterSettings,
// calls Save or Load, and copies the result back into its controls.
#include <array>
#include <optional>
#include <string>

#include "common/retry.h"
#include "platform/settings.h"

namespace orbin {

// Check box states as the boxes hold them.
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;
inline constexpr int kGrayed = 2;

// The temporary data file until one is stored.
inline constexpr char kDefaultOutExeData[] = "C:\\OutExe.tmp";

// A check box whose stored number may be one a box cannot show (outside
// 0..2). Such a number shows as checked and is written back as it was
// stored until the user clicks the box.
class StoredCheckBox {
 public:
  int State() const { return state_; }

  // The box's click handler (a user's click) calls this with the new state.
  void SetByUser(int state);

  // Applies the stored value as "load" reads it. Throws OverflowFailure when
  // the number does not fit a 16-bit integer.
  void Load(const std::string& stored);

  // The value "存檔" writes.
  std::string SavedText() const;

 private:
  int state_ = kUnchecked;
  std::optional<std::string> unshowable_stored_;
};

struct PrinterSettings {
  std::array<int, 5> Check1{};  // per document kind: the main system picks the printer
  std::array<std::string, 5> Text1{"2", "1", "1", "2", "3"};  // print quality
  StoredCheckBox CheckDoctor;
  std::array<std::string, 8> Text11{};  // doctors 2..9: name
  std::array<std::string, 8> Text12{};  // doctors 2..9: second value
  StoredCheckBox Checkdrug;
  std::string Text31;  // pharmacist: name
  std::string Text32;  // pharmacist: second value
  std::array<std::string, 6> Text18{};  // additional data lines
  std::array<std::string, 5> Text15{};  // programs to run: first value
  std::array<std::string, 5> Text16{};  // programs to run: second value
  std::string Text17 = kDefaultOutExeData;  // temporary data file

  // "存檔": writes every key to `path` in the window's fixed order, then
  // ends the program (throws EndProgram{0}), so the run succeeds only with
  // every key written. A refused write asks `ask_retry` with the message
  // naming the file and the reason: Retry writes every key again, in the
  // same order; Cancel returns, the window and its controls as they were.
  void Save(SettingsFile& settings, const std::string& path, const AskRetry& ask_retry) const;

  // "load": reads every key from `path` and applies it. A stored number
  // that does not fit a 16-bit integer throws OverflowFailure naming the key;
  // the controls are then left as they were.
  void Load(SettingsFile& settings, const std::string& path);
};

// The settings file of the window: `start_dir` followed by "VexaSys.ini".
std::string PrinterSettingsPath(const std::string& start_dir);

}  // namespace orbin
