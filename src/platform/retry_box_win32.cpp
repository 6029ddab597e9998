#include "platform/retry_box_win32.h"

#include "platform/run_guard_win32.h"
#include "platform/wide_win32.h"

namespace orbin {

bool AskRetryBox(HWND owner, const std::string& message, const std::string& window_name) {
  const std::string text = message + "\n\n按「重試」再試一次；按「取消」回到" + window_name +
                           "，輸入的內容都會保留。";
  return MessageBoxW(owner, Widen(text).c_str(), kProgramTitle,
                     MB_RETRYCANCEL | MB_ICONWARNING | MB_TOPMOST) == IDRETRY;
}

}  // namespace orbin
