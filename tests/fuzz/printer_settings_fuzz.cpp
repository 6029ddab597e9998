// The keys of section "VexaDent" over any "VexaSys.ini" content: "load"
// applies them to the printer settings window (or stops at a number that
// does not fit, naming its key and leaving the controls), and "存檔" right
// after writes back what the window shows, so a second "load" shows the
// same again.
#include <algorithm>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "fuzz_support.h"
#include "platform/codepage.h"
#include "printing/printer_settings.h"
#include "startup/module_routines.h"

using namespace orbin;

namespace {

std::string_view Trimmed(std::string_view text) {
  const std::size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return {};
  return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

// Appends ANSI bytes with ASCII letters in lower case.
void AppendLower(std::string& out, std::string_view ansi) {
  const std::size_t at = out.size();
  out.resize(at + ansi.size());
  char* to = out.data() + at;
  for (char c : ansi) *to++ = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The same for program text (UTF-8), converted to the ANSI code page.
void AppendLowerAnsi(std::string& out, std::string_view utf8) {
  for (char c : utf8) {
    if (static_cast<unsigned char>(c) >= 0x80) return AppendLower(out, ToAnsi(utf8));
  }
  AppendLower(out, utf8);
}

// An INI file in the ANSI code page read the way the private-profile calls
// read it: sections and keys without regard to case, the first of each
// wins, blanks around keys and values dropped, one pair of enclosing quotes
// dropped, at most 99 bytes of a value. Writes replace or add a key.
//
// "load", "存檔" and "load" again go through it 141 times an input, so once
// the program's names are known it allocates nothing: values are found by
// "section\nkey" in lower case (no line end can be part of either) in a
// table kept for the life of the process, where an entry belongs to the
// file being read only while it carries that file's generation. The table
// learns names only from the program's reads and writes; a name of the
// file it does not know yet waits in `others_`, which lives with the input
// (libFuzzer takes memory that outlives an input for a leak and checks).
class IniSettings : public SettingsFile {
 public:
  explicit IniSettings(std::string_view ansi_content) {
    static std::uint64_t generations = 0;
    generation_ = ++generations;
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
        const std::size_t length = close == std::string_view::npos ? line.npos : close - 1;
        section.clear();
        AppendLower(section, Trimmed(line.substr(1, length)));
        in_section = true;
        continue;
      }
      const std::size_t equals = line.find('=');
      if (!in_section || equals == std::string_view::npos) continue;
      std::string_view value = Trimmed(line.substr(equals + 1));
      if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
          value.back() == value.front())
        value = value.substr(1, value.size() - 2);
      name_ = section;
      name_ += '\n';
      AppendLower(name_, Trimmed(line.substr(0, equals)));
      // The first one counts.
      if (const auto known = known_.find(name_); known != known_.end()) {
        if (known->second.generation != generation_) Set(known->second, value);
      } else {
        others_.try_emplace(name_, value);
      }
    }
  }

  std::string Read(const std::string& section, const std::string& key,
                   const std::string& default_value, const std::string& path) override {
    const Entry& entry = Known(section, key);
    if (entry.generation == generation_) return Cut(entry.value);
    // Most keys are missing from a random file: their (ASCII, short)
    // defaults come back as they are, without two conversions.
    const bool plain = default_value.size() <= 99 &&
                       std::all_of(default_value.begin(), default_value.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return plain ? default_value : Cut(ToAnsi(default_value));
  }
  void Write(const std::string& section, const std::string& key, const std::string& value,
             const std::string& path) override {
    ++writes;
    Set(Known(section, key), ToAnsi(value));
  }

  int writes = 0;

 private:
  struct Entry {
    std::string value;
    std::uint64_t generation = 0;
  };

  static std::string Cut(std::string_view ansi) { return FromAnsi(ansi.substr(0, 99)); }

  void Set(Entry& entry, std::string_view value) {
    entry.value.assign(value);
    entry.generation = generation_;
  }

  // The table's entry for the name. The program asks with the same few
  // spellings again and again: they are remembered as spelt, before case
  // and code page are folded. A name new to the table takes over the value
  // this file gave it; a name the table knew when the file was read has
  // its value there already.
  Entry& Known(const std::string& section, const std::string& key) {
    spelt_.assign(section);
    spelt_ += '\n';
    spelt_ += key;
    if (const auto spelling = spellings_.find(spelt_); spelling != spellings_.end())
      return *spelling->second;
    name_.clear();
    AppendLowerAnsi(name_, section);
    name_ += '\n';
    AppendLowerAnsi(name_, key);
    const auto [known, added] = known_.try_emplace(name_);
    if (const auto other = others_.find(name_); added && other != others_.end()) {
      Set(known->second, other->second);
      others_.erase(other);
    }
    spellings_.emplace(spelt_, &known->second);
    return known->second;
  }

  static inline std::unordered_map<std::string, Entry> known_;
  static inline std::unordered_map<std::string, Entry*> spellings_;
  static inline std::string name_, spelt_;
  std::unordered_map<std::string, std::string> others_;
  std::uint64_t generation_;
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
  fuzz::Require(ini.writes == 47, "\"存檔\" writes every key once", content);
  PrinterSettings again;
  const fuzz::Outcome reload = fuzz::RunRule([&] { again.Load(ini, path); });
  fuzz::Require(reload.returned(), "what \"存檔\" wrote loads again", content);
  fuzz::Require(SameWindow(again, window), "\"load\" shows again what \"存檔\" wrote", content);
  return 0;
}
