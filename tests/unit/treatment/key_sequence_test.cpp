// Whole typed sequences, with "orbin.exe" present, no code table, the
// default shortcut list unless a case gives one, on 7 December 2026.
#include <gtest/gtest.h>

#include "entry_rig.h"

namespace orbin {
namespace {

using testing::EntryRig;

struct FinishedCase {
  const char* keys;
  const char* result;  // the line of "orbin.txt" without CR LF
  const char* shortcut_list = nullptr;
};

class FinishedSequenceTest : public ::testing::TestWithParam<FinishedCase> {};

TEST_P(FinishedSequenceTest, WritesTheResultAndEnds) {
  const FinishedCase& c = GetParam();
  EntryRig rig;
  if (c.shortcut_list)
    rig.settings.values[{"C:\\work\\VexaSys.ini", "VexaDent", "BCDEFGIJKM"}] = c.shortcut_list;
  rig.Load();
  rig.Type(c.keys);
  EXPECT_EQ(rig.exit_code, 0) << c.keys;
  EXPECT_EQ(rig.ResultFile(), std::string(c.result) + "\r\n") << c.keys;
}

INSTANTIATE_TEST_SUITE_P(
    SingleItem, FinishedSequenceTest,
    ::testing::Values(
        FinishedCase{"11b", "IC;11B;-;"},
        FinishedCase{"1112R34", "IC;1112R;-;R3R4;1151207;"},
        FinishedCase{"21*5", "IC;21A;-;A5;"},
        FinishedCase{"21a5", "IC;21A;-;A5;"},
        FinishedCase{"1A", "IC;1A;-;;"},
        FinishedCase{"111A5", "IC;111A;-;A5;"},  // odd site length
        FinishedCase{"11-2", "IC;11L;-;L2;"}, FinishedCase{"11+2", "IC;11P;-;P2;"},
        FinishedCase{"1.1#,B", "IC;11B;-;"},  // other characters are discarded
        FinishedCase{"/", "IC;FMS;-;"}, FinishedCase{"s", "IC;FMS;-;"},
        FinishedCase{"{Enter}", "IC;H;-;"},
        FinishedCase{"{Esc}", "IC;;"}, FinishedCase{"00", "IC;;"}, FinishedCase{"1100", "IC;;"},
        // Letters: replaced from the letter's place (the caret follows), repeats ignored.
        FinishedCase{"11AL5", "IC;11L;-;L5;"}, FinishedCase{"11AB", "IC;11B;-;"},
        FinishedCase{"11AA5", "IC;11A;-;A5;"},
        // A letter before the site never completes; Esc drops it.
        FinishedCase{"B12{Esc}11B", "IC;11B;-;"},
        // Backspace: the letter survives until the box is back to the site.
        FinishedCase{"1112R3{BS}45", "IC;1112R;-;R4R5;1151207;"},
        FinishedCase{"1112R{BS}R345", "IC;1112R;-;R4R5;1151207;"},
        FinishedCase{"1112R3{BS}{BS}{BS}2B", "IC;1112B;-;"}));

INSTANTIATE_TEST_SUITE_P(
    Shortcuts, FinishedSequenceTest,
    ::testing::Values(
        FinishedCase{"1101", "IC;11B;-;"}, FinishedCase{"1109", "IC;11K;-;"},
        FinishedCase{"21053", "IC;21F;-;F3;"},  // "5" is F, a per-tooth letter
        FinishedCase{"1101", "IC;11X;-;", "XYZ"},
        FinishedCase{"1104B", "IC;11B;-;", "XYZ"}));  // beyond the list: "0" gone, key discarded

INSTANTIATE_TEST_SUITE_P(
    MultiItem, FinishedSequenceTest,
    ::testing::Values(
        FinishedCase{" 11B21*5{Enter}", "IC;11B;-;21A;-;A5;"},
        FinishedCase{"11{Enter}B{Enter}", "IC;11B;-;"},  // Enter with text only switches
        FinishedCase{" 11B/{Enter}", "IC;11B;-;FMS;-;"},
        FinishedCase{" 11B{Esc}{Esc}", "IC;;"},  // the first Esc drops the items
        // Esc with text returns to single-item, the items stay for Enter.
        FinishedCase{" 11B21{Esc}12B", "IC;12B;-;"},
        FinishedCase{" 11B21{Esc}{Enter}", "IC;11B;-;"}));

TEST(FinishedSequence, CloseButtonFinishesEmpty) {
  EntryRig rig;
  rig.Load();
  rig.Type(" 11B");
  rig.Run([&] { rig.form.Command2_Click(); });
  EXPECT_EQ(rig.ResultFile(), "IC;;\r\n");
}

struct OpenCase {
  const char* keys;
  const char* text;
  const char* code_letter;
  const char* items;
  int check;
  const char* caption;  // before the shortcut list
};

class OpenSequenceTest : public ::testing::TestWithParam<OpenCase> {};

TEST_P(OpenSequenceTest, LeavesTheWindowSo) {
  const OpenCase& c = GetParam();
  EntryRig rig;
  rig.Load();
  rig.Type(c.keys);
  ASSERT_FALSE(rig.exit_code) << c.keys;
  EXPECT_EQ(rig.form.Text(), c.text) << c.keys;
  EXPECT_EQ(FromCodePoints(rig.window.text), c.text) << c.keys;
  EXPECT_EQ(rig.form.CodeLetter(), c.code_letter) << c.keys;
  EXPECT_EQ(rig.window.items_label, c.items) << c.keys;
  EXPECT_EQ(rig.window.check, c.check) << c.keys;
  EXPECT_EQ(rig.window.caption, std::string(c.caption) + "BCDEFGIJKM") << c.keys;
}

INSTANTIATE_TEST_SUITE_P(
    States, OpenSequenceTest,
    ::testing::Values(
        OpenCase{"", "", "", "", 0, "輸入治療 部位項目 "},
        OpenCase{"1", "1", "", "", 0, "按(空白鍵)後為多項輸入格式 "},
        OpenCase{" ", "", "", "", 1, "輸入治療 部位項目 "},
        OpenCase{" 1", "1", "", "", 1, "輸入治療 部位項目 "},
        OpenCase{" 11B", "", "", "11B;-;", 1, "(完成後按Enter)或(繼續輸入)"},
        OpenCase{" /", "", "", "FMS;-;", 1, "(完成後按Enter)或(繼續輸入)"},
        // Esc on an empty box drops the items without a caption refresh.
        OpenCase{" 11B{Esc}", "", "", "", 1, "(完成後按Enter)或(繼續輸入)"},
        // The caption is refreshed while the multi-item flag is still set.
        OpenCase{" 11B21{Esc}", "", "", "11B;-;", 0, "(完成後按Enter)或(繼續輸入)"},
        OpenCase{"01", "1", "B", "", 0, "按(空白鍵)後為多項輸入格式 "},
        OpenCase{"B12", "B12", "B", "", 0, "按(空白鍵)後為多項輸入格式 "},
        OpenCase{"11AA", "11A", "A", "", 0, "按(空白鍵)後為多項輸入格式 "},
        OpenCase{"1112R3{BS}", "1112R", "R", "", 0, "按(空白鍵)後為多項輸入格式 "},
        OpenCase{"1112R3{BS}{BS}{BS}", "111", "", "", 0, "按(空白鍵)後為多項輸入格式 "},
        OpenCase{"11A{Enter}", "11A", "A", "", 1, "輸入治療 部位項目 "}));

}  // namespace
}  // namespace orbin
