#pragma once
// The office window closes itself after a countdown of whole seconds, shown
// in the caption of its close label.
#include <cstdint>
#include <string>
#include <string_view>

namespace orbin {

inline constexpr std::int32_t kDefaultCloseSeconds = 60;
inline constexpr char kCloseCaption[] = "關閉";

// `CloseCount` at load from the argument text: the number after the first
// "/show" (halves to even), 60 when below 1 or absent, 3 for "/show10/".
// A number beyond the 32-bit range counts as its nearest end of the range.
std::int32_t CloseCountFromArguments(std::string_view argument_text);

struct CountdownStep {
  std::string caption;  // for `Label1`
  bool unload = false;
};

// One `Timer1_Timer` tick: `close_count` goes down by one; the window
// unloads once it is below 1 (so ticks only come while it is at least 1).
CountdownStep CountdownTick(std::int32_t& close_count);

}  // namespace orbin
