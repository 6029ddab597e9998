// The entry window's key rules over random key sequences, with random
// surroundings: argument text, shortcut list, code table, keyboard layout,
// whether the main system waits for "orbin.txt" and how many times writing
// it is refused before it succeeds. Whenever a result is produced it starts
// with "IC" and ends with ";"; the program ends right after writing it, and
// every refused write was put to the person.
#include <fuzzer/FuzzedDataProvider.h>

#include <functional>
#include <string>

#include "common/text.h"
#include "fuzz_support.h"
#include "platform/codepage.h"
#include "treatment/code_table.h"
#include "treatment/result_line.h"
#include "unit/treatment/entry_rig.h"

using namespace orbin;

namespace {

// A file that is busy for a while: its first `refusals` writes fail, as a
// locked or read-only "orbin.txt" does, then writes go through. (A file
// refused for good is the same paths over and over, each refusal a thrown
// failure: bounded, a session reaches every answer and what follows it.)
class BusyFileSystem : public testing::FakeFileSystem {
 public:
  int refusals = 0;
  int refused = 0;
  void WriteWhole(const std::string& path, const std::string& bytes) override {
    if (refused < refusals) {
      ++refused;
      throw Failure("Cannot write \"" + path + "\": access denied");
    }
    FakeFileSystem::WriteWhole(path, bytes);
  }
};

// A result shown in the caption (test display) must be a result line too.
class CheckingWindow : public testing::FakeEntryWindow {
 public:
  void SetCaption(const std::string& text) override {
    FakeEntryWindow::SetCaption(text);
    if (text.starts_with("IC")) fuzz::Require(text.ends_with(';'), "a shown result ends with \";\"", text);
  }
};

// The window as a person uses it (see EntryRig), with every handler.
class Session {
 public:
  Session(std::string args, testing::FakeFileSystem& files, testing::FakeSettings& settings,
          testing::FakeClock& clock, testing::FakeInputLanguage& language)
      : form_(window_, {files, settings, clock, language}, std::move(args), "C:\\work\\") {}

  CheckingWindow& window() { return window_; }
  bool ended() const { return exit_code_.has_value(); }
  std::optional<int> exit_code() const { return exit_code_; }

  void Do(const std::function<void()>& handler) {
    if (ended()) return;
    const fuzz::Outcome outcome = fuzz::RunRule(handler);
    fuzz::Require(!outcome.failure, "the entry window's handlers do not fail",
                  outcome.failure.value_or(""));
    exit_code_ = outcome.exit_code;
  }
  void Load() { Do([&] { form_.Form_Load(); }); }
  void Press(std::uint16_t key) {
    Do([&] {
      form_.Text1_KeyPress(key);
      if (key == 8 && window_.caret > 0) {
        window_.text.erase(--window_.caret, 1);
      } else if (key != 0 && key != 8) {
        window_.text.insert(window_.caret++, 1, key);
      }
      form_.Text1_Change(FromCodePoints(window_.text));
      form_.Text1_KeyUp();
    });
  }
  TreatmentEntryForm& form() { return form_; }

 private:
  CheckingWindow window_;
  TreatmentEntryForm form_;
  std::optional<int> exit_code_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  BusyFileSystem files;
  testing::FakeSettings settings;
  testing::FakeClock clock;
  testing::FakeInputLanguage language;

  const bool main_system_waits = in.ConsumeBool();
  if (main_system_waits) files.files[kMainProgramMarker] = "MZ";
  files.refusals = in.ConsumeIntegralInRange(0, 4);
  int retries_left = in.ConsumeIntegralInRange(0, 3);
  language.handle = in.ConsumeIntegral<std::int32_t>();
  if (in.ConsumeBool()) {
    settings.values[{"C:\\work\\VexaSys.ini", "VexaDent", "BCDEFGIJKM"}] =
        FromAnsi(in.ConsumeRandomLengthString(16));
  }
  if (in.ConsumeBool()) files.files[kCodeTableFileName] = in.ConsumeRandomLengthString(120);
  const std::string args = in.ConsumeRandomLengthString(24);

  Session session(args, files, settings, clock, language);
  session.window().retry = [&] { return retries_left-- > 0; };
  session.Load();
  // Keys one byte each; 0xFF takes the next two bytes as a wider key, 0xFE
  // the next byte as one of the other handlers.
  while (in.remaining_bytes() > 0 && !session.ended()) {
    const std::uint8_t b = in.ConsumeIntegral<std::uint8_t>();
    if (b == 0xFF) {
      session.Press(in.ConsumeIntegral<std::uint16_t>());
    } else if (b == 0xFE) {
      switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0: session.Do([&] { session.form().Check1_Click(0); }); break;
        case 1: session.Do([&] { session.form().Check1_Click(1); }); break;
        case 2: session.Do([&] { session.form().Command2_Click(); }); break;
        case 3: session.Do([&] { session.form().Form_GotFocus(); }); break;
        case 4: session.Do([&] { session.form().Check1_GotFocus(); }); break;
        case 5: session.Do([&] { session.form().Form_Unload(); }); break;
      }
    } else {
      session.Press(b);
    }
  }

  const auto written = files.files.find(kResultFileName);
  if (written != files.files.end()) {
    const std::string& result = written->second;
    fuzz::Require(session.exit_code() == 0, "writing the result ends the program", result);
    fuzz::Require(result.starts_with("IC") && result.ends_with(";\r\n"),
                  "the result file holds \"IC...;\" and a line end", result);
  }
  fuzz::Require(session.window().retry_questions.size() == static_cast<std::size_t>(files.refused),
                "every refused write is put to the person");
  if (!main_system_waits) {
    fuzz::Require(written == files.files.end(), "without the main system nothing is written");
  }
  return 0;
}
