#include "printing/printer_settings.h"

#include <array>
#include <cstdint>

#include "common/failure.h"
#include "common/lenient_number.h"
#include "common/program_end.h"
#include "startup/module_routines.h"

namespace orbin {
namespace {

constexpr char kNoStoredNumber[] = "0";
constexpr char kDefaultAppendData[] = "&X";

std::int16_t StoredNumber(const std::string& stored) {
  return RoundToInt16(ReadLenientNumber(stored));
}

// An overflow names the key whose stored number did not fit.
template <class Step>
void NamingKeyOnOverflow(const std::string& path, const std::string& key, Step step) {
  try {
    step();
  } catch (const OverflowFailure& e) {
    throw OverflowFailure(std::string(e.what()) + "（設定檔「" + path + "」區段「" +
                          kSettingsSection + "」的「" + key + "」）");
  }
}

// "prefix" + first, "prefix" + (first + 1), ...: one name for each element
// of the settings array `Array`.
template <class Array>
std::array<std::string, std::tuple_size_v<Array>> NumberedNames(const char* prefix,
                                                                std::size_t first) {
  std::array<std::string, std::tuple_size_v<Array>> names;
  for (std::size_t i = 0; i < names.size(); ++i) names[i] = prefix + std::to_string(first + i);
  return names;
}

// Every key with its control, in the order "存檔" writes them and "load"
// reads them. `Settings` is const for saving, mutable for loading.
template <class Settings, class Visitor>
void ForEachKey(Settings& s, Visitor& v) {
  // The numbered key names are made once: "load" and "存檔" name all 47 keys.
  static const auto print0 = NumberedNames<decltype(s.Check1)>("print0", 0);
  static const auto print5 = NumberedNames<decltype(s.Text1)>("print5", 0);
  static const auto doctor_name = NumberedNames<decltype(s.Text11)>("DoctorName", 2);
  static const auto doctor_pckar = NumberedNames<decltype(s.Text12)>("DoctorPckar", 2);
  static const auto append_data = NumberedNames<decltype(s.Text18)>("AppendData", 1);
  static const auto out_exe_top = NumberedNames<decltype(s.Text15)>("OutExeTop", 1);
  static const auto out_exe_file = NumberedNames<decltype(s.Text16)>("OutExeFile", 1);
  for (std::size_t i = 0; i < s.Check1.size(); ++i) {
    v.Check(print0[i], s.Check1[i]);
    v.Quality(print5[i], s.Text1[i]);
  }
  v.StoredCheck("CheckDoctor", s.CheckDoctor);
  for (std::size_t i = 0; i < s.Text11.size(); ++i) {
    v.Text(doctor_name[i], "", s.Text11[i]);
    v.Text(doctor_pckar[i], "", s.Text12[i]);
  }
  v.StoredCheck("ChkDrugName", s.Checkdrug);
  v.Text("DrugName", "", s.Text31);
  v.Text("DrugPckar", "", s.Text32);
  v.Text("OutExeData", kDefaultOutExeData, s.Text17);
  for (std::size_t i = 0; i < s.Text18.size(); ++i)
    v.Text(append_data[i], kDefaultAppendData, s.Text18[i]);
  for (std::size_t i = 0; i < s.Text15.size(); ++i) {
    v.Text(out_exe_top[i], "", s.Text15[i]);
    v.Text(out_exe_file[i], "", s.Text16[i]);
  }
}

class KeyWriter {
 public:
  KeyWriter(SettingsFile& settings, const std::string& path) : settings_(settings), path_(path) {}

  void Check(const std::string& key, int state) { Write(key, std::to_string(state)); }
  void Quality(const std::string& key, const std::string& text) { Write(key, text); }
  void StoredCheck(const std::string& key, const StoredCheckBox& box) {
    Write(key, box.SavedText());
  }
  void Text(const std::string& key, const char*, const std::string& text) { Write(key, text); }

 private:
  void Write(const std::string& key, const std::string& value) {
    settings_.Write(kSettingsSection, key, value, path_);
  }
  SettingsFile& settings_;
  const std::string& path_;
};

class KeyReader {
 public:
  KeyReader(SettingsFile& settings, const std::string& path) : settings_(settings), path_(path) {}

  void Check(const std::string& key, int& state) {
    const std::string stored = Read(key, kNoStoredNumber);
    NamingKeyOnOverflow(path_, key,
                        [&] { state = StoredNumber(stored) != 0 ? kChecked : kUnchecked; });
  }
  // An empty stored quality keeps the box's text.
  void Quality(const std::string& key, std::string& text) {
    std::string stored = Read(key, "");
    if (!stored.empty()) text = std::move(stored);
  }
  void StoredCheck(const std::string& key, StoredCheckBox& box) {
    const std::string stored = Read(key, kNoStoredNumber);
    NamingKeyOnOverflow(path_, key, [&] { box.Load(stored); });
  }
  void Text(const std::string& key, const char* default_value, std::string& text) {
    text = Read(key, default_value);
  }

 private:
  std::string Read(const std::string& key, const std::string& default_value) {
    return ReadIniKey(settings_, key, default_value, path_);
  }
  SettingsFile& settings_;
  const std::string& path_;
};

}  // namespace

void StoredCheckBox::SetByUser(int state) {
  state_ = state;
  unshowable_stored_.reset();
}

void StoredCheckBox::Load(const std::string& stored) {
  const std::int16_t number = StoredNumber(stored);
  if (number >= kUnchecked && number <= kGrayed) {
    state_ = number;
    unshowable_stored_.reset();
  } else {
    state_ = kChecked;
    unshowable_stored_ = stored;
  }
}

std::string StoredCheckBox::SavedText() const {
  return unshowable_stored_ ? *unshowable_stored_ : std::to_string(state_);
}

void PrinterSettings::Save(SettingsFile& settings, const std::string& path,
                           const AskRetry& ask_retry) const {
  KeyWriter writer(settings, path);
  if (RetryOnFailure([&] { ForEachKey(*this, writer); }, ask_retry)) throw EndProgram{0};
}

void PrinterSettings::Load(SettingsFile& settings, const std::string& path) {
  PrinterSettings loaded = *this;
  KeyReader reader(settings, path);
  ForEachKey(loaded, reader);
  *this = std::move(loaded);
}

std::string PrinterSettingsPath(const std::string& start_dir) {
  return start_dir + kSettingsFileName;
}

}  // namespace orbin
