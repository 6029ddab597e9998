#include "printing/printer_settings.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "common/failure.h"
#include "common/program_end.h"
#include "fakes/fake_platform.h"

namespace orbin {
namespace {

using testing::FakeSettings;

const std::string kPath = "C:\\clinic\\VexaSys.ini";

// Every key in the order "存檔" writes it, with what a fresh window writes.
const std::vector<std::pair<std::string, std::string>> kFreshWindowWrites = {
    {"print00", "0"}, {"print50", "2"}, {"print01", "0"}, {"print51", "1"},
    {"print02", "0"}, {"print52", "1"}, {"print03", "0"}, {"print53", "2"},
    {"print04", "0"}, {"print54", "3"}, {"CheckDoctor", "0"},
    {"DoctorName2", ""}, {"DoctorPckar2", ""}, {"DoctorName3", ""}, {"DoctorPckar3", ""},
    {"DoctorName4", ""}, {"DoctorPckar4", ""}, {"DoctorName5", ""}, {"DoctorPckar5", ""},
    {"DoctorName6", ""}, {"DoctorPckar6", ""}, {"DoctorName7", ""}, {"DoctorPckar7", ""},
    {"DoctorName8", ""}, {"DoctorPckar8", ""}, {"DoctorName9", ""}, {"DoctorPckar9", ""},
    {"ChkDrugName", "0"}, {"DrugName", ""}, {"DrugPckar", ""}, {"OutExeData", "C:\\OutExe.tmp"},
    {"AppendData1", ""}, {"AppendData2", ""}, {"AppendData3", ""},
    {"AppendData4", ""}, {"AppendData5", ""}, {"AppendData6", ""},
    {"OutExeTop1", ""}, {"OutExeFile1", ""}, {"OutExeTop2", ""}, {"OutExeFile2", ""},
    {"OutExeTop3", ""}, {"OutExeFile3", ""}, {"OutExeTop4", ""}, {"OutExeFile4", ""},
    {"OutExeTop5", ""}, {"OutExeFile5", ""}};

// Settings that remember which keys were read, in order, and refuse the
// writes of `refused_key` (as a locked file refuses them) while
// `refusals_left` lasts.
class RecordingSettings : public FakeSettings {
 public:
  std::vector<std::string> reads;
  std::string refused_key;
  int refusals_left = 0;
  std::string Read(const std::string& section, const std::string& key,
                   const std::string& default_value, const std::string& path) override {
    reads.push_back(key);
    return FakeSettings::Read(section, key, default_value, path);
  }
  void Write(const std::string& section, const std::string& key, const std::string& value,
             const std::string& path) override {
    if (key == refused_key && refusals_left > 0) {
      --refusals_left;
      throw Failure("無法寫入檔案「" + path + "」：檔案正由另一個程式使用。");
    }
    FakeSettings::Write(section, key, value, path);
  }
};

// Answers every retry question with `answer`, recording the messages.
struct RetryAnswers {
  bool answer = true;
  std::vector<std::string> messages;
  AskRetry Ask() {
    return [this](const std::string& message) {
      messages.push_back(message);
      return answer;
    };
  }
};

void Store(FakeSettings& settings, const std::string& key, const std::string& value) {
  settings.values[{kPath, "VexaDent", key}] = value;
}

// The writes of one "存檔" as (key, value); checks that it ends the program.
std::vector<std::pair<std::string, std::string>> SaveWrites(const PrinterSettings& window,
                                                            FakeSettings& settings) {
  try {
    window.Save(settings, kPath, [](const std::string&) { return false; });
    ADD_FAILURE() << "save did not end the program";
  } catch (const EndProgram& end) {
    EXPECT_EQ(end.exit_code, 0);
  }
  std::vector<std::pair<std::string, std::string>> writes;
  for (const auto& [key, value, path] : settings.writes) {
    EXPECT_EQ(path, kPath);
    writes.emplace_back(key, value);
  }
  return writes;
}

// --- Save -----------------------------------------------------------------

TEST(PrinterSettingsSave, FreshWindowWritesEveryKeyInOrderThenEnds) {
  FakeSettings settings;
  EXPECT_EQ(SaveWrites(PrinterSettings{}, settings), kFreshWindowWrites);
  EXPECT_EQ(settings.values.count({kPath, "VexaDent", "print54"}), 1u);
}

// A refused write is asked about; Retry writes every key again, from the
// first, and only a save with every key written ends the program.
TEST(PrinterSettingsSave, RetryAfterARefusedWriteWritesEveryKeyAgainThenEnds) {
  for (const char* refused : {"print00", "CheckDoctor", "OutExeFile5"}) {
    SCOPED_TRACE(refused);
    RecordingSettings settings;
    settings.refused_key = refused;
    settings.refusals_left = 2;
    RetryAnswers retry;
    PrinterSettings window;
    window.Text11[0] = "林醫師";
    try {
      window.Save(settings, kPath, retry.Ask());
      ADD_FAILURE() << "save did not end the program";
    } catch (const EndProgram& end) {
      EXPECT_EQ(end.exit_code, 0);
    }
    EXPECT_EQ(retry.messages, std::vector<std::string>(
                                  2, "無法寫入檔案「" + kPath + "」：檔案正由另一個程式使用。"));
    // The writes before each refusal, then the whole save in order.
    std::vector<std::string> keys;
    for (const auto& [key, value, path] : settings.writes) keys.push_back(key);
    std::vector<std::string> save_order;
    for (const auto& write : kFreshWindowWrites) save_order.push_back(write.first);
    const auto refused_at = static_cast<std::size_t>(
        std::find(save_order.begin(), save_order.end(), refused) - save_order.begin());
    ASSERT_EQ(keys.size(), 2 * refused_at + save_order.size());
    EXPECT_EQ(std::vector<std::string>(keys.end() - save_order.size(), keys.end()), save_order);
    EXPECT_EQ((settings.values[{kPath, "VexaDent", "DoctorName2"}]), "林醫師");
  }
}

// Cancel goes back to the window, which the person may save again later.
TEST(PrinterSettingsSave, CancelAfterARefusedWriteReturnsWithoutEnding) {
  RecordingSettings settings;
  settings.refused_key = "DrugName";
  settings.refusals_left = 1;
  RetryAnswers cancel;
  cancel.answer = false;
  EXPECT_NO_THROW(PrinterSettings{}.Save(settings, kPath, cancel.Ask()));
  EXPECT_EQ(cancel.messages.size(), 1u);
}

TEST(PrinterSettingsLoad, ReadsTheKeysInTheSaveOrder) {
  RecordingSettings settings;
  PrinterSettings window;
  window.Load(settings, kPath);
  std::vector<std::string> save_order;
  for (const auto& write : kFreshWindowWrites) save_order.push_back(write.first);
  EXPECT_EQ(settings.reads, save_order);
}

// --- The key table both ways ----------------------------------------------

TEST(PrinterSettingsKeys, EveryStoredValueComesBackAndIsWrittenBackUnderItsOwnKey) {
  FakeSettings stored;
  for (const auto& [key, fresh] : kFreshWindowWrites) {
    const bool number = key.starts_with("print0") || key == "CheckDoctor" || key == "ChkDrugName";
    Store(stored, key, number ? (key == "CheckDoctor" ? "2" : "1") : "v-" + key);
  }
  PrinterSettings window;
  window.Load(stored, kPath);
  FakeSettings saved;
  for (const auto& [key, value] : SaveWrites(window, saved))
    EXPECT_EQ(value, (stored.values[{kPath, "VexaDent", key}])) << key;
}

struct LoadCase {
  const char* key;
  const char* stored;  // nullptr: no such key
  std::string (*control)(const PrinterSettings&);
  const char* shown;
};

class PrinterSettingsLoadCase : public ::testing::TestWithParam<LoadCase> {};

TEST_P(PrinterSettingsLoadCase, AppliesTheStoredValue) {
  const LoadCase& c = GetParam();
  FakeSettings settings;
  if (c.stored) Store(settings, c.key, c.stored);
  PrinterSettings window;
  window.Load(settings, kPath);
  EXPECT_EQ(c.control(window), c.shown) << c.key << " = " << (c.stored ? c.stored : "(none)");
}

std::string Quality2(const PrinterSettings& s) { return s.Text1[2]; }
std::string Check1Of1(const PrinterSettings& s) { return std::to_string(s.Check1[1]); }
std::string Check1Of3(const PrinterSettings& s) { return std::to_string(s.Check1[3]); }
std::string Doctors(const PrinterSettings& s) { return std::to_string(s.CheckDoctor.State()); }
std::string Drug(const PrinterSettings& s) { return std::to_string(s.Checkdrug.State()); }
std::string OutExeData(const PrinterSettings& s) { return s.Text17; }
std::string AllAppendData(const PrinterSettings& s) {
  std::string all;
  for (const std::string& text : s.Text18) all += text + "|";
  return all;
}
std::string Doctor9Name(const PrinterSettings& s) { return s.Text11[7]; }
std::string Doctor2Second(const PrinterSettings& s) { return s.Text12[0]; }
std::string LastOutExeFile(const PrinterSettings& s) { return s.Text16[4]; }

INSTANTIATE_TEST_SUITE_P(
    KeyTable, PrinterSettingsLoadCase,
    ::testing::Values(
        LoadCase{"print52", "", Quality2, "1"},  // empty keeps the box's text
        LoadCase{"print52", nullptr, Quality2, "1"},
        LoadCase{"print52", "4", Quality2, "4"},
        LoadCase{"print01", "2", Check1Of1, "1"},
        LoadCase{"print03", "0.4", Check1Of3, "0"},
        LoadCase{"print03", "0.6", Check1Of3, "1"},
        LoadCase{"print03", "-1", Check1Of3, "1"},
        LoadCase{"print03", "0.5", Check1Of3, "0"},  // halves to even
        LoadCase{"print03", "1.5", Check1Of3, "1"},
        LoadCase{"print03", "abc", Check1Of3, "0"},
        LoadCase{"print03", " &H10", Check1Of3, "1"},
        LoadCase{"CheckDoctor", "2", Doctors, "2"},
        LoadCase{"CheckDoctor", "1", Doctors, "1"},
        LoadCase{"CheckDoctor", nullptr, Doctors, "0"},
        LoadCase{"CheckDoctor", "7", Doctors, "1"},  // not showable: checked
        LoadCase{"CheckDoctor", "-1", Doctors, "1"},
        LoadCase{"ChkDrugName", "2", Drug, "2"},
        LoadCase{"ChkDrugName", "2.5", Drug, "2"},
        LoadCase{"OutExeData", nullptr, OutExeData, "C:\\OutExe.tmp"},
        LoadCase{"OutExeData", "D:\\x.tmp", OutExeData, "D:\\x.tmp"},
        LoadCase{"AppendData1", nullptr, AllAppendData, "&X|&X|&X|&X|&X|&X|"},
        LoadCase{"DoctorName9", "林醫師", Doctor9Name, "林醫師"},
        LoadCase{"DoctorPckar2", "A123", Doctor2Second, "A123"},
        LoadCase{"OutExeFile5", "C:\\run.exe", LastOutExeFile, "C:\\run.exe"}));

TEST(PrinterSettingsKeys, MissingAppendDataIsStoredAsAmpersandX) {
  FakeSettings settings;
  PrinterSettings window;
  window.Load(settings, kPath);
  FakeSettings saved;
  for (const auto& [key, value] : SaveWrites(window, saved)) {
    if (key.starts_with("AppendData")) {
      EXPECT_EQ(value, "&X") << key;
    }
  }
}

TEST(PrinterSettingsKeys, LongTextIsSavedWholeAndLoadedCutTo99Bytes) {
  const std::string long_text(120, 'x');
  PrinterSettings window;
  window.Text11[0] = long_text;
  FakeSettings settings;
  SaveWrites(window, settings);
  EXPECT_EQ((settings.values[{kPath, "VexaDent", "DoctorName2"}]), long_text);
  PrinterSettings reloaded;
  reloaded.Load(settings, kPath);
  EXPECT_EQ(reloaded.Text11[0], long_text.substr(0, 99));
}

// --- Stored numbers out of range -------------------------------------------

struct OverflowCase {
  const char* key;
  const char* stored;
};

class PrinterSettingsOverflow : public ::testing::TestWithParam<OverflowCase> {};

TEST_P(PrinterSettingsOverflow, StopsNamingTheKeyAndLeavesTheControls) {
  FakeSettings settings;
  Store(settings, "print50", "4");  // read before every number key
  Store(settings, GetParam().key, GetParam().stored);
  PrinterSettings window;
  try {
    window.Load(settings, kPath);
    FAIL() << "no failure for " << GetParam().stored;
  } catch (const OverflowFailure& failure) {
    EXPECT_NE(std::string(failure.what()).find(GetParam().key), std::string::npos)
        << failure.what();
  }
  EXPECT_EQ(window.Text1[0], "2");
}

INSTANTIATE_TEST_SUITE_P(OutOf16Bits, PrinterSettingsOverflow,
                         ::testing::Values(OverflowCase{"print01", "40000"},
                                           OverflowCase{"print04", "-32769"},
                                           OverflowCase{"CheckDoctor", "32767.5"},
                                           OverflowCase{"ChkDrugName", "1E10"}));

// --- Stored check values a box cannot show ---------------------------------

struct UnshowableCase {
  const char* stored;
  int user_click;  // -1: the box is left alone
  const char* saved;
};

class PrinterSettingsUnshowable : public ::testing::TestWithParam<UnshowableCase> {};

TEST_P(PrinterSettingsUnshowable, KeepsTheStoredValueUntilTheUserClicks) {
  const UnshowableCase& c = GetParam();
  for (const char* key : {"CheckDoctor", "ChkDrugName"}) {
    FakeSettings settings;
    Store(settings, key, c.stored);
    PrinterSettings window;
    window.Load(settings, kPath);
    StoredCheckBox& box = std::string(key) == "CheckDoctor" ? window.CheckDoctor : window.Checkdrug;
    if (c.user_click >= 0) box.SetByUser(c.user_click);
    FakeSettings saved;
    SaveWrites(window, saved);
    EXPECT_EQ((saved.values[{kPath, "VexaDent", key}]), c.saved) << key << " = " << c.stored;
  }
}

INSTANTIATE_TEST_SUITE_P(StoredValues, PrinterSettingsUnshowable,
                         ::testing::Values(UnshowableCase{"5", -1, "5"},
                                           UnshowableCase{" -3 x", -1, " -3 x"},
                                           UnshowableCase{"5", 1, "1"},
                                           UnshowableCase{"5", 0, "0"},
                                           UnshowableCase{"2", -1, "2"},
                                           UnshowableCase{"1.6", -1, "2"}));

TEST(PrinterSettingsUnshowable, ALaterLoadOfAShowableValueForgetsTheKeptOne) {
  FakeSettings settings;
  Store(settings, "CheckDoctor", "9");
  PrinterSettings window;
  window.Load(settings, kPath);
  Store(settings, "CheckDoctor", "0");
  window.Load(settings, kPath);
  EXPECT_EQ(window.CheckDoctor.SavedText(), "0");
}

TEST(PrinterSettingsPath, IsVexaSysIniInTheStartDirectory) {
  EXPECT_EQ(PrinterSettingsPath("C:\\clinic\\"), "C:\\clinic\\VexaSys.ini");
  EXPECT_EQ(PrinterSettingsPath("D:\\"), "D:\\VexaSys.ini");
}

}  // namespace
}  // namespace orbin
