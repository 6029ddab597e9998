#include "statusmonitor/tray_rules.h"

#include "platform/codepage.h"

namespace orbin {
namespace {

constexpr std::uint32_t kLeftButtonDoubleClick = 0x203;  // WM_LBUTTONDBLCLK
constexpr std::uint32_t kRightButtonUp = 0x205;          // WM_RBUTTONUP

}  // namespace

TrayAction TrayNotificationAction(std::uint32_t mouse_message) {
  switch (mouse_message) {
    case kLeftButtonDoubleClick:
      return TrayAction::kShowWindow;
    case kRightButtonUp:
      return TrayAction::kPopupFileMenu;
    default:
      return TrayAction::kNone;
  }
}

std::string TrayTipField() {
  std::string field = ToAnsi(kTrayTip);
  field.resize(kTrayTipBytes, '\0');
  return field;
}

}  // namespace orbin
