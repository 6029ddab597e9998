#pragma once
// The box a window shows when a file it needs is busy or refuses a write.
#include <windows.h>

#include <string>

namespace orbin {

// `message` (what failed, on which file and why) with Retry and Cancel,
// owned by `owner`, which it disables meanwhile, and above every window, as
// the windows that ask are topmost. `window_name` names the window Cancel
// returns to, whose typed contents stay. True for Retry (Enter); false for
// Cancel (Esc, the close box).
bool AskRetryBox(HWND owner, const std::string& message, const std::string& window_name);

}  // namespace orbin
