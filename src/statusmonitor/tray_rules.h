#pragma once
// The tray icon of the status monitor: what its notifications do, and its
// tip text.
#include <cstdint>
#include <string>

namespace orbin {

inline constexpr std::uint32_t kTrayCallbackMessage = 0x200;  // WM_MOUSEMOVE
inline constexpr std::size_t kTrayTipBytes = 64;
inline constexpr char kTrayTip[] = "Memory Status";
inline constexpr unsigned kTrayIconId = 1;

enum class TrayAction { kNone, kShowWindow, kPopupFileMenu };

// The mouse message that happened over the icon (the notification's
// lParam): a left double click shows the window, releasing the right button
// opens the "File" menu; everything else does nothing.
TrayAction TrayNotificationAction(std::uint32_t mouse_message);

// The 64-byte tip field: "Memory Status" in the ANSI code page, the rest
// zero, so the platform always finds the end of the text inside the field.
std::string TrayTipField();

}  // namespace orbin
