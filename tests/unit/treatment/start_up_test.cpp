#include <gtest/gtest.h>

#include "entry_rig.h"
#include "treatment/window_position.h"

namespace orbin {
namespace {

using testing::EntryRig;

struct PositionCase {
  const char* args;
  std::optional<double> left, top;
};

class PositionTest : public ::testing::TestWithParam<PositionCase> {};

TEST_P(PositionTest, FourCharactersAfterTheSwitch) {
  EntryRig rig(GetParam().args);
  rig.Load();
  EXPECT_EQ(rig.window.left, GetParam().left) << GetParam().args;
  EXPECT_EQ(rig.window.top, GetParam().top) << GetParam().args;
}

INSTANTIATE_TEST_SUITE_P(
    Switches, PositionTest,
    ::testing::Values(PositionCase{"/L1200/T300", 1200, 300}, PositionCase{"/L12/T300", 12, 300},
                      PositionCase{"/L123456", 1234, std::nullopt},
                      PositionCase{"/T-7.5", std::nullopt, -7.5},
                      PositionCase{"/L 1 2/T+.5.", 12, 0.5}, PositionCase{"/Lx/T", 0, 0},
                      PositionCase{"/L1E3/T&H10", 1, 0},  // no exponent, no "&H"
                      PositionCase{"/L--1/T5-", 0, 5}, PositionCase{"", std::nullopt, std::nullopt}));

TEST(StartUp, ShowsTopmostWithTheShortcutList) {
  EntryRig rig;
  rig.settings.values[{"C:\\work\\VexaSys.ini", "VexaDent", "BCDEFGIJKM"}] = "XYZ";
  rig.Load();
  EXPECT_EQ(rig.window.topmost_calls, 1);
  EXPECT_GE(rig.window.focus_calls, 1);
  EXPECT_EQ(rig.window.shortcut_label, "XYZ");
  EXPECT_EQ(rig.window.caption, "輸入治療 部位項目 XYZ");
  EXPECT_EQ(rig.window.height, 1400);
  EXPECT_EQ(rig.form.PerToothLetters(), "ALPFZR");
}

TEST(StartUp, PlusSwitchStartsInMultiItemFormat) {
  EntryRig rig("/L1/+");
  rig.Load();
  EXPECT_EQ(rig.window.check, 1);
  EXPECT_EQ(rig.window.height, 1800);
}

struct LayoutCase {
  std::int32_t handle;
  std::int32_t check_value;
  int ctrl_space_sent;
};

class InputLanguageTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(InputLanguageTest, NegativeCheckValueTogglesTheInputMethod) {
  EntryRig rig;
  rig.language.handle = GetParam().handle;
  rig.Load();
  EXPECT_EQ(rig.form.FindTheardlanguage(), GetParam().check_value);
  EXPECT_EQ(rig.language.ctrl_space_sent, GetParam().ctrl_space_sent);
}

INSTANTIATE_TEST_SUITE_P(
    Handles, InputLanguageTest,
    ::testing::Values(LayoutCase{0x04040404, 2036, 0}, LayoutCase{-534246396, -6396, 1},
                      LayoutCase{-20000, 0, 0}, LayoutCase{0, 0, 0}));

}  // namespace
}  // namespace orbin
