// The keys of section "VexaDent" over any "VexaSys.ini" content: "load"
// applies them to the printer settings window (or stops at a number that
// does not fit, naming its key and leaving the controls), and "存檔" right
// after writes back what the window shows, so a second "load" shows the
// same again.
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "fuzz_support.h"
#include "platform/codepage.h"
#include "printing/printer_settings.h"
#include "startup/module_routines.h"

using namespace orbin;

namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

// An INI file in the ANSI code page read the way the private-profile calls
// read it: sections and keys without regard to case, the first of each
// wins, blanks around keys and values dropped, one pair of enclosing quotes
// dropped, at most 99 bytes of a value. Writes replace or add a key.
class IniSettings : public SettingsFile {
 public:
  explicit IniSettings(std::string_view ansi_content) {
    std::string section;
    bool in_section = false;
    std::size_t start = 0;
    while (start <= ansi_content.size()) {
      std::size_t end = ansi_content.find_first_of("\r\n", start);
      if (end == std::string_view::npos) end = ansi_content.size();
      const std::string_view line = Trimmed(ansi_content.substr(start, end - start));
      start = end + 1;
      if (line.starts_with('[')) {
        const std::size_t close = line.find(']');
        section = Lower(Trimmed(line.substr(1, close == std::string_view::npos ? line.npos : close - 1)));
        in_section = true;
        continue;
      }
      const std::size_t equals = line.find('=');
      if (!in_section || equals == std::string_view::npos) continue;
      std::string_view value = Trimmed(line.substr(equals + 1));
      if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
          value.back() == value.front())
        value = value.substr(1, value.size() - 2);
      values_.emplace(std::make_pair(section, Lower(Trimmed(line.substr(0, equals)))),
                      std::string(value));
    }
  }

  std::string Read(const std::string& section, const std::string& key,
                   const std::string& default_value, const std::string& path) override {
    auto it = values_.find({Lower(ToAnsi(section)), Lower(ToAnsi(key))});
    const std::string ansi = it == values_.end() ? ToAnsi(default_value) : it->second;
    return FromAnsi(ansi.substr(0, 99));
  }
  void Write(const std::string& section, const std::string& key, const std::string& value,
             const std::string& path) override {
    writes.push_back(key);
    values_[{Lower(ToAnsi(section)), Lower(ToAnsi(key))}] = ToAnsi(value);
  }

  std::vector<std::string> writes;

 private:
  std::map<std::pair<std::string, std::string>, std::string> values_;
};

auto Controls(const PrinterSettings& s) {
  return std::tie(s.Check1, s.Text1, s.Text11, s.Text12, s.Text31, s.Text32, s.Text18, s.Text15,
                  s.Text16, s.Text17);
}

bool SameWindow(const PrinterSettings& a, const PrinterSettings& b) {
  return Controls(a) == Controls(b) && a.CheckDoctor.State() == b.CheckDoctor.State() &&
         a.CheckDoctor.SavedText() == b.CheckDoctor.SavedText() &&
         a.Checkdrug.State() == b.Checkdrug.State() &&
         a.Checkdrug.SavedText() == b.Checkdrug.SavedText();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content = fuzz::AsText(data, size);
  const std::string path = PrinterSettingsPath("C:\\work\\");
  IniSettings ini(content);

  PrinterSettings window;
  const PrinterSettings fresh = window;
  const fuzz::Outcome load = fuzz::RunRule([&] { window.Load(ini, path); });
  fuzz::Require(!load.exit_code, "\"load\" does not end the program", content);
  if (load.failure) {
    fuzz::Require(load.failure->find("「" + path + "」區段「VexaDent」的「") != std::string::npos,
                  "a failed \"load\" names the key", *load.failure);
    fuzz::Require(SameWindow(window, fresh), "a failed \"load\" leaves the controls", content);
    return 0;
  }
  for (int box : window.Check1)
    fuzz::Require(box == kUnchecked || box == kChecked, "a document box is checked or not", content);
  for (const StoredCheckBox* box : {&window.CheckDoctor, &window.Checkdrug})
    fuzz::Require(box->State() >= kUnchecked && box->State() <= kGrayed,
                  "a stored box shows a state a box can show", content);
  for (const std::string& quality : window.Text1)
    fuzz::Require(!quality.empty(), "a print quality is never emptied", content);

  // The fake never refuses a write: nothing to retry.
  const auto no_retry = [](const std::string&) { return false; };
  const fuzz::Outcome save = fuzz::RunRule([&] { window.Save(ini, path, no_retry); });
  fuzz::Require(save.exit_code == 0, "\"存檔\" ends the program", content);
  fuzz::Require(ini.writes.size() == 47, "\"存檔\" writes every key once", content);
  PrinterSettings again;
  const fuzz::Outcome reload = fuzz::RunRule([&] { again.Load(ini, path); });
  fuzz::Require(reload.returned(), "what \"存檔\" wrote loads again", content);
  fuzz::Require(SameWindow(again, window), "\"load\" shows again what \"存檔\" wrote", content);
  return 0;
}
