#include <gtest/gtest.h>

#include "entry_rig.h"
#include "treatment/result_line.h"

namespace orbin {
namespace {

using testing::EntryRig;

TEST(NormaliseResult, TrimsTerminatesAndPrefixes) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "IC;;"},          {"   ", "IC;;"},           {";", "IC;;"},
      {" 11B;-; ", "IC;11B;-;"}, {"IC;H;-;", "IC;H;-;"}, {"11B", "IC;11B;"},
      {"ICX", "ICX;"},       {"ic;1;", "IC;ic;1;"}};
  for (const auto& [text, result] : cases) EXPECT_EQ(NormaliseResult(text), result) << text;
}

TEST(ResultFile, OneLineInTheAnsiCodePage) {
  EXPECT_EQ(ResultFileBytes("IC;診;"), "IC;\xB6\x45;\r\n");
}

struct DisplayCase {
  const char* args;
  const char* keys;
  const char* caption;  // nullptr: the run ends
  int check;
};

class TestDisplayTest : public ::testing::TestWithParam<DisplayCase> {};

// Without "orbin.exe" nothing is written: the result is shown in the caption
// of the re-initialised window, or the run ends when it is shorter than 5.
TEST_P(TestDisplayTest, ShowsTheResultInTheCaption) {
  const DisplayCase& c = GetParam();
  EntryRig rig(c.args, false);
  rig.Load();
  rig.Type(c.keys);
  EXPECT_FALSE(rig.ResultFile());
  if (!c.caption) {
    EXPECT_EQ(rig.exit_code, 0) << c.keys;
    return;
  }
  ASSERT_FALSE(rig.exit_code) << c.keys;
  EXPECT_EQ(rig.window.caption, c.caption) << c.keys;
  EXPECT_EQ(rig.window.check, c.check) << c.keys;
  EXPECT_EQ(rig.window.height, c.check ? 1800 : 1400) << c.keys;
  EXPECT_EQ(rig.form.Text(), "") << c.keys;
  EXPECT_EQ(rig.form.Label2(), "") << c.keys;
}

INSTANTIATE_TEST_SUITE_P(
    Results, TestDisplayTest,
    ::testing::Values(DisplayCase{"/L", "{Enter}", "IC;H;-;", 0},
                      DisplayCase{"/L", "11b", "IC;11B;-;", 0},
                      DisplayCase{"/L", "/", "IC;FMS;-;", 0},
                      DisplayCase{"/L", "11B22C", "IC;22C;-;", 0},  // entries go on
                      DisplayCase{"/L/+", " 11B{Enter}", "IC;11B;-;", 1},
                      DisplayCase{"/L", "{Esc}", nullptr, 0},
                      DisplayCase{"/L", "1100", nullptr, 0}));

// "orbin.txt" cannot be written: the message names the file, the user may
// try again, and a cancel leaves the window as it was before the key.
TEST(WriteFailure, CancelKeepsTheEntriesForALaterFinish) {
  const std::pair<const char*, const char*> cases[] = {
      {"11B", "11B"}, {" 11B{Enter}", ""}, {"1100", "110"}, {"{Esc}", ""}};
  for (const auto& [keys, text] : cases) {
    EntryRig rig;
    rig.files.fail_writes = true;
    rig.Load();
    rig.Type(keys);
    ASSERT_FALSE(rig.exit_code) << keys;
    ASSERT_EQ(rig.window.retry_questions.size(), 1u) << keys;
    EXPECT_NE(rig.window.retry_questions[0].find("orbin.txt"), std::string::npos);
    EXPECT_EQ(rig.form.Text(), text) << keys;
    EXPECT_EQ(FromCodePoints(rig.window.text), text) << keys;
  }
}

TEST(WriteFailure, ItemsSurviveUntilTheWriteSucceeds) {
  EntryRig rig;
  rig.files.fail_writes = true;
  rig.Load();
  rig.Type("11B{Enter}21*5{Enter}");
  EXPECT_EQ(rig.form.Label2(), "11B;-;21A;-;A5;");
  rig.files.fail_writes = false;
  rig.Type("{Enter}");
  EXPECT_EQ(rig.exit_code, 0);
  EXPECT_EQ(rig.ResultFile(), "IC;11B;-;21A;-;A5;\r\n");
}

TEST(WriteFailure, RetryWritesAndEnds) {
  EntryRig rig;
  rig.files.fail_writes = true;
  rig.window.retry = [&] {
    rig.files.fail_writes = rig.window.retry_questions.size() < 2;
    return true;
  };
  rig.Load();
  rig.Type("11B");
  EXPECT_EQ(rig.window.retry_questions.size(), 2u);
  EXPECT_EQ(rig.exit_code, 0);
  EXPECT_EQ(rig.ResultFile(), "IC;11B;-;\r\n");
}

// "treat.dat" becomes unreadable while items are being typed: the staff are
// asked, and a cancel keeps the window with everything typed.
TEST(CodeTableReadFailure, CancelKeepsTheTypedItemsAndRetryGoesOn) {
  EntryRig rig;
  rig.files.files["treat.dat"] = "C 0                 89001C\r\n";
  rig.Load();
  rig.Type(" 11B");  // multi-item
  rig.files.unreadable.insert("treat.dat");
  rig.Type("21C");
  ASSERT_FALSE(rig.exit_code);
  ASSERT_EQ(rig.window.retry_questions.size(), 1u);
  EXPECT_NE(rig.window.retry_questions[0].find("treat.dat"), std::string::npos);
  EXPECT_EQ(rig.form.Label2(), "11B;-;");
  EXPECT_EQ(FromCodePoints(rig.window.text), "21C");
  rig.window.retry = [&] {
    rig.files.unreadable.clear();
    return true;
  };
  rig.Type("C");  // the same letter again: the entry is still complete
  EXPECT_EQ(rig.form.Label2(), "11B;-;21C;89001C;");
  EXPECT_EQ(FromCodePoints(rig.window.text), "");
}

}  // namespace
}  // namespace orbin
