#include "statusmonitor/tray_rules.h"

#include <gtest/gtest.h>

namespace orbin {
namespace {

TEST(TrayNotificationAction, OnlyLeftDoubleClickAndRightReleaseAct) {
  const std::pair<std::uint32_t, TrayAction> cases[] = {
      {0x203, TrayAction::kShowWindow}, {0x205, TrayAction::kPopupFileMenu},
      {0x200, TrayAction::kNone},       {0x201, TrayAction::kNone},  // left down
      {0x202, TrayAction::kNone},       {0x204, TrayAction::kNone},  // left up, right down
      {0x206, TrayAction::kNone}};                                   // right double click
  for (const auto& [message, action] : cases) {
    EXPECT_EQ(TrayNotificationAction(message), action) << std::hex << message;
  }
}

TEST(TrayTipField, HoldsTheTipAndEndsInsideTheField) {
  const std::string field = TrayTipField();
  ASSERT_EQ(field.size(), 64u);
  EXPECT_EQ(std::string(field.c_str()), "Memory Status");
}

}  // namespace
}  // namespace orbin
